#include "model/DesignHistory.h"

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

// The text without the window's active control and the page control's
// active page: moving the focus or turning a page is not a change of the
// design.
std::string_view withoutFocus(std::string_view text, std::string& scratch)
{
    scratch.clear();
    size_t from = 0;
    while (from < text.size()) {
        size_t end = text.find('\n', from);
        end = end == std::string_view::npos ? text.size() : end + 1;
        std::string_view line = text.substr(from, end - from);
        size_t indent = line.find_first_not_of(' ');
        std::string_view body = indent == std::string_view::npos ? line : line.substr(indent);
        if (!body.starts_with("ActiveControl = ") && !body.starts_with("ActivePage = ")) scratch.append(line);
        from = end;
    }
    return scratch;
}

}  // namespace

size_t DesignStep::bytes() const
{
    size_t n = sizeof(DesignStep) + text.capacity();
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
    // The marks are kept beside the text, so that a save can clear them in
    // every kept step; the text is written without them.
    std::vector<tk::TControl*> marked;
    for (tk::TControl* c : sheetControls(window))
        if (int64_t tag = tk::getProp(*c, "Tag").toInt()) {
            step.marks.emplace_back(c->name(), tag);
            marked.push_back(c);
            tk::setProp(*c, "Tag", tk::Value(0));
        }
    try {
        step.text = surface.snapshotText();
    } catch (...) {
        for (size_t i = 0; i < marked.size(); ++i) tk::setProp(*marked[i], "Tag", tk::Value(step.marks[i].second));
        throw;
    }
    for (size_t i = 0; i < marked.size(); ++i) tk::setProp(*marked[i], "Tag", tk::Value(step.marks[i].second));
    for (tk::TControl* c : model_.selection()) step.selection.push_back(c->name());
    step.group = surface.designGroup();
    step.text.shrink_to_fit();
    return step;
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
    DesignStep& shown = steps_[current_];
    std::string a, b;
    // Moving the focus or the selection changes no design: the step stays
    // as the change left it.
    if (withoutFocus(now.text, a) == withoutFocus(shown.text, b) && now.marks == shown.marks &&
        now.group == shown.group)
        return;
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
    surface.restoreSnapshot(step.text);
    for (const auto& [name, tag] : step.marks)
        if (tk::TComponent* c = window.findComponent(name)) tk::setProp(*c, "Tag", tk::Value(tag));
    surface.setDesignGroup(step.group);
    std::vector<tk::TControl*> selected;
    for (const std::string& name : step.selection)
        if (auto* c = tk::as<tk::TControl>(window.findComponent(name))) selected.push_back(c);
    if (selected.empty()) model_.showControl(nullptr);
    else model_.select(selected);
}

void DesignHistory::undo()
{
    if (!canUndo() || !model_.designingSurface()) return;
    --current_;
    restore(steps_[current_]);
}

void DesignHistory::redo()
{
    if (!canRedo() || !model_.designingSurface()) return;
    ++current_;
    restore(steps_[current_]);
}

void DesignHistory::forgetMarks()
{
    for (DesignStep& s : steps_) s.marks.clear();
}

}  // namespace velmora
