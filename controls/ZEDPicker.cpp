// Date fields.
#include "controls/ZEDPicker.h"

#include "toolkit/text/DateReading.h"
#include "toolkit/widgets/StdProps.h"
#include "toolkit/windows/Application.h"

namespace velmora {

TK_DEFINE_CLASS(TZEDPicker, tk::TDateTimePicker)
{
    // The date is not kept in a design; the check box shows by default.
    t.floating("Date", &TZEDPicker::date, &TZEDPicker::setDate).notStored();
    t.boolean("ShowCheckbox", &TZEDPicker::showCheckbox, &TZEDPicker::setShowCheckbox, true);
    tk::published::mouseEvents(t);
    declareFieldContract<true>(t);
}

TZEDPicker::TZEDPicker(tk::TComponent* owner) : FieldControl<tk::TDateTimePicker>(owner)
{
    setWidth(96);
    setShowCheckbox(true);
}

tk::Value TZEDPicker::FieldValue() const
{
    return tk::Value(displayText());
}

void TZEDPicker::setFieldValue(const tk::Value& v)
{
    auto ymd = tk::readTypedDate(variantText(v));
    if (!ymd) {
        setChecked(false);
        return;
    }
    setDate(tk::encodeDate(ymd->year, ymd->month, ymd->day));
    setChecked(true);
}

void TZEDPicker::setState(int s)
{
    setEnabled(enabledInState(s, v_.canModify));
    v_.state = s;
    if (isState(s, EntryState::None) || isState(s, EntryState::New)) {
        setChecked(false);
        if (tk::Application) setDate(tk::Application->platform().today());
    }
}

}  // namespace velmora
