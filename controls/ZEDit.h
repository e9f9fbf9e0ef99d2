// TZEDit: a number or text field on an edit box. Bound to a dictionary, its
// value is a hidden variant (the chosen entry's value), not its text.
#pragma once

#include "controls/FieldControl.h"
#include "toolkit/widgets/Edit.h"

namespace velmora {

class TZEDit : public FieldControl<tk::TEdit> {
    TK_CLASS(TZEDit)
public:
    explicit TZEDit(tk::TComponent* owner);

    tk::Value FieldValue() const;
    void setFieldValue(const tk::Value& v);
    int FieldType() const { return v_.fieldType; }
    bool Empty() const;
    void setEmpty(bool);
    bool Validate() const;
    void setState(int s);

private:
    tk::Value dictionaryValue_;  // unassigned until a dictionary entry is chosen
};

}  // namespace velmora
