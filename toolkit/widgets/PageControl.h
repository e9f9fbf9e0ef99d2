// TPageControl with its TTabSheet pages: one page shows at a time; a click
// on a tab (or Ctrl+Tab) changes the page with OnChanging and OnChange.
#pragma once

#include "toolkit/widgets/WinControl.h"

#include <vector>

namespace tk {

class TPageControl;

class TTabSheet : public TWinControl {
    TK_CLASS(TTabSheet)
public:
    explicit TTabSheet(TComponent* owner);

    TPageControl* pageControl() const;
    void setPageControl(TPageControl* pc);
    int pageIndex() const;
    void setPageIndex(int i);
    bool tabVisible() const { return tabVisible_; }
    void setTabVisible(bool v);
    int imageIndex() const { return imageIndex_; }
    void setImageIndex(int v) { imageIndex_ = v; }
    bool highlighted() const { return highlighted_; }
    void setHighlighted(bool v)
    {
        highlighted_ = v;
        invalidate();
    }
    int borderWidth() const { return borderWidth_; }
    void setBorderWidth(int v)
    {
        borderWidth_ = v < 0 ? 0 : v;
        realign();
    }
    TRect alignRect() const override;

    Handler OnShow, OnHide;

private:
    bool tabVisible_ = true;
    int imageIndex_ = 0;
    bool highlighted_ = false;
    int borderWidth_ = 0;
};

class TPageControl : public TWinControl {
    TK_CLASS(TPageControl)
public:
    explicit TPageControl(TComponent* owner);

    const std::vector<TTabSheet*>& pages() const { return pages_; }
    int pageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* page(int i) const { return pages_.at(i); }
    TTabSheet* activePage() const { return activePage_.get(); }
    // From code: shows the page without OnChanging and OnChange.
    void setActivePage(TTabSheet* page);
    int activePageIndex() const;
    void setActivePageIndex(int i);
    // The user changes the page: OnChanging may refuse, then OnChange.
    bool selectPage(TTabSheet* page);
    // The next (or previous) page whose tab shows, round, as Ctrl+Tab
    // (Ctrl+Shift+Tab) turns it; false when the page stays.
    bool turnPage(bool forward);

    TTabStyle style() const { return style_; }
    void setStyle(TTabStyle v)
    {
        style_ = v;
        layoutPages();
    }
    bool multiLine() const { return multiLine_; }
    void setMultiLine(bool v)
    {
        multiLine_ = v;
        layoutPages();
    }
    bool hotTrack() const { return hotTrack_; }
    void setHotTrack(bool v) { hotTrack_ = v; }
    int tabHeight() const { return tabHeight_; }
    void setTabHeight(int v)
    {
        tabHeight_ = v < 0 ? 0 : v;
        layoutPages();
    }
    int tabWidth() const { return tabWidth_; }
    void setTabWidth(int v)
    {
        tabWidth_ = v < 0 ? 0 : v;
        layoutPages();
    }
    TTabPosition tabPosition() const { return tabPosition_; }
    void setTabPosition(TTabPosition v)
    {
        tabPosition_ = v;
        layoutPages();
    }

    // Tabs (client coordinates) of the pages whose tab is visible.
    struct Tab {
        TTabSheet* page;
        TRect rect;
    };
    std::vector<Tab> tabs() const;
    // Where the active page stands.
    TRect displayRect() const;

    bool handle(InputEvent& e) override;
    bool focusOnClick() const override { return true; }
    void realign() override;

    Handler OnChange, OnChanging;

protected:
    friend class TTabSheet;
    void insertControl(TControl* c) override;
    void removeControl(TControl* c) override;
    void loaded() override;
    void layoutPages();
    void movePage(TTabSheet* page, int index);
    // The page `step` tabs on from the active one, among the tabs shown:
    // round past the ends, or stopping at them.
    bool stepPage(int step, bool round);

private:
    int tabRowHeight() const;
    std::vector<TTabSheet*> pages_;
    ComponentRef<TTabSheet> activePage_;
    TTabStyle style_ = TTabStyle::tsTabs;
    bool multiLine_ = false;
    bool hotTrack_ = false;
    int tabHeight_ = 0, tabWidth_ = 0;
    TTabPosition tabPosition_ = TTabPosition::tpTop;
};

}  // namespace tk
