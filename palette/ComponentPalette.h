// TfrmComonentPalette: the tool palette, "Szerkesztőpanel", whose tool says
// what the next click on a tab sheet places: five tool buttons in one
// exclusive group (the arrow and the four placeable classes), then the open
// and save buttons.
#pragma once

#include "toolkit/Buttons.h"
#include "toolkit/ComponentRef.h"
#include "toolkit/Form.h"

namespace velmora {

class TfrmComonentPalette : public tk::TForm {
    TK_CLASS(TfrmComonentPalette)
public:
    explicit TfrmComonentPalette(tk::TComponent* owner);

    // -1 the arrow, 0 to 3 an index into the main window's ControlClasses.
    int tool() const { return tool_; }
    void setTool(int t) { tool_ = t; }

    tk::ComponentRef<tk::TSpeedButton> btnArrow;
    tk::ComponentRef<tk::TSpeedButton> btnOpen;
    tk::ComponentRef<tk::TSpeedButton> btnSave;

    void FormCreate(tk::TObject* sender);
    // The click handler of the five tool buttons: the tool becomes the
    // clicked button's Tag.
    void btnArrowClick(tk::TObject* sender);
    // Saving the shown design for a group chosen in the lookup list, and
    // bringing the database in line with it (Saving.cpp); opening another
    // group's stored design (Opening.cpp).
    void btnSaveClick(tk::TObject* sender);
    void btnOpenClick(tk::TObject* sender);

private:
    int tool_ = -1;
};

extern tk::ComponentRef<TfrmComonentPalette> frmComonentPalette;

}  // namespace velmora
