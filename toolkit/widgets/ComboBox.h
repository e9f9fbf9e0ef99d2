// TComboBox: an edit box (csDropDown) or a plain choice (csDropDownList)
// with a drop-down list. Finding an item is an exact, case-insensitive
// match giving the first hit; clearing the items keeps the shown text; a
// user's choice raises OnClick and then OnChange, changes from code raise
// nothing.
#pragma once

#include "toolkit/widgets/Edit.h"
#include "toolkit/windows/Popup.h"

#include <string>
#include <vector>

namespace tk {

class TComboBox : public TCustomEdit {
    TK_CLASS(TComboBox)
public:
    explicit TComboBox(TComponent* owner);
    ~TComboBox() override;

    TComboBoxStyle style() const { return style_; }
    void setStyle(TComboBoxStyle v);
    bool isList() const { return style_ == TComboBoxStyle::csDropDownList; }

    const std::vector<std::string>& items() const { return items_; }
    void addItem(const std::string& s);
    void setItems(std::vector<std::string> items);
    void clearItems();
    int indexOf(const std::string& s) const;
    int itemIndex() const { return itemIndex_; }
    // From code: shows the item (none clears the text); raises no event.
    void setItemIndex(int i);
    void setText(const std::string& v) override;

    int dropDownCount() const { return dropDownCount_; }
    void setDropDownCount(int v) { dropDownCount_ = v < 1 ? 1 : v; }
    bool droppedDown() const;
    void setDroppedDown(bool v);
    int itemHeight() const { return textHeight(); }
    int highlighted() const { return highlighted_; }
    static constexpr int buttonWidth = 17;
    // The drop-down list's rectangle on the screen.
    TRect listRect() const;

    // The user chooses an item: OnClick, then OnChange.
    void choose(int index);

    bool handle(InputEvent& e) override;
    bool wantsKey(uint16_t key, TShiftState shift) const override;

    Handler OnDropDown, OnCloseUp;

protected:
    void textChanged() override;

private:
    class DropList : public TPopup {
    public:
        explicit DropList(TComboBox& combo) : combo_(combo) {}
        TRect screenRect() const override { return combo_.listRect(); }
        void popupMouseMove(TPoint screen) override;
        void popupMouseUp(TMouseButton, TPoint screen) override;
        bool popupKeyDown(uint16_t key, TShiftState shift) override;
        bool popupKeyPress(char32_t) override { return true; }
        void popupClosed() override;
        TControl* popupOwner() const override { return &combo_; }

    private:
        TComboBox& combo_;
    };
    int itemAtScreen(TPoint screen) const;

    TComboBoxStyle style_ = TComboBoxStyle::csDropDown;
    std::vector<std::string> items_;
    int itemIndex_ = -1;
    int dropDownCount_ = 8;
    int highlighted_ = -1;
    int topIndex_ = 0;
    bool quietText_ = false;  // text set by the combo itself raises no OnChange
    DropList list_{*this};
};

}  // namespace tk
