// Drawing the model: a window's client area with its controls, and the
// open popup, with QStyle primitives so that controls look native. Reads
// the model only; keeps nothing.
#pragma once

#include "toolkit/core/Types.h"

#include <QColor>
#include <QPainter>

namespace tk {
class TCustomForm;
class TPopup;
}  // namespace tk

namespace gui {

QColor qtColor(tk::TColor c);
// Draws `form`'s client area at the painter's origin.
void paintWindow(QPainter& p, tk::TCustomForm& form);
// Draws an open popup with its screen rectangle's top left at the origin.
void paintPopup(QPainter& p, tk::TPopup& popup);

}  // namespace gui
