// The application object and the input API.
#include "toolkit/windows/Application.h"

#include "toolkit/core/Errors.h"
#include "toolkit/core/PropertyTable.h"
#include "toolkit/text/Text.h"
#include "toolkit/windows/Form.h"
#include "toolkit/windows/Menus.h"
#include "toolkit/windows/Overlay.h"
#include "toolkit/windows/Popup.h"

#include <algorithm>

namespace tk {

TApplication* Application = nullptr;

TK_DEFINE_CLASS(TApplication, TComponent) {}

TPopup::~TPopup()
{
    if (Application) Application->popupDestroyed(this);
}

bool TPopup::isOpen() const
{
    return Application && Application->popup() == this;
}

TApplication::TApplication(Platform& platform) : TComponent(nullptr), platform_(platform)
{
    previous_ = Application;
    Application = this;
    Platform::current_ = &platform_;
}

TApplication::~TApplication()
{
    popup_ = nullptr;
    overlay_ = nullptr;
    // Windows and data modules go before the program-wide reference does.
    destroyComponents();
    for (auto& r : released_)
        if (r) r->free();
    while (!kept_.empty()) kept_.pop_back();
    Application = previous_;
    Platform::current_ = previous_ ? &previous_->platform_ : nullptr;
}

void TApplication::noteCreated(TComponent* obj)
{
    if (!mainForm_)
        if (auto* f = as<TCustomForm>(obj)) mainForm_ = f;
}

TCustomForm* TApplication::mainForm() const
{
    return mainForm_.get();
}

void TApplication::run()
{
    if (!mainForm_ || terminated_) return;
    if (!mainForm_->visible()) safely([&] { mainForm_->show(); });
    platform_.runUntil([&] { return terminated_ || !mainForm_; });
}

TMenuItem* TApplication::programMenu() const
{
    return programMenu_.get();
}

void TApplication::setProgramMenu(TMenuItem* root)
{
    programMenu_ = root;
}

bool TApplication::chooseProgramMenuItem(const std::vector<std::string>& captions)
{
    TMenuItem* item = programMenu();
    for (const std::string& caption : captions) {
        TMenuItem* found = nullptr;
        for (TMenuItem* sub : item ? item->items() : std::vector<TMenuItem*>{})
            if (sub->visible() && sub->caption() == caption) found = sub;
        item = found;
    }
    if (!item || item == programMenu() || !item->enabled() || item->count() > 0) return false;
    safely([&] { item->click(); });
    return true;
}

void TApplication::handleException(const std::exception& e)
{
    if (dynamic_cast<const EAbort*>(&e)) return;
    errors_.emplace_back(e.what());
    platform_.showError(e.what());
}

void TApplication::registerWindow(TCustomForm* f)
{
    if (std::find(windows_.begin(), windows_.end(), f) == windows_.end()) windows_.insert(windows_.begin(), f);
}

void TApplication::unregisterWindow(TCustomForm* f)
{
    windows_.erase(std::remove(windows_.begin(), windows_.end(), f), windows_.end());
    modalStack_.erase(std::remove(modalStack_.begin(), modalStack_.end(), f), modalStack_.end());
    if (active_.get() == f) {
        active_.reset();
        for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
            if ((*it)->visible() && (*it)->takesActivation()) {
                active_ = *it;
                break;
            }
    }
}

void TApplication::raiseWindow(TCustomForm* f)
{
    auto it = std::find(windows_.begin(), windows_.end(), f);
    if (it == windows_.end()) return;
    windows_.erase(it);
    windows_.push_back(f);
    platform_.invalidate(f);
}

void TApplication::windowHidden(TCustomForm* f)
{
    if (popup_) closePopup();
    if (capture_ && capture_->parentForm() == f) capture_.reset();
    if (active_.get() != f) return;
    f->deactivated();
    active_.reset();
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it)
        if (*it != f && (*it)->visible() && (*it)->takesActivation() && isWindowEnabled(*it)) {
            activateForm(*it);
            break;
        }
}

TCustomForm* TApplication::activeForm() const
{
    return active_.get();
}

