// TZEDChxBox: a yes/no field on a check box; its value is "1" or "0". Its
// own State (the entry state) takes the place of the check box's.
#pragma once

#include "controls/FieldContract.h"
#include "toolkit/CheckBox.h"

namespace velmora {

class TZEDChxBox : public tk::TCheckBox {
    TK_CLASS(TZEDChxBox)
public:
    explicit TZEDChxBox(tk::TComponent* owner);

    const std::string& KeyField() const { return v_.keyField; }
    void setKeyField(const std::string& s) { v_.keyField = s; }
    tk::Value FieldValue() const { return tk::Value(std::string(checked() ? "1" : "0")); }
    void setFieldValue(const tk::Value& v);
    const std::string& Relation() const { return v_.relation; }
    void setRelation(const std::string& s) { v_.relation = s; }
    bool Required() const { return v_.required; }
    void setRequired(bool b) { v_.required = b; }
    bool CanModify() const { return v_.canModify; }
    void setCanModify(bool b) { v_.canModify = b; }
    // Always 3; a value written is kept where nothing reads it.
    int FieldType() const { return ftYesNo; }
    void setFieldType(int t) { v_.fieldType = t; }
    bool Empty() const { return false; }
    void setEmpty(bool) { setChecked(false); }
    bool Validate() const { return true; }
    int State() const { return v_.state; }
    void setState(int s);

private:
    FieldContractValues v_;
};

}  // namespace velmora
