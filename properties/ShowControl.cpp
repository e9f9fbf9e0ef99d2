// Showing a control in the property page: which control is selected and
// whose caption is edited, the layout by the control's tab sheet, and each
// editor filled and enabled by what the control is. Filling the editors
// never writes into the control: the handlers see `showing_`.
#include "properties/PropertyPage.h"

#include "controls/ZEDChxBox.h"
#include "controls/ZEDPicker.h"
#include "controls/ZEDText.h"
#include "controls/ZEDit.h"
#include "startup/DataModule.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/data/DBGrid.h"
#include "toolkit/text/Text.h"
#include "toolkit/widgets/Buttons.h"

namespace velmora {

namespace {

std::string readText(tk::TControl* c, const char* property, const std::string& fallback = {})
{
    return tk::getPropTextOr(*c, property, fallback);
}

int readInt(tk::TControl* c, const char* property, int fallback)
{
    try {
        return static_cast<int>(tk::getProp(*c, property).toInt());
    } catch (const std::exception&) {
        return fallback;
    }
}

// Sets `flag` for as long as the guard lives.
class Raised {
public:
    explicit Raised(bool& flag) : flag_(flag), was_(flag) { flag_ = true; }
    ~Raised() { flag_ = was_; }
    Raised(const Raised&) = delete;
    Raised& operator=(const Raised&) = delete;

private:
    bool& flag_;
    bool was_;
};

bool isEntryPage(const tk::TControl* c)
{
    return c && c->parent() && c->parent()->name() == "tsEdit";
}

}  // namespace

void TfrmPropertyPage::chooseType(int index)
{
    Raised byPage(typeByPage_);
    rgFieldType->setItemIndex(index < -1 ? -1 : index);
}

void TfrmPropertyPage::clearForNone()
{
    cbxFieldName->setItemIndex(-1);
    cbxFieldName->setText("");
    cbxFieldName->setEnabled(false);
    chooseType(-1);
    rgFieldType->setEnabled(false);
    cbxDictionary->setItemIndex(-1);
    cbxDictionary->setText("");
    cbxDictionary->setEnabled(false);
    for (tk::TCheckBox* box : {chxRequired, chxCanModify}) {
        box->setChecked(false);
        box->setEnabled(false);
    }
    if (tk::TControl* caption = CaptionControl())
        seTabOrder->setValue(static_cast<int>(tk::getProp(*caption, "TabOrder").toInt()));
    seTabOrder->setEnabled(false);
}

void TfrmPropertyPage::ShowControl(tk::TControl* control)
{
    designModel().showControl(control);
}

void TfrmPropertyPage::selectionShown()
{
    Raised showing(showing_);
    tk::TControl* caption = CaptionControl();
    tk::TControl* c = SelectedControl();

    edtCaption->setText(caption ? tk::getPropText(*caption, "Caption") : std::string());
    edtCaption->setEnabled(c || caption);

    if (!c) {
        clearForNone();
        return;
    }

    bool entry = isEntryPage(c);
    pnFieldMod->setVisible(entry);
    pnRelation->setVisible(!entry);

    chxRequired->setChecked(readText(c, "Required", "False") == "True");
    chxCanModify->setChecked(readText(c, "CanModify", "False") == "True");
    seTabOrder->setValue(readInt(c, "TabOrder", 0));

    cbxRelation->setEnabled(!tk::as<tk::TDBGrid>(c) && !tk::as<TZEDText>(c) && !tk::as<tk::TBitBtn>(c));

    showFieldName(*c, entry);
    enableEditors(*c, entry);
    if (cbxDictionary->enabled()) {
        std::vector<std::string> dictionaries;
        dmClientMain->ListDictionaries(dictionaries);
        cbxDictionary->setItems(dictionaries);
    }
    if (!entry) {
        FillRelations(rgFieldType->itemIndex(), !cbxDictionary->text().empty());
        std::string relation = readText(c, "Relation");
        cbxRelation->setItemIndex(cbxRelation->indexOf(relation));
    }
}

// The field name, its type and dictionary, and the names to choose from:
// on the entry page the columns of the type, on the search page the
// columns a search can compare.
void TfrmPropertyPage::showFieldName(tk::TControl& control, bool entry)
{
    tk::TControl* c = &control;
    std::string keyField = readText(c, "KeyField");
    std::string registered;
    try {
        registered = DictionaryOfField(keyField);
    } catch (const std::exception&) {
    }
    int type = readInt(c, "FieldType", -1);
    chooseType(!registered.empty() && type == 0 ? 1 : std::min(type, 3));

    int t = rgFieldType->itemIndex();
    const auto& kinds = designModel().FieldClasses;
    std::vector<std::string> columns;
    if (!entry) {
        bool refill = t != -1;
        if (t == 2) dmClientMain->ListColumns(columns, db::FieldKind::DateTime, std::nullopt);
        else if (t == 3) dmClientMain->ListColumns(columns, std::nullopt, std::nullopt);
        else if (t != -1) dmClientMain->ListColumns(columns, db::FieldKind::Integer, db::FieldKind::String);
        if (refill) cbxFieldName->setItems(columns);
        cbxFieldName->setStyle(tk::TComboBoxStyle::csDropDownList);
        cbxFieldName->setItemIndex(cbxFieldName->indexOf(keyField));
        cbxDictionary->setText(registered);
    } else {
        if (t >= 0 && static_cast<size_t>(t) < kinds.size()) {
            dmClientMain->ListColumns(columns, kinds[static_cast<size_t>(t)], std::nullopt);
            cbxFieldName->setItems(columns);
        }
        cbxFieldName->setStyle(tk::TComboBoxStyle::csDropDown);
        cbxFieldName->setText(readText(c, "KeyField"));
        cbxDictionary->setText(readText(c, "Dictionary"));
    }
}

// Which editors take input for this control: the field name only for a
// new control or a name of no column, the type and dictionary only for an
// edit on the entry page.
void TfrmPropertyPage::enableEditors(tk::TControl& control, bool entry)
{
    tk::TControl* c = &control;
    bool nameEnabled;
    try {
        if (!cbxRelation->enabled()) nameEnabled = false;
        else if (!entry) nameEnabled = true;
        else
            nameEnabled = dmClientMain->ColumnTypeIndex(tk::lowerAscii(cbxFieldName->text())) == -1 ||
                          tk::getProp(*c, "Tag").toInt() == 1;
    } catch (const std::exception&) {
        nameEnabled = cbxRelation->enabled() && !entry;
    }
    cbxFieldName->setEnabled(nameEnabled);

    bool isEdit = tk::as<TZEDit>(c) != nullptr;
    rgFieldType->setEnabled(isEdit && entry);
    for (int i = 0; i < 4; ++i) rgFieldType->setItemEnabled(i, isEdit && i < 2 && nameEnabled && entry);
    cbxDictionary->setEnabled(rgFieldType->enabled() && nameEnabled && entry);
    chxRequired->setEnabled(isEdit || tk::as<TZEDPicker>(c));
    chxCanModify->setEnabled(isEdit || tk::as<TZEDPicker>(c) || tk::as<TZEDChxBox>(c));
    seTabOrder->setEnabled(!tk::as<TZEDText>(c));
}

void TfrmPropertyPage::FillRelations(int t, bool hasDictionary)
{
    cbxRelation->clearItems();
    cbxRelation->setItemIndex(-1);
    cbxRelation->setText("");
    std::vector<std::string> items;
    if (t != 3) items = {"Egyenlő", "NemEgyenlő"};
    else items = {"Üres", "NemÜres"};
    if ((t == 0 || t == 2) && !hasDictionary)
        items.insert(items.end(), {"Kisebb", "Nagyobb", "KisebbEgyenlő", "NagyobbEgyenlő"});
    if (t == 1 || (t == 0 && hasDictionary)) items.insert(items.end(), {"Hasonló", "NemHasonló"});
    cbxRelation->setItems(items);
}

}  // namespace velmora
