// TStatusBar: a bar at the window's bottom edge with text panels (a
// collection of TStatusPanel) or one simple text.
#pragma once

#include "toolkit/core/Collection.h"
#include "toolkit/widgets/WinControl.h"

namespace tk {

class TStatusPanel : public TCollectionItem {
    TK_CLASS(TStatusPanel)
public:
    const std::string& text() const { return text_; }
    void setText(const std::string& v)
    {
        text_ = v;
        changed();
    }
    int width() const { return width_; }
    void setWidth(int v)
    {
        width_ = v;
        changed();
    }
    TAlignment alignment() const { return alignment_; }
    void setAlignment(TAlignment v)
    {
        alignment_ = v;
        changed();
    }
    TStatusPanelBevel bevel() const { return bevel_; }
    void setBevel(TStatusPanelBevel v)
    {
        bevel_ = v;
        changed();
    }
    TStatusPanelStyle style() const { return style_; }
    void setStyle(TStatusPanelStyle v)
    {
        style_ = v;
        changed();
    }

private:
    std::string text_;
    int width_ = 50;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    TStatusPanelBevel bevel_ = TStatusPanelBevel::pbLowered;
    TStatusPanelStyle style_ = TStatusPanelStyle::psText;
};

class TStatusBar : public TWinControl {
    TK_CLASS(TStatusBar)
public:
    explicit TStatusBar(TComponent* owner);

    TCollection* panels() const { return panels_.get(); }
    TStatusPanel* panel(int i) const { return static_cast<TStatusPanel*>(panels_->item(i)); }
    TStatusPanel* addPanel() { return static_cast<TStatusPanel*>(panels_->add()); }
    bool simplePanel() const { return simplePanel_; }
    void setSimplePanel(bool v)
    {
        simplePanel_ = v;
        invalidate();
    }
    const std::string& simpleText() const { return simpleText_; }
    void setSimpleText(const std::string& v)
    {
        simpleText_ = v;
        invalidate();
    }
    bool sizeGrip() const { return sizeGrip_; }
    void setSizeGrip(bool v)
    {
        sizeGrip_ = v;
        invalidate();
    }
    bool autoHint() const { return autoHint_; }
    void setAutoHint(bool v) { autoHint_ = v; }
    bool useSystemFont() const { return useSystemFont_; }
    void setUseSystemFont(bool v) { useSystemFont_ = v; }
    int borderWidth() const { return borderWidth_; }
    void setBorderWidth(int v)
    {
        borderWidth_ = v < 0 ? 0 : v;
        invalidate();
    }
    // Panel rectangles in client coordinates; the last one fills the rest.
    std::vector<TRect> panelRects() const;

private:
    std::unique_ptr<TCollection> panels_;
    bool simplePanel_ = false;
    std::string simpleText_;
    bool sizeGrip_ = true;
    bool autoHint_ = false;
    bool useSystemFont_ = true;
    int borderWidth_ = 0;
};

}  // namespace tk
