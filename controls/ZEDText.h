// TZEDText: a caption label on the form; its FocusControl names the field
// control it belongs to.
#pragma once

#include "toolkit/widgets/Labels.h"

namespace velmora {

class TZEDText : public tk::TStaticText {
    TK_CLASS(TZEDText)
public:
    explicit TZEDText(tk::TComponent* owner) : tk::TStaticText(owner) {}
};

}  // namespace velmora