void TApplication::activateForm(TCustomForm* form)
{
    if (!form || !form->takesActivation()) return;
    if (active_.get() == form) {
        form->syncFocus(false);
        return;
    }
    unsigned serial = ++activationSerial_;
    ComponentRef<TCustomForm> old = active_;
    active_ = form;
    raiseWindow(form);
    if (old) old->deactivated();
    if (serial != activationSerial_) return;  // the deactivation handler activated a window itself
    if (active_.get() == form) form->activated();
}

TWinControl* TApplication::focusedControl() const
{
    TCustomForm* f = active_.get();
    return f ? f->focusedChild() : nullptr;
}

bool TApplication::isWindowEnabled(const TCustomForm* form) const
{
    if (!form || !form->enabled()) return false;
    if (modalStack_.empty()) return true;
    // Only the topmost modal window and the windows it shows itself take input.
    TCustomForm* top = modalStack_.back();
    if (form == top) return true;
    auto pos = std::find(windows_.begin(), windows_.end(), form);
    auto topPos = std::find(windows_.begin(), windows_.end(), top);
    return !form->takesActivation() || pos > topPos;
}

void TApplication::beginModal(TCustomForm* f)
{
    if (popup_) closePopup();
    capture_.reset();
    modalStack_.push_back(f);
}

void TApplication::endModal(TCustomForm* f)
{
    modalStack_.erase(std::remove(modalStack_.begin(), modalStack_.end(), f), modalStack_.end());
}

void TApplication::openPopup(TPopup* p)
{
    if (popup_ == p) return;
    if (popup_) closePopup();
    popup_ = p;
    capture_.reset();
    if (active_) platform_.invalidate(active_.get());
}

void TApplication::closePopup()
{
    TPopup* p = popup_;
    popup_ = nullptr;
    if (p) p->popupClosed();
    if (active_) platform_.invalidate(active_.get());
}

void TApplication::popupDestroyed(TPopup* p)
{
    if (popup_ == p) popup_ = nullptr;
}

void TApplication::releaseLater(TComponent* c)
{
    released_.emplace_back(c);
}

void TApplication::flushReleased()
{
    auto list = std::move(released_);
    released_.clear();
    for (auto& r : list)
        if (r) r->free();
}

TCustomForm* TApplication::windowAt(TPoint p) const
{
    for (auto it = windows_.rbegin(); it != windows_.rend(); ++it) {
        TCustomForm* f = *it;
        if (f->visible() && f->takesActivation() && f->boundsRect().contains(p)) return f;
    }
    return nullptr;
}

TControl* TApplication::controlAt(TPoint p) const
{
    TCustomForm* f = windowAt(p);
    if (!f || !isWindowEnabled(f)) return nullptr;
    TPoint c = f->screenToClient(p);
    if (!f->clientRect().contains(c)) return nullptr;
    return f->controlAt(c);
}

TWinControl* TApplication::keyTarget() const
{
    TCustomForm* f = active_.get();
    if (!f || !isWindowEnabled(f)) return nullptr;
    TWinControl* c = f->focusedChild();
    return c ? c : f;
}

namespace {
TShiftState buttonState(TMouseButton b)
{
    switch (b) {
    case TMouseButton::mbLeft: return ssLeft;
    case TMouseButton::mbRight: return ssRight;
    default: return ssMiddle;
    }
}
}  // namespace

// The control's own reaction to a mouse event, then its On... event; false
// when the control went meanwhile.
bool TApplication::raiseMouseEvent(ComponentRef<TControl>& target, InputType type, TMouseButton button,
                                   TShiftState shift, TPoint screen, bool doubleClick)
{
    TPoint local = target->screenToClient(screen);
    EventCall call;
    call.type = type;
    call.button = button;
    call.shift = shift;
    call.x = local.x;
    call.y = local.y;
    call.doubleClick = doubleClick;
    target->handle(call);
    if (!target) return false;
    switch (type) {
    case InputType::MouseDown:
        call.shift |= buttonState(button) | (doubleClick ? ssDouble : 0);
        target->fire(target->OnMouseDown, call);
        break;
    case InputType::MouseMove: target->fire(target->OnMouseMove, call); break;
    default: target->fire(target->OnMouseUp, call); break;
    }
    return static_cast<bool>(target);
}

void TApplication::overlayStarting()
{
    if (overlay_) safely([&] { overlay_->inputStarting(); });
}

void TApplication::overlayHandled()
{
    if (!overlay_) return;
    safely([&] { overlay_->inputHandled(); });
    flushReleased();
}

