// One published property's value in the notation of form text ('Ugyszam1',
// True, 104, clBtnFace, [akLeft, akTop], ComponentMouseDown, nil), read
// through property access by name, so dotted paths work ("Font.Name").
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tk {
class TPersistent;
}

namespace velmora {

// Raises "Property %s does not exist" for a property the object lacks;
// nothing for a value that has no text (an owned object or collection).
std::optional<std::string> propertyFormText(const tk::TPersistent& obj, std::string_view path);

}  // namespace velmora
