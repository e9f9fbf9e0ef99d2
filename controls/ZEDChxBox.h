// TZEDChxBox: a yes/no field on a check box; its value is "1" or "0". Its
// own State (the entry state) takes the place of the check box's.
#pragma once

#include "controls/FieldControl.h"
#include "toolkit/widgets/CheckBox.h"

namespace velmora {

class TZEDChxBox : public FieldControl<tk::TCheckBox> {
    TK_CLASS(TZEDChxBox)
public:
    explicit TZEDChxBox(tk::TComponent* owner);

    tk::Value FieldValue() const { return tk::Value(std::string(checked() ? "1" : "0")); }
    void setFieldValue(const tk::Value& v);
    // Always 3; a value written is kept where nothing reads it.
    int FieldType() const { return ftYesNo; }
    bool Empty() const { return false; }
    void setEmpty(bool) { setChecked(false); }
    bool Validate() const { return true; }
    void setState(int s);
};

}  // namespace velmora
