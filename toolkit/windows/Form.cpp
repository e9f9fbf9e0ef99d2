// Windows: frame, showing, modal results, closing, focus and dialog keys.
#include "toolkit/windows/Form.h"

#include "toolkit/core/Errors.h"
#include "toolkit/text/Text.h"
#include "toolkit/widgets/PageControl.h"
#include "toolkit/widgets/StdProps.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Menus.h"

#include <algorithm>

namespace tk {

FrameMetrics frameMetrics(TFormBorderStyle style)
{
    switch (style) {
    case TFormBorderStyle::bsNone: return {0, 0};
    case TFormBorderStyle::bsSingle:
    case TFormBorderStyle::bsDialog: return {3, 19};
    case TFormBorderStyle::bsSizeable: return {4, 19};
    case TFormBorderStyle::bsToolWindow: return {3, 16};
    case TFormBorderStyle::bsSizeToolWin: return {4, 16};
    }
    return {0, 0};
}

TK_DEFINE_CLASS(TControlScrollBar, TPersistent)
{
    t.kept("ButtonSize", PropKind::Integer, 0);
    t.kept("Color", PropKind::Integer, clBtnHighlight).constants(types::colors());
    t.kept("Increment", PropKind::Integer, 8);
    t.kept("Margin", PropKind::Integer, 0);
    t.kept("ParentColor", PropKind::Bool, 1);
    t.kept("Position", PropKind::Integer, 0);
    t.kept("Range", PropKind::Integer, 0);
    t.kept("Smooth", PropKind::Bool, 0);
    t.kept("Size", PropKind::Integer, 0);
    t.kept("Style", PropKind::Enum, 0, &types::scrollBarStyle());
    t.kept("ThumbSize", PropKind::Integer, 0);
    t.kept("Tracking", PropKind::Bool, 0);
    t.kept("Visible", PropKind::Bool, 1);
}

namespace {
// A window stores its outer size when it scrolls, else its client size.
bool storesOuterSize(const TCustomForm& f)
{
    return f.autoScroll() || f.horzScrollBar()->range() != 0 || f.vertScrollBar()->range() != 0;
}
bool sizeable(TFormBorderStyle s)
{
    return s == TFormBorderStyle::bsSizeable || s == TFormBorderStyle::bsSizeToolWin;
}
}  // namespace

TK_DEFINE_CLASS(TCustomForm, TWinControl)
{
    using namespace published;
    t.integer("Width", &TCustomForm::width, &TCustomForm::setWidth).storedIf(storesOuterSize);
    t.integer("Height", &TCustomForm::height, &TCustomForm::setHeight).storedIf(storesOuterSize);
    t.object<TControlScrollBar>("HorzScrollBar", &TCustomForm::horzScrollBar);
    t.object<TControlScrollBar>("VertScrollBar", &TCustomForm::vertScrollBar);
    action(t);
    t.component<TWinControl>("ActiveControl", &TCustomForm::activeControl, &TCustomForm::setActiveControl);
    align(t);
    t.kept("AlphaBlend", PropKind::Bool, 0);
    t.kept("AlphaBlendValue", PropKind::Integer, 255);
    anchors(t);
    t.boolean("AutoScroll", &TCustomForm::autoScroll, &TCustomForm::setAutoScroll, true)
        .storedIf([](const TCustomForm& f) { return f.autoScroll() != sizeable(f.borderStyle()); });
    t.kept("AutoSize", PropKind::Bool, 0);
    bidi(t);
    t.set("BorderIcons", types::borderIcons(), &TCustomForm::borderIcons, &TCustomForm::setBorderIcons,
          biSystemMenu | biMinimize | biMaximize);
    t.enumeration("BorderStyle", types::formBorderStyle(), &TCustomForm::borderStyle, &TCustomForm::setBorderStyle,
                  TFormBorderStyle::bsSizeable);
    t.kept("BorderWidth", PropKind::Integer, 0);
    caption(t);
    t.integer("ClientHeight", &TCustomForm::clientHeight, &TCustomForm::setClientHeight)
        .storedIf([](const TCustomForm& f) { return !storesOuterSize(f); });
    t.integer("ClientWidth", &TCustomForm::clientWidth, &TCustomForm::setClientWidth)
        .storedIf([](const TCustomForm& f) { return !storesOuterSize(f); });
    color(t);
    t.kept("TransparentColor", PropKind::Bool, 0);
    t.kept("TransparentColorValue", PropKind::Integer, clBlack).constants(types::colors());
    constraints(t);
    t.kept("Ctl3D", PropKind::Bool, 1);
    t.kept("UseDockManager", PropKind::Bool, 0);
    t.kept("DefaultMonitor", PropKind::Enum, 3, &types::defaultMonitor());
    t.kept("DockSite", PropKind::Bool, 0);
    drag(t, false);
    enabled(t);
    parentFont(t, false);
    font(t);
    t.enumeration("FormStyle", types::formStyle(), &TCustomForm::formStyle, &TCustomForm::setFormStyle,
                  TFormStyle::fsNormal);
    t.kept("HelpFile", PropKind::String);
    t.object<TBitmap>("Icon", &TCustomForm::icon);
    t.boolean("KeyPreview", &TCustomForm::keyPreview, &TCustomForm::setKeyPreview, false);
    t.kept("Menu", PropKind::Component);
    t.kept("OldCreateOrder", PropKind::Bool);
    t.kept("ObjectMenuItem", PropKind::Component);
    parentBidi(t);
    popupMenu(t);
    t.enumeration("Position", types::position(), &TCustomForm::position, &TCustomForm::setPosition,
                  TPosition::poDesigned);
    t.kept("PrintScale", PropKind::Enum, 1, &types::printScale());
    t.kept("Scaled", PropKind::Bool, 1);
    t.kept("ScreenSnap", PropKind::Bool, 0);
    showHint(t);
    t.kept("SnapBuffer", PropKind::Integer, 10);
    t.boolean("Visible", &TCustomForm::visible, &TCustomForm::setVisible, false);
    t.enumeration("WindowState", types::windowState(), &TCustomForm::windowState, &TCustomForm::setWindowState,
                  TWindowState::wsNormal);
    t.kept("WindowMenu", PropKind::Component);
    t.event("OnActivate", EventKind::Notify, &TCustomForm::OnActivate);
    keptEvents(t, {"OnCanResize"});
    click(t);
    t.event("OnClose", EventKind::Close, &TCustomForm::OnClose);
    t.event("OnCloseQuery", EventKind::CloseQuery, &TCustomForm::OnCloseQuery);
    keptEvents(t, {"OnConstrainedResize"});
    contextPopup(t);
    t.event("OnCreate", EventKind::Notify, &TCustomForm::OnCreate);
    dblClick(t);
    t.event("OnDestroy", EventKind::Notify, &TCustomForm::OnDestroy);
    t.event("OnDeactivate", EventKind::Notify, &TCustomForm::OnDeactivate);
    keptEvents(t, {"OnDockDrop", "OnDockOver", "OnDragDrop", "OnDragOver", "OnEndDock", "OnGetSiteInfo"});
    t.event("OnHide", EventKind::Notify, &TCustomForm::OnHide);
    keptEvents(t, {"OnHelp"});
    keyEvents(t);
    mouseEvents(t);
    keptEvents(t, {"OnMouseWheel", "OnMouseWheelDown", "OnMouseWheelUp", "OnPaint"});
    t.event("OnResize", EventKind::Notify, &TCustomForm::OnResize);
    keptEvents(t, {"OnShortCut"});
    t.event("OnShow", EventKind::Notify, &TCustomForm::OnShow);
    keptEvents(t, {"OnStartDock", "OnUnDock"});
}

TK_DEFINE_CLASS(TForm, TCustomForm) {}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner)
{
    initVisible(false);
    setParentFont(false);
    setColor(clBtnFace);
    setBoundsRaw(0, 0, 320, 240);
    if (Application) Application->registerWindow(this);
}

