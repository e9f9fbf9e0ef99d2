// Property values and their conversions.
#include "toolkit/core/Value.h"

#include "toolkit/core/Errors.h"
#include "toolkit/text/Text.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tk {

Value Value::null()
{
    Value v;
    v.v_ = NullTag{};
    return v;
}

int64_t textToInt(const std::string& text)
{
    std::string_view s = text;
    int64_t result = 0;
    std::from_chars_result r{};
    if (!s.empty() && s[0] == '$') {
        uint64_t u = 0;
        r = std::from_chars(s.data() + 1, s.data() + s.size(), u, 16);
        result = static_cast<int64_t>(u);
        if (s.size() == 1) r.ec = std::errc::invalid_argument;
    } else {
        size_t start = (!s.empty() && s[0] == '+') ? 1 : 0;
        r = std::from_chars(s.data() + start, s.data() + s.size(), result, 10);
    }
    if (r.ec != std::errc() || r.ptr != s.data() + s.size())
        throw EConvertError(format("'%s' is not a valid integer value", text));
    return result;
}

double textToFloat(const std::string& text)
{
    if (text.empty()) throw EConvertError(format("'%s' is not a valid floating point value", text));
    char* end = nullptr;
    double v = std::strtod(text.c_str(), &end);
    if (end != text.c_str() + text.size() || text.find_first_of("xXnN") != std::string::npos)
        throw EConvertError(format("'%s' is not a valid floating point value", text));
    return v;
}

std::string floatToText(double v)
{
    char buf[64];
    for (int prec = 1; prec <= 17; ++prec) {
        std::snprintf(buf, sizeof buf, "%.*g", prec, v);
        if (std::strtod(buf, nullptr) == v) break;
    }
    return buf;
}

int64_t Value::toInt() const
{
    switch (type()) {
    case Type::Integer: return std::get<int64_t>(v_);
    case Type::Bool: return std::get<bool>(v_) ? 1 : 0;
    case Type::Float: {
        double d = std::get<double>(v_);
        if (!std::isfinite(d) || std::fabs(d) > 9.2e18) throw EConvertError("Invalid floating point operation");
        return static_cast<int64_t>(std::llround(d));
    }
    case Type::String: return textToInt(std::get<std::string>(v_));
    default: throw EConvertError("Could not convert variant to type (Integer)");
    }
}

double Value::toFloat() const
{
    switch (type()) {
    case Type::Integer: return static_cast<double>(std::get<int64_t>(v_));
    case Type::Float: return std::get<double>(v_);
    case Type::Bool: return std::get<bool>(v_) ? 1 : 0;
    case Type::String: return textToFloat(std::get<std::string>(v_));
    default: throw EConvertError("Could not convert variant to type (Double)");
    }
}

bool Value::toBool() const
{
    switch (type()) {
    case Type::Bool: return std::get<bool>(v_);
    case Type::Integer: return std::get<int64_t>(v_) != 0;
    case Type::String: {
        const std::string& s = std::get<std::string>(v_);
        if (sameName(s, "True")) return true;
        if (sameName(s, "False")) return false;
        throw EConvertError(format("'%s' is not a valid boolean value", s));
    }
    default: throw EConvertError("Could not convert variant to type (Boolean)");
    }
}

std::string Value::toString() const
{
    switch (type()) {
    case Type::Unassigned:
    case Type::Null: return {};
    case Type::Integer: return std::to_string(std::get<int64_t>(v_));
    case Type::Float: return floatToText(std::get<double>(v_));
    case Type::Bool: return std::get<bool>(v_) ? "True" : "False";
    case Type::String: return std::get<std::string>(v_);
    case Type::Method: return std::get<Handler>(v_).name();
    default: throw EConvertError("Could not convert variant to type (String)");
    }
}

TComponent* Value::toComponent() const
{
    if (type() == Type::Component) return std::get<TComponent*>(v_);
    if (type() == Type::Unassigned || type() == Type::Null) return nullptr;
    throw EConvertError("Could not convert variant to a component");
}

const Handler& Value::toHandler() const
{
    static const Handler none;
    if (type() == Type::Method) return std::get<Handler>(v_);
    if (type() == Type::Unassigned || type() == Type::Null) return none;
    throw EConvertError("Could not convert variant to an event handler");
}

TPersistent* Value::toObject() const
{
    if (type() == Type::Object) return std::get<TPersistent*>(v_);
    if (type() == Type::Unassigned || type() == Type::Null) return nullptr;
    throw EConvertError("Could not convert variant to an object");
}

bool operator==(const Value& a, const Value& b)
{
    return a.v_ == b.v_;
}

}  // namespace tk
