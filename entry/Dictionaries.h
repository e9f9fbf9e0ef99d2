// Dictionary entries: the values a dictionary field offers. Each entry has
// a key the database assigns (what the field's int column stores), a text
// (what the field shows), unique within its dictionary without regard to
// letter case, and a retired flag: a retired entry is no longer offered,
// but documents that chose it still show it.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace db {
class TADOConnection;
class TADOQuery;
}

namespace velmora {

struct DictionaryEntry {
    int64_t id = 0;
    std::string text;
    bool retired = false;
};


// The dictionary a field's column uses: the one registered in Fields for
// the column, else the one named by the control's own Dictionary; none when
// neither names a dictionary of DictionaryGroup.
struct DictionaryRef {
    int64_t id = 0;
    std::string name;
};
std::optional<DictionaryRef> dictionaryOfField(db::TADOConnection& connection, const std::string& keyField,
                                               const std::string& controlDictionary);

// The dictionaries of a form's fields, each looked up once while a design
// is at work: the entry page's fields when the form starts, the search
// page's at every search.
class FieldDictionaries {
public:
    explicit FieldDictionaries(db::TADOConnection& connection) : connection_(connection) {}
    // dictionaryOfField, read the first time it is asked.
    std::optional<DictionaryRef> of(const std::string& keyField, const std::string& controlDictionary);
    // Forgets what was read (another design, or the registrations changed).
    void forget() { known_.clear(); }

private:
    db::TADOConnection& connection_;
    std::map<std::string, std::optional<DictionaryRef>> known_;  // by KeyField and Dictionary
};

// Every entry of a dictionary, retired ones included, by text.
std::vector<DictionaryEntry> dictionaryEntries(db::TADOConnection& connection, int64_t dictionary);

// Adds an entry and gives its key; when another program added the same
// text meanwhile, its entry's key. Refuses an empty or all-blank text, and
// the text of a retired entry (retiredEntryText).
int64_t addDictionaryEntry(db::TADOConnection& connection, int64_t dictionary, const std::string& text);
// Why a retired entry's text cannot be chosen.
std::string retiredEntryText(const std::string& text);

// Renames an entry (refused when the dictionary has that text already, in
// any letter case) and sets whether it is retired.
void changeDictionaryEntry(db::TADOConnection& connection, int64_t entry, const std::string& text, bool retired);

// Opens the entries of `dictionary` that may be chosen (none retired) into
// `query`, on its own connection, by their text: DictionaryItemID,
// DictionaryItemText.
void openEntriesToChoose(db::TADOQuery& query, int64_t dictionary);

}  // namespace velmora
