// Radio groups.
#include "toolkit/widgets/RadioGroup.h"

#include "toolkit/widgets/StdProps.h"
#include "toolkit/windows/Menus.h"

#include <algorithm>

namespace tk {

TK_DEFINE_CLASS(TRadioGroup, TWinControl)
{
    using namespace published;
    align(t);
    anchors(t);
    caption(t);
    color(t);
    t.integer("Columns", &TRadioGroup::columns, &TRadioGroup::setColumns, 1);
    constraints(t);
    enabled(t);
    font(t);
    t.integer("ItemIndex", &TRadioGroup::itemIndex, &TRadioGroup::setItemIndex, -1);
    parentColor(t, true);
    parentFont(t);
    parentShowHint(t);
    popupMenu(t);
    showHint(t);
    tabOrder(t);
    tabStop(t);
    visible(t);
    click(t);
    contextPopup(t);
    focusEvents(t);
}

TRadioGroup::TRadioGroup(TComponent* owner) : TWinControl(owner)
{
    setTabStop(true);
    setBoundsRaw(0, 0, 185, 105);
}

void TRadioGroup::setItems(std::vector<std::string> items)
{
    items_ = std::move(items);
    enabled_.assign(items_.size(), true);
    if (itemIndex_ >= static_cast<int>(items_.size())) itemIndex_ = -1;
    invalidate();
}

void TRadioGroup::setItemIndex(int i)
{
    int n = static_cast<int>(items_.size());
    if (i < -1) i = -1;
    if (i >= n) i = n - 1;
    if (i == itemIndex_) return;
    itemIndex_ = i;
    invalidate();
    if (i >= 0 && !loading()) click();
}

bool TRadioGroup::itemEnabled(int i) const
{
    return i >= 0 && i < static_cast<int>(enabled_.size()) && enabled_[i];
}

void TRadioGroup::setItemEnabled(int i, bool v)
{
    if (i < 0 || i >= static_cast<int>(enabled_.size())) return;
    enabled_[i] = v;
    invalidate();
}

TRect TRadioGroup::itemRect(int i) const
{
    int n = static_cast<int>(items_.size());
    if (i < 0 || i >= n) return {};
    int rows = (n + columns_ - 1) / columns_;
    int top = textHeight() + 2;  // below the frame's caption
    int areaH = std::max(0, height() - top - 4);
    int rowH = rows ? areaH / rows : 0;
    int colW = (width() - 8) / columns_;
    int col = i / rows, row = i % rows;
    return {8 + col * colW, top + row * rowH, 8 + (col + 1) * colW, top + (row + 1) * rowH};
}

int TRadioGroup::itemAt(TPoint client) const
{
    for (int i = 0; i < static_cast<int>(items_.size()); ++i)
        if (itemRect(i).contains(client)) return i;
    return -1;
}

bool TRadioGroup::wantsKey(uint16_t key, TShiftState shift) const
{
    return TWinControl::wantsKey(key, shift);
}

bool TRadioGroup::handle(InputEvent& e)
{
    switch (e.type) {
    case InputType::MouseUp: {
        if (e.button != TMouseButton::mbLeft) return true;
        int i = itemAt({e.x, e.y});
        if (i >= 0 && itemEnabled(i)) setItemIndex(i);
        return true;
    }
    case InputType::KeyDown: {
        int step = (e.key == vk::Down || e.key == vk::Right) ? 1 : (e.key == vk::Up || e.key == vk::Left) ? -1 : 0;
        if (!step) return false;
        int n = static_cast<int>(items_.size());
        for (int i = itemIndex_ + step; i >= 0 && i < n; i += step)
            if (itemEnabled(i)) {
                setItemIndex(i);
                break;
            }
        return true;
    }
    default: return TWinControl::handle(e);
    }
}

}  // namespace tk
