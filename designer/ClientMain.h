// TfrmClientMain: the main window, "Velmora Document Store", on whose two tab
// sheets form designs are made. Its creation builds the built-in layout; a
// group's stored design replaces it.
#pragma once

#include "db/FieldKind.h"
#include "toolkit/Buttons.h"
#include "toolkit/ComponentRef.h"
#include "toolkit/Form.h"

namespace velmora {

class TfrmClientMain : public tk::TForm {
    TK_CLASS(TfrmClientMain)
public:
    explicit TfrmClientMain(tk::TComponent* owner);

    // The window's one published field.
    tk::ComponentRef<tk::TBitBtn> btnPrint;

    // Switches the window into design mode (design-time wiring).
    void PrepareDesignSurface();

    // Design state. ControlClasses: the placeable classes by palette tool
    // (0 TZEDit, 1 TZEDText, 2 TZEDPicker, 3 TZEDChxBox). FieldClasses: the
    // column kinds by type index (integer, string, date-time, fixed-length
    // bytes, generic).
    bool DesignMode = false;
    tk::ComponentRef<tk::TControl> DragControl;
    std::vector<const tk::ClassInfo*> ControlClasses;
    std::vector<db::FieldKind> FieldClasses;

    // The named handlers that stored designs refer to.
    void tsMouseUp(tk::TObject* sender, tk::TMouseButton button, tk::TShiftState shift, int x, int y);
    void ZEDPickerDropDownCloseUp(tk::TObject* sender);
    void FormShow(tk::TObject* sender);
    void FormHide(tk::TObject* sender);
    void FormDestroy(tk::TObject* sender);
    void ComponentMouseMove(tk::TObject* sender, tk::TShiftState shift, int x, int y);
    void ComponentMouseDown(tk::TObject* sender, tk::TMouseButton button, tk::TShiftState shift, int x, int y);
    void ComponentMouseUp(tk::TObject* sender, tk::TMouseButton button, tk::TShiftState shift, int x, int y);
    void ControlKeyDown(tk::TObject* sender, uint16_t& key, tk::TShiftState shift);
    void ControlKeyPress(tk::TObject* sender, char32_t& key);
    void ComponentEnter(tk::TObject* sender);
    void HintTimeTimer(tk::TObject* sender);
    void pmiDeleteClick(tk::TObject* sender);
    // The data-entry handlers: this system designs forms and enters no
    // documents, so they do nothing; designs name them.
    void btnSearchClick(tk::TObject* sender);
    void btnNewClick(tk::TObject* sender);
    void btnModifyClick(tk::TObject* sender);
    void btnSaveClick(tk::TObject* sender);
    void btnCancelClick(tk::TObject* sender);
    void btnPrintClick(tk::TObject* sender);
    void dbgSearchDblClick(tk::TObject* sender);

private:
    void buildLayout();
};

// The program-wide main window.
extern tk::ComponentRef<TfrmClientMain> frmClientMain;

}  // namespace velmora
