// A list as a spreadsheet (.xlsx, written by libxlsxwriter): the column
// titles bold in a frozen first row, then one row a record, each cell
// typed by its column: numbers as numbers, dates as dates, the rest text.
// The list's title is the workbook's title.
#pragma once

#include "toolkit/windows/Platform.h"

#include <string>

namespace velmora {

// Raises with the reason when the file cannot be written.
void writeXlsx(const tk::Printout& list, const std::string& path);

}  // namespace velmora
