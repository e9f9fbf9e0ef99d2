// TZEDPicker: a date field on a date picker with a check box. Its value is
// the date as text in the locale's short date format.
#pragma once

#include "controls/FieldContract.h"
#include "toolkit/DateTimePicker.h"

namespace velmora {

class TZEDPicker : public tk::TDateTimePicker {
    TK_CLASS(TZEDPicker)
public:
    // Width 96 and the check box shown.
    explicit TZEDPicker(tk::TComponent* owner);

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
    // Always 2; a value written is kept where nothing reads it.
    int FieldType() const { return ftDate; }
    void setFieldType(int t) { v_.fieldType = t; }
    bool Empty() const { return !checked(); }
    void setEmpty(bool) { setChecked(false); }
    bool Validate() const { return !(v_.required && !checked()); }
    int State() const { return v_.state; }
    void setState(int s);

private:
    FieldContractValues v_;
};

}  // namespace velmora
