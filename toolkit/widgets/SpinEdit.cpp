// Spin edits.
#include "toolkit/widgets/SpinEdit.h"

#include "toolkit/widgets/StdProps.h"
#include "toolkit/windows/Menus.h"

#include <climits>

namespace tk {

TK_DEFINE_CLASS(TSpinEdit, TCustomEdit)
{
    using namespace published;
    anchors(t);
    t.boolean("AutoSelect", &TSpinEdit::autoSelect, &TSpinEdit::setAutoSelect, true);
    t.boolean("AutoSize", &TSpinEdit::autoSize, &TSpinEdit::setAutoSize, true);
    color(t, clWindow);
    constraints(t);
    enabled(t);
    font(t);
    t.integer("Increment", &TSpinEdit::increment, &TSpinEdit::setIncrement, 1);
    t.integer("MaxLength", &TSpinEdit::maxLength, &TSpinEdit::setMaxLength, 0);
    t.integer("MaxValue", &TSpinEdit::maxValue, &TSpinEdit::setMaxValue);
    t.integer("MinValue", &TSpinEdit::minValue, &TSpinEdit::setMinValue);
    parentColor(t, false);
    parentFont(t);
    parentShowHint(t);
    popupMenu(t);
    t.boolean("ReadOnly", &TSpinEdit::readOnly, &TSpinEdit::setReadOnly, false);
    showHint(t);
    tabOrder(t);
    tabStop(t);
    t.integer("Value", &TSpinEdit::value, &TSpinEdit::setValue);
    visible(t);
    t.event("OnChange", EventKind::Notify, &TSpinEdit::OnChange);
    click(t);
    focusEvents(t);
    keyEvents(t);
    mouseEvents(t);
}

TSpinEdit::TSpinEdit(TComponent* owner) : TCustomEdit(owner)
{
    setBoundsRaw(0, 0, 121, 22);
    setText("0");
}

int TSpinEdit::clampValue(long long v) const
{
    if (bounded()) {
        if (v < minValue_) v = minValue_;
        if (v > maxValue_) v = maxValue_;
    }
    if (v < INT_MIN) v = INT_MIN;
    if (v > INT_MAX) v = INT_MAX;
    return static_cast<int>(v);
}

int TSpinEdit::value() const
{
    try {
        return clampValue(textToInt(text()));
    } catch (const std::exception&) {
        return minValue_;
    }
}

void TSpinEdit::setValue(int v)
{
    setText(std::to_string(clampValue(v)));
}

bool TSpinEdit::handle(InputEvent& e)
{
    auto step = [&](int dir) {
        if (readOnly()) return;
        setValue(clampValue(static_cast<long long>(value()) + dir * static_cast<long long>(increment_)));
        selectAll();
    };
    switch (e.type) {
    case InputType::KeyDown:
        if (e.key == vk::Up || e.key == vk::Down) {
            step(e.key == vk::Up ? 1 : -1);
            return true;
        }
        break;
    case InputType::MouseDown:
        if (e.button == TMouseButton::mbLeft && e.x >= width() - buttonWidth) {
            step(e.y < height() / 2 ? 1 : -1);
            return true;
        }
        break;
    default: break;
    }
    return TCustomEdit::handle(e);
}

}  // namespace tk
