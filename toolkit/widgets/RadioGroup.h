// TRadioGroup: a framed group of exclusive choices. Selecting an item, also
// from code, raises OnClick; an index above the last selects the last, one
// below -1 selects nothing. Single items can be disabled.
#pragma once

#include "toolkit/widgets/WinControl.h"

#include <string>
#include <vector>

namespace tk {

class TRadioGroup : public TWinControl {
    TK_CLASS(TRadioGroup)
public:
    explicit TRadioGroup(TComponent* owner);

    const std::vector<std::string>& items() const { return items_; }
    void setItems(std::vector<std::string> items);
    int itemIndex() const { return itemIndex_; }
    void setItemIndex(int i);
    bool itemEnabled(int i) const;
    void setItemEnabled(int i, bool v);
    int columns() const { return columns_; }
    void setColumns(int v)
    {
        columns_ = v < 1 ? 1 : v;
        invalidate();
    }

    // Rectangle of item `i` (its button and caption) in client coordinates.
    TRect itemRect(int i) const;
    int itemAt(TPoint client) const;

    bool handle(InputEvent& e) override;
    bool wantsKey(uint16_t key, TShiftState shift) const override;
    bool focusOnClick() const override { return true; }

private:
    std::vector<std::string> items_;
    std::vector<bool> enabled_;
    int itemIndex_ = -1;
    int columns_ = 1;
};

}  // namespace tk
