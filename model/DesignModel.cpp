// The design model: the shared state of a design session and its notices.
#include "model/DesignModel.h"

#include "controls/ZEDChxBox.h"
#include "controls/ZEDText.h"
#include "designs/Design.h"
#include "model/DesignHistory.h"
#include "model/SelectionGestures.h"
#include "toolkit/widgets/Buttons.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Form.h"

namespace velmora {

namespace {
// The application keeps the model; this only looks at it.
std::weak_ptr<DesignModel> theModel;
}  // namespace

DesignModel::DesignModel()
    : gestures_(std::make_unique<SelectionGestures>(*this)), history_(std::make_unique<DesignHistory>(*this))
{
}

DesignModel::~DesignModel()
{
    if (tk::Application && tk::Application->overlay() == gestures_.get()) tk::Application->setOverlay(nullptr);
}

tk::Overlay& DesignModel::selectionOverlay()
{
    return *gestures_;
}

DesignModel& designModel()
{
    if (DesignModel* model = existingDesignModel()) return *model;
    auto model = std::make_shared<DesignModel>();
    tk::Application->keepUntilEnd(model);
    theModel = model;
    return *model;
}

DesignModel* existingDesignModel()
{
    return theModel.lock().get();
}

template <class F>
void DesignModel::notify(F f) const
{
    // An observer may add another, or its window may go, while it hears.
    std::vector<DesignObserver*> live;
    for (const Observer& o : observers_)
        if (o.window) live.push_back(o.observer);
    for (DesignObserver* o : live) f(*o);
}

void DesignModel::addObserver(tk::TComponent& window, DesignObserver& observer)
{
    std::erase_if(observers_, [](const Observer& o) { return !o.window; });
    observers_.push_back({&window, &observer});
}

void DesignModel::setTool(int tool)
{
    tool_ = tool;
    notify([tool](DesignObserver& o) { o.toolChanged(tool); });
}

void DesignModel::showControl(tk::TControl* control)
{
    if (auto* label = tk::as<TZEDText>(control)) {
        selected_ = label->focusControl();
        caption_ = label;
    } else if (control && !tk::as<TZEDChxBox>(control) && !tk::as<tk::TBitBtn>(control)) {
        selected_ = control;
        caption_.reset();
        if (tk::TWinControl* parent = control->parent())
            for (tk::TControl* c : parent->controls())
                if (auto* l = tk::as<TZEDText>(c); l && l->focusControl() == control) {
                    caption_ = l;
                    break;
                }
    } else {
        selected_ = control;
        caption_ = control;
    }
    tk::TControl* member = selectionMember(control);
    std::erase_if(members_, [](const auto& m) { return !m; });
    if (member && members_.size() > 1 && isSelected(member)) {
        std::erase_if(members_, [&](const auto& m) { return m.get() == member; });
        members_.emplace(members_.begin(), member);
    } else {
        members_.clear();
        if (member) members_.emplace_back(member);
    }
    notify([](DesignObserver& o) { o.selectionShown(); });
}

void DesignModel::setSelectedControl(tk::TControl* c)
{
    selected_ = c;
    members_.clear();
    if (c) members_.emplace_back(c);
}

tk::TControl* DesignModel::selectionMember(tk::TControl* control)
{
    if (auto* label = tk::as<TZEDText>(control); label && label->focusControl()) return label->focusControl();
    return control;
}

std::vector<tk::TControl*> DesignModel::selection() const
{
    std::vector<tk::TControl*> out;
    for (const auto& m : members_)
        if (m) out.push_back(m.get());
    return out;
}

bool DesignModel::isSelected(tk::TControl* control) const
{
    tk::TControl* member = selectionMember(control);
    return member && std::any_of(members_.begin(), members_.end(), [&](const auto& m) { return m.get() == member; });
}

std::vector<tk::TControl*> DesignModel::selectedWith(tk::TControl* control) const
{
    std::vector<tk::TControl*> selected = selection();
    if (selected.size() < 2 || !isSelected(control)) return {};
    tk::TControl* member = selectionMember(control);
    std::erase_if(selected, [&](tk::TControl* s) { return s == member || s == control; });
    return selected;
}

void DesignModel::addToSelection(tk::TControl* control)
{
    tk::TControl* member = selectionMember(control);
    if (!member) return;
    std::erase_if(members_, [&](const auto& m) { return !m || m.get() == member; });
    // A selection lies on one tab sheet.
    if (!members_.empty() && members_.front()->parent() != member->parent()) members_.clear();
    members_.emplace(members_.begin(), member);
    showControl(control);
}

void DesignModel::removeFromSelection(tk::TControl* control)
{
    tk::TControl* member = selectionMember(control);
    std::erase_if(members_, [&](const auto& m) { return !m || m.get() == member; });
    showControl(members_.empty() ? nullptr : members_.front().get());
}

void DesignModel::select(const std::vector<tk::TControl*>& controls)
{
    if (controls.empty()) return;
    members_.clear();
    for (tk::TControl* c : controls)
        if (tk::TControl* member = selectionMember(c); member && !isSelected(member)) members_.emplace_back(member);
    showControl(controls.front());
}

void DesignModel::selectPrimaryOnly()
{
    std::erase_if(members_, [](const auto& m) { return !m; });
    if (members_.size() > 1) members_.resize(1);
}

bool DesignModel::selectionHeld() const
{
    for (const Observer& o : observers_)
        if (o.window && o.observer->holdsSelection()) return true;
    return false;
}

void DesignModel::setSurface(tk::TComponent& window, DesignSurface& surface)
{
    surfaceWindow_ = &window;
    surface_ = &surface;
    tk::Application->setOverlay(gestures_.get());
}

DesignSurface* DesignModel::designingSurface() const
{
    DesignSurface* s = surface();
    return s && s->designing() ? s : nullptr;
}

tk::TForm* DesignModel::designWindow() const
{
    DesignSurface* s = surface();
    return s ? &s->designWindow() : nullptr;
}

void DesignModel::surfaceShown()
{
    notify([](DesignObserver& o) { o.surfaceShown(); });
}

void DesignModel::surfaceHidden()
{
    notify([](DesignObserver& o) { o.surfaceHidden(); });
}

int DesignModel::captionWidth(const std::string& text) const
{
    tk::TForm* window = measuring_ ? measuring_.get() : designWindow();
    if (!window) return 0;
    return tk::Application->platform().textWidth(*window->font(), text);
}

void DesignModel::replaceDesign(std::string_view text)
{
    DesignSurface* s = surface();
    if (!s) return;
    tk::TForm& window = s->designWindow();
    s->unhookDesignEvents();
    int top = window.top(), left = window.left();
    auto prepare = [&] {
        s->prepareDesignSurface();
        window.setTop(top);
        window.setLeft(left);
        showControl(window.activeControl());
    };
    try {
        if (!text.empty()) loadDesign(window, text, OnReadFailure::RestoreShown);
    } catch (...) {
        prepare();
        throw;
    }
    prepare();
}

}  // namespace velmora
