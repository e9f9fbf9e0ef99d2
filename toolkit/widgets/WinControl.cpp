// Windowed controls: children, tab order, focus and layout.
#include "toolkit/widgets/WinControl.h"

#include "toolkit/core/Errors.h"
#include "toolkit/core/PropertyTable.h"
#include "toolkit/text/Text.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Form.h"

#include <algorithm>

namespace tk {

TK_DEFINE_CLASS(TWinControl, TControl) {}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl()
{
    if (parent()) parent()->removeControl(this);
    // A window takes its child controls with it.
    while (!controls().empty()) controls().back()->free();
}

std::vector<TControl*> TWinControl::childrenInWritingOrder() const
{
    std::vector<TControl*> out;
    for (TControl* c : controls())
        if (!c->isWindowed()) out.push_back(c);
    for (TControl* c : controls())
        if (c->isWindowed()) out.push_back(c);
    return out;
}

namespace {
// Removes `item` from `list`, looking from the back.
template <class T>
void eraseLast(std::vector<T*>& list, const void* item)
{
    auto it = std::find(list.rbegin(), list.rend(), item);
    if (it != list.rend()) list.erase(std::next(it).base());
}
}  // namespace

void TWinControl::insertControl(TControl* c)
{
    children().controls.push_back(c);
    if (c->align() != TAlign::alNone) ++alignedControls_;
    if (auto* w = as<TWinControl>(c)) {
        children().tabList.push_back(w);
        w->tabHint_ = static_cast<int>(tabList().size()) - 1;
        if (w->pendingTabOrder_ != -2 && !w->loading()) {
            int order = w->pendingTabOrder_;
            w->pendingTabOrder_ = -2;
            w->parent_ = this;  // setTabOrder needs the parent
            w->setTabOrder(order);
        }
    }
    invalidate();
}

void TWinControl::removeControl(TControl* c)
{
    if (TCustomForm* form = parentForm()) form->controlHidden(c);
    // Children go mostly from the last (destruction runs last to first).
    eraseLast(children().controls, c);
    if (auto* w = as<TWinControl>(c)) eraseLast(children().tabList, w);
    c->parent_ = nullptr;
    if (c->align() != TAlign::alNone) {
        --alignedControls_;
        realign();
    }
    invalidate();
}

void TWinControl::moveInStack(TControl* c, bool toFront)
{
    auto& list = children().controls;
    auto it = std::find(list.begin(), list.end(), c);
    if (it == list.end()) return;
    list.erase(it);
    if (toFront) list.push_back(c);
    else list.insert(list.begin(), c);
    invalidate();
}

int TWinControl::tabOrder() const
{
    if (!parent()) return pendingTabOrder_ >= -1 ? pendingTabOrder_ : -1;
    const auto& list = parent()->tabList();
    // The place found last time is almost always still right.
    if (tabHint_ >= 0 && tabHint_ < static_cast<int>(list.size()) && list[tabHint_] == this) return tabHint_;
    auto it = std::find(list.begin(), list.end(), this);
    tabHint_ = it == list.end() ? -1 : static_cast<int>(it - list.begin());
    return tabHint_;
}

void TWinControl::setTabOrder(int order)
{
    if (order < -1 || order > 32767) throw ERangeError(format("%d is not a valid TabOrder value (-1 to 32767)", order));
    if (!parent() || loading()) {
        pendingTabOrder_ = order;
        return;
    }
    auto& list = parent()->children().tabList;
    int current = tabOrder();
    int pos = std::clamp(order, 0, static_cast<int>(list.size()) - (current >= 0 ? 1 : 0));
    if (pos == current) return;  // a design read in tab order lands here
    if (current >= 0) list.erase(list.begin() + current);
    list.insert(list.begin() + pos, this);
    tabHint_ = pos;
}

void TWinControl::loaded()
{
    TControl::loaded();
    if (pendingTabOrder_ != -2 && parent()) {
        int order = pendingTabOrder_;
        pendingTabOrder_ = -2;
        setTabOrder(order);
    }
    lastClientWidth_ = clientWidth();
    lastClientHeight_ = clientHeight();
    realign();
}

bool TWinControl::focused() const
{
    return Application && Application->focusedControl() == this;
}

bool TWinControl::canFocus() const
{
    TCustomForm* form = parentForm();
    if (!form || !Application || !Application->isWindowEnabled(form)) return false;
    return isShowing() && isEnabledTree();
}

void TWinControl::setFocus()
{
    TCustomForm* form = parentForm();
    // Focus given while the window's OnShow runs arrives with its activation.
    if (form && form != this && form->beingShown() && isEnabledTree()) {
        form->setActiveControl(this);
        return;
    }
    if (!canFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
    if (form == this) {
        form->activate();
        return;
    }
    form->focusControl(this, false);
}

TWinControl* TWinControl::findNextControl(TWinControl* current, bool forward, bool checkTabStop) const
{
    std::vector<TWinControl*> order;
    std::function<void(const TWinControl*)> collect = [&](const TWinControl* w) {
        for (TWinControl* c : w->tabList()) {
            order.push_back(c);
            collect(c);
        }
    };
    collect(this);
    if (order.empty()) return nullptr;
    int n = static_cast<int>(order.size());
    int start = -1;
    for (int i = 0; i < n; ++i)
        if (order[i] == current) start = i;
    if (start < 0) start = forward ? n - 1 : 0;
    for (int step = 1; step <= n; ++step) {
        int i = forward ? (start + step) % n : (start - step + n * 2) % n;
        TWinControl* c = order[i];
        if (c->canFocus() && (!checkTabStop || c->tabStop())) return c;
    }
    return nullptr;
}

void TWinControl::selectNext(TWinControl* current, bool forward, bool checkTabStop)
{
    if (TWinControl* next = findNextControl(current, forward, checkTabStop))
        if (next != current) next->parentForm()->focusControl(next, false, true);
}

bool TWinControl::wantsKey(uint16_t key, TShiftState) const
{
    return key != vk::Tab && key != vk::Return && key != vk::Escape;
}

TControl* TWinControl::controlAt(TPoint p)
{
    // Windowed children lie above the controls drawn on this one's surface.
    for (int pass = 0; pass < 2; ++pass)
        for (auto it = controls().rbegin(); it != controls().rend(); ++it) {
            TControl* c = *it;
            if (c->isWindowed() != (pass == 0) || !c->visible()) continue;
            if (!c->boundsRect().contains(p)) continue;
            if (auto* w = as<TWinControl>(c)) return w->controlAt({p.x - c->left(), p.y - c->top()});
            return c;
        }
    return this;
}

void TWinControl::fontChanged()
{
    TControl::fontChanged();
    for (TControl* c : controls())
        if (c->parentFont()) c->parentFontChanged();
}

void TWinControl::boundsChanged()
{
    TControl::boundsChanged();
    int w = clientWidth(), h = clientHeight();
    int dx = w - lastClientWidth_, dy = h - lastClientHeight_;
    lastClientWidth_ = w;
    lastClientHeight_ = h;
    if (loading() || (dx == 0 && dy == 0)) return;
    // Anchored children keep their distance to the anchored edges.
    for (TControl* c : controls()) {
        if (c->align() != TAlign::alNone) continue;
        TAnchors a = c->anchors();
        int l = c->left(), t = c->top(), cw = c->width(), ch = c->height();
        if (a & akRight) {
            if (a & akLeft) cw += dx;
            else l += dx;
        }
        if (a & akBottom) {
            if (a & akTop) ch += dy;
            else t += dy;
        }
        c->setBounds(l, t, cw, ch);
    }
    realign();
}

void TWinControl::realign()
{
    if (aligning_ || loading() || alignedControls_ == 0) return;
    aligning_ = true;
    TRect r = alignRect();
    auto place = [&](TAlign kind, auto before) {
        std::vector<TControl*> list;
        for (TControl* c : controls())
            if (c->align() == kind && c->visible()) list.push_back(c);
        std::stable_sort(list.begin(), list.end(), before);
        for (TControl* c : list) {
            switch (kind) {
            case TAlign::alTop:
                c->setBounds(r.left, r.top, r.width(), c->height());
                r.top += c->height();
                break;
            case TAlign::alBottom:
                c->setBounds(r.left, r.bottom - c->height(), r.width(), c->height());
                r.bottom -= c->height();
                break;
            case TAlign::alLeft:
                c->setBounds(r.left, r.top, c->width(), r.height());
                r.left += c->width();
                break;
            case TAlign::alRight:
                c->setBounds(r.right - c->width(), r.top, c->width(), r.height());
                r.right -= c->width();
                break;
            default: c->setBounds(r.left, r.top, std::max(0, r.width()), std::max(0, r.height())); break;
            }
        }
    };
    place(TAlign::alTop, [](TControl* a, TControl* b) { return a->top() < b->top(); });
    place(TAlign::alBottom, [](TControl* a, TControl* b) { return a->top() + a->height() > b->top() + b->height(); });
    place(TAlign::alLeft, [](TControl* a, TControl* b) { return a->left() < b->left(); });
    place(TAlign::alRight, [](TControl* a, TControl* b) { return a->left() + a->width() > b->left() + b->width(); });
    place(TAlign::alClient, [](TControl*, TControl*) { return false; });
    aligning_ = false;
}

}  // namespace tk
