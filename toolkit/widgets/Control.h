// TControl: a component with a place on the screen: parent, bounds, client
// area, visibility, text, font, colour, context menu, and its own handling
// of the input that reaches it.
#pragma once

#include "toolkit/core/Component.h"
#include "toolkit/core/InputEvent.h"
#include "toolkit/core/OnDemand.h"
#include "toolkit/widgets/Font.h"

#include <memory>

namespace tk {

class TWinControl;
class TCustomForm;
class TPopupMenu;

class TControl : public TComponent {
    TK_CLASS(TControl)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;
    // Leaves the parent while the control is still whole.
    void beforeDestruction() override;

    TWinControl* parent() const { return parent_; }
    virtual void setParent(TWinControl* parent);
    // The form (top-level window) this control stands on, or itself.
    TCustomForm* parentForm() const;
    virtual bool isWindowed() const { return false; }

    int left() const { return left_; }
    int top() const { return top_; }
    int width() const { return width_; }
    int height() const { return height_; }
    void setLeft(int v) { setBounds(v, top_, width_, height_); }
    void setTop(int v) { setBounds(left_, v, width_, height_); }
    void setWidth(int v) { setBounds(left_, top_, v, height_); }
    void setHeight(int v) { setBounds(left_, top_, width_, v); }
    virtual void setBounds(int left, int top, int width, int height);
    TRect boundsRect() const { return {left_, top_, left_ + width_, top_ + height_}; }

    // The client area, in client coordinates; child controls have their
    // whole rectangle as client area, windows the inside of their frame.
    virtual TRect clientRect() const { return {0, 0, width_, height_}; }
    int clientWidth() const { return clientRect().width(); }
    int clientHeight() const { return clientRect().height(); }
    virtual void setClientWidth(int w) { setWidth(width_ + w - clientWidth()); }
    virtual void setClientHeight(int h) { setHeight(height_ + h - clientHeight()); }
    // Screen position of the client area's origin.
    virtual TPoint clientOrigin() const;
    TPoint clientToScreen(TPoint p) const;
    TPoint screenToClient(TPoint p) const;

    bool visible() const { return visible_; }
    virtual void setVisible(bool v);
    void show() { setVisible(true); }
    void hide() { setVisible(false); }
    // Visible, and so is every parent up to a shown window.
    virtual bool isShowing() const;
    bool enabled() const { return enabled_; }
    virtual void setEnabled(bool v);
    // Enabled, and so is every parent.
    bool isEnabledTree() const;

    // Caption and Text are the same string.
    const std::string& caption() const { return text_; }
    void setCaption(const std::string& v) { setText(v); }
    const std::string& text() const { return text_; }
    virtual void setText(const std::string& v);

    // Made on first use: until then the control draws in its parent's font
    // (or the default), and a window of many controls holds no font for
    // those that follow their parent and are never drawn.
    TFont* font() const;
    // The font the control draws in, without making one: its own when made,
    // else its parent's (while it follows the parent) or the default.
    const TFont& drawingFont() const;
    bool parentFont() const { return parentFont_; }
    void setParentFont(bool v);
    TColor color() const { return color_; }
    void setColor(TColor v);
    bool parentColor() const { return parentColor_; }
    void setParentColor(bool v);
    TPopupMenu* popupMenu() const;
    void setPopupMenu(TPopupMenu* menu);
    const std::string& hint() const { return hint_.get(); }
    void setHint(const std::string& v);
    bool showHint() const { return showHint_; }
    void setShowHint(bool v);
    bool parentShowHint() const { return parentShowHint_; }
    void setParentShowHint(bool v);
    int cursor() const { return cursor_; }
    void setCursor(int v) { cursor_ = v; }
    TAlign align() const { return align_; }
    void setAlign(TAlign v);
    TAnchors anchors() const { return anchors_; }
    void setAnchors(TAnchors v) { anchors_ = v; }
    // Made on first use; none means no limits.
    TSizeConstraints* constraints() const;
    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool v);

    // Stacking order among the parent's children.
    void bringToFront();
    void sendToBack();
    // Asks the front end to draw this control's window again.
    void invalidate();

    // Fires OnClick (and, for buttons, their own click action).
    virtual void click();

    // The control's own handling of input; returns whether it used the event.
    // The input dispatcher raises the On... events around it.
    virtual bool handle(InputEvent& e);

    // Width and height of a text in this control's font.
    int textWidth(std::string_view text) const;
    int textHeight() const;
    // `text` cut short with "…" to fit `width` in this control's font; the
    // text itself when it fits.
    std::string elidedText(const std::string& text, int width) const;
    // The whole of a text shown cut short under a client point, for a tool
    // tip; empty where nothing is cut short.
    virtual std::string toolTipAt(TPoint) const { return {}; }

    Handler OnClick, OnDblClick, OnMouseDown, OnMouseMove, OnMouseUp, OnContextPopup, OnResize;

    // Raises an event with this control as the sender.
    void fire(const Handler& h);
    void fire(const Handler& h, EventCall& call);

protected:
    // Hooks for descendants.
    virtual void textChanged() {}
    virtual void fontChanged();
    virtual void boundsChanged() {}
    // Size that AutoSize gives; the current size by default.
    virtual void autoSizeBounds(int& width, int& height) const;
    void applyAutoSize();
    void loaded() override;

    // Parent relation, maintained by TWinControl.
    friend class TWinControl;
    void parentFontChanged();
    void parentColorChanged();
    void setBoundsRaw(int left, int top, int width, int height);
    // For constructors: the initial visibility, without notifications.
    void initVisible(bool v) { visible_ = v; }

private:
    TWinControl* parent_ = nullptr;
    int left_ = 0, top_ = 0, width_ = 0, height_ = 0;
    bool visible_ = true;
    bool enabled_ = true;
    std::string text_;
    mutable std::unique_ptr<TFont> font_;
    bool parentFont_ = true;
    bool syncingFont_ = false;
    TColor color_ = clBtnFace;
    bool parentColor_ = true;
    ComponentRef<TComponent> popupMenu_;
    OnDemand<std::string> hint_;
    bool showHint_ = false;
    bool parentShowHint_ = true;
    int cursor_ = 0;
    TAlign align_ = TAlign::alNone;
    TAnchors anchors_ = akLeft | akTop;
    mutable std::unique_ptr<TSizeConstraints> constraints_;
    bool autoSize_ = false;
};

// A control drawn on its parent's surface, without a window of its own:
// it takes no focus and has no tab order.
class TGraphicControl : public TControl {
    TK_CLASS(TGraphicControl)
public:
    using TControl::TControl;
};

}  // namespace tk
