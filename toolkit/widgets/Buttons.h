// Push buttons: TButton (Default, Cancel, ModalResult), TBitBtn with a glyph
// and a kind, and the flat TSpeedButton that groups exclusively.
#pragma once

#include "toolkit/widgets/Bitmap.h"
#include "toolkit/widgets/PressTracker.h"
#include "toolkit/widgets/WinControl.h"

#include <memory>

namespace tk {

class TButton : public TWinControl {
    TK_CLASS(TButton)
public:
    explicit TButton(TComponent* owner);

    bool isDefault() const { return default_; }
    void setDefault(bool v)
    {
        default_ = v;
        invalidate();
    }
    bool cancel() const { return cancel_; }
    void setCancel(bool v) { cancel_ = v; }
    TModalResult modalResult() const { return modalResult_; }
    void setModalResult(TModalResult v) { modalResult_ = v; }
    bool wordWrap() const { return wordWrap_; }
    void setWordWrap(bool v) { wordWrap_ = v; }
    // Drawn pressed while the mouse holds it down over it.
    bool isPressed() const { return press_.shownDown(); }

    // Sets the window's modal result (when it has one) and raises OnClick.
    void click() override;
    bool handle(InputEvent& e) override;
    bool wantsKey(uint16_t key, TShiftState shift) const override;
    bool focusOnClick() const override { return true; }
    bool isDefaultButton() const override { return default_; }
    bool isCancelButton() const override { return cancel_; }

private:
    bool default_ = false;
    bool cancel_ = false;
    TModalResult modalResult_ = mrNone;
    bool wordWrap_ = false;
    PressTracker press_;
};

class TBitBtn : public TButton {
    TK_CLASS(TBitBtn)
public:
    explicit TBitBtn(TComponent* owner);

    TBitmap* glyph() const { return glyph_.get(); }
    // A kind gives the standard caption, result, default or cancel role.
    TBitBtnKind kind() const { return kind_; }
    void setKind(TBitBtnKind v);
    static std::string standardCaption(TBitBtnKind k);
    TButtonLayout layout() const { return layout_; }
    void setLayout(TButtonLayout v)
    {
        layout_ = v;
        invalidate();
    }
    int margin() const { return margin_; }
    void setMargin(int v)
    {
        margin_ = v;
        invalidate();
    }
    int numGlyphs() const { return numGlyphs_; }
    void setNumGlyphs(int v)
    {
        numGlyphs_ = v < 1 ? 1 : (v > 4 ? 4 : v);
        invalidate();
    }
    int spacing() const { return spacing_; }
    void setSpacing(int v)
    {
        spacing_ = v;
        invalidate();
    }
    TButtonStyle buttonStyle() const { return style_; }
    void setButtonStyle(TButtonStyle v) { style_ = v; }

private:
    std::unique_ptr<TBitmap> glyph_;
    TBitBtnKind kind_ = TBitBtnKind::bkCustom;
    TButtonLayout layout_ = TButtonLayout::blGlyphLeft;
    int margin_ = -1;
    int numGlyphs_ = 1;
    int spacing_ = 4;
    TButtonStyle style_ = TButtonStyle::bsAutoDetect;
};

// A flat button drawn on its parent. Buttons of one group (GroupIndex > 0)
// are exclusive: clicking one puts it down and the others up.
class TSpeedButton : public TGraphicControl {
    TK_CLASS(TSpeedButton)
public:
    explicit TSpeedButton(TComponent* owner);

    int groupIndex() const { return groupIndex_; }
    void setGroupIndex(int v) { groupIndex_ = v; }
    bool down() const { return down_; }
    // Putting a button down from code runs no click handler.
    void setDown(bool v);
    bool allowAllUp() const { return allowAllUp_; }
    void setAllowAllUp(bool v) { allowAllUp_ = v; }
    bool flat() const { return flat_; }
    void setFlat(bool v)
    {
        flat_ = v;
        invalidate();
    }
    TBitmap* glyph() const { return glyph_.get(); }
    int numGlyphs() const { return numGlyphs_; }
    void setNumGlyphs(int v) { numGlyphs_ = v < 1 ? 1 : (v > 4 ? 4 : v); }
    bool isPressed() const { return press_.shownDown(); }

    bool handle(InputEvent& e) override;

private:
    int groupIndex_ = 0;
    bool down_ = false;
    bool allowAllUp_ = false;
    bool flat_ = false;
    PressTracker press_;
    int numGlyphs_ = 1;
    std::unique_ptr<TBitmap> glyph_;
};

}  // namespace tk
