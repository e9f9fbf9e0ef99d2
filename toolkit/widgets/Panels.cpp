// Panels, bevels and splitters.
#include "toolkit/widgets/Panels.h"

#include "toolkit/widgets/StdProps.h"
#include "toolkit/windows/Menus.h"

#include <algorithm>

namespace tk {

TK_DEFINE_CLASS(TPanel, TWinControl)
{
    using namespace published;
    align(t);
    t.enumeration("Alignment", types::alignment(), &TPanel::alignment, &TPanel::setAlignment, TAlignment::taCenter);
    anchors(t);
    t.enumeration("BevelInner", types::bevelCut(), &TPanel::bevelInner, &TPanel::setBevelInner, TBevelCut::bvNone);
    t.enumeration("BevelOuter", types::bevelCut(), &TPanel::bevelOuter, &TPanel::setBevelOuter, TBevelCut::bvRaised);
    t.integer("BevelWidth", &TPanel::bevelWidth, &TPanel::setBevelWidth, 1);
    t.integer("BorderWidth", &TPanel::borderWidth, &TPanel::setBorderWidth, 0);
    caption(t);
    color(t);
    constraints(t);
    enabled(t);
    font(t);
    parentColor(t, false);
    parentFont(t);
    parentShowHint(t);
    popupMenu(t);
    showHint(t);
    tabOrder(t);
    tabStop(t, false);
    visible(t);
    click(t);
    contextPopup(t);
    dblClick(t);
    focusEvents(t);
    mouseEvents(t);
    t.event("OnResize", EventKind::Notify, &TPanel::OnResize);
}

TPanel::TPanel(TComponent* owner) : TWinControl(owner)
{
    setBoundsRaw(0, 0, 185, 41);
}

TRect TPanel::alignRect() const
{
    int inset = borderWidth_;
    if (bevelOuter_ != TBevelCut::bvNone) inset += bevelWidth_;
    if (bevelInner_ != TBevelCut::bvNone) inset += bevelWidth_;
    TRect r = clientRect();
    return {r.left + inset, r.top + inset, std::max(r.left + inset, r.right - inset),
            std::max(r.top + inset, r.bottom - inset)};
}

TK_DEFINE_CLASS(TBevel, TGraphicControl)
{
    using namespace published;
    align(t);
    anchors(t);
    constraints(t);
    parentShowHint(t);
    t.enumeration("Shape", types::bevelShape(), &TBevel::shape, &TBevel::setShape, TBevelShape::bsBox);
    showHint(t);
    t.enumeration("Style", types::bevelStyle(), &TBevel::style, &TBevel::setStyle, TBevelStyle::bsLowered);
    visible(t);
}

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner)
{
    setBoundsRaw(0, 0, 50, 50);
}

TK_DEFINE_CLASS(TSplitter, TGraphicControl)
{
    using namespace published;
    t.integer("Width", &TSplitter::width, &TSplitter::setWidth, 3);
    cursor(t, -14);
    align(t, TAlign::alLeft);
    t.boolean("AutoSnap", &TSplitter::autoSnap, &TSplitter::setAutoSnap, true);
    t.boolean("Beveled", &TSplitter::beveled, &TSplitter::setBeveled, false);
    color(t, clWindow);
    constraints(t);
    t.integer("MinSize", &TSplitter::minSize, &TSplitter::setMinSize, 30);
    parentColor(t, true);
    t.enumeration("ResizeStyle", types::resizeStyle(), &TSplitter::resizeStyle, &TSplitter::setResizeStyle,
                  TResizeStyle::rsPattern);
    visible(t);
    t.keptEvent("OnCanResize", EventKind::Other);
    t.event("OnMoved", EventKind::Notify, &TSplitter::OnMoved);
    t.keptEvent("OnPaint", EventKind::Other);
}

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner)
{
    setCursor(-14);
    setAlign(TAlign::alLeft);
    setBoundsRaw(0, 0, 3, 100);
}

TControl* TSplitter::resizedControl() const
{
    if (!parent()) return nullptr;
    for (TControl* c : parent()->controls()) {
        if (c == this || !c->visible() || c->align() != align()) continue;
        switch (align()) {
        case TAlign::alLeft:
            if (c->left() + c->width() == left()) return c;
            break;
        case TAlign::alRight:
            if (c->left() == left() + width()) return c;
            break;
        case TAlign::alTop:
            if (c->top() + c->height() == top()) return c;
            break;
        case TAlign::alBottom:
            if (c->top() == top() + height()) return c;
            break;
        default: break;
        }
    }
    return nullptr;
}

int TSplitter::maxSize(const TControl* target, bool horizontal) const
{
    // The parent's extent less the splitter, the other controls aligned
    // along the same axis, and MinSize left over for what fills the rest.
    int room = horizontal ? parent()->clientWidth() : parent()->clientHeight();
    room -= horizontal ? width() : height();
    for (TControl* c : parent()->controls()) {
        if (c == this || c == target || !c->visible()) continue;
        bool sameAxis = horizontal ? (c->align() == TAlign::alLeft || c->align() == TAlign::alRight)
                                   : (c->align() == TAlign::alTop || c->align() == TAlign::alBottom);
        if (sameAxis) room -= horizontal ? c->width() : c->height();
    }
    return room - minSize_;
}

bool TSplitter::handle(InputEvent& e)
{
    bool horizontal = align() == TAlign::alLeft || align() == TAlign::alRight;
    TControl* target = resizedControl();
    switch (e.type) {
    case InputType::MouseDown:
        if (e.button != TMouseButton::mbLeft || !target) return true;
        dragging_ = true;
        grab_ = clientToScreen({e.x, e.y});
        startSize_ = horizontal ? target->width() : target->height();
        return true;
    case InputType::MouseMove: {
        if (!dragging_ || !target) return true;
        TPoint p = clientToScreen({e.x, e.y});
        int delta = horizontal ? p.x - grab_.x : p.y - grab_.y;
        if (align() == TAlign::alRight || align() == TAlign::alBottom) delta = -delta;
        int size = std::clamp(startSize_ + delta, minSize_, std::max(minSize_, maxSize(target, horizontal)));
        if (horizontal) target->setWidth(size);
        else target->setHeight(size);
        return true;
    }
    case InputType::MouseUp:
        if (dragging_) {
            dragging_ = false;
            fire(OnMoved);
        }
        return true;
    default: return TGraphicControl::handle(e);
    }
}

}  // namespace tk
