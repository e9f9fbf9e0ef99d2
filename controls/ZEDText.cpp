// Caption labels.
#include "controls/ZEDText.h"

#include "toolkit/core/PropertyTable.h"

namespace velmora {

TK_DEFINE_CLASS(TZEDText, tk::TStaticText) {}

}  // namespace velmora
