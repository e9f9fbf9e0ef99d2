// Making the program's own keys and indexes.
#include "registry/SchemaUpkeep.h"

#include "db/Connection.h"
#include "db/DatabaseError.h"
#include "db/Engine.h"
#include "db/FieldKind.h"
#include "db/Query.h"
#include "db/Statement.h"
#include "registry/CreateUnlessThere.h"
#include "registry/DocumentColumns.h"
#include "toolkit/text/Text.h"

#include <map>
#include <set>

namespace velmora {

namespace {

// Where each kind of name lives.
struct NameTable {
    const char* kind;  // as FoldedName.NameKind holds it
    const char* table;
    const char* id;
    const char* scope;  // the column within whose values names differ, or none
    const char* name;
    const char* what;  // the names, as a note says them
};

const NameTable nameTables[] = {
    {"Login", "UserTable", "UserID", nullptr, "UserLogin", "Logins"},
    {"GroupName", "UserGroup", "UserGroupID", nullptr, "UserGroupName", "Group names"},
    {"DictionaryEntry", "DictionaryItem", "DictionaryItemID", "DictionaryGroupID", "DictionaryItemText",
     "Entries of one dictionary"},
};

const NameTable& tableOf(NameKind kind)
{
    return nameTables[static_cast<int>(kind)];
}

const char* const foldedNameScript =
    "CREATE TABLE IF NOT EXISTS FoldedName (NameKind varchar(20) NOT NULL, Scope int NOT NULL, OwnerID int NOT NULL, "
    "Folded varchar(255) NOT NULL);\n"
    "CREATE UNIQUE INDEX IF NOT EXISTS FoldedNames ON FoldedName (NameKind, Scope, Folded);\n"
    "CREATE UNIQUE INDEX IF NOT EXISTS FoldedNameOwners ON FoldedName (NameKind, OwnerID);\n"
    "CREATE TABLE IF NOT EXISTS FoldedNameFold (Version int NOT NULL);";

// The key of a name: trimmed, and folded as vfold folds.
std::string folded(const std::string& name)
{
    return db::foldedText(tk::trimmed(name));
}

void insertKey(db::TADOConnection& connection, const NameTable& t, int64_t scope, int64_t owner, const std::string& key)
{
    db::execute(connection,
                "Insert into FoldedName (NameKind, Scope, OwnerID, Folded) Values (:Kind, :Scope, :Owner, :Folded)",
                {{"Kind", t.kind}, {"Scope", scope}, {"Owner", owner}, {"Folded", key}});
}

// Stores the folded name of every row of `t` that has none, and with
// `refold` folds again the keys stored by another fold; says the names
// that fold alike.
std::vector<std::string> keyEveryRow(db::TADOConnection& connection, const NameTable& t, bool refold)
{
    std::map<int64_t, std::string> keyed;
    {
        db::TADOQuery q(nullptr);
        db::open(q, connection, "Select OwnerID, Folded from FoldedName where NameKind = :Kind", {{"Kind", t.kind}});
        for (; !q.eof(); q.next()) keyed[q.field(0)->asInteger()] = q.field(1)->asString();
    }
    db::TADOQuery q(nullptr);
    db::open(q, connection,
             std::string("Select ") + t.id + ", " + (t.scope ? t.scope : "0") + ", " + t.name + " from " + t.table +
                 " order by " + t.id);
    std::map<std::pair<int64_t, std::string>, std::vector<std::string>> alike;
    for (; !q.eof(); q.next()) {
        int64_t owner = q.field(0)->asInteger(), scope = q.field(1)->asInteger();
        std::string name = q.field(2)->isNull() ? std::string() : q.field(2)->asString();
        std::string key = folded(name);
        alike[{scope, key}].push_back(name);
        auto stored = keyed.find(owner);
        if (stored != keyed.end() && (!refold || stored->second == key)) continue;
        try {
            if (stored == keyed.end()) insertKey(connection, t, scope, owner, key);
            else
                db::execute(connection,
                            "Update FoldedName set Folded = :Folded where NameKind = :Kind and OwnerID = :Owner",
                            {{"Folded", key}, {"Kind", t.kind}, {"Owner", owner}});
        } catch (const db::EDuplicateKey&) {
            // The first of the names alike keeps the key.
        }
    }
    std::vector<std::string> notes;
    for (const auto& [key, names] : alike) {
        if (names.size() < 2) continue;
        std::string note = std::string(t.what) + " that differ only in letter case (" + t.table + "): ";
        for (size_t i = 0; i < names.size(); ++i) note += (i ? ", " : "") + names[i];
        notes.push_back(note + "; only the first is kept unique, rename the others");
    }
    return notes;
}

// Document's columns after its key.
std::vector<DocumentColumn> documentColumns(db::TADOConnection& connection)
{
    std::vector<DocumentColumn> columns = DocumentColumns::read(connection).all();
    if (!columns.empty()) columns.erase(columns.begin());
    return columns;
}

std::vector<std::string> indexColumns(db::TADOConnection& connection, const std::vector<DocumentColumn>& columns)
{
    std::vector<std::string> notes;
    for (const DocumentColumn& c : columns) {
        if (isTextColumn(c) || !db::fitsBrackets(c.name)) continue;
        try {
            db::execute(connection,
                        "CREATE INDEX IF NOT EXISTS [VelmoraSearch_" + c.name + "] ON Document ([" + c.name + "])");
        } catch (const db::EDatabaseError& e) {
            notes.push_back("No search index on Document." + c.name + ": " + e.what());
        }
    }
    return notes;
}

}  // namespace

void claimFoldedName(db::TADOConnection& connection, NameKind kind, int64_t scope, int64_t owner,
                     const std::string& name)
{
    if (!hasTable(connection, "FoldedName")) return;
    const NameTable& t = tableOf(kind);
    std::string key = folded(name);
    db::execute(connection, "Delete from FoldedName where NameKind = :Kind and OwnerID = :Owner",
                {{"Kind", t.kind}, {"Owner", owner}});
    // A key left by a row that another writer removed holds no name.
    db::execute(connection,
                std::string("Delete from FoldedName where NameKind = :Kind and Scope = :Scope and Folded = :Folded and "
                            "OwnerID not in (Select ") +
                    t.id + " from " + t.table + ")",
                {{"Kind", t.kind}, {"Scope", scope}, {"Folded", key}});
    insertKey(connection, t, scope, owner, key);
}

void releaseFoldedName(db::TADOConnection& connection, NameKind kind, int64_t owner)
{
    if (!hasTable(connection, "FoldedName")) return;
    db::execute(connection, "Delete from FoldedName where NameKind = :Kind and OwnerID = :Owner",
                {{"Kind", tableOf(kind).kind}, {"Owner", owner}});
}

std::vector<std::string> makeNameKeys(db::TADOConnection& connection)
{
    createUnlessThere(connection, foldedNameScript);
    int stored = 0;
    {
        db::TADOQuery q(nullptr);
        db::open(q, connection, "Select max(Version) from FoldedNameFold");
        stored = q.eof() || q.field(0)->isNull() ? 0 : static_cast<int>(q.field(0)->asInteger());
    }
    bool refold = stored != nameFoldVersion;
    std::vector<std::string> notes;
    for (const NameTable& t : nameTables) {
        if (!hasTable(connection, t.table)) continue;
        std::vector<std::string> more = keyEveryRow(connection, t, refold);
        notes.insert(notes.end(), more.begin(), more.end());
    }
    if (refold) {
        db::execute(connection, "Delete from FoldedNameFold");
        db::execute(connection, "Insert into FoldedNameFold (Version) Values (:Version)",
                    {{"Version", nameFoldVersion}});
    }
    return notes;
}

std::vector<std::string> makeSearchIndexes(db::TADOConnection& connection, const std::vector<std::string>& names)
{
    std::vector<DocumentColumn> chosen;
    for (const DocumentColumn& c : documentColumns(connection))
        for (const std::string& name : names)
            if (tk::sameName(c.name, name)) {
                chosen.push_back(c);
                break;
            }
    return indexColumns(connection, chosen);
}

std::vector<std::string> makeAllSearchIndexes(db::TADOConnection& connection)
{
    return indexColumns(connection, documentColumns(connection));
}

}  // namespace velmora
