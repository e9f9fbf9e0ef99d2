// Widening date fields to their widest date.
#include "entry/FittingDates.h"

#include "toolkit/widgets/DateTimePicker.h"

namespace velmora {

void widenDateFieldsToFit(tk::TWinControl& window)
{
    for (tk::TControl* c : window.controls()) {
        if (auto* picker = tk::as<tk::TDateTimePicker>(c)) {
            if (picker->width() < picker->fittingWidth()) picker->setWidth(picker->fittingWidth());
        } else if (auto* parent = tk::as<tk::TWinControl>(c)) {
            widenDateFieldsToFit(*parent);
        }
    }
}

}  // namespace velmora
