// Number and text fields.
#include "controls/ZEDit.h"

#include "toolkit/text/Locale.h"

namespace velmora {

TK_DEFINE_CLASS(TZEDit, tk::TEdit)
{
    declareFieldContract<true>(t);
}

TZEDit::TZEDit(tk::TComponent* owner) : FieldControl<tk::TEdit>(owner) {}

tk::Value TZEDit::FieldValue() const
{
    if (v_.dictionary.empty()) return tk::Value(text());
    return dictionaryValue_;
}

void TZEDit::setFieldValue(const tk::Value& v)
{
    // The shown text of a dictionary entry is set by whoever picks it.
    if (v_.dictionary.empty()) setText(variantText(v));
    else dictionaryValue_ = v;
}

bool TZEDit::Empty() const
{
    return variantText(FieldValue()).empty();
}

void TZEDit::setEmpty(bool)
{
    setText("");
}

bool TZEDit::Validate() const
{
    if (v_.fieldType != ftNumber || Empty()) return true;
    return tk::currentLocale().parseFloat(text()).has_value();
}

void TZEDit::setState(int s)
{
    setEnabled(enabledInState(s, v_.canModify));
    v_.state = s;
    if (isState(s, EntryState::None) || isState(s, EntryState::New)) setText("");
}

}  // namespace velmora
