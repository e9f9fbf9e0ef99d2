// The entry page's fields and the rules a save checks them by.
#include "entry/EntryFields.h"

#include "controls/ZEDChxBox.h"
#include "controls/ZEDPicker.h"
#include "controls/ZEDit.h"
#include "db/Engine.h"
#include "entry/Dictionaries.h"
#include "entry/DictionaryField.h"
#include "entry/Refusal.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/text/Text.h"

#include <algorithm>

namespace velmora {

bool isFieldControl(const tk::TControl* c)
{
    return tk::as<TZEDit>(c) || tk::as<TZEDPicker>(c) || tk::as<TZEDChxBox>(c);
}

std::vector<tk::TControl*> entryFields(tk::TWinControl* page)
{
    std::vector<tk::TControl*> list;
    if (page)
        for (tk::TControl* c : page->controls())
            if (isFieldControl(c)) list.push_back(c);
    auto order = [](tk::TControl* c) {
        auto* w = tk::as<tk::TWinControl>(c);
        return w ? w->tabOrder() : 0;
    };
    std::stable_sort(list.begin(), list.end(), [&](tk::TControl* a, tk::TControl* b) { return order(a) < order(b); });
    return list;
}

bool isNumberedColumn(const std::vector<std::string>& numberedColumns, const std::string& column)
{
    return std::any_of(numberedColumns.begin(), numberedColumns.end(),
                       [&](const std::string& numbered) { return tk::sameName(numbered, column); });
}

std::vector<BoundField> bindFields(const std::vector<tk::TControl*>& fields, const DocumentColumns& columns,
                                   const std::vector<std::string>& numberedColumns)
{
    std::vector<BoundField> bound;
    for (size_t position = 0; position < fields.size(); ++position) {
        tk::TControl* field = fields[position];
        std::string keyField = tk::getPropTextOr(*field, "KeyField");
        if (keyField.empty()) continue;
        const DocumentColumn* column = columns.find(keyField);
        if (!column || !db::fitsBrackets(column->name) || tk::sameName(column->name, "DocumentID"))
            throw ERefused("Nincs ilyen oszlop a Document táblában: " + keyField);
        for (const BoundField& b : bound)
            if (b.column == column) throw ERefused("Két mező is ugyanabba az oszlopba írna: " + column->name);
        bound.push_back({field, column, position, isNumberedColumn(numberedColumns, column->name)});
    }
    return bound;
}

std::vector<std::unique_ptr<DictionaryField>> makeDictionaryFields(const std::vector<tk::TControl*>& fields,
                                                                   db::TADOConnection& connection,
                                                                   FieldDictionaries& dictionaries)
{
    std::vector<std::unique_ptr<DictionaryField>> made;
    for (tk::TControl* field : fields)
        if (auto* edit = tk::as<TZEDit>(field))
            if (auto dictionary = dictionaries.of(edit->KeyField(), edit->Dictionary()))
                made.push_back(std::make_unique<DictionaryField>(*edit, connection, *dictionary));
    return made;
}

StoredValue valueToSave(const BoundField& bound, DictionaryField* dictionary, bool addUnknownEntries)
{
    if (dictionary) {
        std::string refusal = dictionary->resolveForSave(addUnknownEntries);
        if (!refusal.empty()) return {{}, refusal};
    }
    return storedValue(*bound.field, *bound.column);
}

}  // namespace velmora
