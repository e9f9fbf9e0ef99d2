// Undo and redo as the design window's component image, one step a gesture.
#include "model/DesignHistory.h"

#include "designs/ComponentImage.h"
#include "model/DesignModel.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/widgets/PageControl.h"
#include "toolkit/windows/Form.h"

namespace velmora {

namespace {

// The controls that carry placing marks: those standing on a tab sheet.
std::vector<tk::TControl*> sheetControls(tk::TForm& window)
{
    std::vector<tk::TControl*> out;
    for (tk::TComponent* c : window.components())
        if (auto* control = tk::as<tk::TControl>(c); control && tk::as<tk::TTabSheet>(control->parent()))
            out.push_back(control);
    return out;
}

// Properties that only point at where the person is: kept apart from the
// image, so that moving the focus or turning a page changes no step.
constexpr const char* pointerProperties[] = {"ActiveControl", "ActivePage"};

bool designProperty(const tk::PropInfo& p)
{
    for (const char* name : pointerProperties)
        if (p.name == name) return false;
    return true;
}

}  // namespace

size_t DesignStep::bytes() const
{
    size_t n = sizeof(DesignStep) + image.capacity() + windowName.capacity();
    for (const Pointer& p : pointers) n += sizeof(p) + p.owner.capacity() + p.property.capacity() + p.target.capacity();
    for (const auto& m : marks) n += sizeof(m) + m.first.capacity();
    for (const std::string& s : selection) n += sizeof(s) + s.capacity();
    return n;
}

size_t DesignHistory::bytes() const
{
    size_t n = 0;
    for (const DesignStep& s : steps_) n += s.bytes();
    return n;
}

DesignStep DesignHistory::capture() const
{
    DesignStep step;
    DesignSurface& surface = *model_.surface();
    tk::TForm& window = surface.designWindow();
    // The marks are kept beside the image, so that a save can clear them in
    // every kept step; the image is written without them.
    std::vector<tk::TControl*> marked;
    for (tk::TControl* c : sheetControls(window))
        if (int64_t tag = tk::getProp(*c, "Tag").toInt()) {
            step.marks.emplace_back(c->name(), tag);
            marked.push_back(c);
            tk::setProp(*c, "Tag", tk::Value(0));
        }
    auto markAgain = [&] {
        for (size_t i = 0; i < marked.size(); ++i) tk::setProp(*marked[i], "Tag", tk::Value(step.marks[i].second));
    };
    try {
        step.image = writeComponentImage(window, designProperty);
    } catch (...) {
        markAgain();
        throw;
    }
    markAgain();
    step.image.shrink_to_fit();
    step.windowName = window.name();
    step.pointers = pointersNow();
    for (tk::TControl* c : model_.selection()) step.selection.push_back(c->name());
    step.group = surface.designGroup();
    return step;
}

std::vector<DesignStep::Pointer> DesignHistory::pointersNow() const
{
    tk::TForm& window = model_.surface()->designWindow();
    std::vector<DesignStep::Pointer> pointers;
    auto pointersOf = [&](tk::TComponent& c, const std::string& owner) {
        for (const char* property : pointerProperties)
            if (tk::hasProperty(c, property))
                if (tk::TComponent* target = tk::getProp(c, property).toComponent())
                    pointers.push_back({owner, property, target->name()});
    };
    pointersOf(window, "");
    for (tk::TComponent* c : window.components()) pointersOf(*c, c->name());
    return pointers;
}

void DesignHistory::start()
{
    steps_.clear();
    current_ = 0;
    if (!model_.designingSurface()) return;
    steps_.push_back(capture());
}

void DesignHistory::record()
{
    if (!model_.designingSurface()) return;
    if (steps_.empty()) {
        start();
        return;
    }
    DesignStep now = capture();
    // Moving the focus or the selection changes no design: the step stays
    // as the change left it.
    if (now.sameDesign(steps_[current_])) return;
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(current_) + 1, steps_.end());
    steps_.push_back(std::move(now));
    current_ = steps_.size() - 1;
    while (steps_.size() > 1 && (steps_.size() > maxSteps || bytes() > maxBytes)) {
        steps_.pop_front();
        --current_;
    }
}

void DesignHistory::restore(const DesignStep& step)
{
    DesignSurface& surface = *model_.surface();
    tk::TForm& window = surface.designWindow();
    surface.restoreSnapshot(step.image, step.windowName);
    for (const auto& [name, tag] : step.marks)
        if (tk::TComponent* c = window.findComponent(name)) tk::setProp(*c, "Tag", tk::Value(tag));
    for (const DesignStep::Pointer& p : step.pointers) {
        tk::TComponent* owner = p.owner.empty() ? &window : window.findComponent(p.owner);
        if (tk::TComponent* target = window.findComponent(p.target); owner && target)
            tk::setProp(*owner, p.property, tk::Value(target));
    }
    surface.setDesignGroup(step.group);
    std::vector<tk::TControl*> selected;
    for (const std::string& name : step.selection)
        if (auto* c = tk::as<tk::TControl>(window.findComponent(name))) selected.push_back(c);
    if (selected.empty()) model_.showControl(nullptr);
    else model_.select(selected);
}

// Leaving a step, it keeps where the person was in it (the active control
// and page), so that coming back by undo or redo returns the window as it
// was left. The first step keeps the design as it was opened.
void DesignHistory::keepWhereThePersonIs()
{
    if (current_ > 0) steps_[current_].pointers = pointersNow();
}

void DesignHistory::undo()
{
    if (!canUndo() || !model_.designingSurface()) return;
    keepWhereThePersonIs();
    --current_;
    restore(steps_[current_]);
}

void DesignHistory::redo()
{
    if (!canRedo() || !model_.designingSurface()) return;
    keepWhereThePersonIs();
    ++current_;
    restore(steps_[current_]);
}

void DesignHistory::forgetMarks()
{
    for (DesignStep& s : steps_) s.marks.clear();
}

}  // namespace velmora
