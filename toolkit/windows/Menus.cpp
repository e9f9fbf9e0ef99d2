// Context menus and their items.
#include "toolkit/windows/Menus.h"

#include "toolkit/widgets/Font.h"
#include "toolkit/windows/Application.h"

#include <algorithm>

namespace tk {

TK_DEFINE_CLASS(TMenuItem, TComponent)
{
    t.kept("Action", PropKind::Component);
    t.kept("AutoCheck", PropKind::Bool, 0);
    t.kept("AutoHotkeys", PropKind::Enum, 2, &types::menuAutoFlag());
    t.kept("AutoLineReduction", PropKind::Enum, 2, &types::menuAutoFlag());
    t.object<TBitmap>("Bitmap", &TMenuItem::bitmap);
    t.kept("Break", PropKind::Enum, 0, &types::menuBreak());
    t.string("Caption", &TMenuItem::caption, &TMenuItem::setCaption);
    t.boolean("Checked", &TMenuItem::checked, &TMenuItem::setChecked, false);
    t.kept("SubMenuImages", PropKind::Component);
    t.kept("Default", PropKind::Bool, 0);
    t.boolean("Enabled", &TMenuItem::enabled, &TMenuItem::setEnabled, true);
    t.kept("GroupIndex", PropKind::Integer, 0);
    t.kept("HelpContext", PropKind::Integer, 0);
    t.kept("Hint", PropKind::String);
    t.kept("ImageIndex", PropKind::Integer, -1);
    t.kept("RadioItem", PropKind::Bool, 0);
    t.integer("ShortCut", &TMenuItem::shortCut, &TMenuItem::setShortCut, 0);
    t.boolean("Visible", &TMenuItem::visible, &TMenuItem::setVisible, true);
    t.event("OnClick", EventKind::Notify, &TMenuItem::OnClick);
    t.keptEvent("OnDrawItem", EventKind::Other);
    t.keptEvent("OnAdvancedDrawItem", EventKind::Other);
    t.keptEvent("OnMeasureItem", EventKind::Other);
}

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem()
{
    while (!items_.empty()) items_.back()->free();
    if (parentItem_) parentItem_->remove(this);
}

void TMenuItem::add(TMenuItem* item)
{
    if (!item || item->parentItem_ == this) return;
    if (item->parentItem_) item->parentItem_->remove(item);
    items_.push_back(item);
    item->parentItem_ = this;
}

void TMenuItem::remove(TMenuItem* item)
{
    items_.erase(std::remove(items_.begin(), items_.end(), item), items_.end());
    if (item->parentItem_ == this) item->parentItem_ = nullptr;
}

std::string shortCutText(int key)
{
    if (key >= vk::F1 && key < vk::F1 + 12) return "F" + std::to_string(key - vk::F1 + 1);
    if (key == vk::Next) return "PgDn";
    if (key == vk::Prior) return "PgUp";
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
    return std::string();
}

TMenuItem* TMenuItem::findShortCut(int key) const
{
    for (TMenuItem* item : items_) {
        if (!item->visible() || !item->enabled()) continue;
        if (item->shortCut() == key && key) return item;
        if (TMenuItem* found = item->findShortCut(key)) return found;
    }
    return nullptr;
}

void TMenuItem::click()
{
    if (!enabled_) return;
    EventCall call;
    call.sender = this;
    OnClick(call);
}

TK_DEFINE_CLASS(TPopupMenu, TComponent)
{
    t.kept("Alignment", PropKind::Enum, 0, &types::popupAlignment());
    t.kept("AutoHotkeys", PropKind::Enum, 0, &types::menuAutoFlag());
    t.kept("AutoLineReduction", PropKind::Enum, 0, &types::menuAutoFlag());
    t.boolean("AutoPopup", &TPopupMenu::autoPopup, &TPopupMenu::setAutoPopup, true);
    published::bidi(t);
    t.kept("HelpContext", PropKind::Integer, 0);
    t.kept("Images", PropKind::Component);
    t.kept("MenuAnimation", PropKind::Set, 0, &types::menuAnimation());
    t.kept("OwnerDraw", PropKind::Bool, 0);
    published::parentBidi(t);
    t.kept("TrackButton", PropKind::Enum, 0, &types::trackButton());
    t.keptEvent("OnChange", EventKind::Other);
    t.event("OnPopup", EventKind::Notify, &TPopupMenu::OnPopup);
}

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) {}

TPopupMenu::~TPopupMenu()
{
    if (isOpen()) Application->closePopup();
    items_->free();
}

void TPopupMenu::popup(int x, int y)
{
    EventCall call;
    call.sender = this;
    OnPopup(call);
    position_ = {x, y};
    highlighted_ = -1;
    shown_ = items_;
    if (Application) Application->openPopup(this);
}

