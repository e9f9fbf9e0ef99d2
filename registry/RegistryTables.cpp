// The registry's own tables.
#include "registry/RegistryTables.h"

#include "db/Statement.h"
#include "db/Connection.h"
#include "db/DatabaseError.h"
#include "registry/CreateUnlessThere.h"
#include "registry/HistoryChain.h"
#include "registry/SearchText.h"

#include <string>

namespace velmora {

namespace {

const char* const historyIndexes =
    "CREATE INDEX IF NOT EXISTS DocumentHistories ON DocumentHistory (DocumentID);\n"
    "CREATE INDEX IF NOT EXISTS DocumentChanges ON DocumentChange (HistoryID);\n"
    "CREATE UNIQUE INDEX IF NOT EXISTS DocumentVoids ON DocumentVoid (DocumentID);\n"
    "CREATE UNIQUE INDEX IF NOT EXISTS DocumentHistoryChain ON DocumentHistory (ChainNo)";

}  // namespace

void makeHistoryIndexes(db::TADOConnection& connection)
{
    ensureHistoryTable(connection);
    createUnlessThere(connection, historyIndexes);
}

void ensureHistoryTable(db::TADOConnection& connection)
{
    createTableUnlessThere(connection, "DocumentHistory",
                           "CREATE TABLE IF NOT EXISTS DocumentHistory (HistoryID INTEGER PRIMARY KEY AUTOINCREMENT, "
                           "DocumentID int NOT NULL, UserID int NOT NULL, ChangedAt datetime NOT NULL, Action "
                           "varchar(20) NOT NULL, UserLogin varchar(50), RegistryNumber varchar(200), ChainNo int, ChainHash "
                           "varchar(64));\n"
                           "CREATE UNIQUE INDEX IF NOT EXISTS DocumentHistoryChain ON DocumentHistory (ChainNo);\n"
                           "CREATE INDEX IF NOT EXISTS DocumentHistories ON DocumentHistory (DocumentID)");
    // Columns an older version's table lacks.
    for (const char* column :
         {"UserLogin varchar(50)", "RegistryNumber varchar(200)", "ChainNo int", "ChainHash varchar(64)"}) {
        std::string name = std::string(column).substr(0, std::string(column).find(' '));
        if (hasColumn(connection, "DocumentHistory", name.c_str())) continue;
        // A clerk's program under roles meets a table the owner has not
        // upgraded yet: the chain waits for velmora-admin upgrade.
        if (name.rfind("Chain", 0) == 0 && !keepsTheChain(connection)) continue;
        try {
            db::execute(connection, std::string("Alter Table DocumentHistory Add ") + column);
        } catch (const std::exception&) {
            // Another program starting at the same moment added it first.
            if (!hasColumn(connection, "DocumentHistory", name.c_str())) throw;
        }
        if (name == "ChainNo")
            createUnlessThere(connection, "CREATE UNIQUE INDEX IF NOT EXISTS DocumentHistoryChain ON DocumentHistory "
                                          "(ChainNo)");
    }
    createTableUnlessThere(connection, "DocumentChange",
                           "CREATE TABLE IF NOT EXISTS DocumentChange (HistoryID int NOT NULL, ColumnName "
                           "varchar(64) NOT NULL, OldValue text, NewValue text);\n"
                           "CREATE INDEX IF NOT EXISTS DocumentChanges ON DocumentChange (HistoryID)");
    createTableUnlessThere(connection, "DocumentVoid",
                           "CREATE TABLE IF NOT EXISTS DocumentVoid (DocumentID int NOT NULL, HistoryID int NOT NULL, "
                           "Reason text NOT NULL);\n"
                           "CREATE UNIQUE INDEX IF NOT EXISTS DocumentVoids ON DocumentVoid (DocumentID)");
    ensureHistoryChain(connection);
}

void ensureDictionaryItemTable(db::TADOConnection& connection)
{
    createTableUnlessThere(
        connection, "DictionaryItem",
        "CREATE TABLE IF NOT EXISTS DictionaryItem (DictionaryItemID INTEGER PRIMARY KEY AUTOINCREMENT, "
        "DictionaryGroupID int NOT NULL, DictionaryItemText varchar(100) NOT NULL, Retired int NOT NULL DEFAULT 0);\n"
        "CREATE UNIQUE INDEX IF NOT EXISTS DictionaryItemTexts ON DictionaryItem (DictionaryGroupID, "
        "lower(DictionaryItemText));");
}

void ensureAttachmentTables(db::TADOConnection& connection)
{
    createTableUnlessThere(
        connection, "DocumentAttachment",
        "CREATE TABLE IF NOT EXISTS DocumentAttachment (AttachmentID INTEGER PRIMARY KEY AUTOINCREMENT, DocumentID "
        "int NOT NULL, FileName text NOT NULL, FileSize bigint NOT NULL, Sha256 varchar(64) NOT NULL, ContentType "
        "varchar(100) NOT NULL, AddedBy varchar(50) NOT NULL, AddedAt datetime NOT NULL, RemovedBy varchar(50), "
        "RemovedAt datetime);\n"
        "CREATE INDEX IF NOT EXISTS DocumentAttachments ON DocumentAttachment (DocumentID)");
    createTableUnlessThere(connection, "DocumentAttachmentChunk",
                           "CREATE TABLE IF NOT EXISTS DocumentAttachmentChunk (AttachmentID int NOT NULL, ChunkNo "
                           "int NOT NULL, Bytes blob NOT NULL, PRIMARY KEY (AttachmentID, ChunkNo))");
    createTableUnlessThere(connection, "DocumentAttachmentLimit",
                           "CREATE TABLE IF NOT EXISTS DocumentAttachmentLimit (MaxBytes bigint NOT NULL)");
    ensureAttachmentTextTable(connection);
}

namespace {

void makeAttachmentText(db::TADOConnection& connection)
{
    // The folded text is indexed by trigrams as Document's is: on SQLite an
    // FTS5 table over it (external content, kept by triggers), on
    // PostgreSQL a pg_trgm GIN index.
    if (!connection.isPostgres()) {
        createUnlessThere(
            connection,
            "CREATE TABLE IF NOT EXISTS AttachmentText (AttachmentID INTEGER PRIMARY KEY, State varchar(20) NOT NULL, "
            "Reason text, Engine varchar(100), Languages varchar(50), Pages int NOT NULL DEFAULT 0, Content text, "
            "Folded text, ReadBy varchar(50), ReadAt datetime);\n"
            "CREATE VIRTUAL TABLE IF NOT EXISTS AttachmentSearchIndex USING fts5(Folded, content='AttachmentText', "
            "content_rowid='AttachmentID', tokenize='trigram');\n"
            "CREATE TRIGGER IF NOT EXISTS AttachmentText_Insert AFTER INSERT ON AttachmentText BEGIN INSERT INTO "
            "AttachmentSearchIndex (rowid, Folded) VALUES (new.AttachmentID, new.Folded); END;\n"
            "CREATE TRIGGER IF NOT EXISTS AttachmentText_Delete AFTER DELETE ON AttachmentText BEGIN INSERT INTO "
            "AttachmentSearchIndex (AttachmentSearchIndex, rowid, Folded) VALUES ('delete', old.AttachmentID, "
            "old.Folded); END;\n"
            "CREATE TRIGGER IF NOT EXISTS AttachmentText_Update AFTER UPDATE ON AttachmentText BEGIN INSERT INTO "
            "AttachmentSearchIndex (AttachmentSearchIndex, rowid, Folded) VALUES ('delete', old.AttachmentID, "
            "old.Folded); INSERT INTO AttachmentSearchIndex (rowid, Folded) VALUES (new.AttachmentID, new.Folded); "
            "END;");
        return;
    }
    createUnlessThere(connection,
                      "CREATE TABLE IF NOT EXISTS AttachmentText (AttachmentID bigint NOT NULL PRIMARY KEY, State "
                      "varchar(20) NOT NULL, Reason text, Engine varchar(100), Languages varchar(50), Pages int NOT "
                      "NULL DEFAULT 0, Content text, Folded text, ReadBy varchar(50), ReadAt datetime)");
    std::string trigrams = trigramSchema(connection);
    if (trigrams.empty()) return;
    std::string index = "CREATE INDEX IF NOT EXISTS \"AttachmentSearch\" ON \"AttachmentText\" USING gin (\"Folded\" \"" +
                        trigrams + "\".gin_trgm_ops)";
    try {
        connection.executeNative(index);
    } catch (const db::EDatabaseError&) {
        // Another program made it at the same moment: now it is found.
        connection.executeNative(index);
    }
}

}  // namespace

void ensureAttachmentTextTable(db::TADOConnection& connection)
{
    if (hasTable(connection, "AttachmentText")) return;
    try {
        makeAttachmentText(connection);
    } catch (const db::EDatabaseError&) {
        // A clerk of a database under roles may make no table: until the
        // administrator's upgrade makes it, files wait unread.
        if (connection.loginRolePrefix().empty()) throw;
    }
}



void ensureImportTables(db::TADOConnection& connection)
{
    createTableUnlessThere(connection, "ImportBatch",
                           "CREATE TABLE IF NOT EXISTS ImportBatch (BatchID INTEGER PRIMARY KEY AUTOINCREMENT, "
                           "ImportedAt datetime NOT NULL, UserLogin varchar(50), FileName text, Documents int)");
    createTableUnlessThere(connection, "ImportedDocument",
                           "CREATE TABLE IF NOT EXISTS ImportedDocument (BatchID int NOT NULL, DocumentID int NOT "
                           "NULL);\n"
                           "CREATE INDEX IF NOT EXISTS ImportedDocuments ON ImportedDocument (BatchID)");
}

}  // namespace velmora
