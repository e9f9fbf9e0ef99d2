// TSpinEdit: an edit box for whole numbers with up and down buttons and
// arrow keys. With MinValue and MaxValue both 0 the value is unbounded.
#pragma once

#include "toolkit/widgets/Edit.h"

namespace tk {

class TSpinEdit : public TCustomEdit {
    TK_CLASS(TSpinEdit)
public:
    explicit TSpinEdit(TComponent* owner);

    // The text as a number; a text that is no number gives MinValue.
    int value() const;
    void setValue(int v);
    int minValue() const { return minValue_; }
    void setMinValue(int v) { minValue_ = v; }
    int maxValue() const { return maxValue_; }
    void setMaxValue(int v) { maxValue_ = v; }
    int increment() const { return increment_; }
    void setIncrement(int v) { increment_ = v; }
    bool bounded() const { return minValue_ != 0 || maxValue_ != 0; }
    static constexpr int buttonWidth = 15;

    bool handle(InputEvent& e) override;

protected:
    bool acceptsChar(char32_t c) const override { return (c >= U'0' && c <= U'9') || c == U'-' || c == U'+'; }

private:
    int clampValue(long long v) const;
    int minValue_ = 0, maxValue_ = 0, increment_ = 1;
};

}  // namespace tk
