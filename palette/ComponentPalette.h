// TfrmComonentPalette: the tool palette, "Szerkesztőpanel", whose tool says
// what the next click on a tab sheet places: five tool buttons in one
// exclusive group (the arrow and the four placeable classes), then the open
// and save buttons.
#pragma once

#include "model/DesignModel.h"
#include "toolkit/core/ComponentRef.h"
#include "toolkit/widgets/Buttons.h"
#include "toolkit/windows/Form.h"

namespace velmora {

class TfrmComonentPalette : public tk::TForm, private DesignObserver {
    TK_CLASS(TfrmComonentPalette)
public:
    // Follows the design model: its tool, and the main window's showing.
    explicit TfrmComonentPalette(tk::TComponent* owner);

    // The design model's tool: -1 the arrow, 0 to 3 an index into its
    // ControlClasses. The tool button whose Tag it is stays down.
    int tool() const { return designModel().tool(); }
    void setTool(int t) { designModel().setTool(t); }

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
    // The palette from the keyboard: Left and Right choose the tool before
    // or after the chosen one, as a click on it does; Ctrl+O opens and
    // Ctrl+S saves, as the two buttons do.
    void FormKeyDown(tk::TObject* sender, uint16_t& key, tk::TShiftState shift);

private:
    void toolChanged(int tool) override;
    void surfaceShown() override { show(); }
    void surfaceHidden() override { hide(); }
};

extern tk::ComponentRef<TfrmComonentPalette> frmComonentPalette;

}  // namespace velmora