TForm::TForm(TComponent* owner) : TCustomForm(owner) {}

TCustomForm::~TCustomForm()
{
    if (Application) Application->unregisterWindow(this);
}

void TCustomForm::afterConstruction()
{
    if (created_) return;
    created_ = true;
    EventCall call;
    fire(OnCreate, call);
}

void TCustomForm::beforeDestruction()
{
    TWinControl::beforeDestruction();
    if (destroyFired_) return;
    destroyFired_ = true;
    if (Application) Application->unregisterWindow(this);
    fire(OnDestroy);
}

void TCustomForm::setBorderStyle(TFormBorderStyle v)
{
    borderStyle_ = v;
    boundsChanged();
    invalidate();
}

TRect TCustomForm::clientRect() const
{
    FrameMetrics m = frameMetrics(borderStyle_);
    return {0, 0, std::max(0, width() - 2 * m.border), std::max(0, height() - 2 * m.border - m.caption)};
}

TPoint TCustomForm::clientOrigin() const
{
    FrameMetrics m = frameMetrics(borderStyle_);
    return {left() + m.border, top() + m.border + m.caption};
}

void TCustomForm::setClientWidth(int w)
{
    FrameMetrics m = frameMetrics(borderStyle_);
    setWidth(w + 2 * m.border);
}

