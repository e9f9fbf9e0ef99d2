// TFont and TSizeConstraints: objects owned by a control and reached by a
// dotted property path (Font.Name, Constraints.MinWidth).
#pragma once

#include "toolkit/core/Enums.h"
#include "toolkit/core/Object.h"

#include <functional>
#include <string>

namespace tk {

class TFont : public TPersistent {
    TK_CLASS(TFont)
public:
    TFont() = default;

    int charset() const { return charset_; }
    void setCharset(int v) { change(charset_, v); }
    TColor color() const { return color_; }
    void setColor(TColor v) { change(color_, v); }
    // Negative: the character height in pixels; positive: the cell height.
    int height() const { return height_; }
    void setHeight(int v) { change(height_, v); }
    // Points at 96 pixels per inch, derived from the height.
    int size() const;
    void setSize(int points);
    const std::string& name() const { return name_; }
    void setName(const std::string& v) { change(name_, v); }
    TFontPitch pitch() const { return pitch_; }
    void setPitch(TFontPitch v) { change(pitch_, v); }
    TFontStyles style() const { return style_; }
    void setStyle(TFontStyles v) { change(style_, v); }

    void assign(const TPersistent& source) override;
    bool sameAs(const TFont& other) const;

    // Called after every change (the owning control follows it).
    std::function<void()> onChange;

private:
    template <class T>
    void change(T& field, const T& v)
    {
        if (field == v) return;
        field = v;
        if (onChange) onChange();
    }

    int charset_ = 1;  // DEFAULT_CHARSET
    TColor color_ = clWindowText;
    int height_ = -11;
    std::string name_ = "MS Sans Serif";
    TFontPitch pitch_ = TFontPitch::fpDefault;
    TFontStyles style_ = 0;
};

class TSizeConstraints : public TPersistent {
    TK_CLASS(TSizeConstraints)
public:
    int maxHeight() const { return maxHeight_; }
    void setMaxHeight(int v) { change(maxHeight_, v); }
    int maxWidth() const { return maxWidth_; }
    void setMaxWidth(int v) { change(maxWidth_, v); }
    int minHeight() const { return minHeight_; }
    void setMinHeight(int v) { change(minHeight_, v); }
    int minWidth() const { return minWidth_; }
    void setMinWidth(int v) { change(minWidth_, v); }

    // Applies the limits (0 means no limit) to a size.
    int constrainWidth(int w) const;
    int constrainHeight(int h) const;

    std::function<void()> onChange;

private:
    void change(int& field, int v)
    {
        if (field == v) return;
        field = v < 0 ? 0 : v;
        if (onChange) onChange();
    }
    int maxHeight_ = 0, maxWidth_ = 0, minHeight_ = 0, minWidth_ = 0;
};

}  // namespace tk
