// Caption texts: TLabel, drawn on its parent, and TStaticText, a window of
// its own. Both can name a FocusControl; both size to their caption.
#pragma once

#include "toolkit/widgets/WinControl.h"

namespace tk {

// The caption as shown: a single "&" marks an accelerator and is not drawn.
std::string stripAccelerator(const std::string& caption);

// What both kinds of caption text have, on top of their base control.
template <class Base>
class CaptionText : public Base {
public:
    using Base::Base;

    TWinControl* focusControl() const { return focusControl_.get(); }
    void setFocusControl(TWinControl* c) { focusControl_ = c; }
    TAlignment alignment() const { return alignment_; }
    void setAlignment(TAlignment v)
    {
        alignment_ = v;
        this->invalidate();
    }
    bool showAccelChar() const { return showAccelChar_; }
    void setShowAccelChar(bool v)
    {
        showAccelChar_ = v;
        this->applyAutoSize();
    }
    bool transparent() const { return transparent_; }
    void setTransparent(bool v)
    {
        transparent_ = v;
        this->invalidate();
    }
    std::string displayText() const { return showAccelChar_ ? stripAccelerator(this->caption()) : this->caption(); }

protected:
    ComponentRef<TWinControl> focusControl_;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool showAccelChar_ = true;
    bool transparent_ = false;
};

class TLabel : public CaptionText<TGraphicControl> {
    TK_CLASS(TLabel)
public:
    explicit TLabel(TComponent* owner);

    TTextLayout layout() const { return layout_; }
    void setLayout(TTextLayout v)
    {
        layout_ = v;
        invalidate();
    }
    bool wordWrap() const { return wordWrap_; }
    void setWordWrap(bool v)
    {
        wordWrap_ = v;
        applyAutoSize();
    }

protected:
    void autoSizeBounds(int& width, int& height) const override;

private:
    TTextLayout layout_ = TTextLayout::tlTop;
    bool wordWrap_ = false;
};

class TStaticText : public CaptionText<TWinControl> {
    TK_CLASS(TStaticText)
public:
    explicit TStaticText(TComponent* owner);

    TStaticBorderStyle borderStyle() const { return borderStyle_; }
    void setBorderStyle(TStaticBorderStyle v)
    {
        borderStyle_ = v;
        applyAutoSize();
        invalidate();
    }

protected:
    void autoSizeBounds(int& width, int& height) const override;

private:
    TStaticBorderStyle borderStyle_ = TStaticBorderStyle::sbsNone;
};

}  // namespace tk
