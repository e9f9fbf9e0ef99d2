// TCustomForm and TForm: top-level windows with a frame, an active control,
// key preview, showing, modal showing with a result, and closing.
#pragma once

#include "toolkit/widgets/Bitmap.h"
#include "toolkit/widgets/WinControl.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tk {

// Frame thickness and caption height of a window's border style.
struct FrameMetrics {
    int border;
    int caption;
};
FrameMetrics frameMetrics(TFormBorderStyle style);

// Measures text in a window's font.
class TCanvas {
public:
    explicit TCanvas(const TControl& owner) : owner_(owner) {}
    TFont* font() const { return owner_.font(); }
    int textWidth(std::string_view text) const { return owner_.textWidth(text); }
    int textHeight(std::string_view) const { return owner_.textHeight(); }

private:
    const TControl& owner_;
};

// A window's scroll bar settings (kept, not drawn: windows do not scroll).
class TControlScrollBar : public TPersistent {
    TK_CLASS(TControlScrollBar)
public:
    int range() const { return keptValue("Range", Value(0)).toInt(); }
};

class TCustomForm : public TWinControl {
    TK_CLASS(TCustomForm)
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    // Runs the creation handler (OnCreate); the application's form creation
    // calls it once the object and its components exist.
    virtual void afterConstruction();
    void beforeDestruction() override;

    TFormBorderStyle borderStyle() const { return borderStyle_; }
    void setBorderStyle(TFormBorderStyle v);
    TBorderIcons borderIcons() const { return borderIcons_; }
    void setBorderIcons(TBorderIcons v)
    {
        borderIcons_ = v;
        invalidate();
    }
    TPosition position() const { return position_; }
    void setPosition(TPosition v) { position_ = v; }
    bool keyPreview() const { return keyPreview_; }
    void setKeyPreview(bool v) { keyPreview_ = v; }
    TFormStyle formStyle() const { return formStyle_; }
    void setFormStyle(TFormStyle v) { formStyle_ = v; }
    TWindowState windowState() const { return windowState_; }
    void setWindowState(TWindowState v) { windowState_ = v; }
    bool autoScroll() const { return autoScroll_; }
    void setAutoScroll(bool v) { autoScroll_ = v; }
    int pixelsPerInch() const { return 96; }

    // The control that has (or gets, when the window is activated) the focus.
    TWinControl* activeControl() const { return activeControl_.get(); }
    void setActiveControl(TWinControl* c);

    TModalResult modalResult() const { return modalResult_; }
    void setModalResult(TModalResult r) { modalResult_ = r; }
    bool isModal() const { return modal_; }

    TCanvas* canvas() { return &canvas_; }
    TControlScrollBar* horzScrollBar() const { return horzScrollBar_.get(); }
    TControlScrollBar* vertScrollBar() const { return vertScrollBar_.get(); }
    TBitmap* icon() const { return icon_.get(); }

    TRect clientRect() const override;
    TPoint clientOrigin() const override;
    void setClientWidth(int w) override;
    void setClientHeight(int h) override;
    bool isShowing() const override { return visible(); }
    void setVisible(bool v) override;

    // Shows the window modally and returns its result: 1 OK, 2 Cancel...
    int showModal();
    // Closes as the frame's close box does (a modal window returns 2).
    void close();
    // Destroys the window once the current event has been handled.
    void release();
    // Makes this the active window.
    void activate();
    void bringWindowToFront();
    // Hint windows show without taking activation.
    virtual bool takesActivation() const { return true; }

    // Focus management inside the window.
    // `byTab`: the focus moves by Tab, which selects an edit's whole text.
    void focusControl(TWinControl* c, bool byMouse, bool byTab = false);
    // True while OnShow runs: focus given then waits for the activation.
    bool beingShown() const { return beingShown_; }
    // A control was hidden, disabled or removed: it cannot keep the focus.
    void controlHidden(TControl* c);
    // Something in the window looks different: it is drawn again.
    void contentChanged();
    // Tab, Ctrl+Tab, Enter and Esc when the focused control does not want
    // them.
    bool dialogKey(uint16_t key, TShiftState shift);
    // Ctrl+Tab: the next (or previous) page of the pages the focus is on,
    // else of the window's first shown pages; the focus goes onto it
    // unless `moveFocus` is false (a design surface, whose controls are
    // chosen, not entered).
    bool turnPage(bool forward, bool moveFocus = true);
    TWinControl* focusedChild() const { return enteredControl_.get(); }

    Handler OnShow, OnHide, OnActivate, OnDeactivate, OnCreate, OnDestroy, OnClose, OnCloseQuery;
    // Files dropped onto the window from the desktop, by path; a window
    // without it takes no drops. A program's own hook, not a stored event.
    std::function<void(const std::vector<std::string>&)> onDropFiles;

protected:
    friend class TApplication;
    // Called by the application when this window became (in)active.
    void activated();
    void deactivated();
    void syncFocus(bool byMouse, bool byTab = false);
    void loaded() override;
    void applyPosition();

private:
    TFormBorderStyle borderStyle_ = TFormBorderStyle::bsSizeable;
    TBorderIcons borderIcons_ = biSystemMenu | biMinimize | biMaximize;
    TPosition position_ = TPosition::poDesigned;
    TFormStyle formStyle_ = TFormStyle::fsNormal;
    TWindowState windowState_ = TWindowState::wsNormal;
    bool keyPreview_ = false;
    bool autoScroll_ = true;
    bool modal_ = false;
    bool created_ = false;
    bool destroyFired_ = false;
    bool beingShown_ = false;
    int pendingVisible_ = -1;  // Visible read from a design, applied when loading ends
    TModalResult modalResult_ = mrNone;
    ComponentRef<TWinControl> activeControl_;
    ComponentRef<TWinControl> enteredControl_;
    unsigned focusSerial_ = 0;
    TCanvas canvas_{*this};
    std::unique_ptr<TControlScrollBar> horzScrollBar_ = std::make_unique<TControlScrollBar>();
    std::unique_ptr<TControlScrollBar> vertScrollBar_ = std::make_unique<TControlScrollBar>();
    std::unique_ptr<TBitmap> icon_ = std::make_unique<TBitmap>();
};

class TForm : public TCustomForm {
    TK_CLASS(TForm)
public:
    explicit TForm(TComponent* owner);
};

// Creates a window or data module that no application form-creation makes
// (a dialog without an owner, a test window), running its creation handler.
template <class T, class... Args>
T* createForm(TComponent* owner, Args&&... args)
{
    auto* obj = new T(owner, std::forward<Args>(args)...);
    try {
        obj->afterConstruction();
    } catch (...) {
        obj->free();
        throw;
    }
    return obj;
}

// A window owned by the code that shows it (a modal dialog): freed, its
// OnDestroy first, when the pointer goes.
struct FormFree {
    void operator()(TComponent* c) const { c->free(); }
};
template <class T>
using OwnedForm = std::unique_ptr<T, FormFree>;
template <class T, class... Args>
OwnedForm<T> createOwnedForm(Args&&... args)
{
    return OwnedForm<T>(createForm<T>(nullptr, std::forward<Args>(args)...));
}

}  // namespace tk
