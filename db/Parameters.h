// Named parameters of an SQL text: ":name" placeholders (the name may hold
// "@", as in ":@UserLogin"), bound as values, never spliced into the text.
#pragma once

#include "toolkit/core/Value.h"

#include <string>
#include <vector>

namespace db {

struct TParameter {
    std::string name;
    tk::Value value;
    void setValue(const tk::Value& v) { value = v; }
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

private:
    std::vector<TParameter> params_;
};

}  // namespace db
