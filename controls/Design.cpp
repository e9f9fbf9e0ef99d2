// Loading and writing a window's design as form text.
#include "controls/Design.h"

#include "controls/ComponentImage.h"
#include "controls/FormText.h"
#include "toolkit/Component.h"

namespace velmora {

void loadDesign(tk::TComponent& window, std::string_view text)
{
    std::string image = formTextToImage(text);
    window.destroyComponents();
    readComponentImage(image, window);
}

std::string designText(tk::TComponent& window)
{
    return imageToFormText(writeComponentImage(window));
}

}  // namespace velmora