void TCustomForm::setClientHeight(int h)
{
    FrameMetrics m = frameMetrics(borderStyle_);
    setHeight(h + 2 * m.border + m.caption);
}

void TCustomForm::setActiveControl(TWinControl* c)
{
    if (c && c->parentForm() != this) throw EInvalidOperation("Invalid active control: it is not on this window");
    // Only the active window moves the focus at once; another one keeps the
    // control for when it is activated.
    if (!visible() || loading() || !c || !Application || Application->activeForm() != this) {
        activeControl_ = c;
        return;
    }
    focusControl(c, false);
}

void TCustomForm::applyPosition()
{
    TRect screen = Application ? Application->platform().screenRect() : TRect{0, 0, 1280, 1024};
    // Centred, but never with its top left corner (the title bar, the
    // first controls) off a screen it is larger than.
    auto centreOn = [&](TRect r) {
        setBounds(std::max(screen.left, r.left + (r.width() - width()) / 2),
                  std::max(screen.top, r.top + (r.height() - height()) / 2), width(), height());
    };
    switch (position_) {
    case TPosition::poScreenCenter:
    case TPosition::poDesktopCenter: centreOn(screen); break;
    case TPosition::poMainFormCenter:
    case TPosition::poOwnerFormCenter: {
        TCustomForm* ref = Application ? Application->mainForm() : nullptr;
        if (position_ == TPosition::poOwnerFormCenter)
            if (auto* o = as<TCustomForm>(owner())) ref = o;
        if (ref && ref != this && ref->visible()) centreOn(ref->boundsRect());
        else centreOn(screen);
        break;
    }
    default: break;
    }
}

void TCustomForm::setVisible(bool v)
{
    if (v == visible()) return;
    if (loading()) {
        // A design that says Visible shows the window once it is read.
        pendingVisible_ = v ? 1 : 0;
        return;
    }
    ComponentRef<TCustomForm> self(this);
    if (v) {
        beingShown_ = true;
        try {
            fire(OnShow);
        } catch (...) {
            if (self) beingShown_ = false;
            throw;
        }
        if (!self) return;
        beingShown_ = false;
        applyPosition();
        TControl::setVisible(true);
        if (Application) Application->raiseWindow(this);
        if (takesActivation() && Application && Application->isWindowEnabled(this)) activate();
    } else {
        fire(OnHide);
        if (!self) return;
        TControl::setVisible(false);
        if (Application) Application->windowHidden(this);
    }
    invalidate();
}

