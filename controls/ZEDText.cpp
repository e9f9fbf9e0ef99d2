// Caption labels.
#include "controls/ZEDText.h"

#include "toolkit/PropertyTable.h"

namespace velmora {

TK_DEFINE_CLASS(TZEDText, tk::TStaticText) {}

}  // namespace velmora
