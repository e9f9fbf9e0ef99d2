// A window's design as stored text: reading a stored text into a window and
// writing a window as the text a save stores. Start-up, saving, opening,
// velmora-form, the console and the tests all go through this one pair.
#pragma once

#include <string>
#include <string_view>

namespace tk {
class TComponent;
}

namespace velmora {

// What a failed read leaves in the window: what was read so far, or the
// design the window showed before (kept as text for the length of the load).
enum class OnReadFailure { KeepPartial, RestoreShown };

// Converts `text` first, so a text that cannot be read leaves the window as
// it was; then destroys what the window owns and reads the design into it.
// Raises EReadError (or a property error) with the reader's message.
void loadDesign(tk::TComponent& window, std::string_view text, OnReadFailure onFailure = OnReadFailure::KeepPartial);
// The same from a component image.
void loadDesignImage(tk::TComponent& window, std::string_view image,
                     OnReadFailure onFailure = OnReadFailure::KeepPartial);

// The window and everything it owns, as form text.
std::string designText(tk::TComponent& window);

}  // namespace velmora
