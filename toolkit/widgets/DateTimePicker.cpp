// Date pickers and their drop-down calendar.
#include "toolkit/widgets/DateTimePicker.h"

#include "toolkit/text/DateReading.h"
#include "toolkit/text/Locale.h"
#include "toolkit/widgets/StdProps.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Menus.h"

#include <cmath>

namespace tk {

TK_DEFINE_CLASS(TMonthCalColors, TPersistent)
{
    auto colour = [&](const char* name, TColor (TMonthCalColors::*get)() const, void (TMonthCalColors::*set)(TColor),
                      TColor def) { t.integer(name, get, set, def).constants(types::colors()); };
    colour("BackColor", &TMonthCalColors::backColor, &TMonthCalColors::setBackColor, clWindow);
    colour("TextColor", &TMonthCalColors::textColor, &TMonthCalColors::setTextColor, clWindowText);
    colour("TitleBackColor", &TMonthCalColors::titleBackColor, &TMonthCalColors::setTitleBackColor, clActiveCaption);
    colour("TitleTextColor", &TMonthCalColors::titleTextColor, &TMonthCalColors::setTitleTextColor, clWhite);
    colour("MonthBackColor", &TMonthCalColors::monthBackColor, &TMonthCalColors::setMonthBackColor, clWhite);
    colour("TrailingTextColor", &TMonthCalColors::trailingTextColor, &TMonthCalColors::setTrailingTextColor,
           clInactiveCaptionText);
}

TK_DEFINE_CLASS(TDateTimePicker, TWinControl)
{
    using namespace published;
    anchors(t);
    t.kept("BevelEdges", PropKind::Set, 15, &types::bevelEdges());
    t.kept("BevelInner", PropKind::Enum, 2, &types::bevelCut());
    t.kept("BevelOuter", PropKind::Enum, 1, &types::bevelCut());
    t.kept("BevelKind", PropKind::Enum, 0, &types::bevelKind());
    t.kept("BevelWidth", PropKind::Integer, 1);
    bidi(t);
    t.enumeration("CalAlignment", types::calAlignment(), &TDateTimePicker::calAlignment,
                  &TDateTimePicker::setCalAlignment, TDTCalAlignment::dtaLeft);
    t.object<TMonthCalColors>("CalColors", &TDateTimePicker::calColors);
    constraints(t);
    t.floating("Date", &TDateTimePicker::date, &TDateTimePicker::setDate);
    t.string("Format", &TDateTimePicker::format, &TDateTimePicker::setFormat);
    t.floating("Time", &TDateTimePicker::time, &TDateTimePicker::setTime);
    t.boolean("ShowCheckbox", &TDateTimePicker::showCheckbox, &TDateTimePicker::setShowCheckbox, false);
    t.boolean("Checked", &TDateTimePicker::checked, &TDateTimePicker::setChecked, true);
    t.integer("Color", &TDateTimePicker::color, &TDateTimePicker::setColor, clWindow).constants(types::colors());
    t.enumeration("DateFormat", types::dateFormat(), &TDateTimePicker::dateFormat, &TDateTimePicker::setDateFormat,
                  TDTDateFormat::dfShort);
    t.enumeration("DateMode", types::dateMode(), &TDateTimePicker::dateMode, &TDateTimePicker::setDateMode,
                  TDTDateMode::dmComboBox);
    drag(t);
    enabled(t);
    font(t);
    ime(t);
    t.enumeration("Kind", types::dateTimeKind(), &TDateTimePicker::kind, &TDateTimePicker::setKind,
                  TDateTimeKind::dtkDate);
    t.floating("MaxDate", &TDateTimePicker::maxDate, &TDateTimePicker::setMaxDate)
        .storedIf([](const TDateTimePicker& p) { return p.maxDate() != 0; });
    t.floating("MinDate", &TDateTimePicker::minDate, &TDateTimePicker::setMinDate)
        .storedIf([](const TDateTimePicker& p) { return p.minDate() != 0; });
    t.boolean("ParseInput", &TDateTimePicker::parseInput, &TDateTimePicker::setParseInput, false);
    parentBidi(t);
    parentColor(t, false);
    parentFont(t);
    parentShowHint(t);
    popupMenu(t);
    showHint(t);
    tabOrder(t);
    tabStop(t);
    visible(t);
    click(t);
    t.event("OnCloseUp", EventKind::Notify, &TDateTimePicker::OnCloseUp);
    t.event("OnChange", EventKind::Notify, &TDateTimePicker::OnChange);
    contextPopup(t);
    t.event("OnDropDown", EventKind::Notify, &TDateTimePicker::OnDropDown);
    dblClick(t);
    keptEvents(t, {"OnDragDrop", "OnDragOver", "OnEndDock", "OnEndDrag"});
    focusEvents(t);
    keyEvents(t);
    keptEvents(t, {"OnStartDock", "OnStartDrag", "OnUserInput"});
}

TDateTimePicker::TDateTimePicker(TComponent* owner)
    : TWinControl(owner), calColors_(std::make_unique<TMonthCalColors>())
{
    setTabStop(true);
    setColor(clWindow);
    setBoundsRaw(0, 0, 186, 21);
    dateTime_ = Application ? Application->platform().today() : encodeDate(2000, 1, 1);
    showMonthOf(dateTime_);
}

TDateTimePicker::~TDateTimePicker()
{
    if (calendar_.isOpen()) Application->closePopup();
}

double TDateTimePicker::date() const
{
    return std::floor(dateTime_);
}

double TDateTimePicker::time() const
{
    return dateTime_ - std::floor(dateTime_);
}

void TDateTimePicker::setDate(double d)
{
    double v = std::floor(d) + time();
    if (v == dateTime_) return;
    dateTime_ = v;
    showMonthOf(v);
    invalidate();
}

void TDateTimePicker::setTime(double t)
{
    dateTime_ = date() + (t - std::floor(t));
    invalidate();
}

void TDateTimePicker::setChecked(bool v)
{
    if (v == checked_) return;
    checked_ = v;
    invalidate();
}

std::string TDateTimePicker::displayText() const
{
    int y, m, d;
    decodeDate(dateTime_, y, m, d);
    return currentLocale().formatDate(y, m, d);
}

int TDateTimePicker::fittingWidth() const
{
    // Each digit as the widest digit of the font: every date is then no wider.
    char widest = '0';
    for (char d = '1'; d <= '9'; ++d)
        if (textWidth(std::string(1, d)) > textWidth(std::string(1, widest))) widest = d;
    std::string sample = displayText();
    for (char& c : sample)
        if (c >= '0' && c <= '9') c = widest;
    return textLeft + (showCheckbox_ ? checkboxWidth : 0) + textWidth(sample) + textRightMargin + buttonWidth;
}

void TDateTimePicker::showMonthOf(double d)
{
    int day;
    decodeDate(d, calYear_, calMonth_, day);
}

void TDateTimePicker::userDate(double d)
{
    if (minDate_ != 0 && d < std::floor(minDate_)) d = std::floor(minDate_);
    if (maxDate_ != 0 && d > std::floor(maxDate_)) d = std::floor(maxDate_);
    setDate(d);
    setChecked(true);
    fire(OnChange);
}

bool TDateTimePicker::enterText(const std::string& text)
{
    std::optional<Locale::Ymd> ymd = readTypedDate(text);
    if (!ymd) return false;
    userDate(encodeDate(ymd->year, ymd->month, ymd->day));
    return true;
}

bool TDateTimePicker::droppedDown() const
{
    return calendar_.isOpen();
}

void TDateTimePicker::setDroppedDown(bool v)
{
    if (!Application || v == droppedDown()) return;
    if (v) {
        ComponentRef<TDateTimePicker> self(this);
        showMonthOf(dateTime_);
        fire(OnDropDown);
        if (self) Application->openPopup(&calendar_);
    } else {
        Application->closePopup();
    }
}

TRect TDateTimePicker::calendarRect() const
{
    TPoint o = clientToScreen({0, height()});
    int w = 7 * cellWidth + 4, h = titleHeight + cellHeight * 7 + 4;
    if (calAlignment_ == TDTCalAlignment::dtaRight) o.x += width() - w;
    return {o.x, o.y, o.x + w, o.y + h};
}

double TDateTimePicker::cellDate(int row, int column) const
{
    double first = encodeDate(calYear_, calMonth_, 1);
    int mondayBased = (dayOfWeek(first) + 5) % 7;  // 0 for Monday
    return first - mondayBased + row * 7 + column;
}

void TDateTimePicker::Calendar::popupMouseUp(TMouseButton, TPoint screen)
{
    TRect r = screenRect();
    int x = screen.x - r.left - 2, y = screen.y - r.top - 2;
    if (y < titleHeight) {
        // The arrows at both ends of the title change the month.
        int step = x < cellWidth ? -1 : (x >= 6 * cellWidth ? 1 : 0);
        int m = picker_.calMonth_ + step, yr = picker_.calYear_;
        if (m < 1) {
            m = 12;
            --yr;
        }
        if (m > 12) {
            m = 1;
            ++yr;
        }
        picker_.calMonth_ = m;
        picker_.calYear_ = yr;
        picker_.invalidate();
        return;
    }
    int row = (y - titleHeight) / cellHeight - 1;  // the first row holds the weekday names
    int col = x / cellWidth;
    if (row < 0 || row > 5 || col < 0 || col > 6) return;
    double d = picker_.cellDate(row, col);
    ComponentRef<TDateTimePicker> self(&picker_);
    Application->closePopup();
    if (self) picker_.userDate(d);
}

bool TDateTimePicker::Calendar::popupKeyDown(uint16_t key, TShiftState)
{
    double d = picker_.date();
    switch (key) {
    case vk::Escape: Application->closePopup(); return true;
    case vk::Return: {
        ComponentRef<TDateTimePicker> self(&picker_);
        Application->closePopup();
        if (self) picker_.userDate(d);
        return true;
    }
    case vk::Left: d -= 1; break;
    case vk::Right: d += 1; break;
    case vk::Up: d -= 7; break;
    case vk::Down: d += 7; break;
    default: return true;
    }
    picker_.setDate(d);
    return true;
}

void TDateTimePicker::Calendar::popupClosed()
{
    picker_.fire(picker_.OnCloseUp);
}

bool TDateTimePicker::handle(InputEvent& e)
{
    switch (e.type) {
    case InputType::MouseDown:
        if (e.button != TMouseButton::mbLeft) break;
        if (showCheckbox_ && e.x < checkboxWidth) {
            setChecked(!checked_);
            fire(OnChange);
            return true;
        }
        if (e.x >= width() - buttonWidth) {
            setDroppedDown(!droppedDown());
            return true;
        }
        return true;
    case InputType::KeyDown:
        if (e.key == vk::F4 || ((e.shift & ssAlt) && e.key == vk::Down)) {
            setDroppedDown(true);
            return true;
        }
        if (e.key == vk::Up || e.key == vk::Down) {
            userDate(date() + (e.key == vk::Up ? 1 : -1));
            return true;
        }
        if (e.key == vk::Space && showCheckbox_) {
            setChecked(!checked_);
            fire(OnChange);
            return true;
        }
        return false;
    default: break;
    }
    return TWinControl::handle(e);
}

}  // namespace tk
