// A field control's value as its Document column stores it, and back: the
// conversion goes by the column's kind (integer, string, date-time, bytes
// and the kinds derived from them), so a field is checked against what the
// database can hold, not only against its own type code.
#pragma once

#include "db/Field.h"
#include "registry/DocumentColumns.h"

#include <string>

namespace tk {
class TControl;
}

namespace velmora {

// The value to store, or why it cannot be stored (the text the clerk sees).
struct StoredValue {
    db::Cell cell;  // null for an empty field
    std::string refusal;
};

// The name a message gives a field: its caption label's text (or a check
// box's own caption) without the closing ":", or its KeyField when the
// caption is empty or still the placeholder "Mezőnév".
std::string fieldLabel(tk::TControl& field);

// The value of a field control (TZEDit, TZEDPicker, TZEDChxBox) for its
// column, checked: required, a number that converts, a whole number for an
// integer column, a text that fits its varchar(n), a date.
StoredValue storedValue(tk::TControl& field, const DocumentColumn& column);

// A typed search value for a column: converted as a saved value is, but a
// text may be of any length.
StoredValue searchValue(const std::string& typed, const DocumentColumn& column, tk::TControl& field);

// Shows a stored value in a field control.
void showStoredValue(tk::TControl& field, const DocumentColumn& column, const db::Cell& cell);

// What the field holds now, as one comparable text: a form has unsaved
// changes when these differ from the ones taken when editing began.
std::string fieldSnapshot(tk::TControl& field);
// The field's value as the form shows it, for the history: an edit's text
// (a dictionary entry's text), a picker's date as it shows it, "Igen" or
// "Nem"; "" for none.
std::string shownText(tk::TControl& field);

}  // namespace velmora
