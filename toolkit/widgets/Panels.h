// Containers and decorations: TPanel (a bevelled area that holds controls),
// TBevel (a line or frame) and TSplitter (a bar that resizes its neighbour).
#pragma once

#include "toolkit/widgets/WinControl.h"

namespace tk {

class TPanel : public TWinControl {
    TK_CLASS(TPanel)
public:
    explicit TPanel(TComponent* owner);

    TBevelCut bevelInner() const { return bevelInner_; }
    void setBevelInner(TBevelCut v)
    {
        bevelInner_ = v;
        realign();
        invalidate();
    }
    TBevelCut bevelOuter() const { return bevelOuter_; }
    void setBevelOuter(TBevelCut v)
    {
        bevelOuter_ = v;
        realign();
        invalidate();
    }
    int bevelWidth() const { return bevelWidth_; }
    void setBevelWidth(int v)
    {
        bevelWidth_ = v < 1 ? 1 : v;
        realign();
        invalidate();
    }
    int borderWidth() const { return borderWidth_; }
    void setBorderWidth(int v)
    {
        borderWidth_ = v < 0 ? 0 : v;
        realign();
        invalidate();
    }
    TAlignment alignment() const { return alignment_; }
    void setAlignment(TAlignment v)
    {
        alignment_ = v;
        invalidate();
    }
    TRect alignRect() const override;

private:
    TBevelCut bevelInner_ = TBevelCut::bvNone;
    TBevelCut bevelOuter_ = TBevelCut::bvRaised;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TAlignment alignment_ = TAlignment::taCenter;
};

class TBevel : public TGraphicControl {
    TK_CLASS(TBevel)
public:
    explicit TBevel(TComponent* owner);
    TBevelShape shape() const { return shape_; }
    void setShape(TBevelShape v)
    {
        shape_ = v;
        invalidate();
    }
    TBevelStyle style() const { return style_; }
    void setStyle(TBevelStyle v)
    {
        style_ = v;
        invalidate();
    }

private:
    TBevelShape shape_ = TBevelShape::bsBox;
    TBevelStyle style_ = TBevelStyle::bsLowered;
};

class TSplitter : public TGraphicControl {
    TK_CLASS(TSplitter)
public:
    explicit TSplitter(TComponent* owner);
    int minSize() const { return minSize_; }
    void setMinSize(int v) { minSize_ = v < 1 ? 1 : v; }
    bool autoSnap() const { return autoSnap_; }
    void setAutoSnap(bool v) { autoSnap_ = v; }
    bool beveled() const { return beveled_; }
    void setBeveled(bool v)
    {
        beveled_ = v;
        invalidate();
    }
    TResizeStyle resizeStyle() const { return resizeStyle_; }
    void setResizeStyle(TResizeStyle v) { resizeStyle_ = v; }
    // The control that dragging resizes: the one aligned on the same side
    // and standing next to the splitter.
    TControl* resizedControl() const;

    bool handle(InputEvent& e) override;
    Handler OnMoved;

private:
    // The largest size dragging may give `target`.
    int maxSize(const TControl* target, bool horizontal) const;

    int minSize_ = 30;
    bool autoSnap_ = true;
    bool beveled_ = false;
    TResizeStyle resizeStyle_ = TResizeStyle::rsPattern;
    bool dragging_ = false;
    TPoint grab_;
    int startSize_ = 0;
};

}  // namespace tk
