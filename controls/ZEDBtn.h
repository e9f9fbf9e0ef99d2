// TZEDBtn: an action button that the entry state enables by its name.
#pragma once

#include "toolkit/widgets/Buttons.h"

namespace velmora {

class TZEDBtn : public tk::TBitBtn {
    TK_CLASS(TZEDBtn)
public:
    explicit TZEDBtn(tk::TComponent* owner) : tk::TBitBtn(owner) {}
    int State() const { return state_; }
    void setState(int s);

private:
    int state_ = 0;
};

}  // namespace velmora
