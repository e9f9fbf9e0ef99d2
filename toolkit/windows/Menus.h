// Context menus: TPopupMenu with its TMenuItem tree. An open menu is the
// application's popup; choosing an item raises the item's OnClick.
#pragma once

#include "toolkit/widgets/Bitmap.h"
#include "toolkit/widgets/Control.h"
#include "toolkit/widgets/StdProps.h"
#include "toolkit/windows/Popup.h"

#include <vector>

namespace tk {

class TMenuItem : public TComponent {
    TK_CLASS(TMenuItem)
public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& v) { caption_ = v; }
    bool checked() const { return checked_; }
    void setChecked(bool v) { checked_ = v; }
    bool enabled() const { return enabled_; }
    void setEnabled(bool v) { enabled_ = v; }
    bool visible() const { return visible_; }
    void setVisible(bool v) { visible_ = v; }
    TBitmap* bitmap() const { return bitmap_.get(); }
    int shortCut() const { return shortCut_; }
    void setShortCut(int v) { shortCut_ = v; }

    // Sub-items; an item destroys its sub-items with itself.
    const std::vector<TMenuItem*>& items() const { return items_; }
    int count() const { return static_cast<int>(items_.size()); }
    TMenuItem* item(int i) const { return items_.at(i); }
    void add(TMenuItem* item);
    void remove(TMenuItem* item);
    TMenuItem* parentItem() const { return parentItem_; }
    // The enabled item among these and theirs whose shortcut is `key`.
    TMenuItem* findShortCut(int key) const;

    void click();

    Handler OnClick;

private:
    std::string caption_;
    bool checked_ = false;
    bool enabled_ = true;
    bool visible_ = true;
    int shortCut_ = 0;
    std::vector<TMenuItem*> items_;
    TMenuItem* parentItem_ = nullptr;
    std::unique_ptr<TBitmap> bitmap_ = std::make_unique<TBitmap>();
};

// A shortcut as a menu shows it beside the caption ("F8"); empty for none.
std::string shortCutText(int key);

class TPopupMenu : public TComponent, public TPopup {
    TK_CLASS(TPopupMenu)
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    // The root item whose sub-items the menu shows.
    TMenuItem* items() const { return items_; }
    bool autoPopup() const { return autoPopup_; }
    void setAutoPopup(bool v) { autoPopup_ = v; }
    // The control on which the menu was last opened.
    TComponent* popupComponent() const { return popupComponent_.get(); }
    void setPopupComponent(TComponent* c) { popupComponent_ = c; }
    TComponent* popupAsComponent() override { return this; }

    // Opens the menu at a screen point (OnPopup first).
    void popup(int x, int y);
    // Opens it for a control, as the right mouse button does.
    void popupAt(TComponent* control, TPoint screen);

    // Geometry of the open menu, for drawing and hit testing.
    static constexpr int itemHeight = 19;
    TPoint position() const { return position_; }
    int menuWidth() const;
    std::vector<TMenuItem*> visibleItems() const;
    int highlighted() const { return highlighted_; }

    Handler OnPopup;

    TRect screenRect() const override;
    void popupMouseMove(TPoint screen) override;
    void popupMouseUp(TMouseButton button, TPoint screen) override;
    bool popupKeyDown(uint16_t key, TShiftState shift) override;
    void popupClosed() override;
    // Adds an item for the next opening only: when the menu closes the item
    // is taken out and destroyed once the current input is handled, so a
    // chosen item is clicked first. Such an item is owned by no one.
    void addForThisOpening(TMenuItem* item);
    // Takes out and destroys the items added for an opening that never came.
    void dropItemsOfThisOpening();

    // The item whose items the open menu shows (the root item when none
    // was opened into).
    TMenuItem* shownItem() const { return shown_ ? shown_.get() : items_; }

private:
    int itemAt(TPoint screen) const;
    void choose(int index);
    // Shows the items of the next (1) or previous (-1) item with items
    // beside the one shown.
    void stepToNeighbourMenu(int by);

    TMenuItem* items_;
    ComponentRef<TMenuItem> shown_;  // whose items the open menu shows
    bool autoPopup_ = true;
    ComponentRef<TComponent> popupComponent_;
    TPoint position_;
    int highlighted_ = -1;
    std::vector<ComponentRef<TMenuItem>> forThisOpening_;
};

namespace published {
template <class C>
void popupMenu(PropertyTable<C>& t)
{
    t.template component<TPopupMenu>("PopupMenu", &C::popupMenu, &C::setPopupMenu);
}
}  // namespace published

}  // namespace tk
