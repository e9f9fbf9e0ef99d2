// Printouts on their way: a list or one document to a file the clerk
// names (by its ending: .pdf, and for a list .csv or .xlsx too) or to a
// printer, as chosen in the "Mentés" window.
#pragma once

#include "toolkit/windows/Platform.h"

#include <optional>
#include <string>

namespace velmora {

// What a printout is, for the endings it may be saved as.
enum class PrintoutKind { List, Document };

// Asks where the printout goes and delivers it there; the words for the
// status bar ("Mentve: path", "Nyomtatva: printer"), none when the clerk
// cancelled. Raises with the clerk's text for an ending it cannot be saved
// as, a file it cannot write, a printer that refuses.
std::optional<std::string> deliverPrintout(const tk::Printout& printout, PrintoutKind kind);

}  // namespace velmora
