// Writing a window with everything it owns into a component image, and
// reading an image into an existing window.
#pragma once

#include <string>
#include <string_view>

namespace tk {
class TComponent;
}

namespace velmora {

// The image of `root` and the components it owns, children in design order.
std::string writeComponentImage(tk::TComponent& root);

// Reads `image` into `root` (whose components the caller has destroyed):
// the root's name made unique among the application's windows and data
// modules ("%s_%d"), its properties, its components created anew through
// the class registry, references resolved by name at the end, and every
// component told that loading has ended, in reading order.
void readComponentImage(std::string_view image, tk::TComponent& root);

}  // namespace velmora
