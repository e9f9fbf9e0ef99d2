// TfrmClientMain: the main window, "Velmora Document Store", on whose two tab
// sheets form designs are made.
#pragma once

#include "toolkit/ComponentRef.h"
#include "toolkit/Form.h"

namespace velmora {

class TfrmClientMain : public tk::TForm {
    TK_CLASS(TfrmClientMain)
public:
    explicit TfrmClientMain(tk::TComponent* owner);

    // Switches the window into design mode (design-time wiring).
    void PrepareDesignSurface();
};

// The program-wide main window.
extern tk::ComponentRef<TfrmClientMain> frmClientMain;

}  // namespace velmora
