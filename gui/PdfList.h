// Printing a list into a PDF file with Qt's own PDF writer: A4 pages, the
// title and lines on the first, the table's titles repeated on every page,
// page numbers at the bottom, in DejaVu Sans (embedded), so that Hungarian
// letters come out right.
#pragma once

#include "toolkit/windows/Platform.h"

#include <string>

namespace gui {

// Raises tk::EInvalidOperation with the reason when the file cannot be
// written. Needs a Qt GUI application: see ensureGuiApplication().
void writePdfList(const tk::PrintedList& list, const std::string& path);

// Makes a Qt GUI application on the offscreen platform when the program
// has none (the headless console), for fonts and the PDF writer.
void ensureGuiApplication();

}  // namespace gui
