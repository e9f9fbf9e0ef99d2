// Labels and static texts.
#include "toolkit/widgets/Labels.h"

#include "toolkit/widgets/StdProps.h"
#include "toolkit/windows/Menus.h"

namespace tk {

std::string stripAccelerator(const std::string& caption)
{
    std::string out;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') out += '&';
            ++i;
            if (i < caption.size() && caption[i] != '&') out += caption[i];
            continue;
        }
        out += caption[i];
    }
    return out;
}

TK_DEFINE_CLASS(TLabel, TGraphicControl)
{
    using namespace published;
    align(t);
    t.enumeration("Alignment", types::alignment(), &TLabel::alignment, &TLabel::setAlignment,
                  TAlignment::taLeftJustify);
    anchors(t);
    t.boolean("AutoSize", &TLabel::autoSize, &TLabel::setAutoSize, true);
    caption(t);
    color(t);
    constraints(t);
    enabled(t);
    t.component<TWinControl>("FocusControl", &TLabel::focusControl, &TLabel::setFocusControl);
    font(t);
    t.enumeration("Layout", types::textLayout(), &TLabel::layout, &TLabel::setLayout, TTextLayout::tlTop);
    parentColor(t, true);
    parentFont(t);
    parentShowHint(t);
    popupMenu(t);
    t.boolean("ShowAccelChar", &TLabel::showAccelChar, &TLabel::setShowAccelChar, true);
    showHint(t);
    t.boolean("Transparent", &TLabel::transparent, &TLabel::setTransparent, false);
    visible(t);
    t.boolean("WordWrap", &TLabel::wordWrap, &TLabel::setWordWrap, false);
    click(t);
    contextPopup(t);
    dblClick(t);
    mouseEvents(t);
}

TLabel::TLabel(TComponent* owner) : CaptionText<TGraphicControl>(owner)
{
    setBoundsRaw(0, 0, 65, 17);
    setAutoSize(true);
}

void TLabel::autoSizeBounds(int& width, int& height) const
{
    if (!wordWrap_) width = textWidth(displayText());
    height = textHeight();
}

TK_DEFINE_CLASS(TStaticText, TWinControl)
{
    using namespace published;
    align(t);
    t.enumeration("Alignment", types::alignment(), &TStaticText::alignment, &TStaticText::setAlignment,
                  TAlignment::taLeftJustify);
    anchors(t);
    t.boolean("AutoSize", &TStaticText::autoSize, &TStaticText::setAutoSize, true);
    bevels(t);
    bidi(t);
    t.enumeration("BorderStyle", types::staticBorderStyle(), &TStaticText::borderStyle, &TStaticText::setBorderStyle,
                  TStaticBorderStyle::sbsNone);
    caption(t);
    color(t);
    constraints(t);
    drag(t);
    enabled(t);
    t.component<TWinControl>("FocusControl", &TStaticText::focusControl, &TStaticText::setFocusControl);
    font(t);
    parentBidi(t);
    parentColor(t, true);
    parentFont(t);
    parentShowHint(t);
    popupMenu(t);
    t.boolean("ShowAccelChar", &TStaticText::showAccelChar, &TStaticText::setShowAccelChar, true);
    showHint(t);
    tabOrder(t);
    tabStop(t, false);
    t.boolean("Transparent", &TStaticText::transparent, &TStaticText::setTransparent, true);
    visible(t);
    click(t);
    contextPopup(t);
    dblClick(t);
    keptEvents(t, {"OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag"});
    mouseEvents(t);
    keptEvents(t, {"OnStartDock", "OnStartDrag"});
}

TStaticText::TStaticText(TComponent* owner) : CaptionText<TWinControl>(owner)
{
    transparent_ = true;
    setBoundsRaw(0, 0, 65, 17);
    setAutoSize(true);
}

void TStaticText::autoSizeBounds(int& width, int& height) const
{
    int border = borderStyle_ == TStaticBorderStyle::sbsNone ? 2 : 3;
    width = textWidth(displayText()) + 2 * border;
    height = textHeight() + 2 * border;
}

}  // namespace tk
