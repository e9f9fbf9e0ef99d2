// Yes/no fields.
#include "controls/ZEDChxBox.h"

namespace velmora {

TK_DEFINE_CLASS(TZEDChxBox, tk::TCheckBox)
{
    declareFieldContract<false>(t);
}

TZEDChxBox::TZEDChxBox(tk::TComponent* owner) : FieldControl<tk::TCheckBox>(owner) {}

void TZEDChxBox::setFieldValue(const tk::Value& v)
{
    // A decimal or "$" hexadecimal 32-bit integer: 1 checks, anything else
    // (0, another number, a word, nothing) unchecks.
    try {
        int64_t n = tk::textToInt(variantText(v));
        setChecked(n == 1);
    } catch (const std::exception&) {
        setChecked(false);
    }
}

void TZEDChxBox::setState(int s)
{
    setEnabled(enabledInState(s, v_.canModify));
    if (isState(s, EntryState::None) || isState(s, EntryState::New)) setChecked(false);
    v_.state = s;
}

}  // namespace velmora
