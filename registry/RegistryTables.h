// The registry's own tables beside Document, which the programs add to a
// database of their own accord where it lacks them (a database made before
// the clerk's program, by the designer alone, or by an older version).
// Each may run at the same moment in two programs (CreateUnlessThere.h).
#pragma once

namespace db {
class TADOConnection;
}

namespace velmora {

// Creates DocumentHistory, DocumentChange and DocumentVoid (a voided
// document: its history row, who and when, and the reason; one a
// document), and gives an older DocumentHistory the columns it lacks.
void ensureHistoryTable(db::TADOConnection& connection);
// The history tables' indexes on a database whose tables an older version
// made without them (velmora-admin upgrade): showing a document's history
// reads it by DocumentID.
void makeHistoryIndexes(db::TADOConnection& connection);
// Creates DictionaryItem and its unique index.
void ensureDictionaryItemTable(db::TADOConnection& connection);
// Creates the attachment tables, AttachmentText among them.
void ensureAttachmentTables(db::TADOConnection& connection);
// Creates AttachmentText, the text read from each attached file, and its
// trigram index.
void ensureAttachmentTextTable(db::TADOConnection& connection);
// Creates ImportBatch and ImportedDocument.
void ensureImportTables(db::TADOConnection& connection);

}  // namespace velmora
