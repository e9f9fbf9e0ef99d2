// The selection overlay: handles, rubber band, Shift+click, alignment, and
// the keys of undo, redo, copy and paste.
#include "model/SelectionGestures.h"

#include "model/Alignment.h"
#include "model/DesignClipboard.h"
#include "model/DesignHistory.h"
#include "model/DesignModel.h"
#include "toolkit/widgets/Edit.h"
#include "toolkit/widgets/PageControl.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Form.h"
#include "toolkit/windows/Menus.h"

#include <cstdlib>

namespace velmora {

namespace {

tk::Overlay::Cursor cursorOf(Handle h, bool fixedHeight)
{
    switch (h) {
    case Handle::TopLeft:
    case Handle::BottomRight: return fixedHeight ? tk::Overlay::Cursor::SizeWE : tk::Overlay::Cursor::SizeNWSE;
    case Handle::TopRight:
    case Handle::BottomLeft: return fixedHeight ? tk::Overlay::Cursor::SizeWE : tk::Overlay::Cursor::SizeNESW;
    case Handle::Top:
    case Handle::Bottom: return fixedHeight ? tk::Overlay::Cursor::Arrow : tk::Overlay::Cursor::SizeNS;
    case Handle::Left:
    case Handle::Right: break;
    }
    return tk::Overlay::Cursor::SizeWE;
}

// A control that fits its own height (an edit to its font, a label to its
// caption) keeps it: its top and bottom handles do nothing.
bool keepsHeight(const tk::TControl& c)
{
    return c.autoSize();
}

tk::TRect normalized(tk::TPoint a, tk::TPoint b)
{
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// How far the mouse goes from the press before a rubber band starts.
constexpr int bandThreshold = 4;

}  // namespace

tk::TRect SelectionGestures::screenBox(const tk::TControl& c)
{
    tk::TPoint at = c.parent() ? c.parent()->clientToScreen({c.left(), c.top()}) : c.clientToScreen({0, 0});
    return {at.x, at.y, at.x + c.width(), at.y + c.height()};
}

std::array<tk::TRect, 8> SelectionGestures::screenHandles(const tk::TControl& c)
{
    return handleRects(screenBox(c));
}

bool SelectionGestures::onSurface(const tk::TControl* c) const
{
    tk::TForm* window = model_.designingSurface() ? model_.designWindow() : nullptr;
    return window && c && tk::as<tk::TTabSheet>(c->parent()) && c->parentForm() == window;
}

std::optional<SelectionGestures::HandleHit> SelectionGestures::handleAt(tk::TPoint screen) const
{
    for (tk::TControl* c : model_.selection()) {
        if (!onSurface(c) || !c->isShowing()) continue;
        std::array<tk::TRect, 8> rects = screenHandles(*c);
        for (size_t i = 0; i < rects.size(); ++i)
            if (rects[i].contains(screen)) return HandleHit{c, static_cast<Handle>(i)};
    }
    return std::nullopt;
}

bool SelectionGestures::mouseDown(tk::TMouseButton button, tk::TShiftState shift, tk::TPoint screen,
                                  tk::TControl* target)
{
    gesture_ = Gesture::None;
    pressed_ = screen;
    if (!model_.designingSurface() || button != tk::TMouseButton::mbLeft) return false;
    bool arrow = model_.tool() == -1;
    if (arrow)
        if (std::optional<HandleHit> hit = handleAt(screen)) {
            HandleEdges e = edgesOf(hit->handle);
            tk::TControl& c = *hit->control;
            gesture_ = Gesture::Sizing;
            sized_ = &c;
            handle_ = hit->handle;
            startBox_ = {c.left(), c.top(), c.left() + c.width(), c.top() + c.height()};
            tk::TPoint mouse = c.parent()->screenToClient(screen);
            grab_ = {mouse.x - (e.left ? startBox_.left : startBox_.right),
                     mouse.y - (e.top ? startBox_.top : startBox_.bottom)};
            return true;
        }
    if (onSurface(target) && (shift & tk::ssShift)) {
        if (model_.selectionHeld()) return false;
        std::vector<tk::TControl*> selected = model_.selection();
        if (!selected.empty() && selected.front() == DesignModel::selectionMember(target)) {
            // The primary one goes out; nothing else of the click happens.
            model_.removeFromSelection(target);
            gesture_ = Gesture::Swallowed;
            return true;
        }
        model_.addToSelection(target);
        return false;
    }
    if (arrow && target && tk::as<tk::TTabSheet>(target) && target->parentForm() == model_.designWindow()) {
        gesture_ = Gesture::BandPending;
        bandSheet_ = static_cast<tk::TWinControl*>(target);
        bandEnd_ = screen;
        return false;
    }
    if (onSurface(target) && model_.isSelected(target) && model_.selection().size() > 1) {
        gesture_ = Gesture::PressOnSelected;
        pressedMember_ = DesignModel::selectionMember(target);
    }
    return false;
}

bool SelectionGestures::mouseMove(tk::TShiftState, tk::TPoint screen)
{
    switch (gesture_) {
    case Gesture::Sizing: {
        tk::TControl* c = sized_.get();
        if (!c || !c->parent()) {
            gesture_ = Gesture::None;
            return true;
        }
        tk::TWinControl* parent = c->parent();
        tk::TRect r = sizedBox(handle_, startBox_, parent->screenToClient(screen), grab_, parent->clientWidth(),
                               parent->clientHeight(), keepsHeight(*c));
        if (r.left != c->left() || r.top != c->top() || r.width() != c->width() || r.height() != c->height())
            c->setBounds(r.left, r.top, r.width(), keepsHeight(*c) ? c->height() : r.height());
        return true;
    }
    case Gesture::BandPending:
        if (std::abs(screen.x - pressed_.x) < bandThreshold && std::abs(screen.y - pressed_.y) < bandThreshold)
            return false;
        gesture_ = Gesture::Banding;
        [[fallthrough]];
    case Gesture::Banding:
        bandEnd_ = screen;
        if (tk::TForm* window = model_.designWindow()) tk::Application->invalidate(window);
        return true;
    case Gesture::Swallowed: return true;
    default: return false;
    }
}

bool SelectionGestures::mouseUp(tk::TMouseButton button, tk::TShiftState shift, tk::TPoint screen, tk::TControl* target)
{
    Gesture gesture = std::exchange(gesture_, Gesture::None);
    switch (gesture) {
    case Gesture::Sizing:
    case Gesture::Swallowed: return true;
    case Gesture::Banding: {
        tk::TRect band = normalized(pressed_, screen);
        std::vector<tk::TControl*> touched;
        if (tk::TWinControl* sheet = bandSheet_.get())
            for (tk::TControl* c : sheet->controls())
                if (c->isShowing() && touches(band, screenBox(*c))) touched.push_back(c);
        bandSheet_.reset();
        if (tk::TForm* window = model_.designWindow()) tk::Application->invalidate(window);
        if (!touched.empty() && !model_.selectionHeld()) model_.select(touched);
        return true;
    }
    case Gesture::PressOnSelected:
        // A click without a drag on a control of a multiple selection
        // selects that control alone, as any plain click does.
        if (button == tk::TMouseButton::mbLeft && !(shift & tk::ssShift) && std::abs(screen.x - pressed_.x) <= 1 &&
            std::abs(screen.y - pressed_.y) <= 1 && pressedMember_ && !model_.selectionHeld())
            model_.select({pressedMember_.get()});
        return false;
    default: break;
    }
    if (button == tk::TMouseButton::mbRight && onSurface(target) && model_.isSelected(target) &&
        model_.selection().size() > 1)
        offerAlignment(*target);
    return false;
}

void SelectionGestures::offerAlignment(tk::TControl& target)
{
    tk::TControl* owner = &target;
    while (owner && !owner->popupMenu()) owner = owner->parent();
    tk::TPopupMenu* menu = owner ? owner->popupMenu() : nullptr;
    if (!menu) return;
    menu->dropItemsOfThisOpening();
    for (Alignment a : alignments) {
        auto* item = new tk::TMenuItem(nullptr);
        item->setCaption(alignmentCaption(a));
        item->OnClick = tk::Handler::notify([this, a](tk::TObject*) {
            std::vector<tk::TControl*> selected = model_.selection();
            if (selected.size() > 1) align(a, *selected.front(), selected);
        });
        menu->addForThisOpening(item);
    }
}

bool SelectionGestures::keyDown(uint16_t key, tk::TShiftState shift)
{
    DesignSurface* surface = model_.designingSurface();
    if (!surface || tk::Application->activeForm() != &surface->designWindow()) return false;
    // Insert places the palette's chosen control, as a click with it does.
    if (key == tk::vk::Insert && !shift) return surface->placeChosenTool();
    // Ctrl+Tab turns the design's pages here too: the placed controls,
    // which have the keys otherwise, take none while they are designed.
    if (key == tk::vk::Tab && (shift & tk::ssCtrl) && !(shift & tk::ssAlt))
        return surface->designWindow().turnPage(!(shift & tk::ssShift), false);
    if (!(shift & tk::ssCtrl) || (shift & tk::ssAlt)) return false;
    DesignHistory& history = model_.history();
    switch (key) {
    case 'Z':
        history.record();
        if (shift & tk::ssShift) history.redo();
        else history.undo();
        return true;
    case 'Y':
        history.record();
        history.redo();
        return true;
    case 'C':
        if (std::string text = copiedText(model_); !text.empty()) tk::Application->platform().setClipboardText(text);
        return true;
    case 'V': paste(model_, tk::Application->platform().clipboardText()); return true;
    default: return false;
    }
}

void SelectionGestures::inputStarting()
{
    if (!model_.history().started()) model_.history().start();
}

void SelectionGestures::inputHandled()
{
    DesignSurface* surface = model_.designingSurface();
    if (!surface) return;
    tk::TApplication& app = *tk::Application;
    tk::TForm& window = surface->designWindow();
    // Nothing is recorded while a menu is open or a dialog is shown.
    if (app.popup() || !app.isWindowEnabled(&window)) return;
    tk::TWinControl* focused = app.focusedControl();
    bool typing = focused && focused->parentForm() != &window && tk::as<tk::TCustomEdit>(focused);
    if (typing && typingIn_.get() == focused) return;
    typingIn_ = typing ? focused : nullptr;
    model_.history().record();
}

void SelectionGestures::marks(const tk::TCustomForm& window, std::vector<Mark>& out) const
{
    if (!model_.designingSurface() || model_.designWindow() != &window) return;
    bool primary = true;
    for (tk::TControl* c : model_.selection()) {
        if (onSurface(c) && c->isShowing())
            for (const tk::TRect& r : screenHandles(*c)) out.push_back({r, primary});
        primary = false;
    }
}

std::optional<tk::TRect> SelectionGestures::band(const tk::TCustomForm& window) const
{
    if (gesture_ != Gesture::Banding || !bandSheet_ || bandSheet_->parentForm() != &window) return std::nullopt;
    return normalized(pressed_, bandEnd_);
}

tk::Overlay::Cursor SelectionGestures::cursorAt(tk::TPoint screen) const
{
    if (gesture_ == Gesture::Sizing && sized_) return cursorOf(handle_, keepsHeight(*sized_));
    if (model_.tool() != -1) return Cursor::Arrow;
    if (std::optional<HandleHit> hit = handleAt(screen)) return cursorOf(hit->handle, keepsHeight(*hit->control));
    return Cursor::Arrow;
}

}  // namespace velmora
