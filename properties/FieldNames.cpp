// Field names: the check when the user leaves the field-name box, the hint
// "Az azonosító érvénytelen" that reports a broken rule, and choosing an
// existing field name from the list.
#include "properties/PropertyPage.h"

#include "startup/DataModule.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/text/Text.h"
#include "toolkit/windows/Application.h"

namespace velmora {

namespace {

// One or more ASCII letters, digits and underscores, not starting with a digit.
bool isIdentifier(const std::string& s)
{
    if (s.empty()) return false;
    auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (!letter(s[0])) return false;
    for (char c : s)
        if (!letter(c) && !(c >= '0' && c <= '9')) return false;
    return true;
}

std::string parentName(const tk::TControl* c)
{
    return c && c->parent() ? c->parent()->name() : std::string();
}

}  // namespace

bool TfrmPropertyPage::FieldNameInUse(const std::string& lowerName)
{
    tk::TControl* self = SelectedControl();
    if (!self || !self->parent()) return false;
    for (tk::TControl* c : self->parent()->controls()) {
        if (c == self) continue;
        std::string key;
        try {
            key = tk::getPropText(*c, "KeyField");
        } catch (const std::exception&) {
            continue;
        }
        if (tk::lowerAscii(key) == lowerName) return true;
    }
    return false;
}

void TfrmPropertyPage::followColumnType(const std::string& fieldName)
{
    int t = rgFieldType->itemIndex();
    if (t != 0 && t != 1) return;
    int index = dmClientMain->ColumnTypeIndex(tk::lowerAscii(fieldName));
    if (index == -1) return;
    chooseType(index == 0 && !cbxDictionary->text().empty() ? 1 : std::min(index, 3));
}

void TfrmPropertyPage::edtIdentExit(tk::TObject* sender)
{
    auto* box = tk::as<tk::TComboBox>(sender);
    if (!box || !box->enabled() || !SelectedControl()) return;
    std::string name = box->text();
    if (name.empty()) return;
    std::string where = parentName(SelectedControl());
    bool fails;
    if (where == "tsEdit") fails = !isIdentifier(name) || FieldNameInUse(tk::lowerAscii(name));
    else if (where == "tsSearch") fails = dmClientMain->ColumnTypeIndex(tk::lowerAscii(name)) == -1;
    else return;
    if (!fails) return;

    // The box takes the focus back, as long as the page can take it: not
    // while another window is modal (the lookup list of saving or opening).
    if (canFocus() && cbxFieldName->canFocus()) {
        setFocus();
        cbxFieldName->setFocus();
    }
    tk::TPoint corner = cbxFieldName->clientToScreen({0, cbxFieldName->height()});
    if (ErrorHint->visible()) return;
    const std::string text = "Az azonosító érvénytelen";
    tk::TRect r = ErrorHint->calcHintRect(cbxFieldName->width(), text);
    ErrorHint->activateHint({corner.x, corner.y, corner.x + r.right - r.left, corner.y + r.bottom - r.top}, text);
    HintTime->setEnabled(true);
    followColumnType(box->text());
}

void TfrmPropertyPage::FormDeactivate(tk::TObject*)
{
    edtIdentExit(cbxFieldName);
}

void TfrmPropertyPage::edtIdentKeyPress(tk::TObject*, char32_t&)
{
    if (ErrorHint->visible()) ErrorHint->releaseHandle();
}

void TfrmPropertyPage::HintTimeTimer(tk::TObject*)
{
    ErrorHint->releaseHandle();
    HintTime->setEnabled(false);
}

void TfrmPropertyPage::cbxFieldNameClick(tk::TObject* sender)
{
    cbxDictionary->setText(DictionaryOfField(cbxFieldName->text()));
    followColumnType(static_cast<tk::TComboBox*>(sender)->text());
    cbxDictionaryChange(cbxDictionary);
    FillRelations(rgFieldType->itemIndex(), !cbxDictionary->text().empty());
}

}  // namespace velmora
