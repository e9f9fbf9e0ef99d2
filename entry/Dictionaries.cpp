// Reading and writing dictionary entries.
#include "entry/Dictionaries.h"

#include "db/Connection.h"
#include "db/DatabaseError.h"
#include "db/PausePoint.h"
#include "db/Query.h"
#include "db/Statement.h"
#include "db/Transaction.h"
#include "entry/Refusal.h"
#include "registry/SchemaUpkeep.h"
#include "toolkit/text/Text.h"

namespace velmora {

namespace {

// The entry whose text folds as `text` does, retired or not.
std::optional<DictionaryEntry> entryWithText(db::TADOConnection& connection, int64_t dictionary,
                                             const std::string& text)
{
    for (const DictionaryEntry& e : dictionaryEntries(connection, dictionary))
        if (tk::sameText(e.text, text)) return e;
    return std::nullopt;
}

// A retired entry's text names an entry nobody may choose any more.
int64_t offeredEntry(const DictionaryEntry& e)
{
    if (e.retired) throw ERefused(retiredEntryText(e.text));
    return e.id;
}

}  // namespace

std::string retiredEntryText(const std::string& text)
{
    return "Ez a szótárelem ki van vezetve, nem választható: „" + text + "”";
}

std::optional<DictionaryRef> FieldDictionaries::of(const std::string& keyField, const std::string& controlDictionary)
{
    std::string key = keyField + '\n' + controlDictionary;
    auto found = known_.find(key);
    if (found == known_.end())
        found = known_.emplace(key, dictionaryOfField(connection_, keyField, controlDictionary)).first;
    return found->second;
}

std::optional<DictionaryRef> dictionaryOfField(db::TADOConnection& connection, const std::string& keyField,
                                               const std::string& controlDictionary)
{
    db::TADOQuery q(nullptr);
    if (!keyField.empty()) {
        db::open(
            q, connection,
            "Select DictionaryGroup.DictionaryGroupID, DictionaryGroupName from Fields, DictionaryGroup where "
            "Fields.DictionaryGroupID = DictionaryGroup.DictionaryGroupID and lower(FieldName) = lower(:FieldName)",
            {{"FieldName", keyField}});
        if (!q.eof()) return DictionaryRef{q.field(0)->asInteger(), q.field(1)->asString()};
    }
    if (controlDictionary.empty()) return std::nullopt;
    db::open(q, connection,
             "Select DictionaryGroupID, DictionaryGroupName from DictionaryGroup where lower(DictionaryGroupName) = "
             "lower(:Name)",
             {{"Name", controlDictionary}});
    if (!q.eof()) return DictionaryRef{q.field(0)->asInteger(), q.field(1)->asString()};
    return std::nullopt;
}

std::vector<DictionaryEntry> dictionaryEntries(db::TADOConnection& connection, int64_t dictionary)
{
    db::TADOQuery q(nullptr);
    db::open(q, connection,
             "Select DictionaryItemID, DictionaryItemText, Retired from DictionaryItem where DictionaryGroupID = "
             ":DictionaryGroupID order by DictionaryItemText",
             {{"DictionaryGroupID", dictionary}});
    std::vector<DictionaryEntry> entries;
    for (; !q.eof(); q.next())
        entries.push_back({q.field(0)->asInteger(), q.field(1)->asString(), q.field(2)->asInteger() != 0});
    return entries;
}

int64_t addDictionaryEntry(db::TADOConnection& connection, int64_t dictionary, const std::string& typed)
{
    std::string text = tk::trimmed(typed);
    if (text.empty()) throw ERefused("Üres szótárelem nem vehető fel.");
    if (auto existing = entryWithText(connection, dictionary, text)) return offeredEntry(*existing);
    db::pausePoint("dictionary-entry-checked");
    try {
        int64_t id = 0;
        db::inTransaction(connection, [&] {
            id = db::executeReturningInteger(
                connection,
                "Insert into DictionaryItem (DictionaryGroupID, DictionaryItemText) Values (:DictionaryGroupID, :Text) "
                "Returning DictionaryItemID",
                {{"DictionaryGroupID", dictionary}, {"Text", text}});
            claimFoldedName(connection, NameKind::DictionaryEntry, dictionary, id, text);
        });
        return id;
    } catch (const db::EDuplicateKey&) {
        // Another program added it first: its entry is the one.
        if (auto winner = entryWithText(connection, dictionary, text)) return offeredEntry(*winner);
        throw;
    }
}

void changeDictionaryEntry(db::TADOConnection& connection, int64_t entry, const std::string& typed, bool retired)
{
    std::string text = tk::trimmed(typed);
    if (text.empty()) throw ERefused("Üres szótárelem nem vehető fel.");
    // Another entry of the same dictionary with this text, in any letter
    // case, refuses the rename before the database's key would.
    db::TADOQuery owner(nullptr);
    db::open(owner, connection, "Select DictionaryGroupID from DictionaryItem where DictionaryItemID = :ID",
             {{"ID", entry}});
    int64_t dictionary = owner.eof() ? 0 : owner.field(0)->asInteger();
    for (const DictionaryEntry& e : dictionaryEntries(connection, dictionary))
        if (e.id != entry && tk::sameText(e.text, text)) throw ERefused("Ilyen szótárelem már van: „" + e.text + "”");
    try {
        db::inTransaction(connection, [&] {
            db::execute(connection,
                        "Update DictionaryItem Set DictionaryItemText = :Text, Retired = :Retired Where "
                        "DictionaryItemID = :ID",
                        {{"Text", text}, {"Retired", retired ? 1 : 0}, {"ID", entry}});
            claimFoldedName(connection, NameKind::DictionaryEntry, dictionary, entry, text);
        });
    } catch (const db::EDuplicateKey&) {
        throw ERefused("Ilyen szótárelem már van: „" + text + "”");
    }
}

void openEntriesToChoose(db::TADOQuery& query, int64_t dictionary)
{
    query.close();
    query.setSqlText(
        "Select DictionaryItemID, DictionaryItemText from DictionaryItem where DictionaryGroupID = :DictionaryGroupID "
        "and Retired = 0 order by DictionaryItemText");
    query.parameters().paramByName("DictionaryGroupID").setValue(tk::Value(dictionary));
    query.open();
}

}  // namespace velmora
