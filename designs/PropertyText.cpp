// Property values in form text notation.
#include "designs/PropertyText.h"

#include "designs/FormText.h"
#include "toolkit/core/PropertyAccess.h"

namespace velmora {

namespace {

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
    // Access by name gives the plain text; form text quotes strings, names
    // integer constants, spaces set elements and writes nil for no reference.
    const tk::PropInfo& p = tk::propInfoAt(obj, path);
    switch (p.kind) {
    case tk::PropKind::Integer: {
        tk::Value v = tk::getProp(obj, path);
        if (p.constants)
            if (const std::string* name = p.constants->nameOf(static_cast<int32_t>(v.toInt()))) return *name;
        return std::to_string(v.toInt());
    }
    case tk::PropKind::Char:
    case tk::PropKind::String: return stringLiteral(tk::getPropText(obj, path));
    case tk::PropKind::Set: {
        std::string out = "[";
        unsigned mask = static_cast<unsigned>(tk::getProp(obj, path).toInt());
        for (size_t i = 0; i < p.enumType->values.size() && i < 32; ++i) {
            if (!(mask & (1u << i))) continue;
            if (out.size() > 1) out += ", ";
            out += p.enumType->values[i];
        }
        return out + "]";
    }
    case tk::PropKind::Float: return extendedText(tk::getProp(obj, path).toFloat());
    case tk::PropKind::Variant: {
        std::string text = variantText(tk::getProp(obj, path));
        if (text.empty()) return std::nullopt;
        return text;
    }
    case tk::PropKind::Event:
    case tk::PropKind::Component: {
        std::string name = tk::getPropText(obj, path);
        return name.empty() ? std::string("nil") : name;
    }
    case tk::PropKind::Object:
    case tk::PropKind::Collection: return std::nullopt;
    default: return tk::getPropText(obj, path);  // Int64, Enum, Bool
    }
}

}  // namespace velmora
