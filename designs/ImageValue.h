// One value as a component image holds it, read before it is given to the
// property it belongs to.
#pragma once

#include "designs/ImageStream.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace velmora {

// One value read from an image.
struct ImageValue {
    ValueType type = ValueType::Null;
    int64_t integer = 0;
    long double number = 0;
    std::string text;  // strings (UTF-8), identifiers, byte blocks
    std::vector<std::string> set;
    std::vector<ImageValue> list;
    struct Item {
        std::vector<std::pair<std::string, ImageValue>> properties;
    };
    std::vector<Item> items;

    bool isInteger() const
    {
        return type == ValueType::Int8 || type == ValueType::Int16 || type == ValueType::Int32 ||
               type == ValueType::Int64;
    }
    bool isString() const
    {
        return type == ValueType::String || type == ValueType::LString || type == ValueType::WString ||
               type == ValueType::Utf8String;
    }
    bool isFloat() const
    {
        return type == ValueType::Extended || type == ValueType::Single || type == ValueType::Currency ||
               type == ValueType::Date;
    }
};

}  // namespace velmora
