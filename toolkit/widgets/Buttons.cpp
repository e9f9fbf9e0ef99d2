// Push buttons, glyph buttons and speed buttons.
#include "toolkit/widgets/Buttons.h"

#include "toolkit/widgets/StdProps.h"
#include "toolkit/windows/Form.h"
#include "toolkit/windows/Menus.h"

namespace tk {

namespace {
template <class C>
void buttonProps(PropertyTable<C>& t)
{
    using namespace published;
    action(t);
    anchors(t);
    bidi(t);
    t.boolean("Cancel", &C::cancel, &C::setCancel, false);
    caption(t);
    constraints(t);
    t.boolean("Default", &C::isDefault, &C::setDefault, false);
    drag(t);
    enabled(t);
    font(t);
    t.integer("ModalResult", &C::modalResult, &C::setModalResult, 0);
    parentBidi(t);
    parentFont(t);
    parentShowHint(t);
    popupMenu(t);
    showHint(t);
    tabOrder(t);
    tabStop(t);
    visible(t);
    t.boolean("WordWrap", &C::wordWrap, &C::setWordWrap, false);
    click(t);
    contextPopup(t);
    keptEvents(t, {"OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag"});
    focusEvents(t);
    keyEvents(t);
    mouseEvents(t);
    keptEvents(t, {"OnStartDock", "OnStartDrag"});
}
}  // namespace

TK_DEFINE_CLASS(TButton, TWinControl)
{
    buttonProps(t);
}

TK_DEFINE_CLASS(TBitBtn, TButton)
{
    auto custom = [](const TBitBtn& b) { return b.kind() == TBitBtnKind::bkCustom; };
    t.boolean("Cancel", &TBitBtn::cancel, &TBitBtn::setCancel, false).storedIf(custom);
    t.string("Caption", &TBitBtn::caption, &TBitBtn::setCaption).storedIf([](const TBitBtn& b) {
        return b.caption() != TBitBtn::standardCaption(b.kind()) || b.kind() == TBitBtnKind::bkCustom;
    });
    t.boolean("Default", &TBitBtn::isDefault, &TBitBtn::setDefault, false).storedIf(custom);
    t.integer("ModalResult", &TBitBtn::modalResult, &TBitBtn::setModalResult, 0).storedIf(custom);
    t.object<TBitmap>("Glyph", &TBitBtn::glyph).storedIf(custom);
    t.enumeration("Kind", types::bitBtnKind(), &TBitBtn::kind, &TBitBtn::setKind, TBitBtnKind::bkCustom);
    t.enumeration("Layout", types::buttonLayout(), &TBitBtn::layout, &TBitBtn::setLayout, TButtonLayout::blGlyphLeft);
    t.integer("Margin", &TBitBtn::margin, &TBitBtn::setMargin, -1);
    t.integer("NumGlyphs", &TBitBtn::numGlyphs, &TBitBtn::setNumGlyphs, 1).storedIf(custom);
    t.enumeration("Style", types::buttonStyle(), &TBitBtn::buttonStyle, &TBitBtn::setButtonStyle,
                  TButtonStyle::bsAutoDetect);
    t.integer("Spacing", &TBitBtn::spacing, &TBitBtn::setSpacing, 4);
}

TButton::TButton(TComponent* owner) : TWinControl(owner)
{
    setTabStop(true);
    setBoundsRaw(0, 0, 75, 25);
}

void TButton::click()
{
    if (modalResult_ != mrNone)
        if (TCustomForm* form = parentForm()) form->setModalResult(modalResult_);
    TWinControl::click();
}

bool TButton::wantsKey(uint16_t key, TShiftState shift) const
{
    // Enter on a focused button presses that button.
    return key == vk::Return || TWinControl::wantsKey(key, shift);
}

bool TButton::handle(InputEvent& e)
{
    // Enter on a focused button presses it at once.
    if (e.type == InputType::KeyDown && e.key == vk::Return) {
        click();
        return true;
    }
    bool act = false;
    if (!press_.handle(*this, e, true, act)) return TWinControl::handle(e);
    if (act) click();
    return true;
}

TBitBtn::TBitBtn(TComponent* owner) : TButton(owner), glyph_(std::make_unique<TBitmap>())
{
    glyph_->onChange = [this] { invalidate(); };
}

std::string TBitBtn::standardCaption(TBitBtnKind k)
{
    switch (k) {
    case TBitBtnKind::bkOK: return "OK";
    case TBitBtnKind::bkCancel: return "Cancel";
    case TBitBtnKind::bkHelp: return "&Help";
    case TBitBtnKind::bkYes: return "&Yes";
    case TBitBtnKind::bkNo: return "&No";
    case TBitBtnKind::bkClose: return "&Close";
    case TBitBtnKind::bkAbort: return "Abort";
    case TBitBtnKind::bkRetry: return "&Retry";
    case TBitBtnKind::bkIgnore: return "&Ignore";
    case TBitBtnKind::bkAll: return "&All";
    default: return {};
    }
}

void TBitBtn::setKind(TBitBtnKind v)
{
    kind_ = v;
    if (v != TBitBtnKind::bkCustom) {
        setDefault(v == TBitBtnKind::bkOK || v == TBitBtnKind::bkYes);
        setCancel(v == TBitBtnKind::bkCancel || v == TBitBtnKind::bkNo);
        // While a design is read, a caption read before the kind stays.
        if (!loading() || caption().empty()) setCaption(standardCaption(v));
        static const TModalResult results[] = {mrNone, mrOk,    mrCancel, mrNone,   mrYes, mrNo,
                                               mrNone, mrAbort, mrRetry,  mrIgnore, mrAll};
        setModalResult(results[static_cast<int>(v)]);
    }
    invalidate();
}

TK_DEFINE_CLASS(TSpeedButton, TGraphicControl)
{
    using namespace published;
    t.boolean("AllowAllUp", &TSpeedButton::allowAllUp, &TSpeedButton::setAllowAllUp, false);
    anchors(t);
    constraints(t);
    t.integer("GroupIndex", &TSpeedButton::groupIndex, &TSpeedButton::setGroupIndex, 0);
    t.boolean("Down", &TSpeedButton::down, &TSpeedButton::setDown, false);
    caption(t);
    enabled(t);
    t.boolean("Flat", &TSpeedButton::flat, &TSpeedButton::setFlat, false);
    font(t);
    t.object<TBitmap>("Glyph", &TSpeedButton::glyph);
    t.integer("NumGlyphs", &TSpeedButton::numGlyphs, &TSpeedButton::setNumGlyphs, 1);
    parentFont(t);
    parentShowHint(t);
    popupMenu(t);
    showHint(t);
    visible(t);
    click(t);
    dblClick(t);
    mouseEvents(t);
}

TSpeedButton::TSpeedButton(TComponent* owner) : TGraphicControl(owner), glyph_(std::make_unique<TBitmap>())
{
    setBoundsRaw(0, 0, 23, 22);
    glyph_->onChange = [this] { invalidate(); };
}

void TSpeedButton::setDown(bool v)
{
    if (groupIndex_ == 0) v = false;
    if (v == down_) return;
    down_ = v;
    if (v && parent())
        for (TControl* c : parent()->controls())
            if (auto* sb = as<TSpeedButton>(c); sb && sb != this && sb->groupIndex_ == groupIndex_) {
                sb->down_ = false;
                sb->invalidate();
            }
    invalidate();
}

bool TSpeedButton::handle(InputEvent& e)
{
    bool act = false;
    if (!press_.handle(*this, e, false, act)) return TGraphicControl::handle(e);
    if (!act) return true;
    if (groupIndex_ > 0) {
        if (!down_) setDown(true);
        else if (allowAllUp_) {
            down_ = false;
            invalidate();
        }
    }
    click();
    return true;
}

}  // namespace tk
