// A value of an imported file put into a field control as a clerk would
// enter it, so that the form's own rules then check it. Dates are read in
// the unambiguous forms an office's files hold: 2026.11.16., 2026.11.16
// and 2026. 11. 16. (the Hungarian forms), 2026-11-16 (ISO, also with a
// time: 2026-11-16 14:30, whose time a date field does not keep), and
// 16.11.2026 or 16/11/2026 (day first). A year is always four digits. A check box reads Igen/Nem, 1/0 and
// True/False (empty is Nem). A text that the clerk's printed list guarded
// against spreadsheets' formulas ("'=...") loses its guard.
#pragma once

#include "registry/DocumentColumns.h"
#include "toolkit/text/Locale.h"

#include <optional>
#include <string>

namespace tk {
class TControl;
}

namespace velmora {

// Why a numbered column's value cannot come from the file.
inline constexpr const char* numberedColumnGivenText =
    "A mező számát az adatbázis adja, a fájl nem adhatja meg (kapcsolja ki a számozást, vagy hagyja ki az oszlopot)";

// Puts `text` into `field` (bound to `column`); gives the refusal when the
// text is no value the control can hold (a date, a check box's yes or no).
std::optional<std::string> putImportedText(tk::TControl& field, const DocumentColumn& column, const std::string& text);

}  // namespace velmora
