// Page controls and tab sheets.
#include "toolkit/widgets/PageControl.h"

#include "toolkit/core/Errors.h"
#include "toolkit/widgets/StdProps.h"
#include "toolkit/windows/Menus.h"

#include <algorithm>

namespace tk {

TK_DEFINE_CLASS(TTabSheet, TWinControl)
{
    using namespace published;
    t.hide("Left");
    t.hide("Top");
    t.hide("Width");
    t.hide("Height");
    t.integer("BorderWidth", &TTabSheet::borderWidth, &TTabSheet::setBorderWidth, 0);
    caption(t);
    t.kept("DragMode", PropKind::Enum, 0, &types::dragMode());
    enabled(t);
    font(t);
    t.boolean("Highlighted", &TTabSheet::highlighted, &TTabSheet::setHighlighted, false);
    t.integer("ImageIndex", &TTabSheet::imageIndex, &TTabSheet::setImageIndex, 0);
    constraints(t);
    t.component<TPageControl>("PageControl", &TTabSheet::pageControl, &TTabSheet::setPageControl).notStored();
    t.integer("PageIndex", &TTabSheet::pageIndex, &TTabSheet::setPageIndex).notStored();
    parentFont(t);
    parentShowHint(t);
    popupMenu(t);
    showHint(t);
    t.boolean("TabVisible", &TTabSheet::tabVisible, &TTabSheet::setTabVisible, true);
    contextPopup(t);
    keptEvents(t, {"OnDragDrop", "OnDragOver", "OnEndDrag"});
    focusEvents(t);
    t.event("OnHide", EventKind::Notify, &TTabSheet::OnHide);
    mouseEvents(t);
    t.event("OnResize", EventKind::Notify, &TTabSheet::OnResize);
    t.event("OnShow", EventKind::Notify, &TTabSheet::OnShow);
    keptEvents(t, {"OnStartDrag"});
}

TTabSheet::TTabSheet(TComponent* owner) : TWinControl(owner)
{
    initVisible(false);
}

TPageControl* TTabSheet::pageControl() const
{
    return as<TPageControl>(parent());
}

void TTabSheet::setPageControl(TPageControl* pc)
{
    setParent(pc);
}

int TTabSheet::pageIndex() const
{
    TPageControl* pc = pageControl();
    if (!pc) return -1;
    auto it = std::find(pc->pages_.begin(), pc->pages_.end(), this);
    return static_cast<int>(it - pc->pages_.begin());
}

void TTabSheet::setPageIndex(int i)
{
    if (TPageControl* pc = pageControl()) pc->movePage(this, i);
}

void TTabSheet::setTabVisible(bool v)
{
    tabVisible_ = v;
    if (TPageControl* pc = pageControl()) pc->layoutPages();
}

TRect TTabSheet::alignRect() const
{
    TRect r = clientRect();
    return {r.left + borderWidth_, r.top + borderWidth_, r.right - borderWidth_, r.bottom - borderWidth_};
}

TK_DEFINE_CLASS(TPageControl, TWinControl)
{
    using namespace published;
    t.component<TTabSheet>("ActivePage", &TPageControl::activePage, &TPageControl::setActivePage);
    align(t);
    anchors(t);
    bidi(t);
    constraints(t);
    t.kept("DockSite", PropKind::Bool, 0);
    drag(t);
    enabled(t);
    font(t);
    t.boolean("HotTrack", &TPageControl::hotTrack, &TPageControl::setHotTrack, false);
    t.kept("Images", PropKind::Component);
    t.boolean("MultiLine", &TPageControl::multiLine, &TPageControl::setMultiLine, false);
    t.kept("OwnerDraw", PropKind::Bool, 0);
    parentBidi(t);
    parentFont(t);
    parentShowHint(t);
    popupMenu(t);
    t.kept("RaggedRight", PropKind::Bool, 0);
    t.kept("ScrollOpposite", PropKind::Bool, 0);
    showHint(t);
    t.enumeration("Style", types::tabStyle(), &TPageControl::style, &TPageControl::setStyle, TTabStyle::tsTabs);
    t.integer("TabHeight", &TPageControl::tabHeight, &TPageControl::setTabHeight, 0);
    tabOrder(t);
    t.enumeration("TabPosition", types::tabPosition(), &TPageControl::tabPosition, &TPageControl::setTabPosition,
                  TTabPosition::tpTop);
    tabStop(t);
    t.integer("TabWidth", &TPageControl::tabWidth, &TPageControl::setTabWidth, 0);
    visible(t);
    t.event("OnChange", EventKind::Notify, &TPageControl::OnChange);
    t.event("OnChanging", EventKind::Changing, &TPageControl::OnChanging);
    contextPopup(t);
    keptEvents(t, {"OnDockDrop", "OnDockOver", "OnDragDrop", "OnDragOver", "OnDrawTab", "OnEndDock", "OnEndDrag"});
    focusEvents(t);
    keptEvents(t, {"OnGetImageIndex", "OnGetSiteInfo"});
    mouseEvents(t);
    t.event("OnResize", EventKind::Notify, &TPageControl::OnResize);
    keptEvents(t, {"OnStartDock", "OnStartDrag", "OnUnDock"});
}

TPageControl::TPageControl(TComponent* owner) : TWinControl(owner)
{
    setTabStop(true);
    setBoundsRaw(0, 0, 289, 193);
}

void TPageControl::insertControl(TControl* c)
{
    TWinControl::insertControl(c);
    if (auto* sheet = as<TTabSheet>(c)) {
        pages_.push_back(sheet);
        if (!activePage_ && !loading() && !c->loading()) setActivePage(sheet);
        layoutPages();
    }
}

void TPageControl::removeControl(TControl* c)
{
    auto it = std::find(pages_.begin(), pages_.end(), c);
    if (it != pages_.end()) {
        pages_.erase(it);
        if (activePage_.get() == c) {
            activePage_.reset();
            if (!pages_.empty() && !destroying()) setActivePage(pages_.front());
        }
    }
    TWinControl::removeControl(c);
    layoutPages();
}

void TPageControl::movePage(TTabSheet* page, int index)
{
    auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end()) return;
    pages_.erase(it);
    index = std::clamp(index, 0, static_cast<int>(pages_.size()));
    pages_.insert(pages_.begin() + index, page);
    layoutPages();
}

