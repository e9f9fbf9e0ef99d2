// Reading and writing published properties by name, as native values or as
// text (booleans read "True"/"False"), and binding events to handlers by name.
#pragma once

#include "toolkit/core/Object.h"

#include <string>
#include <string_view>
#include <vector>

namespace tk {

class TComponent;

// The property of `obj` named `path` ("Caption", "Font.Name"); raises
// "Property %s does not exist" when the class lacks it.
const PropInfo& findPropInfo(const TPersistent& obj, std::string_view name);
bool hasProperty(const TPersistent& obj, std::string_view path);
// The property a dotted path ends in, found through the objects before it.
const PropInfo& propInfoAt(const TPersistent& obj, std::string_view path);

Value getProp(const TPersistent& obj, std::string_view path);
// Converts `v` to the property's kind; a value that does not suit the
// property raises "Invalid property value".
void setProp(TPersistent& obj, std::string_view path, const Value& v);

// Text forms: integers in decimal, enumerations by value name, booleans as
// "True"/"False", sets as "[a,b]", components and handlers by name.
std::string getPropText(const TPersistent& obj, std::string_view path);
void setPropText(TPersistent& obj, std::string_view path, std::string_view text);
// The text form, or `fallback` when the object lacks the property or its
// value has no text: the defaulted reads of the property page and saving.
std::string getPropTextOr(const TPersistent& obj, std::string_view path, const std::string& fallback = {});

// Sets event property `eventName` of `obj` to the published method
// `methodName` of `methodOwner`; an empty name or "nil" sets none.
void bindEvent(TPersistent& obj, std::string_view eventName, TComponent& methodOwner, std::string_view methodName);

// The one conversion of each property kind, which access by name, the
// stored-design writer and reader and the console all use:
// - a value (native, or its text form) as the property's kind holds it;
//   raises "Invalid property value" when it does not suit the property;
Value propertyValue(const TPersistent& obj, const PropInfo& p, const Value& v);
// - the text form of a value the property holds (see getPropText);
std::string propertyText(const TPersistent& obj, const PropInfo& p, const Value& v);
// - whether a stored design leaves the value out: the declared default of
//   ordinal kinds, empty strings, zero, no handler, no named component.
bool isDefaultValue(const PropInfo& p, const Value& v);

// Text of a set value, "[akLeft,akTop]"; and back.
std::string setToText(const EnumType& type, unsigned mask);
unsigned textToSet(const EnumType& type, std::string_view text);
// The mask of set elements given by name; raises for a name not in `type`.
unsigned setFromNames(const EnumType& type, const std::vector<std::string>& names);

}  // namespace tk
