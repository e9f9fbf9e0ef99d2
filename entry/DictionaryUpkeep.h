// The upkeep of a dictionary's entries, "Szótárelemek: NAME": choose an
// entry (retired ones marked), give it a new text, or retire it or bring it
// back. Opened with F2 from a dictionary field of the clerk's program,
// where a misspelt or outdated entry is met.
#pragma once

#include "entry/Dictionaries.h"
#include "toolkit/windows/Form.h"

namespace tk {
class TComboBox;
class TEdit;
class TCheckBox;
}  // namespace tk

namespace velmora {

class TfrmDictionaryUpkeep : public tk::TForm {
    TK_CLASS(TfrmDictionaryUpkeep)
public:
    explicit TfrmDictionaryUpkeep(tk::TComponent* owner);
    void setEntries(const std::string& dictionary, std::vector<DictionaryEntry> entries);
    // The entry chosen, with its new text and retired flag; none chosen gives 0.
    int64_t chosenEntry() const;

    tk::TComboBox* cbxEntry;
    tk::TEdit* edtText;
    tk::TCheckBox* chxRetired;

private:
    void entryChosen();
    std::vector<DictionaryEntry> entries_;
};

// Shows the upkeep modally and stores what was confirmed; tells whether
// anything was changed.
bool editDictionaryEntries(db::TADOConnection& connection, const DictionaryRef& dictionary);

}  // namespace velmora
