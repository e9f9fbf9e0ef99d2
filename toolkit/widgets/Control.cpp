// Controls: parent relation, bounds, visibility, text, font and colour.
#include "toolkit/widgets/Control.h"

#include "toolkit/windows/Platform.h"

#include "toolkit/core/Errors.h"
#include "toolkit/text/Text.h"
#include "toolkit/widgets/StdProps.h"
#include "toolkit/widgets/WinControl.h"
#include "toolkit/windows/Form.h"
#include "toolkit/windows/Menus.h"

namespace tk {

TK_DEFINE_CLASS(TControl, TComponent)
{
    published::left(t);
    published::top(t);
    published::width(t);
    published::height(t);
    published::cursor(t);
    published::hint(t);
    published::help(t);
}

TK_DEFINE_CLASS(TGraphicControl, TControl) {}

namespace published {
TAnchors anchorsOfAlign(TAlign a)
{
    switch (a) {
    case TAlign::alTop: return akLeft | akTop | akRight;
    case TAlign::alBottom: return akLeft | akRight | akBottom;
    case TAlign::alLeft: return akLeft | akTop | akBottom;
    case TAlign::alRight: return akTop | akRight | akBottom;
    case TAlign::alClient: return akLeft | akTop | akRight | akBottom;
    default: return akLeft | akTop;
    }
}
}  // namespace published

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TFont* TControl::font() const
{
    if (!font_) {
        auto font = std::make_unique<TFont>();
        // The parent's font as it is now, copied before the control follows
        // the font's changes: making it changes nothing the control shows.
        if (parentFont_ && parent_) font->assign(parent_->drawingFont());
        auto* self = const_cast<TControl*>(this);
        font->onChange = [self] {
            if (!self->syncingFont_) self->parentFont_ = false;
            self->fontChanged();
        };
        font_ = std::move(font);
    }
    return font_.get();
}

void TControl::setHint(const std::string& v)
{
    if (v.empty()) hint_.reset();
    else hint_.make() = v;
}

const TFont& TControl::drawingFont() const
{
    if (font_) return *font_;
    if (parentFont_ && parent_) return parent_->drawingFont();
    static const TFont standard;
    return standard;
}

TSizeConstraints* TControl::constraints() const
{
    if (!constraints_) {
        constraints_ = std::make_unique<TSizeConstraints>();
        auto* self = const_cast<TControl*>(this);
        constraints_->onChange = [self] { self->setBounds(self->left_, self->top_, self->width_, self->height_); };
    }
    return constraints_.get();
}

TControl::~TControl()
{
    if (parent_) parent_->removeControl(this);
}

void TControl::beforeDestruction()
{
    TComponent::beforeDestruction();
    if (parent_) parent_->removeControl(this);
}

TCustomForm* TControl::parentForm() const
{
    const TControl* c = this;
    while (c->parent_) c = c->parent_;
    return const_cast<TCustomForm*>(as<TCustomForm>(c));
}

void TControl::setParent(TWinControl* parent)
{
    if (parent == parent_) return;
    for (const TControl* p = parent; p; p = p->parent_)
        if (p == this) throw EInvalidOperation("A control cannot have itself or a child as its parent");
    if (parent_) parent_->removeControl(this);
    parent_ = nullptr;
    if (parent) {
        parent_ = parent;
        parent->insertControl(this);
        if (parentFont_) parentFontChanged();
        if (parentColor_) parentColorChanged();
        if (align_ != TAlign::alNone) parent->realign();
    }
    invalidate();
}

void TControl::setBoundsRaw(int left, int top, int width, int height)
{
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
}

void TControl::setBounds(int left, int top, int width, int height)
{
    if (!loading()) {
        if (constraints_) {
            width = constraints_->constrainWidth(width);
            height = constraints_->constrainHeight(height);
        }
        if (autoSize_) autoSizeBounds(width, height);
    }
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    if (left == left_ && top == top_ && width == width_ && height == height_) return;
    invalidate();
    bool resized = width != width_ || height != height_;
    setBoundsRaw(left, top, width, height);
    boundsChanged();
    if (parent_ && align_ != TAlign::alNone && !loading()) parent_->realign();
    invalidate();
    if (resized) fire(OnResize);
}

TPoint TControl::clientOrigin() const
{
    if (!parent_) return {left_, top_};
    TPoint p = parent_->clientOrigin();
    return {p.x + left_, p.y + top_};
}

TPoint TControl::clientToScreen(TPoint p) const
{
    TPoint o = clientOrigin();
    return {p.x + o.x, p.y + o.y};
}

TPoint TControl::screenToClient(TPoint p) const
{
    TPoint o = clientOrigin();
    return {p.x - o.x, p.y - o.y};
}

void TControl::setVisible(bool v)
{
    if (v == visible_) return;
    invalidate();
    visible_ = v;
    if (parent_ && align_ != TAlign::alNone) parent_->realign();
    if (!v)
        if (TCustomForm* form = parentForm(); form && form != this) form->controlHidden(this);
    invalidate();
}

bool TControl::isShowing() const
{
    return visible_ && parent_ && parent_->isShowing();
}

void TControl::setEnabled(bool v)
{
    if (v == enabled_) return;
    enabled_ = v;
    if (!v)
        if (TCustomForm* form = parentForm(); form && form != this) form->controlHidden(this);
    invalidate();
}

bool TControl::isEnabledTree() const
{
    for (const TControl* c = this; c; c = c->parent_)
        if (!c->enabled_) return false;
    return true;
}

void TControl::setText(const std::string& v)
{
    if (v == text_) return;
    text_ = v;
    textChanged();
    applyAutoSize();
    invalidate();
}

void TControl::setParentFont(bool v)
{
    if (!v) font();  // the font it has followed until now becomes its own
    parentFont_ = v;
    if (v && parent_) parentFontChanged();
}

void TControl::parentFontChanged()
{
    // A font not made yet copies the parent's when it is made.
    if (!parent_ || !parentFont_ || !font_) return;
    syncingFont_ = true;
    font_->assign(parent_->drawingFont());
    syncingFont_ = false;
}

void TControl::fontChanged()
{
    applyAutoSize();
    invalidate();
}

void TControl::setColor(TColor v)
{
    parentColor_ = false;
    if (v == color_) return;
    color_ = v;
    invalidate();
    if (auto* w = as<TWinControl>(this))
        for (TControl* c : w->controls())
            if (c->parentColor_) c->parentColorChanged();
}

void TControl::setParentColor(bool v)
{
    parentColor_ = v;
    if (v && parent_) parentColorChanged();
}

void TControl::parentColorChanged()
{
    if (!parent_ || !parentColor_) return;
    setColor(parent_->color());
    parentColor_ = true;
}

TPopupMenu* TControl::popupMenu() const
{
    return static_cast<TPopupMenu*>(popupMenu_.get());
}

void TControl::setPopupMenu(TPopupMenu* menu)
{
    popupMenu_ = menu;
}

void TControl::setShowHint(bool v)
{
    showHint_ = v;
    parentShowHint_ = false;
}

void TControl::setParentShowHint(bool v)
{
    parentShowHint_ = v;
    if (v && parent_) showHint_ = parent_->showHint();
}

void TControl::setAlign(TAlign v)
{
    if (v == align_) return;
    if (parent_) parent_->alignedControls_ += (v != TAlign::alNone) - (align_ != TAlign::alNone);
    align_ = v;
    // Changing the alignment gives the anchors that it implies.
    if (!loading()) anchors_ = published::anchorsOfAlign(v);
    if (parent_) parent_->realign();
}

void TControl::setAutoSize(bool v)
{
    autoSize_ = v;
    applyAutoSize();
}

void TControl::autoSizeBounds(int&, int&) const {}

void TControl::applyAutoSize()
{
    if (!autoSize_ || loading()) return;
    setBounds(left_, top_, width_, height_);
}

void TControl::loaded()
{
    TComponent::loaded();
    if (parentFont_) parentFontChanged();
    if (parentColor_) parentColorChanged();
}

void TControl::bringToFront()
{
    if (parent_) {
        parent_->moveInStack(this, true);
    } else if (auto* f = as<TCustomForm>(this); f && f->visible()) {
        // A window brought to the front becomes the active one.
        f->bringWindowToFront();
        if (f->takesActivation()) f->activate();
    }
}

void TControl::sendToBack()
{
    if (parent_) parent_->moveInStack(this, false);
}

void TControl::invalidate()
{
    // Only windows are drawn; a control without a window draws nowhere yet.
    if (TCustomForm* window = parentForm()) window->contentChanged();
}

void TControl::click()
{
    fire(OnClick);
}

bool TControl::handle(InputEvent& e)
{
    if (e.type == InputType::MouseUp && e.button == TMouseButton::mbLeft && clientRect().contains({e.x, e.y})) {
        click();
        return true;
    }
    return false;
}

int TControl::textWidth(std::string_view text) const
{
    Platform* platform = Platform::current();
    return platform ? platform->textWidth(drawingFont(), text) : 0;
}

std::string TControl::elidedText(const std::string& text, int width) const
{
    if (textWidth(text) <= width) return text;
    static const std::string ellipsis = "…";
    // The longest beginning that fits with the ellipsis after it.
    std::u32string chars = toU32(text);
    size_t low = 0, high = chars.size();
    while (low < high) {
        size_t mid = (low + high + 1) / 2;
        if (textWidth(toUtf8(std::u32string_view(chars).substr(0, mid)) + ellipsis) <= width) low = mid;
        else high = mid - 1;
    }
    return toUtf8(std::u32string_view(chars).substr(0, low)) + ellipsis;
}

int TControl::textHeight() const
{
    Platform* platform = Platform::current();
    return platform ? platform->textHeight(drawingFont()) : 0;
}

void TControl::fire(const Handler& h)
{
    EventCall call;
    fire(h, call);
}

void TControl::fire(const Handler& h, EventCall& call)
{
    if (!h) return;
    call.sender = this;
    h(call);
}

}  // namespace tk
