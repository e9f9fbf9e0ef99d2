// TZEDPicker: a date field on a date picker with a check box. Its value is
// the date as text in the locale's short date format.
#pragma once

#include "controls/FieldControl.h"
#include "toolkit/widgets/DateTimePicker.h"

namespace velmora {

class TZEDPicker : public FieldControl<tk::TDateTimePicker> {
    TK_CLASS(TZEDPicker)
public:
    // Width 96 and the check box shown.
    explicit TZEDPicker(tk::TComponent* owner);

    tk::Value FieldValue() const;
    void setFieldValue(const tk::Value& v);
    // Always 2; a value written is kept where nothing reads it.
    int FieldType() const { return ftDate; }
    bool Empty() const { return !checked(); }
    void setEmpty(bool) { setChecked(false); }
    bool Validate() const { return !(v_.required && !checked()); }
    void setState(int s);
};

}  // namespace velmora
