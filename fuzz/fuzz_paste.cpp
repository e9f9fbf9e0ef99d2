// Fuzz target: pasting clipboard text into the designer's entry page. Every
// input is either pasted as placeable controls, wired and named anew, or
// refused with the paste's own error, leaving the window as it was.
#include "controls/ZEDText.h"
#include "designer/ClientMain.h"
#include "designs/Design.h"
#include "model/DesignClipboard.h"
#include "model/DesignModel.h"
#include "startup/DesignClasses.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/HeadlessPlatform.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

namespace {

struct Designer {
    tk::HeadlessPlatform platform;
    tk::TApplication app{platform};
    Designer()
    {
        velmora::registerDesignClasses(velmora::TfrmClientMain::staticClassInfo());
        app.createForm(velmora::frmClientMain);
        velmora::frmClientMain->show();
        velmora::frmClientMain->PrepareDesignSurface();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Designer designer;
    velmora::TfrmClientMain& window = *velmora::frmClientMain;
    velmora::DesignModel& model = velmora::designModel();
    model.showControl(nullptr);
    std::string_view text(reinterpret_cast<const char*>(data), size);
    int before = window.componentCount();
    std::string shown = velmora::designText(window);
    try {
        std::vector<tk::TControl*> pasted = velmora::paste(model, text);
        if (pasted.empty() || window.componentCount() != before + static_cast<int>(pasted.size())) __builtin_trap();
        for (tk::TControl* c : pasted) {
            if (c->owner() != &window || !c->parent() || !c->popupMenu()) __builtin_trap();
            if (auto* label = tk::as<velmora::TZEDText>(c); label && label->focusControl() &&
                                                             label->focusControl()->owner() != &window)
                __builtin_trap();
        }
        // Back to the window as it was, for the next input.
        for (tk::TControl* c : pasted) c->free();
    } catch (const velmora::ERefusedPaste&) {
        if (window.componentCount() != before || velmora::designText(window) != shown) __builtin_trap();
    }
    return 0;
}
