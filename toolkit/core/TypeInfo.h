// Run-time type information: classes with their published property tables,
// enumeration types and tables of named integer constants.
#pragma once

#include "toolkit/core/Value.h"
#include "toolkit/text/Text.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tk {

class TObject;
class TPersistent;
class TComponent;
struct ClassInfo;

// An enumeration type (TAlign, TBorderStyle...) with its value names.
struct EnumType {
    std::string name;
    std::vector<std::string> values;
    // Index of a value name compared without regard to case, or -1.
    int indexOf(std::string_view valueName) const;
    const std::string& nameOf(int ordinal) const;
};

// Named integer constants (colours, cursors, character sets). The writer
// names a value by the first entry in table order that has it.
struct NamedConstants {
    std::vector<std::pair<std::string, int32_t>> entries;
    std::optional<int32_t> valueOf(std::string_view name) const;
    const std::string* nameOf(int32_t value) const;
};

enum class PropKind {
    Integer,
    Int64,
    Char,
    Enum,
    Bool,
    Set,
    String,
    Float,
    Variant,
    Event,
    Component,
    Object,
    Collection
};

// One published property.
struct PropInfo {
    std::string name;
    PropKind kind = PropKind::Integer;
    const EnumType* enumType = nullptr;         // Enum; element type of a Set
    const NamedConstants* constants = nullptr;  // Integer: names that stand for values
    // Component, Object, or Collection item class; a function, because
    // classes may name each other (a page and its page control).
    const ClassInfo& (*classType)() = nullptr;
    EventKind eventKind = EventKind::Notify;  // Event
    std::optional<int64_t> defaultValue;      // ordinals: Bool as 0/1, Set as a bit mask
    bool stored = true;
    std::function<bool(const TPersistent&)> storedIf;
    bool hidden = false;  // a descendant withdraws an inherited property
    std::function<Value(const TPersistent&)> get;
    std::function<void(TPersistent&, const Value&)> set;  // empty: read-only

    bool readOnly() const { return !set; }
    // Whether a stored design carries this property of `obj` at all (stored
    // flag and stored condition; defaults are the writer's business).
    bool isStored(const TPersistent& obj) const { return stored && (!storedIf || storedIf(obj)); }
};

// One published method: an event handler that designs name. `invoke` calls
// it on an instance of the class with the event's arguments.
struct MethodInfo {
    std::string name;
    EventKind kind = EventKind::Notify;
    std::function<void(TComponent&, EventCall&)> invoke;
};

// One published field: a window's own reference to a component of its
// design, pointed at the component that reading a design creates.
struct FieldInfo {
    std::string name;
    const ClassInfo& (*classType)() = nullptr;
    std::function<void(TComponent&, TComponent*)> set;
};

struct ClassInfo {
    std::string name;
    const ClassInfo* parent = nullptr;
    // Creates an instance owned by `owner`; empty for classes that cannot
    // be created by name (abstract classes, non-components).
    std::function<TComponent*(TComponent* owner)> create;
    bool isComponent = false;
    std::vector<PropInfo> declared;
    std::vector<MethodInfo> methods;  // this class's own, in declaration order
    std::vector<FieldInfo> fields;

    // All published properties: the ancestors' first, in declaration order; a
    // redeclared property keeps the position of its first declaration.
    const std::vector<const PropInfo*>& properties() const;
    // Compared without regard to case; null when the class lacks it.
    const PropInfo* findProperty(std::string_view propName) const;
    // A published method of this class or an ancestor, by name without
    // regard to case; null when there is none.
    const MethodInfo* findMethod(std::string_view methodName) const;
    // Every published method, the ancestors' first.
    std::vector<const MethodInfo*> allMethods() const;
    // A published field by its name, and the class of a published field
    // whose class is named `className` (both without regard to case).
    const FieldInfo* findField(std::string_view fieldName) const;
    const ClassInfo* fieldClass(std::string_view className) const;
    bool inheritsFrom(const ClassInfo& ancestor) const;
    bool inheritsFrom(std::string_view ancestorName) const;

private:
    mutable std::vector<const PropInfo*> all_;
    mutable std::unordered_map<std::string_view, const PropInfo*, NameHash, NameEqual> byName_;
    mutable bool built_ = false;
};

}  // namespace tk