int TCustomForm::showModal()
{
    if (visible() || modal_) throw EInvalidOperation("Cannot make a visible window modal");
    if (!Application) throw EInvalidOperation("There is no application to run a modal window");
    ComponentRef<TCustomForm> self(this);
    TCustomForm* previous = Application->activeForm();
    ComponentRef<TCustomForm> previousRef(previous);
    modalResult_ = mrNone;
    modal_ = true;
    Application->beginModal(this);
    try {
        show();
        for (;;) {
            Application->platform().runUntil(
                [&] { return !self || modalResult_ != mrNone || Application->terminated(); });
            if (!self) break;
            if (Application->terminated() && modalResult_ == mrNone) modalResult_ = mrCancel;
            // Closing the modal window: it may refuse, and is told how it closes.
            EventCall query;
            query.flag = true;
            fire(OnCloseQuery, query);
            if (!self) break;
            if (!query.flag && !Application->terminated()) {
                modalResult_ = mrNone;
                continue;
            }
            EventCall closing;
            closing.action = TCloseAction::caHide;
            fire(OnClose, closing);
            break;
        }
    } catch (...) {
        if (self) {
            modal_ = false;
            Application->endModal(this);
            hide();
        }
        throw;
    }
    if (!self) return mrCancel;
    TModalResult result = modalResult_;
    modal_ = false;
    Application->endModal(this);
    hide();
    if (previousRef && previousRef->visible()) Application->activateForm(previousRef);
    return result;
}

void TCustomForm::close()
{
    if (modal_) {
        if (modalResult_ == mrNone) modalResult_ = mrCancel;
        return;
    }
    ComponentRef<TCustomForm> self(this);
    EventCall query;
    query.flag = true;
    fire(OnCloseQuery, query);
    if (!self || !query.flag) return;
    bool isMain = Application && Application->mainForm() == this;
    EventCall closing;
    closing.action = TCloseAction::caHide;
    fire(OnClose, closing);
    if (!self || closing.action == TCloseAction::caNone) return;
    if (isMain) {
        Application->terminate();
        hide();
        return;
    }
    hide();
    if (closing.action == TCloseAction::caFree) release();
}

void TCustomForm::loaded()
{
    TWinControl::loaded();
    int pending = pendingVisible_;
    pendingVisible_ = -1;
    if (pending >= 0) setVisible(pending == 1);
}

void TCustomForm::release()
{
    if (Application) Application->releaseLater(this);
    else free();
}

void TCustomForm::activate()
{
    if (Application) Application->activateForm(this);
}

void TCustomForm::bringWindowToFront()
{
    if (Application && visible()) Application->raiseWindow(this);
}

void TCustomForm::activated()
{
    fire(OnActivate);
    TWinControl* target = activeControl_.get();
    if (!target || !target->canFocus()) {
        target = findNextControl(nullptr, true, true);
        activeControl_ = target;
    }
    syncFocus(false);
}

void TCustomForm::deactivated()
{
    fire(OnDeactivate);
}

void TCustomForm::focusControl(TWinControl* c, bool byMouse, bool byTab)
{
    activeControl_ = c;
    if (Application && Application->activeForm() != this) {
        Application->activateForm(this);
        return;
    }
    syncFocus(byMouse, byTab);
}

