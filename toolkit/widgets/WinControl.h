// TWinControl: a control with a window of its own. It holds child controls
// in stacking order, a tab order among its windowed children, takes the
// input focus, sees keys, and lays out aligned and anchored children.
#pragma once

#include "toolkit/core/OnDemand.h"
#include "toolkit/widgets/Control.h"

#include <vector>

namespace tk {

class TWinControl : public TControl {
    TK_CLASS(TWinControl)
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;
    bool isWindowed() const override { return true; }

    // Child controls in stacking order (back to front).
    const std::vector<TControl*>& controls() const { return children_.get().controls; }
    int controlCount() const { return static_cast<int>(controls().size()); }
    TControl* control(int i) const { return controls().at(i); }
    // Children in the order a design lists them: controls without a window
    // first, then windowed ones, each group in stacking order.
    std::vector<TControl*> childrenInWritingOrder() const;

    // Position in the parent's tab sequence, or -1 without a parent. Writing
    // accepts -1 to 32767 and clamps to the first and last position.
    int tabOrder() const;
    void setTabOrder(int order);
    // Windowed children in tab order.
    const std::vector<TWinControl*>& tabList() const { return children_.get().tabList; }
    bool tabStop() const { return tabStop_; }
    void setTabStop(bool v) { tabStop_ = v; }

    bool focused() const;
    // Showing, enabled, on a window that can be activated.
    virtual bool canFocus() const;
    // Gives this control the input focus; refuses a hidden or disabled one.
    void setFocus();
    // The next (or previous) windowed descendant in tab order after `current`.
    TWinControl* findNextControl(TWinControl* current, bool forward, bool checkTabStop) const;
    // Moves the focus like Tab and Shift+Tab do.
    void selectNext(TWinControl* current, bool forward, bool checkTabStop);

    // Which keys the control handles itself rather than the window
    // (Tab, Enter, Esc, arrows move focus or press buttons otherwise).
    virtual bool wantsKey(uint16_t key, TShiftState shift) const;
    // Whether a click with the left button gives this control the focus.
    virtual bool focusOnClick() const { return false; }
    // A button that Enter (default) or Esc (cancel) presses.
    virtual bool isDefaultButton() const { return false; }
    virtual bool isCancelButton() const { return false; }

    // The deepest visible child at a client point, or this control.
    TControl* controlAt(TPoint clientPoint);
    // Lays out aligned children, and anchored ones after a resize.
    virtual void realign();
    // The area that aligned children share (client area minus borders).
    virtual TRect alignRect() const { return clientRect(); }

    Handler OnEnter, OnExit, OnKeyDown, OnKeyPress, OnKeyUp;

protected:
    friend class TControl;
    friend class TCustomForm;
    virtual void insertControl(TControl* c);
    virtual void removeControl(TControl* c);
    void moveInStack(TControl* c, bool toFront);
    void boundsChanged() override;
    void fontChanged() override;
    void loaded() override;

private:
    // The child controls and the tab order: most controls of a window (its
    // fields) have none.
    struct Children {
        std::vector<TControl*> controls;
        std::vector<TWinControl*> tabList;
    };
    Children& children() { return children_.make(); }
    OnDemand<Children> children_;
    bool tabStop_ = false;
    int pendingTabOrder_ = -2;  // a TabOrder read before the parent was known
    mutable int tabHint_ = -1;  // where tabOrder() found this control last
    int lastClientWidth_ = 0, lastClientHeight_ = 0;
    bool aligning_ = false;
    // Children whose Align is not alNone: with none, aligning has nothing
    // to do and need not look at thousands of fields on a sheet.
    int alignedControls_ = 0;
};

}  // namespace tk
