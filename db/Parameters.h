// Named parameters of an SQL text: ":name" placeholders (the name may hold
// "@", as in ":@UserLogin"), bound as values, never spliced into the text.
#pragma once

#include "toolkit/core/Value.h"
#include "toolkit/text/Text.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace db {

struct Cell;

struct TParameter {
    std::string name;
    tk::Value value;
    std::optional<std::string> bytes;  // bound as bytes instead of `value`
    void setValue(const tk::Value& v)
    {
        value = v;
        bytes.reset();
    }
    void setBytes(std::string b) { bytes = std::move(b); }
};

class TParameters {
public:
    // Parses `sql`, keeping the values of parameters whose names stay.
    // Returns the text with each placeholder replaced by "?NNN".
    std::string parse(const std::string& sql);
    int count() const { return static_cast<int>(params_.size()); }
    TParameter& item(int i) { return params_.at(i); }
    // Raises "Parameter '%s' not found".
    TParameter& paramByName(const std::string& name);
    TParameter* findParam(const std::string& name);
    // The values to bind, in the order of the placeholders.
    std::vector<Cell> boundValues() const;

private:
    std::vector<TParameter> params_;
    // Each name's place in params_: a statement of many rows binds
    // thousands of names.
    std::unordered_map<std::string, size_t, tk::NameHash, tk::NameEqual> index_;
};

}  // namespace db
