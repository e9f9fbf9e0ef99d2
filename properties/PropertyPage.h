// TfrmPropertyPage: the tool window that shows and edits the properties of
// the selected control of the design. The window and its layout are here;
// showing a control is ShowControl.cpp, the editors' handlers Editing.cpp,
// the field-name checks and the relation list FieldNames.cpp.
#pragma once

#include "toolkit/CheckBox.h"
#include "toolkit/ComboBox.h"
#include "toolkit/ComponentRef.h"
#include "toolkit/Control.h"
#include "toolkit/Edit.h"
#include "toolkit/Form.h"
#include "toolkit/HintWindow.h"
#include "toolkit/Panels.h"
#include "toolkit/RadioGroup.h"
#include "toolkit/SpinEdit.h"
#include "toolkit/Timer.h"

#include <string>

namespace velmora {

class TfrmPropertyPage : public tk::TForm {
    TK_CLASS(TfrmPropertyPage)
public:
    explicit TfrmPropertyPage(tk::TComponent* owner);

    // The control whose field properties the page shows, and the one whose
    // Caption it shows; either becomes none when its control goes.
    tk::TControl* SelectedControl() const { return selected_.get(); }
    void setSelectedControl(tk::TControl* c) { selected_ = c; }
    tk::TControl* CaptionControl() const { return caption_.get(); }
    void setCaptionControl(tk::TControl* c) { caption_ = c; }
    // The hint that shows an invalid field name.
    tk::ComponentRef<tk::THintWindow> ErrorHint;

    // Loads the page from `control`, or clears it for none.
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
    void buildLayout();
    void clearForNone();
    // Selects a type item from code, without the type-change handler.
    void chooseType(int index);
    // The type a field name's column gives (item 1 for a number column
    // with a dictionary), chosen without the handler; for 0 and 1 only.
    void followColumnType(const std::string& fieldName);

    tk::ComponentRef<tk::TControl> selected_;
    tk::ComponentRef<tk::TControl> caption_;
    bool typeByPage_ = false;  // the page, not the user, chooses the type
    bool showing_ = false;     // ShowControl is filling the editors
};

extern tk::ComponentRef<TfrmPropertyPage> frmPropertyPage;

}  // namespace velmora
