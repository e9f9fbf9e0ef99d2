// Property values in form text notation.
#include "controls/PropertyText.h"

#include "controls/FormText.h"
#include "toolkit/Component.h"
#include "toolkit/PropertyAccess.h"

namespace velmora {

namespace {

std::string componentText(const tk::TPersistent& holder, tk::TComponent* c)
{
    if (!c || c->name().empty()) return "nil";
    // A component of another window or data module carries its owner's name.
    const auto* self = dynamic_cast<const tk::TComponent*>(&holder);
    if (self && c->root() != self->root() && c->root() != c) return c->root()->name() + "." + c->name();
    return c->name();
}

std::string variantText(const tk::Value& v)
{
    switch (v.type()) {
    case tk::Value::Type::Unassigned: return "Unassigned";
    case tk::Value::Type::Null: return "Null";
    case tk::Value::Type::Integer: return std::to_string(v.toInt());
    case tk::Value::Type::Float: return extendedText(v.toFloat());
    case tk::Value::Type::Bool: return v.toBool() ? "True" : "False";
    case tk::Value::Type::String: return stringLiteral(v.toString());
    default: return {};
    }
}

}  // namespace

std::optional<std::string> propertyFormText(const tk::TPersistent& obj, std::string_view path)
{
    // Resolve the owning object of the last part, so that a component
    // reference is named as seen from it.
    const tk::TPersistent* target = &obj;
    std::string_view last = path;
    if (size_t dot = path.rfind('.'); dot != std::string_view::npos) {
        tk::TPersistent* o = tk::getProp(obj, path.substr(0, dot)).toObject();
        if (!o) return std::nullopt;
        target = o;
        last = path.substr(dot + 1);
    }
    const tk::PropInfo& p = tk::findPropInfo(*target, last);
    tk::Value v = p.get(*target);
    switch (p.kind) {
    case tk::PropKind::Integer:
        if (p.constants)
            if (const std::string* name = p.constants->nameOf(static_cast<int32_t>(v.toInt()))) return *name;
        return std::to_string(v.toInt());
    case tk::PropKind::Int64: return std::to_string(v.toInt());
    case tk::PropKind::Char: return stringLiteral(tk::getPropText(*target, last));
    case tk::PropKind::Enum: return p.enumType->nameOf(static_cast<int>(v.toInt()));
    case tk::PropKind::Bool: return v.toBool() ? "True" : "False";
    case tk::PropKind::Set: {
        std::string out = "[";
        unsigned mask = static_cast<unsigned>(v.toInt());
        for (size_t i = 0; i < p.enumType->values.size() && i < 32; ++i) {
            if (!(mask & (1u << i))) continue;
            if (out.size() > 1) out += ", ";
            out += p.enumType->values[i];
        }
        return out + "]";
    }
    case tk::PropKind::String: return stringLiteral(v.toString());
    case tk::PropKind::Float: return extendedText(v.toFloat());
    case tk::PropKind::Variant: {
        std::string text = variantText(v);
        if (text.empty()) return std::nullopt;
        return text;
    }
    case tk::PropKind::Event: return v.toHandler() ? v.toHandler().name() : std::string("nil");
    case tk::PropKind::Component: return componentText(*target, v.toComponent());
    case tk::PropKind::Object:
    case tk::PropKind::Collection: return std::nullopt;
    }
    return std::nullopt;
}

}  // namespace velmora
