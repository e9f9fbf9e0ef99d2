// TfrmPropertyPage: the tool window that shows and edits the properties of
// the selected control of the design. The window and its layout are here;
// showing a control is ShowControl.cpp, the editors' handlers Editing.cpp,
// the field-name checks and the relation list FieldNames.cpp.
#pragma once

#include "model/DesignModel.h"
#include "toolkit/core/ComponentRef.h"
#include "toolkit/widgets/CheckBox.h"
#include "toolkit/widgets/ComboBox.h"
#include "toolkit/widgets/Control.h"
#include "toolkit/widgets/Edit.h"
#include "toolkit/widgets/Panels.h"
#include "toolkit/widgets/RadioGroup.h"
#include "toolkit/widgets/SpinEdit.h"
#include "toolkit/windows/Form.h"
#include "toolkit/windows/HintWindow.h"
#include "toolkit/windows/Timer.h"

#include <string>

namespace velmora {

class TfrmPropertyPage : public tk::TForm, private DesignObserver {
    TK_CLASS(TfrmPropertyPage)
public:
    // Follows the design model's selection; measures placed caption labels.
    explicit TfrmPropertyPage(tk::TComponent* owner);

    // The design model's selection: the control whose field properties the
    // page shows, and the one whose Caption it shows; either becomes none
    // when its control goes.
    tk::TControl* SelectedControl() const { return designModel().selectedControl(); }
    void setSelectedControl(tk::TControl* c) { designModel().setSelectedControl(c); }
    tk::TControl* CaptionControl() const { return designModel().captionControl(); }
    void setCaptionControl(tk::TControl* c) { designModel().setCaptionControl(c); }
    // The hint that shows an invalid field name; while it shows, the page
    // holds the selection.
    tk::ComponentRef<tk::THintWindow> ErrorHint;

    // Selects `control` in the design model, which has the page show it
    // (cleared for none).
    void ShowControl(tk::TControl* control);
    // Rebuilds the relation list for a type index and whether the field
    // has a dictionary.
    void FillRelations(int typeIndex, bool hasDictionary);
    // Whether another control beside the selected one has the lower-case
    // field name `lowerName` as its KeyField.
    bool FieldNameInUse(const std::string& lowerName);
    // The dictionary registered for a field name (letter case aside), or
    // empty; asks the database through qrySearch.
    std::string DictionaryOfField(const std::string& name);

    // The editors, in the page's order from top to bottom.
    tk::TPanel* Panel1;
    tk::TEdit* edtCaption;
    tk::TPanel* pnFieldName;
    tk::TComboBox* cbxFieldName;
    tk::TRadioGroup* rgFieldType;
    tk::TPanel* pnFieldMod;
    tk::TCheckBox* chxRequired;
    tk::TCheckBox* chxCanModify;
    tk::TPanel* pnRelation;
    tk::TComboBox* cbxRelation;
    tk::TPanel* pnDictionary;
    tk::TComboBox* cbxDictionary;
    tk::TPanel* pnTabOrder;
    tk::TSpinEdit* seTabOrder;
    tk::TTimer* HintTime;

    // The handlers of the editors and of the page.
    void FormCreate(tk::TObject* sender);
    void FormDestroy(tk::TObject* sender);
    void FormDeactivate(tk::TObject* sender);
    void edtCaptionChange(tk::TObject* sender);
    void chxCanModifyClick(tk::TObject* sender);
    void rgFieldTypeClick(tk::TObject* sender);
    void seTabOrderChange(tk::TObject* sender);
    void edKeyFieldChange(tk::TObject* sender);
    void cbxFieldNameKeyUp(tk::TObject* sender, uint16_t& key, tk::TShiftState shift);
    void cbxFieldNameClick(tk::TObject* sender);
    void cbxDictionaryChange(tk::TObject* sender);
    void cbxRelationChange(tk::TObject* sender);
    void edtIdentExit(tk::TObject* sender);
    void edtIdentKeyPress(tk::TObject* sender, char32_t& key);
    void HintTimeTimer(tk::TObject* sender);

private:
    // The design model's notices.
    void selectionShown() override;
    void surfaceShown() override { show(); }
    bool holdsSelection() const override { return ErrorHint && ErrorHint->visible(); }

    void buildLayout();
    void clearForNone();
    void showFieldName(tk::TControl& control, bool entry);
    void enableEditors(tk::TControl& control, bool entry);
    // Selects a type item from code, without the type-change handler.
    void chooseType(int index);
    // The type a field name's column gives (item 1 for a number column
    // with a dictionary), chosen without the handler; for 0 and 1 only.
    void followColumnType(const std::string& fieldName);

    bool typeByPage_ = false;  // the page, not the user, chooses the type
    bool showing_ = false;     // ShowControl is filling the editors
};

extern tk::ComponentRef<TfrmPropertyPage> frmPropertyPage;

}  // namespace velmora
