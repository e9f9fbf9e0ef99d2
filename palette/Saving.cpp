// Saving the shown form design: the group chosen in the lookup list gets
// the main window as form text in FormData, and the database is brought in
// line with the design: a Document column for every field name that has
// none, and the dictionaries and field names registered where missing.
//
// The design text is made whole before the group's row is touched, and
// stored in one edit and post, so a failure at any step leaves the group's
// previous design as it was. Names go into the INSERT statements as bound
// values; the ALTER TABLE text takes only names that cannot end its
// bracketed identifier.
#include "palette/ComponentPalette.h"

#include "db/DatabaseError.h"
#include "db/Engine.h"
#include "db/PausePoint.h"
#include "model/DesignModel.h"
#include "palette/GroupChoice.h"
#include "registry/SchemaUpkeep.h"
#include "registry/SearchText.h"
#include "startup/DataModule.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/text/Text.h"
#include "toolkit/windows/Form.h"

namespace velmora {

namespace {

// The column type of a field: what follows the name in the statement, or
// nothing for a type that has no column.
const char* columnTail(int fieldType, bool hasDictionary)
{
    switch (fieldType) {
    case 0: return "] int ";
    case 1: return hasDictionary ? "] int " : "] varchar(50) ";
    case 2: return "] datetime ";
    case 3: return "] binary(1) ";
    default: return nullptr;
    }
}

// Runs an INSERT that another program saving at the same moment may have
// made first: its row is then there, which is all this one wanted.
void executeUnlessThere(db::TADOCommand& insert)
{
    try {
        insert.execute();
    } catch (const db::EDuplicateKey&) {
    }
}

// Puts the design into the current row of qrySearch in one edit and post.
void storeDesign(DesignSurface& surface, db::TADOQuery& q)
{
    std::string text = surface.storedDesignText();
    try {
        q.edit();
        {
            auto blob = q.createBlobStream(q.fieldByName("FormData"), db::BlobMode::Write);
            blob->write(text);
        }
        db::pausePoint("design-storing");
        q.post();
        db::pausePoint("design-stored");
    } catch (...) {
        q.cancel();
        throw;
    }
}

// Steps for one component: its column, its dictionary and field name.
void bringInLine(tk::TComponent& c, TdmClientMain& dm)
{
    // A component without these counts as having empty ones.
    std::string keyField = tk::getPropTextOr(c, "KeyField");
    std::string dictionary = tk::getPropTextOr(c, "Dictionary");
    db::TADOQuery& q = *dm.qrySearch;
    db::TADOCommand& cmd = *dm.cmdAlterTable;

    if (!keyField.empty() && dm.ColumnTypeIndex(tk::lowerAscii(keyField)) == -1) {
        try {
            int type = static_cast<int>(tk::getProp(c, "FieldType").toInt());
            const char* tail = columnTail(type, !dictionary.empty());
            if (tail && db::fitsBrackets(keyField)) {
                cmd.setCommandText("Alter Table Document Add [" + keyField + tail);
                cmd.execute();
            }
        } catch (const std::exception&) {
            // A type without a column, or a column the database refuses.
        }
    }

    if (dictionary.empty()) return;
    auto openOn = [&](const char* sql) {
        q.close();
        q.setSqlText(sql);
        q.open();
    };
    openOn("Select * from DictionaryGroup");
    if (!q.locate("DictionaryGroupName", tk::Value(dictionary), db::loCaseInsensitive)) {
        cmd.setCommandText("Insert into DictionaryGroup (DictionaryGroupName) Values (:DictionaryGroupName)");
        cmd.parameters().paramByName("DictionaryGroupName").setValue(tk::Value(dictionary));
        executeUnlessThere(cmd);
    }
    q.close();
    q.open();
    // Without the dictionary's row the field is linked to nothing.
    if (!q.locate("DictionaryGroupName", tk::Value(dictionary), db::loCaseInsensitive)) return;
    int64_t id = q.fieldByName("DictionaryGroupID")->asInteger();
    openOn("Select * from Fields");
    if (!q.locate("FieldName", tk::Value(keyField), db::loCaseInsensitive)) {
        cmd.setCommandText("Insert into Fields (FieldName,DictionaryGroupID) Values (:FieldName,:DictionaryGroupID)");
        cmd.parameters().paramByName("FieldName").setValue(tk::Value(keyField));
        cmd.parameters().paramByName("DictionaryGroupID").setValue(tk::Value(id));
        executeUnlessThere(cmd);
    }
}

// The program's own additions where the schema is changed: indexes for
// the columns the search page compares, the unique keys over folded
// names, and the folded text of Document's text columns (made again only
// when a text column lacks it). A database that refuses them (a designer who does not own the
// tables) is passed over silently, as a refused column is; the programs
// work without them.
void addProgramsKeysAndIndexes(tk::TForm& window, TdmClientMain& dm)
{
    std::vector<std::string> searched;
    for (tk::TComponent* c : window.components())
        if (auto* control = tk::as<tk::TControl>(c);
            control && control->parent() && control->parent()->name() == "tsSearch")
            if (std::string keyField = tk::getPropTextOr(*c, "KeyField"); !keyField.empty())
                searched.push_back(keyField);
    try {
        makeSearchIndexes(*dm.ADOConnection, searched);
        makeNameKeys(*dm.ADOConnection);
        makeSearchText(*dm.ADOConnection);
    } catch (const std::exception&) {
    }
}

}  // namespace

void TfrmComonentPalette::btnSaveClick(tk::TObject*)
{
    DesignModel& model = designModel();
    DesignSurface* surface = model.surface();
    if (!surface) return;
    tk::TForm& window = surface->designWindow();
    TdmClientMain& dm = *dmClientMain;
    if (chooseUserGroup("Select * from UserGroup", 0)) storeDesign(*surface, *dm.qrySearch);

    // Whether or not a group was chosen, in the window's component order.
    int count = window.componentCount();
    for (int i = 0; i < count && i < window.componentCount(); ++i) bringInLine(*window.components()[i], dm);
    addProgramsKeysAndIndexes(window, dm);

    model.showControl(window.activeControl());
}

}  // namespace velmora
