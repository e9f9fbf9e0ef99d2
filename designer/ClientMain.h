// TfrmClientMain: the main window, "Velmora Document Store", on whose two tab
// sheets form designs are made. Its creation builds the built-in layout; a
// group's stored design replaces it.
#pragma once

#include "model/DesignModel.h"
#include "toolkit/core/ComponentRef.h"
#include "toolkit/widgets/Buttons.h"
#include "toolkit/windows/Form.h"
#include "toolkit/windows/Menus.h"

namespace velmora {

class TfrmClientMain : public tk::TForm, private DesignSurface {
    TK_CLASS(TfrmClientMain)
public:
    // Becomes the design model's surface.
    explicit TfrmClientMain(tk::TComponent* owner);

    // The window's one published field.
    tk::ComponentRef<tk::TBitBtn> btnPrint;

    // Design-time wiring (Wiring.cpp). PrepareDesignSurface switches the
    // window into design mode and hooks everything; the hooks bind handlers
    // by name, so a wired control reads back OnMouseDown = ComponentMouseDown.
    void PrepareDesignSurface();
    void HookDesignEvents();
    void HookComponent(tk::TControl* control);
    void UnhookDesignEvents();
    void UnhookComponent(tk::TControl* control);

    // Design state. GrabPoint: where the mouse went down in the dragged
    // control; MousePoint: the last mouse position taken. CheckedAtDown:
    // a check box's state at the last press on it, kept for that control
    // only (CheckedControl). DropDownUsed: a date picker's calendar opened
    // or closed since the last press. The placeable classes and the column
    // kinds are the design model's.
    tk::TPoint GrabPoint;
    tk::TPoint MousePoint;
    bool CheckedAtDown = false;
    tk::ComponentRef<tk::TControl> CheckedControl;
    bool DropDownUsed = false;
    bool DesignMode = false;
    tk::ComponentRef<tk::TControl> DragControl;
    tk::ComponentRef<tk::TPopupMenu> CompPopup;
    tk::ComponentRef<tk::TMenuItem> pmiDelete;

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
    // The design surface, as the design model sees it (Storing.cpp).
    tk::TForm& designWindow() override { return *this; }
    bool designing() const override { return DesignMode; }
    void unhookDesignEvents() override { UnhookDesignEvents(); }
    void prepareDesignSurface() override { PrepareDesignSurface(); }
    std::string storedDesignText() override;
    void restoreSnapshot(std::string_view image, const std::string& windowName) override;
    int designGroup() const override;
    void setDesignGroup(int group) override;
    void hookPastedControl(tk::TControl& control) override { HookComponent(&control); }
    bool placeChosenTool() override;

    void buildLayout();
    // The control on which a placing click lands, named, placed and wired.
    tk::TControl* placeControl(const tk::ClassInfo& cls, tk::TWinControl* sheet, int x, int y);
};

// The program-wide main window.
extern tk::ComponentRef<TfrmClientMain> frmClientMain;

}  // namespace velmora
