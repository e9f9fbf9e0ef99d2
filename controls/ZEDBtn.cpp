// Action buttons.
#include "controls/ZEDBtn.h"

#include "toolkit/core/PropertyTable.h"

namespace velmora {

TK_DEFINE_CLASS(TZEDBtn, tk::TBitBtn)
{
    t.integer("State", &TZEDBtn::State, &TZEDBtn::setState).notStored();
}

void TZEDBtn::setState(int s)
{
    // Names compare exactly, letter case included.
    const std::string& n = name();
    bool on = ((s == 0 || s == 1) && n == "btnNew") || (s == 1 && n == "btnModify") ||
              ((s == 2 || s == 3) && (n == "btnCancel" || n == "btnSave"));
    setEnabled(on);
    state_ = s;
}

}  // namespace velmora
