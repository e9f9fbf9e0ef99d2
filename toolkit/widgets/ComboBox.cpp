// Combo boxes.
#include "toolkit/widgets/ComboBox.h"

#include "toolkit/text/Text.h"
#include "toolkit/widgets/StdProps.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Menus.h"

#include <algorithm>

namespace tk {

TK_DEFINE_CLASS(TComboBox, TCustomEdit)
{
    using namespace published;
    t.enumeration("Style", types::comboBoxStyle(), &TComboBox::style, &TComboBox::setStyle, TComboBoxStyle::csDropDown);
    anchors(t);
    color(t, clWindow);
    constraints(t);
    t.integer("DropDownCount", &TComboBox::dropDownCount, &TComboBox::setDropDownCount, 8);
    enabled(t);
    font(t);
    t.integer("ItemIndex", &TComboBox::itemIndex, &TComboBox::setItemIndex, -1);
    t.integer("MaxLength", &TComboBox::maxLength, &TComboBox::setMaxLength, 0);
    parentColor(t, false);
    parentFont(t);
    parentShowHint(t);
    popupMenu(t);
    showHint(t);
    tabOrder(t);
    tabStop(t);
    text(t);
    visible(t);
    t.event("OnChange", EventKind::Notify, &TComboBox::OnChange);
    click(t);
    t.event("OnCloseUp", EventKind::Notify, &TComboBox::OnCloseUp);
    contextPopup(t);
    dblClick(t);
    t.event("OnDropDown", EventKind::Notify, &TComboBox::OnDropDown);
    focusEvents(t);
    keyEvents(t);
    mouseEvents(t);
}

TComboBox::TComboBox(TComponent* owner) : TCustomEdit(owner)
{
    setBoundsRaw(0, 0, 145, 21);
}

TComboBox::~TComboBox()
{
    if (list_.isOpen()) Application->closePopup();
}

void TComboBox::setStyle(TComboBoxStyle v)
{
    style_ = v;
    if (isList()) setItemIndex(indexOf(text()));
    invalidate();
}

void TComboBox::addItem(const std::string& s)
{
    items_.push_back(s);
    invalidate();
}

void TComboBox::setItems(std::vector<std::string> items)
{
    items_ = std::move(items);
    itemIndex_ = -1;
    invalidate();
}

void TComboBox::clearItems()
{
    items_.clear();
    itemIndex_ = -1;
    highlighted_ = -1;
    topIndex_ = 0;
    invalidate();
}

int TComboBox::indexOf(const std::string& s) const
{
    for (size_t i = 0; i < items_.size(); ++i)
        if (sameText(items_[i], s)) return static_cast<int>(i);
    return -1;
}

void TComboBox::setItemIndex(int i)
{
    if (i < -1 || i >= static_cast<int>(items_.size())) i = -1;
    itemIndex_ = i;
    quietText_ = true;
    TCustomEdit::setText(i >= 0 ? items_[i] : std::string());
    quietText_ = false;
    invalidate();
}

void TComboBox::setText(const std::string& v)
{
    if (isList()) {
        setItemIndex(indexOf(v));
        return;
    }
    itemIndex_ = -1;
    quietText_ = true;
    TCustomEdit::setText(v);
    quietText_ = false;
}

void TComboBox::textChanged()
{
    // Only the user's typing raises OnChange; choosing raises it itself.
    if (!quietText_) TCustomEdit::textChanged();
}

void TComboBox::choose(int index)
{
    if (index < 0 || index >= static_cast<int>(items_.size())) return;
    ComponentRef<TComboBox> self(this);
    setItemIndex(index);
    buffer_.selectAll();
    fire(OnClick);
    if (self) fire(OnChange);
}

bool TComboBox::droppedDown() const
{
    return list_.isOpen();
}

void TComboBox::setDroppedDown(bool v)
{
    if (!Application || v == droppedDown()) return;
    if (v) {
        ComponentRef<TComboBox> self(this);
        fire(OnDropDown);
        if (!self) return;
        highlighted_ = itemIndex_;
        topIndex_ = std::max(0, std::min(itemIndex_, static_cast<int>(items_.size()) - dropDownCount_));
        Application->openPopup(&list_);
    } else {
        Application->closePopup();
    }
}

TRect TComboBox::listRect() const
{
    TPoint o = clientToScreen({0, height()});
    int rows = std::clamp(static_cast<int>(items_.size()), 1, dropDownCount_);
    return {o.x, o.y, o.x + width(), o.y + rows * itemHeight() + 2};
}

int TComboBox::itemAtScreen(TPoint screen) const
{
    TRect r = listRect();
    if (!r.contains(screen)) return -1;
    int i = topIndex_ + (screen.y - r.top - 1) / std::max(1, itemHeight());
    return i >= 0 && i < static_cast<int>(items_.size()) ? i : -1;
}

void TComboBox::DropList::popupMouseMove(TPoint screen)
{
    int i = combo_.itemAtScreen(screen);
    if (i >= 0) combo_.highlighted_ = i;
}

void TComboBox::DropList::popupMouseUp(TMouseButton, TPoint screen)
{
    int i = combo_.itemAtScreen(screen);
    ComponentRef<TComboBox> self(&combo_);
    Application->closePopup();
    if (self && i >= 0) combo_.choose(i);
}

bool TComboBox::DropList::popupKeyDown(uint16_t key, TShiftState shift)
{
    int n = static_cast<int>(combo_.items_.size());
    switch (key) {
    case vk::Down:
        if (shift & ssAlt) break;
        if (n) combo_.highlighted_ = std::min(n - 1, combo_.highlighted_ + 1);
        return true;
    case vk::Up:
        if (shift & ssAlt) break;
        if (n) combo_.highlighted_ = std::max(0, combo_.highlighted_ - 1);
        return true;
    case vk::Return: {
        int i = combo_.highlighted_;
        ComponentRef<TComboBox> self(&combo_);
        Application->closePopup();
        if (self && i >= 0 && i != combo_.itemIndex_) combo_.choose(i);
        return true;
    }
    case vk::Escape: Application->closePopup(); return true;
    default: break;
    }
    if (key == vk::F4 || ((shift & ssAlt) && (key == vk::Down || key == vk::Up))) {
        Application->closePopup();
        return true;
    }
    return true;
}

void TComboBox::DropList::popupClosed()
{
    combo_.fire(combo_.OnCloseUp);
}

bool TComboBox::wantsKey(uint16_t key, TShiftState shift) const
{
    return TCustomEdit::wantsKey(key, shift);
}

bool TComboBox::handle(InputEvent& e)
{
    switch (e.type) {
    case InputType::MouseDown:
        if (e.button == TMouseButton::mbLeft && (isList() || e.x >= width() - buttonWidth)) {
            setDroppedDown(!droppedDown());
            return true;
        }
        break;
    case InputType::KeyDown:
        if (e.key == vk::F4 || ((e.shift & ssAlt) && (e.key == vk::Down || e.key == vk::Up))) {
            setDroppedDown(true);
            return true;
        }
        if (e.key == vk::Down || e.key == vk::Up) {
            int n = static_cast<int>(items_.size());
            if (!n) return true;
            int i = itemIndex_ < 0 ? (e.key == vk::Down ? 0 : n - 1)
                                   : std::clamp(itemIndex_ + (e.key == vk::Down ? 1 : -1), 0, n - 1);
            if (i != itemIndex_) choose(i);
            return true;
        }
        if (isList()) return false;
        break;
    case InputType::KeyPress:
        if (isList()) {
            // Typing in a choice list picks the first item starting with the character.
            if (e.ch < 32) return false;
            for (size_t i = 0; i < items_.size(); ++i)
                if (startsWithText(items_[i], toUtf8(e.ch))) {
                    if (static_cast<int>(i) != itemIndex_) choose(static_cast<int>(i));
                    break;
                }
            return true;
        }
        itemIndex_ = -1;
        break;
    default: break;
    }
    return TCustomEdit::handle(e);
}

}  // namespace tk
