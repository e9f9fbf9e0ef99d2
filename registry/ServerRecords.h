// What the server itself keeps true of documents and attachments where
// users are roles of the server, whoever writes and through whatever
// client: triggers and functions that belong to the database's owner role
// and run with its rights.
//
// - A document's DocumentID is the server's: given by its sequence, never
//   changed. A voided document is never changed again.
// - Every insert and update of Document writes its history row and a
//   change row for each column it changed (the stored value before and
//   after, and the value as the program showed it where the program said
//   so: see announceChanges), by the session's login at the server's time.
// - Every history row is chained as it is written (see HistoryChain).
// - An attachment's chunks go only into an attachment still being added,
//   by the login that began it; its size and SHA-256 are the server's,
//   from the stored chunks; "added by" and "removed by" are the session's
//   login; each step writes its history row.
// - The designer's save adds a Document column through a function that
//   checks its name and type.
#pragma once

#include <string>

namespace velmora {

// The script of these objects, run as the owner role (schema, prefix and
// roles filled in by the caller, as in the roles script).
const char* serverRecordsScript();

}  // namespace velmora
