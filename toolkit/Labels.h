// Caption texts: TLabel, drawn on its parent, and TStaticText, a window of
// its own. Both can name a FocusControl; both size to their caption.
#pragma once

#include "toolkit/WinControl.h"

namespace tk {

// The caption as shown: a single "&" marks an accelerator and is not drawn.
std::string stripAccelerator(const std::string& caption);

class TLabel : public TGraphicControl {
    TK_CLASS(TLabel)
public:
    explicit TLabel(TComponent* owner);

    TWinControl* focusControl() const { return focusControl_.get(); }
    void setFocusControl(TWinControl* c) { focusControl_ = c; }
    TAlignment alignment() const { return alignment_; }
    void setAlignment(TAlignment v) { alignment_ = v; invalidate(); }
    TTextLayout layout() const { return layout_; }
    void setLayout(TTextLayout v) { layout_ = v; invalidate(); }
    bool showAccelChar() const { return showAccelChar_; }
    void setShowAccelChar(bool v) { showAccelChar_ = v; applyAutoSize(); }
    bool transparent() const { return transparent_; }
    void setTransparent(bool v) { transparent_ = v; invalidate(); }
    bool wordWrap() const { return wordWrap_; }
    void setWordWrap(bool v) { wordWrap_ = v; applyAutoSize(); }
    std::string displayText() const { return showAccelChar_ ? stripAccelerator(caption()) : caption(); }

protected:
    void autoSizeBounds(int& width, int& height) const override;

private:
    ComponentRef<TWinControl> focusControl_;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    TTextLayout layout_ = TTextLayout::tlTop;
    bool showAccelChar_ = true;
    bool transparent_ = false;
    bool wordWrap_ = false;
};

class TStaticText : public TWinControl {
    TK_CLASS(TStaticText)
public:
    explicit TStaticText(TComponent* owner);

    TWinControl* focusControl() const { return focusControl_.get(); }
    void setFocusControl(TWinControl* c) { focusControl_ = c; }
    TAlignment alignment() const { return alignment_; }
    void setAlignment(TAlignment v) { alignment_ = v; invalidate(); }
    TStaticBorderStyle borderStyle() const { return borderStyle_; }
    void setBorderStyle(TStaticBorderStyle v) { borderStyle_ = v; applyAutoSize(); invalidate(); }
    bool showAccelChar() const { return showAccelChar_; }
    void setShowAccelChar(bool v) { showAccelChar_ = v; applyAutoSize(); }
    bool transparent() const { return transparent_; }
    void setTransparent(bool v) { transparent_ = v; invalidate(); }
    std::string displayText() const { return showAccelChar_ ? stripAccelerator(caption()) : caption(); }

protected:
    void autoSizeBounds(int& width, int& height) const override;

private:
    ComponentRef<TWinControl> focusControl_;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    TStaticBorderStyle borderStyle_ = TStaticBorderStyle::sbsNone;
    bool showAccelChar_ = true;
    bool transparent_ = true;
};

}  // namespace tk