void TApplication::mouseDown(TMouseButton button, TShiftState shift, TPoint screen, bool doubleClick)
{
    cursor_ = screen;
    overlayStarting();
    safely([&] {
        if (popup_) {
            if (popup_->screenRect().contains(screen)) popup_->popupMouseDown(button, screen);
            else closePopup();  // the press only closes the popup
            return;
        }
        TCustomForm* form = windowAt(screen);
        if (!form || !isWindowEnabled(form)) return;
        if (active_.get() != form) activateForm(form);
        ComponentRef<TControl> target = controlAt(screen);
        if (overlay_ && overlay_->mouseDown(button, shift, screen, target.get())) {
            capture_.reset();
            return;
        }
        if (!target || !target->isEnabledTree()) return;
        capture_ = target.get();
        if (button == TMouseButton::mbLeft)
            if (auto* w = as<TWinControl>(target.get()); w && w != form && w->canFocus() && w->focusOnClick())
                form->focusControl(w, true);
        if (!target || !raiseMouseEvent(target, InputType::MouseDown, button, shift, screen, doubleClick)) return;
        if (doubleClick && button == TMouseButton::mbLeft) target->fire(target->OnDblClick);
    });
    flushReleased();
    overlayHandled();
}

void TApplication::mouseMove(TShiftState shift, TPoint screen)
{
    cursor_ = screen;
    safely([&] {
        if (popup_) {
            popup_->popupMouseMove(screen);
            return;
        }
        if (overlay_ && overlay_->mouseMove(shift, screen)) return;
        ComponentRef<TControl> target = capture_ ? capture_.get() : controlAt(screen);
        if (target) raiseMouseEvent(target, InputType::MouseMove, TMouseButton::mbLeft, shift, screen, false);
    });
    flushReleased();
}

void TApplication::mouseUp(TMouseButton button, TShiftState shift, TPoint screen)
{
    cursor_ = screen;
    overlayStarting();
    safely([&] {
        if (popup_) {
            if (popup_->screenRect().contains(screen)) popup_->popupMouseUp(button, screen);
            return;
        }
        ComponentRef<TControl> target = capture_ ? capture_.get() : controlAt(screen);
        capture_.reset();
        if (overlay_ && overlay_->mouseUp(button, shift, screen, target.get())) return;
        if (!target || !target->isEnabledTree()) return;
        if (!raiseMouseEvent(target, InputType::MouseUp, button, shift, screen, false)) return;
        if (button != TMouseButton::mbRight) return;
        // The right button opens the context menu of the control or of the
        // nearest parent that has one.
        TControl* owner = target.get();
        while (owner && !owner->popupMenu()) owner = owner->parent();
        TPoint local = target->screenToClient(screen);
        EventCall ctx;
        ctx.x = local.x;
        ctx.y = local.y;
        ctx.flag = false;
        target->fire(target->OnContextPopup, ctx);
        if (ctx.flag || !owner || !owner->popupMenu()) return;
        owner->popupMenu()->popupAt(owner, screen);
    });
    flushReleased();
    overlayHandled();
}

// Raises a key event at the window first when it previews keys, then at the
// control; false when a handler cancelled the key or the control went.
bool TApplication::raiseKeyEvent(ComponentRef<TWinControl>& target, Handler TWinControl::*event, EventCall& call,
                                 bool isChar)
{
    auto alive = [&] { return target && (isChar ? call.ch != 0 : call.key != 0); };
    TCustomForm* form = target->parentForm();
    if (form && form->keyPreview() && target.get() != form) {
        form->fire(form->*event, call);
        if (!alive()) return false;
    }
    target->fire(target.get()->*event, call);
    return alive();
}

bool TApplication::keyDown(uint16_t key, TShiftState shift)
{
    suppressChar_ = 0;
    bool consumed = false;
    overlayStarting();
    safely([&] {
        if (popup_) {
            consumed = popup_->popupKeyDown(key, shift);
            return;
        }
        if (overlay_ && overlay_->keyDown(key, shift)) {
            consumed = true;
            suppressChar_ = charOfKey(key, shift);
            return;
        }
        ComponentRef<TWinControl> target = keyTarget();
        if (!target) return;
        EventCall call;
        call.type = InputType::KeyDown;
        call.key = key;
        call.shift = shift;
        if (!raiseKeyEvent(target, &TWinControl::OnKeyDown, call, false)) return;
        TCustomForm* form = target->parentForm();
        if (form && (target.get() == form || !target->wantsKey(call.key, shift)) && form->dialogKey(call.key, shift)) {
            consumed = true;
            suppressChar_ = charOfKey(call.key, shift);
            return;
        }
        target->handle(call);
    });
    flushReleased();
    overlayHandled();
    return consumed;
}

