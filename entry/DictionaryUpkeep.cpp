// The upkeep window of a dictionary's entries.
#include "entry/DictionaryUpkeep.h"

#include "toolkit/core/PropertyTable.h"
#include "toolkit/widgets/Buttons.h"
#include "toolkit/widgets/CheckBox.h"
#include "toolkit/widgets/ComboBox.h"
#include "toolkit/widgets/Edit.h"
#include "toolkit/widgets/Labels.h"
#include "toolkit/widgets/PlaceControl.h"

namespace velmora {

TK_DEFINE_CLASS(TfrmDictionaryUpkeep, tk::TForm) {}

TfrmDictionaryUpkeep::TfrmDictionaryUpkeep(tk::TComponent* owner) : tk::TForm(owner)
{
    setName("frmDictionaryUpkeep");
    setBorderStyle(tk::TFormBorderStyle::bsDialog);
    setPosition(tk::TPosition::poScreenCenter);
    setClientWidth(300);
    setClientHeight(150);
    tk::placeControl<tk::TLabel>(this, this, "lblEntry", 12, 12, 120, 13)->setCaption("Szótárelem:");
    cbxEntry = tk::placeControl<tk::TComboBox>(this, this, "cbxEntry", 12, 28, 276, 21);
    cbxEntry->setStyle(tk::TComboBoxStyle::csDropDownList);
    cbxEntry->setTabOrder(0);
    cbxEntry->OnChange = tk::Handler::notify([this](tk::TObject*) { entryChosen(); });
    tk::placeControl<tk::TLabel>(this, this, "lblText", 12, 56, 120, 13)->setCaption("Új szöveg:");
    edtText = tk::placeControl<tk::TEdit>(this, this, "edtText", 12, 72, 276, 21);
    edtText->setTabOrder(1);
    chxRetired = tk::placeControl<tk::TCheckBox>(this, this, "chxRetired", 12, 98, 200, 17);
    chxRetired->setCaption("Kivezetve (nem ajánlható)");
    chxRetired->setTabOrder(2);
    auto* ok = tk::placeControl<tk::TButton>(this, this, "btnOK", 132, 120, 75, 25);
    ok->setCaption("Rendben");
    ok->setDefault(true);
    ok->setModalResult(tk::mrOk);
    ok->setTabOrder(3);
    auto* cancel = tk::placeControl<tk::TButton>(this, this, "btnCancel", 213, 120, 75, 25);
    cancel->setCaption("Mégsem");
    cancel->setCancel(true);
    cancel->setModalResult(tk::mrCancel);
    cancel->setTabOrder(4);
}

void TfrmDictionaryUpkeep::setEntries(const std::string& dictionary, std::vector<DictionaryEntry> entries)
{
    setCaption("Szótárelemek: " + dictionary);
    entries_ = std::move(entries);
    std::vector<std::string> items;
    for (const DictionaryEntry& e : entries_) items.push_back(e.retired ? e.text + " (kivezetve)" : e.text);
    cbxEntry->setItems(items);
    setActiveControl(cbxEntry);
}

void TfrmDictionaryUpkeep::entryChosen()
{
    int i = cbxEntry->itemIndex();
    if (i < 0 || i >= static_cast<int>(entries_.size())) return;
    edtText->setText(entries_[static_cast<size_t>(i)].text);
    chxRetired->setChecked(entries_[static_cast<size_t>(i)].retired);
}

int64_t TfrmDictionaryUpkeep::chosenEntry() const
{
    int i = cbxEntry->itemIndex();
    return i < 0 || i >= static_cast<int>(entries_.size()) ? 0 : entries_[static_cast<size_t>(i)].id;
}

bool editDictionaryEntries(db::TADOConnection& connection, const DictionaryRef& dictionary)
{
    auto dialog = tk::createOwnedForm<TfrmDictionaryUpkeep>();
    dialog->setEntries(dictionary.name, dictionaryEntries(connection, dictionary.id));
    if (dialog->showModal() != tk::mrOk || !dialog->chosenEntry()) return false;
    changeDictionaryEntry(connection, dialog->chosenEntry(), dialog->edtText->text(), dialog->chxRetired->checked());
    return true;
}

}  // namespace velmora
