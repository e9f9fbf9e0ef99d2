// TfrmComonentPalette: the tool palette, "Szerkesztőpanel", whose tool says
// what the next click on a tab sheet places.
#pragma once

#include "toolkit/ComponentRef.h"
#include "toolkit/Form.h"

namespace velmora {

class TfrmComonentPalette : public tk::TForm {
    TK_CLASS(TfrmComonentPalette)
public:
    explicit TfrmComonentPalette(tk::TComponent* owner);

    // -1 the arrow, 0 to 3 a placeable class.
    int tool() const { return tool_; }
    void setTool(int t) { tool_ = t; }
    void FormCreate(tk::TObject* sender);

private:
    int tool_ = -1;
};

extern tk::ComponentRef<TfrmComonentPalette> frmComonentPalette;

}  // namespace velmora
