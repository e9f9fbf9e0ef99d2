// Creating a named control on a parent at its place, as window layouts in
// code do.
#pragma once

#include "toolkit/widgets/WinControl.h"

#include <string>

namespace tk {

template <class T>
T* placeControl(TComponent* owner, TWinControl* parent, const std::string& name, int left, int top, int width,
                int height)
{
    auto* c = new T(owner);
    c->setName(name);
    c->setParent(parent);
    c->setBounds(left, top, width, height);
    return c;
}

}  // namespace tk
