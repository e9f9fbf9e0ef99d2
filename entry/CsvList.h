// A list as a CSV file the way spreadsheets read it: UTF-8 with a
// byte-order mark, ";" between fields, CRLF between records, a field
// quoted when it holds ";", a quote, a line break or blanks at its ends,
// quotes inside doubled. A text that a spreadsheet would run as a formula
// (starting with =, +, -, @, a tab or a carriage return) gets a leading
// apostrophe; numbers are written as they are, dates as ISO 8601.
#pragma once

#include "toolkit/windows/Platform.h"

#include <string>

namespace velmora {

// The header row (the column titles), then one record a row.
std::string csvText(const tk::Printout& list);

// Writes csvText into the file; raises with the reason when it cannot.
void writeCsv(const tk::Printout& list, const std::string& path);

}  // namespace velmora
