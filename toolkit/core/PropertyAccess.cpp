// Property access by name.
#include "toolkit/core/PropertyAccess.h"

#include "toolkit/core/Component.h"
#include "toolkit/core/Errors.h"
#include "toolkit/text/Text.h"
#include "toolkit/windows/Application.h"

namespace tk {

namespace {

[[noreturn]] void invalidValue()
{
    throw EPropertyError("Invalid property value");
}

// Walks the object-valued parts of a dotted path; returns the last object
// and leaves the last part's name in `last`.
const TPersistent& resolvePath(const TPersistent& obj, std::string_view path, std::string_view& last)
{
    const TPersistent* cur = &obj;
    size_t dot;
    while ((dot = path.find('.')) != std::string_view::npos) {
        std::string_view part = path.substr(0, dot);
        const PropInfo& p = findPropInfo(*cur, part);
        if (p.kind != PropKind::Object && p.kind != PropKind::Collection)
            throw EPropertyError(format("Property %s does not exist", std::string(path)));
        cur = p.get(*cur).toObject();
        if (!cur) throw EPropertyError(format("Property %s does not exist", std::string(path.substr(dot + 1))));
        path = path.substr(dot + 1);
    }
    last = path;
    return *cur;
}

TComponent* findComponentByName(const TPersistent& obj, std::string_view name)
{
    if (name.empty() || sameName(name, "nil")) return nullptr;
    const TComponent* self = as<TComponent>(&obj);
    size_t dot = name.find('.');
    if (dot != std::string_view::npos) {
        // Owner.Name: a component of another top-level window or data module.
        TApplication* app = Application;
        TComponent* top = app ? app->findComponent(name.substr(0, dot)) : nullptr;
        TComponent* c = top ? top->findComponent(name.substr(dot + 1)) : nullptr;
        if (!c) invalidValue();
        return c;
    }
    if (self) {
        TComponent* root = const_cast<TComponent*>(self)->root();
        if (sameName(root->name(), name)) return root;
        if (TComponent* c = root->findComponent(name)) return c;
    }
    invalidValue();
}

}  // namespace

Value propertyValue(const TPersistent& obj, const PropInfo& p, const Value& v)
{
    try {
        switch (p.kind) {
        case PropKind::Integer:
        case PropKind::Int64: {
            if (v.type() == Value::Type::String && p.constants)
                if (auto c = p.constants->valueOf(v.toString())) return Value(static_cast<int64_t>(*c));
            if (v.type() == Value::Type::Bool || v.type() == Value::Type::Float) invalidValue();
            int64_t n = v.toInt();
            if (p.kind == PropKind::Integer && (n < INT32_MIN || n > INT32_MAX)) invalidValue();
            return Value(n);
        }
        case PropKind::Char: {
            if (v.type() == Value::Type::String) {
                std::u32string s = toU32(v.toString());
                if (s.size() > 1) invalidValue();
                return Value(static_cast<int64_t>(s.empty() ? 0 : s[0]));
            }
            return Value(v.toInt());
        }
        case PropKind::Enum: {
            int ord;
            if (v.type() == Value::Type::String) ord = p.enumType->indexOf(v.toString());
            else if (v.type() == Value::Type::Integer) ord = static_cast<int>(v.toInt());
            else invalidValue();
            if (ord < 0 || ord >= static_cast<int>(p.enumType->values.size())) invalidValue();
            return Value(static_cast<int64_t>(ord));
        }
        case PropKind::Bool: return Value(v.toBool());
        case PropKind::Set:
            if (v.type() == Value::Type::String)
                return Value(static_cast<int64_t>(textToSet(*p.enumType, v.toString())));
            return Value(v.toInt());
        case PropKind::String:
            if (v.type() == Value::Type::Component || v.type() == Value::Type::Object) invalidValue();
            return Value(v.toString());
        case PropKind::Float: return Value(v.toFloat());
        case PropKind::Variant: return v;
        case PropKind::Event: {
            if (v.type() == Value::Type::String) {
                std::string name = v.toString();
                if (name.empty() || sameName(name, "nil")) return Value(Handler());
                const TComponent* self = as<TComponent>(&obj);
                if (!self) invalidValue();
                Handler h = const_cast<TComponent*>(self)->root()->findMethod(name);
                if (!h || h.kind() != p.eventKind) invalidValue();
                return Value(h);
            }
            const Handler& h = v.toHandler();
            if (h && h.kind() != p.eventKind) invalidValue();
            return Value(h);
        }
        case PropKind::Component: {
            TComponent* c = v.type() == Value::Type::String ? findComponentByName(obj, v.toString()) : v.toComponent();
            if (c && p.classType && !c->classInfo().inheritsFrom(p.classType())) invalidValue();
            return Value(c);
        }
        case PropKind::Object:
        case PropKind::Collection: {
            TPersistent* o = v.toObject();
            if (o && p.classType && p.kind == PropKind::Object && !o->classInfo().inheritsFrom(p.classType()))
                invalidValue();
            return Value(o);
        }
        }
    } catch (const EConvertError&) {
        invalidValue();
    }
    invalidValue();
}

std::string propertyText(const TPersistent& obj, const PropInfo& p, const Value& v)
{
    switch (p.kind) {
    case PropKind::Enum: return p.enumType->nameOf(static_cast<int>(v.toInt()));
    case PropKind::Set: return setToText(*p.enumType, static_cast<unsigned>(v.toInt()));
    case PropKind::Char: return v.toInt() == 0 ? std::string() : toUtf8(static_cast<char32_t>(v.toInt()));
    case PropKind::Component: {
        TComponent* c = v.toComponent();
        if (!c) return {};
        // A component of another window is named with its window's name.
        const TComponent* self = as<TComponent>(&obj);
        if (self && c->root() != self->root() && c->root() != c) return c->root()->name() + "." + c->name();
        return c->name();
    }
    case PropKind::Event: return v.toHandler() ? v.toHandler().name() : std::string();
    case PropKind::Object:
    case PropKind::Collection: throw EPropertyError("Invalid property value");
    default: return v.toString();
    }
}

bool isDefaultValue(const PropInfo& p, const Value& v)
{
    auto isDeclared = [&](int64_t n) { return p.defaultValue && *p.defaultValue == n; };
    switch (p.kind) {
    case PropKind::Integer:
    case PropKind::Char:
    case PropKind::Enum:
    case PropKind::Set: return isDeclared(v.toInt());
    case PropKind::Bool: return isDeclared(v.toBool() ? 1 : 0);
    case PropKind::Int64: return v.toInt() == 0;
    case PropKind::String: return v.toString().empty();
    case PropKind::Float: return v.toFloat() == 0;
    case PropKind::Variant: return v.isUnassigned();
    case PropKind::Event: return !v.toHandler();
    case PropKind::Component: return !v.toComponent() || v.toComponent()->name().empty();
    case PropKind::Object:
    case PropKind::Collection: return !v.toObject();
    }
    return false;
}

const PropInfo& findPropInfo(const TPersistent& obj, std::string_view name)
{
    const PropInfo* p = obj.classInfo().findProperty(name);
    if (!p) throw EPropertyError(format("Property %s does not exist", std::string(name)));
    return *p;
}

bool hasProperty(const TPersistent& obj, std::string_view path)
{
    try {
        std::string_view last;
        const TPersistent& target = resolvePath(obj, path, last);
        return target.classInfo().findProperty(last) != nullptr;
    } catch (const EPropertyError&) {
        return false;
    }
}

const PropInfo& propInfoAt(const TPersistent& obj, std::string_view path)
{
    std::string_view last;
    const TPersistent& target = resolvePath(obj, path, last);
    return findPropInfo(target, last);
}

Value getProp(const TPersistent& obj, std::string_view path)
{
    std::string_view last;
    const TPersistent& target = resolvePath(obj, path, last);
    return findPropInfo(target, last).get(target);
}

void setProp(TPersistent& obj, std::string_view path, const Value& v)
{
    std::string_view last;
    TPersistent& target = const_cast<TPersistent&>(resolvePath(obj, path, last));
    const PropInfo& p = findPropInfo(target, last);
    if (p.readOnly()) throw EPropertyError(format("Property %s is read-only", std::string(last)));
    p.set(target, propertyValue(target, p, v));
}

std::string getPropText(const TPersistent& obj, std::string_view path)
{
    std::string_view last;
    const TPersistent& target = resolvePath(obj, path, last);
    const PropInfo& p = findPropInfo(target, last);
    return propertyText(target, p, p.get(target));
}

void setPropText(TPersistent& obj, std::string_view path, std::string_view text)
{
    setProp(obj, path, Value(std::string(text)));
}

std::string getPropTextOr(const TPersistent& obj, std::string_view path, const std::string& fallback)
{
    try {
        return getPropText(obj, path);
    } catch (const std::exception&) {
        return fallback;
    }
}

void bindEvent(TPersistent& obj, std::string_view eventName, TComponent& methodOwner, std::string_view methodName)
{
    const PropInfo& p = findPropInfo(obj, eventName);
    if (p.kind != PropKind::Event) throw EPropertyError("Invalid property value");
    Handler h;
    if (!methodName.empty() && !sameName(methodName, "nil")) {
        h = methodOwner.findMethod(methodName);
        if (!h || h.kind() != p.eventKind) throw EPropertyError("Invalid property value");
    }
    p.set(obj, Value(h));
}

std::string setToText(const EnumType& type, unsigned mask)
{
    std::string out = "[";
    bool first = true;
    for (size_t i = 0; i < type.values.size() && i < 32; ++i) {
        if (!(mask & (1u << i))) continue;
        if (!first) out += ",";
        out += type.values[i];
        first = false;
    }
    return out + "]";
}

unsigned textToSet(const EnumType& type, std::string_view text)
{
    if (!text.empty() && text.front() == '[') text.remove_prefix(1);
    if (!text.empty() && text.back() == ']') text.remove_suffix(1);
    std::vector<std::string> names;
    while (!text.empty()) {
        size_t comma = text.find(',');
        std::string_view item = text.substr(0, comma);
        while (!item.empty() && item.front() == ' ') item.remove_prefix(1);
        while (!item.empty() && item.back() == ' ') item.remove_suffix(1);
        if (!item.empty()) names.emplace_back(item);
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return setFromNames(type, names);
}

unsigned setFromNames(const EnumType& type, const std::vector<std::string>& names)
{
    unsigned mask = 0;
    for (const std::string& name : names) {
        int i = type.indexOf(name);
        // A set holds at most 32 elements.
        if (i < 0 || i >= 32) throw EPropertyError("Invalid property value");
        mask |= 1u << i;
    }
    return mask;
}

}  // namespace tk
