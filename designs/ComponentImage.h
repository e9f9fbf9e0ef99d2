// Writing a window with everything it owns into a component image, and
// reading an image into an existing window.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tk {
class TComponent;
struct PropInfo;
}  // namespace tk

namespace velmora {

// The image of `root` and the components it owns, children in design order;
// `keep`, when given, turns down top-level properties that are not written.
std::string writeComponentImage(tk::TComponent& root, std::function<bool(const tk::PropInfo&)> keep = {});

// The image of some of the components `root` owns (each with its own
// children), under a root of their own that has no properties, written as
// `root` writes them but without the top-level properties `keep` turns
// down.
std::string writePartsImage(tk::TComponent& root, const std::vector<tk::TComponent*>& parts,
                            const std::string& rootClass, const std::string& rootName,
                            std::function<bool(const tk::PropInfo&)> keep);

// Reads `image` into `root` (whose components the caller has destroyed):
// the root's name made unique among the application's windows and data
// modules ("%s_%d"), its properties, its components created anew through
// the class registry, references resolved by name at the end, and every
// component told that loading has ended, in reading order.
void readComponentImage(std::string_view image, tk::TComponent& root);

}  // namespace velmora