void TCustomForm::syncFocus(bool byMouse, bool byTab)
{
    TWinControl* target = activeControl_.get();
    if (target == enteredControl_.get()) return;
    unsigned serial = ++focusSerial_;
    // Exit from the old control up to the common parent, then enter from
    // below the common parent down to the new control.
    std::vector<ComponentRef<TWinControl>> oldChain, newChain;
    for (TWinControl* w = enteredControl_.get(); w && w != this; w = w->parent()) oldChain.emplace_back(w);
    for (TWinControl* w = target; w && w != this; w = w->parent()) newChain.emplace_back(w);
    while (!oldChain.empty() && !newChain.empty() && oldChain.back().get() == newChain.back().get()) {
        oldChain.pop_back();
        newChain.pop_back();
    }
    ComponentRef<TWinControl> old = enteredControl_;
    enteredControl_ = target;
    if (old) {
        InputEvent e;
        e.type = InputType::Exit;
        old->handle(e);
    }
    for (auto& w : oldChain) {
        if (w) w->fire(w->OnExit);
        if (serial != focusSerial_) return;  // a handler moved the focus itself
    }
    for (auto it = newChain.rbegin(); it != newChain.rend(); ++it) {
        if (*it) (*it)->fire((*it)->OnEnter);
        if (serial != focusSerial_) return;
    }
    if (enteredControl_) {
        InputEvent e;
        e.type = InputType::Enter;
        e.byKeyboard = byTab && !byMouse;
        enteredControl_->handle(e);
    }
}

void TCustomForm::contentChanged()
{
    if (Application) Application->invalidate(this);
}

void TCustomForm::controlHidden(TControl* c)
{
    auto inside = [c](TWinControl* w) {
        for (TControl* p = w; p; p = p->parent())
            if (p == c) return true;
        return false;
    };
    if (activeControl_ && inside(activeControl_.get())) activeControl_.reset();
    if (enteredControl_ && inside(enteredControl_.get())) enteredControl_.reset();
}

namespace {
TWinControl* findButton(TWinControl* w, bool wantDefault)
{
    for (TControl* c : w->controls()) {
        auto* wc = as<TWinControl>(c);
        if (!wc || !wc->isShowing() || !wc->isEnabledTree()) continue;
        if (wantDefault ? wc->isDefaultButton() : wc->isCancelButton()) return wc;
        if (TWinControl* found = findButton(wc, wantDefault)) return found;
    }
    return nullptr;
}
}  // namespace

bool TCustomForm::turnPage(bool forward, bool moveFocus)
{
    // The pages the focus is on, else the window's first shown pages.
    TPageControl* pages = nullptr;
    for (TControl* c = enteredControl_.get(); c && !pages; c = c->parent()) pages = as<TPageControl>(c);
    std::vector<TControl*> todo{this};
    while (!pages && !todo.empty()) {
        TControl* c = todo.front();
        todo.erase(todo.begin());
        if (auto* p = as<TPageControl>(c); p && p->isShowing()) pages = p;
        else if (auto* w = as<TWinControl>(c))
            for (TControl* child : w->controls()) todo.push_back(child);
    }
    if (!pages || !pages->isEnabledTree() || !pages->turnPage(forward)) return pages != nullptr;
    if (!moveFocus) return true;
    // The focus goes to the page's first control that takes it, else to the
    // tabs, so that it is never left on a page no longer shown.
    TTabSheet* page = pages->activePage();
    TWinControl* first = page ? page->findNextControl(nullptr, true, true) : nullptr;
    if (first && first->canFocus()) focusControl(first, false, true);
    else if (pages->canFocus()) focusControl(pages, false);
    return true;
}

bool TCustomForm::dialogKey(uint16_t key, TShiftState shift)
{
    switch (key) {
    case vk::Tab:
        if (shift & ssAlt) return false;
        if (shift & ssCtrl) return turnPage(!(shift & ssShift));
        selectNext(enteredControl_.get(), !(shift & ssShift), true);
        return true;
    case vk::Return:
        if (TWinControl* b = findButton(this, true)) {
            b->click();
            return true;
        }
        return false;
    case vk::Escape:
        if (TWinControl* b = findButton(this, false)) {
            b->click();
            return true;
        }
        return false;
    default: return false;
    }
}

}  // namespace tk
