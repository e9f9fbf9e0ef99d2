// The property page's editors writing into the shown control by property
// name. Only the user's own changes write: the caption box, the check
// boxes and the spin edit while they have the focus, the field-name box
// while it is the page's active control, and nothing while the page is
// being filled by ShowControl.
#include "properties/PropertyPage.h"

#include "controls/ZEDit.h"
#include "startup/DataModule.h"
#include "toolkit/core/PropertyAccess.h"

namespace velmora {

namespace {

bool hasFocus(tk::TObject* sender)
{
    auto* w = tk::as<tk::TWinControl>(sender);
    return w && w->focused();
}

}  // namespace

void TfrmPropertyPage::edtCaptionChange(tk::TObject* sender)
{
    if (showing_ || !hasFocus(sender) || !edtCaption->focused() || !CaptionControl()) return;
    std::string text = edtCaption->text();
    tk::setPropText(*CaptionControl(), "Caption", text.empty() ? "[]" : text);
}

void TfrmPropertyPage::chxCanModifyClick(tk::TObject* sender)
{
    if (showing_ || !hasFocus(sender) || !SelectedControl()) return;
    auto* box = static_cast<tk::TCheckBox*>(sender);
    // "chxRequired" writes Required, "chxCanModify" CanModify.
    tk::setPropText(*SelectedControl(), box->name().substr(3), box->checked() ? "True" : "False");
}

void TfrmPropertyPage::rgFieldTypeClick(tk::TObject*)
{
    if (showing_ || typeByPage_ || !SelectedControl()) return;
    int index = rgFieldType->itemIndex();
    if (tk::as<TZEDit>(SelectedControl())) tk::setProp(*SelectedControl(), "FieldType", tk::Value(index));
    const auto& kinds = designModel().FieldClasses;
    if (index >= 0 && static_cast<size_t>(index) < kinds.size()) {
        std::vector<std::string> columns;
        dmClientMain->ListColumns(columns, kinds[static_cast<size_t>(index)], std::nullopt);
        cbxFieldName->setItems(columns);
    }
    FillRelations(index, !tk::getPropTextOr(*SelectedControl(), "Dictionary").empty());
}

void TfrmPropertyPage::seTabOrderChange(tk::TObject* sender)
{
    if (showing_ || !hasFocus(sender) || !SelectedControl()) return;
    try {
        tk::setProp(*SelectedControl(), "TabOrder", tk::Value(seTabOrder->value()));
    } catch (const std::exception&) {
        // A value the property refuses changes nothing.
    }
}

void TfrmPropertyPage::edKeyFieldChange(tk::TObject* sender)
{
    if (showing_ || sender != activeControl() || !SelectedControl()) return;
    try {
        tk::setPropText(*SelectedControl(), "KeyField", cbxFieldName->text());
    } catch (const std::exception&) {
        // A control without KeyField.
    }
}

void TfrmPropertyPage::cbxFieldNameKeyUp(tk::TObject*, uint16_t& key, tk::TShiftState)
{
    if (key == tk::vk::Delete && cbxFieldName->isList()) cbxFieldName->setItemIndex(-1);
}

void TfrmPropertyPage::cbxDictionaryChange(tk::TObject* sender)
{
    if (showing_ || !tk::as<TZEDit>(SelectedControl())) return;
    tk::setPropText(*SelectedControl(), "Dictionary", static_cast<tk::TComboBox*>(sender)->text());
}

void TfrmPropertyPage::cbxRelationChange(tk::TObject* sender)
{
    if (showing_ || !SelectedControl()) return;
    tk::setPropText(*SelectedControl(), "Relation", static_cast<tk::TComboBox*>(sender)->text());
}

}  // namespace velmora
