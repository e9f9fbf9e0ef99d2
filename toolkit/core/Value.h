// The native value of a published property, read or written by name.
#pragma once

#include "toolkit/core/Handler.h"

#include <cstdint>
#include <string>
#include <variant>

namespace tk {

class TComponent;
class TPersistent;

class Value {
public:
    enum class Type { Unassigned, Null, Integer, Float, Bool, String, Component, Method, Object };

    Value() = default;
    Value(int v) : v_(static_cast<int64_t>(v)) {}
    Value(int64_t v) : v_(v) {}
    Value(double v) : v_(v) {}
    Value(bool v) : v_(v) {}
    Value(std::string v) : v_(std::move(v)) {}
    Value(const char* v) : v_(std::string(v)) {}
    Value(TComponent* v) : v_(v) {}
    Value(Handler v) : v_(std::move(v)) {}
    Value(TPersistent* v) : v_(v) {}
    static Value null();

    Type type() const { return static_cast<Type>(v_.index()); }
    bool isUnassigned() const { return type() == Type::Unassigned; }
    bool isNull() const { return type() == Type::Null; }

    // Conversions; a value that cannot be converted raises EConvertError.
    int64_t toInt() const;
    double toFloat() const;
    bool toBool() const;
    // Unassigned and null give the empty string.
    std::string toString() const;
    TComponent* toComponent() const;
    const Handler& toHandler() const;
    TPersistent* toObject() const;

    friend bool operator==(const Value& a, const Value& b);

private:
    struct NullTag {
        friend bool operator==(NullTag, NullTag) { return true; }
    };
    std::variant<std::monostate, NullTag, int64_t, double, bool, std::string, TComponent*, Handler, TPersistent*> v_;
};

// Decimal text of a float with "." as separator, shortest form that reads back.
std::string floatToText(double v);
// Parses an integer: decimal, or hexadecimal after "$". Raises EConvertError.
int64_t textToInt(const std::string& text);
double textToFloat(const std::string& text);

}  // namespace tk
