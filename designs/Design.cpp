// Loading and writing a window's design as form text.
#include "designs/Design.h"

#include "designs/ComponentImage.h"
#include "designs/FormText.h"
#include "toolkit/core/Component.h"

namespace velmora {

void loadDesign(tk::TComponent& window, std::string_view text, OnReadFailure onFailure)
{
    loadDesignImage(window, formTextToImage(text), onFailure);
}

void loadDesignImage(tk::TComponent& window, std::string_view image, OnReadFailure onFailure)
{
    if (onFailure == OnReadFailure::KeepPartial) {
        window.destroyComponents();
        readComponentImage(image, window);
        return;
    }
    std::string shown = writeComponentImage(window);
    try {
        window.destroyComponents();
        readComponentImage(image, window);
    } catch (...) {
        loadDesignImage(window, shown);
        throw;
    }
}

std::string designText(tk::TComponent& window)
{
    return imageToFormText(writeComponentImage(window));
}

}  // namespace velmora
