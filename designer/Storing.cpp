// The main window as a save stores it: without the design-time wiring,
// centred on the screen when shown, and showing the palette and the
// property page through its OnShow. The wiring and the window's place come
// back whatever happens.
#include "designer/ClientMain.h"

#include "designs/Design.h"
#include "toolkit/core/PropertyAccess.h"

namespace velmora {

std::string TfrmClientMain::storedDesignText()
{
    UnhookDesignEvents();
    int savedTop = top(), savedLeft = left();
    auto rewire = [&] {
        HookDesignEvents();
        setTop(savedTop);
        setLeft(savedLeft);
    };
    std::string text;
    try {
        tk::bindEvent(*this, "OnShow", *this, "");
        setPosition(tk::TPosition::poScreenCenter);
        tk::bindEvent(*this, "OnShow", *this, "FormShow");
        text = designText(*this);
    } catch (...) {
        rewire();
        throw;
    }
    rewire();
    return text;
}

}  // namespace velmora