void TPageControl::setActivePage(TTabSheet* page)
{
    if (page && page->pageControl() != this) throw EInvalidOperation("The page does not belong to this page control");
    if (loading()) {
        activePage_ = page;
        return;
    }
    TTabSheet* old = activePage_.get();
    activePage_ = page;
    if (old && old != page) {
        old->TControl::setVisible(false);
        old->fire(old->OnHide);
    }
    if (page && page != old) {
        page->TControl::setVisible(true);
        page->fire(page->OnShow);
    }
    for (TTabSheet* p : pages_)
        if (p != page && p->visible()) p->TControl::setVisible(false);
    layoutPages();
    invalidate();
}

int TPageControl::activePageIndex() const
{
    auto it = std::find(pages_.begin(), pages_.end(), activePage_.get());
    return it == pages_.end() ? -1 : static_cast<int>(it - pages_.begin());
}

void TPageControl::setActivePageIndex(int i)
{
    setActivePage(i >= 0 && i < pageCount() ? pages_[i] : nullptr);
}

bool TPageControl::selectPage(TTabSheet* page)
{
    if (page == activePage_.get()) return true;
    ComponentRef<TPageControl> self(this);
    EventCall changing;
    changing.flag = true;
    fire(OnChanging, changing);
    if (!self || !changing.flag) return false;
    setActivePage(page);
    fire(OnChange);
    return true;
}

bool TPageControl::stepPage(int step, bool round)
{
    std::vector<TTabSheet*> visible;
    for (const Tab& t : tabs()) visible.push_back(t.page);
    if (visible.empty()) return false;
    auto it = std::find(visible.begin(), visible.end(), activePage_.get());
    int i = it == visible.end() ? 0 : static_cast<int>(it - visible.begin());
    int n = static_cast<int>(visible.size());
    TTabSheet* next = visible[round ? (i + step + n) % n : std::clamp(i + step, 0, n - 1)];
    return next != activePage_.get() && selectPage(next);
}

bool TPageControl::turnPage(bool forward)
{
    return stepPage(forward ? 1 : -1, true);
}

void TPageControl::loaded()
{
    TWinControl::loaded();
    TTabSheet* page = activePage_.get();
    activePage_.reset();
    setActivePage(page ? page : (pages_.empty() ? nullptr : pages_.front()));
}

int TPageControl::tabRowHeight() const
{
    if (tabHeight_ > 0) return tabHeight_;
    return textHeight() + (style_ == TTabStyle::tsTabs ? 6 : 9);
}

std::vector<TPageControl::Tab> TPageControl::tabs() const
{
    std::vector<Tab> out;
    int x = 2, row = 0, rowH = tabRowHeight();
    int gap = style_ == TTabStyle::tsTabs ? 0 : 3;
    int maxX = width() - 2;
    for (TTabSheet* p : pages_) {
        if (!p->tabVisible()) continue;
        int w = tabWidth_ > 0 ? tabWidth_ : textWidth(p->caption()) + 12;
        if (multiLine_ && x > 2 && x + w > maxX) {
            x = 2;
            ++row;
        }
        out.push_back({p, {x, 2 + row * (rowH + gap), x + w, 2 + row * (rowH + gap) + rowH}});
        x += w + gap;
    }
    return out;
}

TRect TPageControl::displayRect() const
{
    auto ts = tabs();
    int tabsBottom = ts.empty() ? 0 : ts.back().rect.bottom;
    // Pages stand 4 pixels inside the control's edges, below the tabs.
    int top = tabsBottom + (style_ == TTabStyle::tsTabs ? 4 : 3);
    return {4, top, std::max(4, width() - 4), std::max(top, height() - 4)};
}

void TPageControl::layoutPages()
{
    if (loading()) return;
    TRect r = displayRect();
    for (TTabSheet* p : pages_) p->setBounds(r.left, r.top, r.width(), r.height());
    invalidate();
}

void TPageControl::realign()
{
    TWinControl::realign();
    layoutPages();
}

bool TPageControl::handle(InputEvent& e)
{
    switch (e.type) {
    case InputType::MouseDown:
        if (e.button != TMouseButton::mbLeft) break;
        for (const Tab& t : tabs())
            if (t.rect.contains({e.x, e.y})) {
                if (t.page->enabled()) selectPage(t.page);
                return true;
            }
        return true;
    case InputType::KeyDown: {
        bool ctrlTab = e.key == vk::Tab && (e.shift & ssCtrl);
        bool arrow = e.key == vk::Left || e.key == vk::Right;
        if (!ctrlTab && !arrow) return false;
        if (ctrlTab) {
            turnPage(!(e.shift & ssShift));
            return true;
        }
        stepPage(e.key == vk::Left ? -1 : 1, false);
        return true;
    }
    default: break;
    }
    return TWinControl::handle(e);
}

}  // namespace tk