void TPopupMenu::popupAt(TComponent* control, TPoint screen)
{
    if (!autoPopup_) return;
    popupComponent_ = control;
    popup(screen.x, screen.y);
}

std::vector<TMenuItem*> TPopupMenu::visibleItems() const
{
    std::vector<TMenuItem*> out;
    for (TMenuItem* i : (shown_ ? shown_.get() : items_)->items())
        if (i->visible()) out.push_back(i);
    return out;
}

int TPopupMenu::menuWidth() const
{
    int w = 60;
    if (Application) {
        TFont font;
        for (TMenuItem* i : visibleItems()) {
            std::string key = shortCutText(i->shortCut());
            int keyWidth = key.empty() ? 0 : Application->platform().textWidth(font, key) + 24;
            w = std::max(w, Application->platform().textWidth(font, i->caption()) + 40 + keyWidth);
        }
    }
    return w;
}

TRect TPopupMenu::screenRect() const
{
    int h = static_cast<int>(visibleItems().size()) * itemHeight + 4;
    return {position_.x, position_.y, position_.x + menuWidth(), position_.y + h};
}

int TPopupMenu::itemAt(TPoint screen) const
{
    if (!screenRect().contains(screen)) return -1;
    int i = (screen.y - position_.y - 2) / itemHeight;
    return i >= 0 && i < static_cast<int>(visibleItems().size()) ? i : -1;
}

void TPopupMenu::popupMouseMove(TPoint screen)
{
    highlighted_ = itemAt(screen);
}

void TPopupMenu::popupMouseUp(TMouseButton, TPoint screen)
{
    choose(itemAt(screen));
}

void TPopupMenu::popupClosed()
{
    highlighted_ = -1;
    shown_ = items_;
    dropItemsOfThisOpening();
}

void TPopupMenu::addForThisOpening(TMenuItem* item)
{
    items_->add(item);
    forThisOpening_.emplace_back(item);
}

void TPopupMenu::dropItemsOfThisOpening()
{
    for (ComponentRef<TMenuItem>& item : forThisOpening_)
        if (item) {
            items_->remove(item.get());
            if (Application) Application->releaseLater(item.get());
            else item->free();
        }
    forThisOpening_.clear();
}

void TPopupMenu::choose(int index)
{
    auto items = visibleItems();
    if (index < 0 || index >= static_cast<int>(items.size()) || !items[index]->enabled()) return;
    // An item with items of its own opens them in its place.
    if (items[index]->count() > 0) {
        shown_ = items[index];
        highlighted_ = 0;
        return;
    }
    ComponentRef<TMenuItem> item(items[index]);
    Application->closePopup();
    if (item) item->click();
}

bool TPopupMenu::popupKeyDown(uint16_t key, TShiftState)
{
    int n = static_cast<int>(visibleItems().size());
    switch (key) {
    case vk::Escape: Application->closePopup(); return true;
    case vk::Down: highlighted_ = n ? (highlighted_ + 1) % n : -1; return true;
    case vk::Up: highlighted_ = n ? (highlighted_ <= 0 ? n - 1 : highlighted_ - 1) : -1; return true;
    case vk::Return: choose(highlighted_); return true;
    case vk::Right: {
        // Into the highlighted item's items; from an item without any, on
        // to the next menu beside the one shown, as along a menu bar.
        auto items = visibleItems();
        if (highlighted_ >= 0 && highlighted_ < n && items[highlighted_]->count() > 0) choose(highlighted_);
        else stepToNeighbourMenu(1);
        return true;
    }
    case vk::Left: {
        // Back out to the menu that holds the one shown, its item highlighted.
        TMenuItem* parent = shown_ ? shown_->parentItem() : nullptr;
        if (!parent) return true;
        TMenuItem* was = shown_.get();
        shown_ = parent;
        auto items = visibleItems();
        auto it = std::find(items.begin(), items.end(), was);
        highlighted_ = it == items.end() ? 0 : static_cast<int>(it - items.begin());
        return true;
    }
    default: return true;
    }
}

void TPopupMenu::stepToNeighbourMenu(int by)
{
    TMenuItem* parent = shown_ ? shown_->parentItem() : nullptr;
    if (!parent || shown_.get() == items_) return;
    std::vector<TMenuItem*> menus;
    for (TMenuItem* i : parent->items())
        if (i->visible() && i->enabled() && i->count() > 0) menus.push_back(i);
    auto it = std::find(menus.begin(), menus.end(), shown_.get());
    if (it == menus.end() || menus.size() < 2) return;
    int at = static_cast<int>(it - menus.begin()) + by;
    int count = static_cast<int>(menus.size());
    shown_ = menus[static_cast<size_t>((at % count + count) % count)];
    highlighted_ = 0;
}

}  // namespace tk
