// Fonts and size constraints.
#include "toolkit/widgets/Font.h"

#include "toolkit/core/PropertyTable.h"

#include <cmath>

namespace tk {

TK_DEFINE_CLASS(TFont, TPersistent)
{
    t.integer("Charset", &TFont::charset, &TFont::setCharset).constants(types::charsets());
    t.integer("Color", &TFont::color, &TFont::setColor).constants(types::colors());
    t.integer("Height", &TFont::height, &TFont::setHeight);
    t.string("Name", &TFont::name, &TFont::setName);
    t.enumeration("Pitch", types::fontPitch(), &TFont::pitch, &TFont::setPitch, TFontPitch::fpDefault);
    t.integer("Size", &TFont::size, &TFont::setSize).notStored();
    t.set("Style", types::fontStyles(), &TFont::style, &TFont::setStyle);
}

int TFont::size() const
{
    return static_cast<int>(std::lround(-height_ * 72.0 / 96.0));
}

void TFont::setSize(int points)
{
    setHeight(-static_cast<int>(std::lround(points * 96.0 / 72.0)));
}

void TFont::assign(const TPersistent& source)
{
    if (const TFont* f = as<TFont>(&source)) {
        if (sameAs(*f)) return;
        charset_ = f->charset_;
        color_ = f->color_;
        height_ = f->height_;
        name_ = f->name_;
        pitch_ = f->pitch_;
        style_ = f->style_;
        if (onChange) onChange();
        return;
    }
    TPersistent::assign(source);
}

bool TFont::sameAs(const TFont& o) const
{
    return charset_ == o.charset_ && color_ == o.color_ && height_ == o.height_ && name_ == o.name_ &&
           pitch_ == o.pitch_ && style_ == o.style_;
}

TK_DEFINE_CLASS(TSizeConstraints, TPersistent)
{
    t.integer("MaxHeight", &TSizeConstraints::maxHeight, &TSizeConstraints::setMaxHeight, 0);
    t.integer("MaxWidth", &TSizeConstraints::maxWidth, &TSizeConstraints::setMaxWidth, 0);
    t.integer("MinHeight", &TSizeConstraints::minHeight, &TSizeConstraints::setMinHeight, 0);
    t.integer("MinWidth", &TSizeConstraints::minWidth, &TSizeConstraints::setMinWidth, 0);
}

int TSizeConstraints::constrainWidth(int w) const
{
    if (maxWidth_ > 0 && w > maxWidth_) w = maxWidth_;
    if (minWidth_ > 0 && w < minWidth_) w = minWidth_;
    return w;
}

int TSizeConstraints::constrainHeight(int h) const
{
    if (maxHeight_ > 0 && h > maxHeight_) h = maxHeight_;
    if (minHeight_ > 0 && h < minHeight_) h = minHeight_;
    return h;
}

}  // namespace tk
