// Declarations of the published properties that many control classes share,
// so that each class's table lists them by name in its own order.
#pragma once

#include "toolkit/core/PropertyTable.h"
#include "toolkit/widgets/Control.h"
#include "toolkit/widgets/WinControl.h"

namespace tk::published {

// The anchors that an alignment implies; Anchors are stored only when they differ.
TAnchors anchorsOfAlign(TAlign a);

template <class C>
void left(PropertyTable<C>& t)
{
    t.integer("Left", &C::left, &C::setLeft);
}
template <class C>
void top(PropertyTable<C>& t)
{
    t.integer("Top", &C::top, &C::setTop);
}
template <class C>
void width(PropertyTable<C>& t)
{
    t.integer("Width", &C::width, &C::setWidth);
}
template <class C>
void height(PropertyTable<C>& t)
{
    t.integer("Height", &C::height, &C::setHeight);
}
template <class C>
void cursor(PropertyTable<C>& t, int def = 0)
{
    t.integer("Cursor", &C::cursor, &C::setCursor, def).constants(types::cursors());
}
template <class C>
void hint(PropertyTable<C>& t)
{
    t.string("Hint", &C::hint, &C::setHint);
}
template <class C>
void help(PropertyTable<C>& t)
{
    t.kept("HelpType", PropKind::Enum, 1, &types::helpType());
    t.kept("HelpKeyword", PropKind::String);
    t.kept("HelpContext", PropKind::Integer, 0);
}
template <class C>
void align(PropertyTable<C>& t, TAlign def = TAlign::alNone)
{
    t.enumeration("Align", types::align(), &C::align, &C::setAlign, def);
}
template <class C>
void anchors(PropertyTable<C>& t)
{
    t.set("Anchors", types::anchors(), &C::anchors, &C::setAnchors, akLeft | akTop).storedIf([](const C& c) {
        return c.anchors() != anchorsOfAlign(c.align());
    });
}
template <class C>
void caption(PropertyTable<C>& t)
{
    t.string("Caption", &C::caption, &C::setCaption);
}
template <class C>
void text(PropertyTable<C>& t)
{
    t.string("Text", &C::text, &C::setText);
}
template <class C>
void color(PropertyTable<C>& t, std::optional<int64_t> def = {})
{
    t.integer("Color", &C::color, &C::setColor, def).constants(types::colors()).storedIf([](const C& c) {
        return !c.parentColor();
    });
}
template <class C>
void parentColor(PropertyTable<C>& t, bool def)
{
    t.boolean("ParentColor", &C::parentColor, &C::setParentColor, def);
}
template <class C>
void constraints(PropertyTable<C>& t)
{
    t.template object<TSizeConstraints>("Constraints", &C::constraints);
}
template <class C>
void enabled(PropertyTable<C>& t)
{
    t.boolean("Enabled", &C::enabled, &C::setEnabled, true);
}
template <class C>
void font(PropertyTable<C>& t)
{
    t.template object<TFont>("Font", &C::font).storedIf([](const C& c) { return !c.parentFont(); });
}
template <class C>
void parentFont(PropertyTable<C>& t, bool def = true)
{
    t.boolean("ParentFont", &C::parentFont, &C::setParentFont, def);
}
template <class C>
void showHint(PropertyTable<C>& t)
{
    t.boolean("ShowHint", &C::showHint, &C::setShowHint).storedIf([](const C& c) { return !c.parentShowHint(); });
}
template <class C>
void parentShowHint(PropertyTable<C>& t)
{
    t.boolean("ParentShowHint", &C::parentShowHint, &C::setParentShowHint, true);
}
template <class C>
void popupMenu(PropertyTable<C>& t);  // in Menus.h
template <class C>
void tabOrder(PropertyTable<C>& t)
{
    t.integer("TabOrder", &C::tabOrder, &C::setTabOrder, -1);
}
template <class C>
void tabStop(PropertyTable<C>& t, bool def = true)
{
    t.boolean("TabStop", &C::tabStop, &C::setTabStop, def);
}
template <class C>
void visible(PropertyTable<C>& t)
{
    t.boolean("Visible", &C::visible, &C::setVisible, true);
}
template <class C>
void drag(PropertyTable<C>& t, bool withCursor = true)
{
    if (withCursor) t.kept("DragCursor", PropKind::Integer, -12).constants(types::cursors());
    t.kept("DragKind", PropKind::Enum, 0, &types::dragKind());
    t.kept("DragMode", PropKind::Enum, 0, &types::dragMode());
}
template <class C>
void bidi(PropertyTable<C>& t)
{
    t.kept("BiDiMode", PropKind::Enum, 0, &types::bidiMode()).storedIf([](const C& c) {
        return !c.keptValue("ParentBiDiMode", Value(true)).toBool();
    });
}
template <class C>
void parentBidi(PropertyTable<C>& t)
{
    t.kept("ParentBiDiMode", PropKind::Bool, 1);
}
template <class C>
void mouseEvents(PropertyTable<C>& t)
{
    t.event("OnMouseDown", EventKind::Mouse, &C::OnMouseDown);
    t.event("OnMouseMove", EventKind::MouseMove, &C::OnMouseMove);
    t.event("OnMouseUp", EventKind::Mouse, &C::OnMouseUp);
}
template <class C>
void keyEvents(PropertyTable<C>& t)
{
    t.event("OnKeyDown", EventKind::Key, &C::OnKeyDown);
    t.event("OnKeyPress", EventKind::KeyPress, &C::OnKeyPress);
    t.event("OnKeyUp", EventKind::Key, &C::OnKeyUp);
}
template <class C>
void focusEvents(PropertyTable<C>& t)
{
    t.event("OnEnter", EventKind::Notify, &C::OnEnter);
    t.event("OnExit", EventKind::Notify, &C::OnExit);
}

template <class C>
void bevels(PropertyTable<C>& t, bool withWidth = false)
{
    t.kept("BevelEdges", PropKind::Set, 15, &types::bevelEdges());
    t.kept("BevelInner", PropKind::Enum, 2, &types::bevelCut());
    t.kept("BevelKind", PropKind::Enum, 0, &types::bevelKind());
    t.kept("BevelOuter", PropKind::Enum, 1, &types::bevelCut());
    if (withWidth) t.kept("BevelWidth", PropKind::Integer, 1);
}
template <class C>
void ctl3D(PropertyTable<C>& t)
{
    t.kept("Ctl3D", PropKind::Bool).storedIf([](const C& c) {
        return !c.keptValue("ParentCtl3D", Value(true)).toBool();
    });
}
template <class C>
void parentCtl3D(PropertyTable<C>& t)
{
    t.kept("ParentCtl3D", PropKind::Bool, 1);
}
template <class C>
void ime(PropertyTable<C>& t)
{
    t.kept("ImeMode", PropKind::Enum, 3, &types::imeMode());
    t.kept("ImeName", PropKind::String);
}
template <class C>
void action(PropertyTable<C>& t)
{
    t.kept("Action", PropKind::Component);
}
// Drag and dock events: published, kept, never raised by this toolkit.
template <class C>
void keptEvents(PropertyTable<C>& t, std::initializer_list<const char*> names)
{
    for (const char* n : names) t.keptEvent(n, EventKind::Other);
}
template <class C>
void contextPopup(PropertyTable<C>& t)
{
    t.event("OnContextPopup", EventKind::ContextPopup, &C::OnContextPopup);
}
template <class C>
void click(PropertyTable<C>& t)
{
    t.event("OnClick", EventKind::Notify, &C::OnClick);
}
template <class C>
void dblClick(PropertyTable<C>& t)
{
    t.event("OnDblClick", EventKind::Notify, &C::OnDblClick);
}

}  // namespace tk::published
