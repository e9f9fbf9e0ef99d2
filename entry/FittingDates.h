// A date field of a design is as wide as its designer drew it, measured
// in the designer's font and locale; the clerk's program shows dates in
// its own form and font, so each date field narrower than its widest date
// needs is widened, never narrowed, when the form opens.
#pragma once

namespace tk {
class TWinControl;
}

namespace velmora {

void widenDateFieldsToFit(tk::TWinControl& window);

}  // namespace velmora
