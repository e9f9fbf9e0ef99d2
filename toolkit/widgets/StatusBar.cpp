// Status bars and their panels.
#include "toolkit/widgets/StatusBar.h"

#include "toolkit/widgets/StdProps.h"
#include "toolkit/windows/Menus.h"

#include <algorithm>

namespace tk {

TK_DEFINE_CLASS(TStatusPanel, TCollectionItem)
{
    t.enumeration("Alignment", types::alignment(), &TStatusPanel::alignment, &TStatusPanel::setAlignment,
                  TAlignment::taLeftJustify);
    t.enumeration("Bevel", types::statusPanelBevel(), &TStatusPanel::bevel, &TStatusPanel::setBevel,
                  TStatusPanelBevel::pbLowered);
    t.kept("BiDiMode", PropKind::Enum, 0, &types::bidiMode()).storedIf([](const TStatusPanel& p) {
        return !p.keptValue("ParentBiDiMode", Value(true)).toBool();
    });
    t.kept("ParentBiDiMode", PropKind::Bool, 1);
    t.enumeration("Style", types::statusPanelStyle(), &TStatusPanel::style, &TStatusPanel::setStyle,
                  TStatusPanelStyle::psText);
    t.string("Text", &TStatusPanel::text, &TStatusPanel::setText);
    t.integer("Width", &TStatusPanel::width, &TStatusPanel::setWidth);
}

TK_DEFINE_CLASS(TStatusBar, TWinControl)
{
    using namespace published;
    action(t);
    t.boolean("AutoHint", &TStatusBar::autoHint, &TStatusBar::setAutoHint, false);
    align(t, TAlign::alBottom);
    anchors(t);
    bidi(t);
    t.integer("BorderWidth", &TStatusBar::borderWidth, &TStatusBar::setBorderWidth, 0);
    color(t, clBtnFace);
    drag(t);
    enabled(t);
    font(t);
    constraints(t);
    t.collection<TStatusPanel>("Panels", &TStatusBar::panels);
    parentBidi(t);
    parentColor(t, false);
    parentFont(t, false);
    parentShowHint(t);
    popupMenu(t);
    showHint(t);
    t.boolean("SimplePanel", &TStatusBar::simplePanel, &TStatusBar::setSimplePanel, false);
    t.string("SimpleText", &TStatusBar::simpleText, &TStatusBar::setSimpleText);
    t.boolean("SizeGrip", &TStatusBar::sizeGrip, &TStatusBar::setSizeGrip, true);
    t.boolean("UseSystemFont", &TStatusBar::useSystemFont, &TStatusBar::setUseSystemFont, true);
    visible(t);
    click(t);
    contextPopup(t);
    keptEvents(t, {"OnCreatePanelClass"});
    dblClick(t);
    keptEvents(t, {"OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag", "OnHint"});
    mouseEvents(t);
    keptEvents(t, {"OnDrawPanel"});
    t.event("OnResize", EventKind::Notify, &TStatusBar::OnResize);
    keptEvents(t, {"OnStartDock", "OnStartDrag"});
}

TStatusBar::TStatusBar(TComponent* owner)
    : TWinControl(owner), panels_(std::make_unique<TCollection>(TStatusPanel::staticClassInfo(), [] {
          return std::make_unique<TStatusPanel>();
      }))
{
    panels_->onChange = [this] { invalidate(); };
    setColor(clBtnFace);
    setParentFont(false);
    setBoundsRaw(0, 0, 200, 19);
    setAlign(TAlign::alBottom);
}

std::vector<TRect> TStatusBar::panelRects() const
{
    std::vector<TRect> out;
    int x = 0;
    for (int i = 0; i < panels_->count(); ++i) {
        int w = panel(i)->width();
        bool last = i == panels_->count() - 1;
        int right = last ? std::max(x, width()) : x + w;
        out.push_back({x, 2, right, height()});
        x = right + 2;
    }
    return out;
}

}  // namespace tk
