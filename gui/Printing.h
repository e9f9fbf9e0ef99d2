// Printing a printout on A4 pages, into a PDF file with Qt's own PDF
// writer or on a printer the desktop knows (CUPS): the title, lines and
// captions first, the table's titles repeated on every page, page numbers
// at the bottom, in DejaVu Sans (embedded), so that Hungarian letters come
// out right. Long texts wrap within their column; a table too wide for a
// portrait page turns the page to landscape.
#pragma once

#include "toolkit/windows/Platform.h"

#include <string>
#include <vector>

namespace gui {

// Raises tk::EInvalidOperation with the reason when the file cannot be
// written. Needs a Qt GUI application: see ensureGuiApplication().
void writePdf(const tk::Printout& printout, const std::string& path);

// The printers Qt knows (CUPS's destinations, CUPS_SERVER included).
std::vector<std::string> printerNames();

// Prints on the named printer; with `askFirst`, Qt's print dialog comes
// first (a QApplication is needed then), and false means it was cancelled.
// Raises tk::EInvalidOperation with the reason when the printer is unknown
// or refuses the job.
bool printOnPrinter(const tk::Printout& printout, const std::string& printer, bool askFirst);

// Makes a Qt GUI application on the offscreen platform when the program
// has none (the headless console), for fonts and the PDF writer.
void ensureGuiApplication();

}  // namespace gui
