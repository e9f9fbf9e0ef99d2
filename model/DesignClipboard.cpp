// Copying the selected controls as form text, and pasting such a text back
// onto the design surface.
#include "model/DesignClipboard.h"

#include "controls/ZEDText.h"
#include "designs/ComponentImage.h"
#include "designs/FormText.h"
#include "model/DesignModel.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/text/Text.h"
#include "toolkit/widgets/PageControl.h"
#include "toolkit/windows/Form.h"

#include <algorithm>
#include <memory>

namespace velmora {

namespace {

// The design-time wiring and the placing mark stay behind.
bool copied(const tk::PropInfo& p)
{
    return p.kind != tk::PropKind::Event && p.name != "PopupMenu" && p.name != "Tag";
}

bool placeable(const DesignModel& model, const tk::TComponent& c)
{
    return std::any_of(model.ControlClasses.begin(), model.ControlClasses.end(),
                       [&](const tk::ClassInfo* cls) { return &c.classInfo() == cls; });
}

tk::TWinControl* frontSheet(tk::TForm& window)
{
    if (auto* pages = tk::as<tk::TPageControl>(window.findComponent("pcData"))) return pages->activePage();
    return nullptr;
}

}  // namespace

std::string copiedText(DesignModel& model)
{
    tk::TForm* window = model.designWindow();
    std::vector<tk::TControl*> selected = model.selection();
    if (!window || selected.empty() || !selected.front()->parent()) return {};
    tk::TWinControl* sheet = selected.front()->parent();
    // In the sheet's order, the selected controls and the caption labels
    // of selected fields.
    std::vector<tk::TComponent*> parts;
    for (tk::TControl* c : sheet->controls()) {
        auto* label = tk::as<TZEDText>(c);
        bool labelOfSelected = label && label->focusControl() && model.isSelected(label->focusControl());
        if (labelOfSelected || std::find(selected.begin(), selected.end(), c) != selected.end()) parts.push_back(c);
    }
    return imageToFormText(writePartsImage(*window, parts, sheet->className(), sheet->name(), copied));
}

std::vector<tk::TControl*> paste(DesignModel& model, std::string_view text)
{
    DesignSurface* surface = model.designingSurface();
    if (!surface) return {};
    tk::TForm& window = surface->designWindow();
    std::vector<tk::TControl*> selected = model.selection();
    tk::TWinControl* sheet =
        !selected.empty() && selected.front()->parent() ? selected.front()->parent() : frontSheet(window);
    if (!sheet || text.size() > maxPastedText) throw ERefusedPaste();

    // Read into a sheet of its own first: the window changes only when
    // every control read is one that can be placed.
    auto scratch = std::make_unique<tk::TTabSheet>(nullptr);
    std::vector<tk::TControl*> read;
    try {
        readComponentImage(formTextToImage(text), *scratch);
        for (tk::TComponent* c : scratch->components()) {
            auto* control = tk::as<tk::TControl>(c);
            if (!control || !placeable(model, *c) || control->parent() != scratch.get()) throw ERefusedPaste();
            if (auto* w = tk::as<tk::TWinControl>(control); w && !w->controls().empty()) throw ERefusedPaste();
            read.push_back(control);
        }
    } catch (const std::exception&) {
        throw ERefusedPaste();
    }
    if (read.empty()) throw ERefusedPaste();

    for (tk::TControl* c : read) {
        scratch->removeComponent(c);
        c->setName("");
    }
    bool entryPage = tk::sameName(sheet->name(), "tsEdit");
    for (tk::TControl* c : read) {
        window.insertComponent(c);
        c->setName(window.uniqueName(c->className()));
        c->setParent(sheet);
        c->setBounds(c->left() + 8, c->top() + 8, c->width(), c->height());
        // Marked as placing marks them: a caption label through its field.
        auto* label = tk::as<TZEDText>(c);
        if (!label || !label->focusControl()) tk::setProp(*c, "Tag", tk::Value(1));
        if (entryPage && tk::hasProperty(*c, "KeyField")) {
            std::string keyField = tk::getPropTextOr(*c, "KeyField");
            for (tk::TControl* other : sheet->controls())
                if (other != c && !keyField.empty() && tk::hasProperty(*other, "KeyField") &&
                    tk::sameName(tk::getPropTextOr(*other, "KeyField"), keyField)) {
                    tk::setProp(*c, "KeyField", tk::Value(std::string()));
                    break;
                }
        }
        surface->hookPastedControl(*c);
    }
    model.select(read);
    return read;
}

}  // namespace velmora