void TApplication::keyPress(char32_t ch)
{
    if (suppressChar_ && ch == suppressChar_) {
        suppressChar_ = 0;
        return;
    }
    safely([&] {
        if (popup_) {
            popup_->popupKeyPress(ch);
            return;
        }
        ComponentRef<TWinControl> target = keyTarget();
        if (!target) return;
        EventCall call;
        call.type = InputType::KeyPress;
        call.ch = ch;
        if (!raiseKeyEvent(target, &TWinControl::OnKeyPress, call, true)) return;
        target->handle(call);
    });
    flushReleased();
    overlayHandled();
}

void TApplication::keyUp(uint16_t key, TShiftState shift)
{
    safely([&] {
        if (popup_) return;
        ComponentRef<TWinControl> target = keyTarget();
        if (!target) return;
        EventCall call;
        call.type = InputType::KeyUp;
        call.key = key;
        call.shift = shift;
        if (!raiseKeyEvent(target, &TWinControl::OnKeyUp, call, false)) return;
        target->handle(call);
    });
    flushReleased();
}

void TApplication::closeByFrame(TCustomForm* form)
{
    safely([&] { form->close(); });
    flushReleased();
}

bool TApplication::dropFiles(TCustomForm* form, const std::vector<std::string>& paths)
{
    if (!form || !form->onDropFiles || paths.empty() || !isWindowEnabled(form)) return false;
    safely([&] { form->onDropFiles(paths); });
    flushReleased();
    return true;
}

void TApplication::click(TControl* c, TPoint client, TMouseButton button, TShiftState shift)
{
    TPoint p = c->clientToScreen(client);
    mouseMove(shift, p);
    mouseDown(button, shift, p);
    mouseUp(button, shift, p);
}

void TApplication::click(TControl* c)
{
    click(c, {c->clientWidth() / 2, c->clientHeight() / 2});
}

void TApplication::doubleClick(TControl* c, TPoint client)
{
    TPoint p = c->clientToScreen(client);
    ComponentRef<TControl> ref(c);
    mouseDown(TMouseButton::mbLeft, 0, p);
    mouseUp(TMouseButton::mbLeft, 0, p);
    mouseDown(TMouseButton::mbLeft, 0, p, true);
    mouseUp(TMouseButton::mbLeft, 0, p);
}

char32_t TApplication::charOfKey(uint16_t key, TShiftState shift)
{
    if (shift & (ssCtrl | ssAlt)) return 0;
    switch (key) {
    case vk::Back: return 8;
    case vk::Tab: return 9;
    case vk::Return: return 13;
    case vk::Escape: return 27;
    case vk::Space: return U' ';
    default: break;
    }
    if (key >= '0' && key <= '9') return key;
    if (key >= 'A' && key <= 'Z') return (shift & ssShift) ? key : key + 32;
    return 0;
}

void TApplication::pressKey(uint16_t key, TShiftState shift)
{
    bool consumed = keyDown(key, shift);
    char32_t ch = charOfKey(key, shift);
    if (!consumed && ch) keyPress(ch);
    keyUp(key, shift);
}

void TApplication::typeText(std::string_view text)
{
    for (char32_t ch : toU32(text)) {
        // The key that types a character; letters and digits have their own.
        uint16_t key = 0;
        TShiftState shift = 0;
        if (ch >= U'a' && ch <= U'z') key = static_cast<uint16_t>(ch - 32);
        else if (ch >= U'A' && ch <= U'Z') {
            key = static_cast<uint16_t>(ch);
            shift = ssShift;
        } else if (ch >= U'0' && ch <= U'9') key = static_cast<uint16_t>(ch);
        else if (ch == U' ') key = vk::Space;
        else key = 0xDE;  // a character key without a code of its own (OEM key)
        keyDown(key, shift);
        keyPress(ch);
        keyUp(key, shift);
    }
}

}  // namespace tk
