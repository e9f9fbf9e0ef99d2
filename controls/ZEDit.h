// TZEDit: a number or text field on an edit box. Bound to a dictionary, its
// value is a hidden variant (the chosen entry's value), not its text.
#pragma once

#include "controls/FieldContract.h"
#include "toolkit/Edit.h"

namespace velmora {

class TZEDit : public tk::TEdit {
    TK_CLASS(TZEDit)
public:
    explicit TZEDit(tk::TComponent* owner);

    const std::string& KeyField() const { return v_.keyField; }
    void setKeyField(const std::string& s) { v_.keyField = s; }
    tk::Value FieldValue() const;
    void setFieldValue(const tk::Value& v);
    const std::string& Dictionary() const { return v_.dictionary; }
    void setDictionary(const std::string& s) { v_.dictionary = s; }
    const std::string& Relation() const { return v_.relation; }
    void setRelation(const std::string& s) { v_.relation = s; }
    bool Required() const { return v_.required; }
    void setRequired(bool b) { v_.required = b; }
    bool CanModify() const { return v_.canModify; }
    void setCanModify(bool b) { v_.canModify = b; }
    int FieldType() const { return v_.fieldType; }
    void setFieldType(int t) { v_.fieldType = t; }
    bool Empty() const;
    void setEmpty(bool);
    bool Validate() const;
    int State() const { return v_.state; }
    void setState(int s);

private:
    FieldContractValues v_;
    tk::Value dictionaryValue_;  // unassigned until a dictionary entry is chosen
};

}  // namespace velmora
