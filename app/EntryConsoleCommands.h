// The clerk's program's own commands on the headless console, beside the
// gestures every program takes: its attachments, which a person reaches
// through the platform's file dialogs and drops.
#pragma once

#include <iosfwd>
#include <string>

namespace velmora {

// Runs `verb` with the rest of its line in `words`, printing to `out`;
// false when the verb is not the clerk's program's, or no clerk's form runs.
//   attach PATH        adds the file to the shown document
//   attachments        the shown document's files in the order they were
//                      added, one a line: name, size, SHA-256 in hex,
//                      "removed" or "present"; then "end"
//   saveattachment N PATH   writes file N (from 1) of that list to PATH
//   openattachment N   hands file N to the desktop (the console prints
//                      "opened PATH" of the read-only copy)
//   detach N           removes file N
bool runEntryConsoleCommand(const std::string& verb, std::istream& words, std::ostream& out);

}  // namespace velmora
