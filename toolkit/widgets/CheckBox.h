// TCheckBox: a box with a caption that a click or Space toggles. Changing
// the state, also from code, raises OnClick.
#pragma once

#include "toolkit/widgets/PressTracker.h"
#include "toolkit/widgets/WinControl.h"

namespace tk {

class TCheckBox : public TWinControl {
    TK_CLASS(TCheckBox)
public:
    explicit TCheckBox(TComponent* owner);

    bool checked() const { return state_ == TCheckBoxState::cbChecked; }
    void setChecked(bool v) { setState(v ? TCheckBoxState::cbChecked : TCheckBoxState::cbUnchecked); }
    TCheckBoxState state() const { return state_; }
    void setState(TCheckBoxState v);
    bool allowGrayed() const { return allowGrayed_; }
    void setAllowGrayed(bool v) { allowGrayed_ = v; }
    TLeftRight alignment() const { return alignment_; }
    void setAlignment(TLeftRight v)
    {
        alignment_ = v;
        invalidate();
    }
    bool wordWrap() const { return wordWrap_; }
    void setWordWrap(bool v) { wordWrap_ = v; }
    bool isPressed() const { return press_.shownDown(); }

    // What a user's click does: the next state in turn.
    virtual void toggle();
    bool handle(InputEvent& e) override;
    bool focusOnClick() const override { return true; }

private:
    TCheckBoxState state_ = TCheckBoxState::cbUnchecked;
    bool allowGrayed_ = false;
    TLeftRight alignment_ = TLeftRight::taRightJustify;
    bool wordWrap_ = false;
    PressTracker press_;
};

}  // namespace tk
