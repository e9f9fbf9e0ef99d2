// What the field controls share: the field type codes, the entry state, and
// the declaration of their contract properties (KeyField, FieldValue,
// Dictionary, Relation, Required, CanModify, FieldType, Empty, Validate,
// State) in their declaration order.
#pragma once

#include "toolkit/core/PropertyTable.h"

namespace velmora {

// Field type codes: the property page's type choice.
enum FieldTypeCode { ftNumber = 0, ftText = 1, ftDate = 2, ftYesNo = 3 };

// The entry state: no document, a document shown, modifying it, a new
// document. The controls' State property keeps it as its integer (0 to 3;
// other values are kept too and enable nothing).
enum class EntryState { None = 0, Shown = 1, Modifying = 2, New = 3 };

inline bool isState(int code, EntryState state)
{
    return code == static_cast<int>(state);
}

// A field control takes input in a new document, and while modifying one
// when its value may be modified.
inline bool enabledInState(int state, bool canModify)
{
    return isState(state, EntryState::New) || (isState(state, EntryState::Modifying) && canModify);
}

// A variant as text: empty and null give the empty string.
std::string variantText(const tk::Value& v);

// Declares the contract properties that class C has; `withDictionary` is
// false for the check box, which has no Dictionary.
template <bool withDictionary, class C>
void declareFieldContract(tk::PropertyTable<C>& t)
{
    t.string("KeyField", &C::KeyField, &C::setKeyField);
    t.variant("FieldValue", &C::FieldValue, &C::setFieldValue).notStored();
    if constexpr (withDictionary) t.string("Dictionary", &C::Dictionary, &C::setDictionary);
    t.string("Relation", &C::Relation, &C::setRelation);
    t.boolean("Required", &C::Required, &C::setRequired);
    t.boolean("CanModify", &C::CanModify, &C::setCanModify);
    t.integer("FieldType", &C::FieldType, &C::setFieldType);
    t.boolean("Empty", &C::Empty, &C::setEmpty).notStored();
    t.boolean("Validate", &C::Validate, nullptr).notStored();
    t.integer("State", &C::State, &C::setState).notStored();
}

// The plain values every field control keeps.
struct FieldContractValues {
    std::string keyField, dictionary, relation;
    bool required = false, canModify = false;
    int fieldType = 0;
    int state = 0;
};

}  // namespace velmora
