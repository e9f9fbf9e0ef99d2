// The entry page's field controls as a save reads them: in tab order, each
// bound to its Document column, each checked by the same rules, whether the
// clerk typed the values or an import put them there.
#pragma once

#include "entry/FieldValues.h"
#include "registry/DocumentColumns.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace tk {
class TControl;
class TWinControl;
}  // namespace tk

namespace db {
class TADOConnection;
}

namespace velmora {

class DictionaryField;
class FieldDictionaries;

struct BoundField {
    tk::TControl* field;
    const DocumentColumn* column;
    size_t position;  // in entryFields(), and so in a snapshot
    bool numbered;    // the database gives its column's value
};

bool isFieldControl(const tk::TControl* c);
// The field controls of a page in tab order.
std::vector<tk::TControl*> entryFields(tk::TWinControl* page);
// Whether `column` is one of the numbered ones (names compared as the
// database does).
bool isNumberedColumn(const std::vector<std::string>& numberedColumns, const std::string& column);
// The fields that name a column, each with it; raises when a field names
// no column of Document, or a column twice.
std::vector<BoundField> bindFields(const std::vector<tk::TControl*>& fields, const DocumentColumns& columns,
                                   const std::vector<std::string>& numberedColumns);
// A DictionaryField for each edit whose column or Dictionary names a
// dictionary.
std::vector<std::unique_ptr<DictionaryField>> makeDictionaryFields(const std::vector<tk::TControl*>& fields,
                                                                   db::TADOConnection& connection,
                                                                   FieldDictionaries& dictionaries);
// The value a field open for saving gives its column, or why it cannot be
// saved: a dictionary field's text must be an entry's, then the column's
// own rules (required, number, date, length). With `addUnknownEntries`, a
// text that is no entry's is added to the dictionary first.
StoredValue valueToSave(const BoundField& bound, DictionaryField* dictionary, bool addUnknownEntries = false);

}  // namespace velmora
