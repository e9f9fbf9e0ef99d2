// What a class streams beyond its published properties, found by class:
// named values written after the properties and taken when read (a
// window's DesignSize, a form's PixelsPerInch, a picture's Data, ...), and
// which components a design lists as a component's children. A class that
// needs any of these adds one entry to the table in StreamHooks.cpp.
#pragma once

#include "designs/ImageValue.h"

#include <string>
#include <vector>

namespace tk {
class TComponent;
class TPersistent;
struct ClassInfo;
}  // namespace tk

namespace velmora {

class ImageWriter;

struct StreamHooks {
    // Writes the class's named values of `obj`; `root` is the window being
    // written, `prefix` the path of an owned object ("Glyph.").
    void (*write)(const tk::TPersistent& obj, const tk::TComponent& root, ImageWriter& out,
                  const std::string& prefix) = nullptr;
    // Takes the named value `name` if it is one of the class's; true then.
    bool (*read)(tk::TPersistent& obj, const tk::TComponent& root, const std::string& name,
                 const ImageValue& v) = nullptr;
    // The components a design lists inside `c`, all owned by `root`.
    std::vector<tk::TComponent*> (*children)(tk::TComponent& c, tk::TComponent& root) = nullptr;
};

// The hooks of a class and of its ancestors that have any, the ancestors'
// first.
const std::vector<const StreamHooks*>& streamHooksOf(const tk::ClassInfo& cls);

// The children a design lists inside `c`: those of the nearest class that
// names them; for the root, then what it owns that is no control.
std::vector<tk::TComponent*> designChildren(tk::TComponent& c, tk::TComponent& root);

}  // namespace velmora
