// The plain contract values every field control keeps, on top of the
// standard control it extends.
#pragma once

#include "controls/FieldContract.h"

#include <string>

namespace velmora {

template <class Base>
class FieldControl : public Base {
public:
    using Base::Base;

    const std::string& KeyField() const { return v_.keyField; }
    void setKeyField(const std::string& s) { v_.keyField = s; }
    const std::string& Dictionary() const { return v_.dictionary; }
    void setDictionary(const std::string& s) { v_.dictionary = s; }
    const std::string& Relation() const { return v_.relation; }
    void setRelation(const std::string& s) { v_.relation = s; }
    bool Required() const { return v_.required; }
    void setRequired(bool b) { v_.required = b; }
    bool CanModify() const { return v_.canModify; }
    void setCanModify(bool b) { v_.canModify = b; }
    // A class with a fixed type keeps what is written where nothing reads it.
    void setFieldType(int t) { v_.fieldType = t; }
    // The last entry state written (its effects are the class's own).
    int State() const { return v_.state; }

protected:
    FieldContractValues v_;
};

}  // namespace velmora
