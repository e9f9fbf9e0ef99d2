// TDateTimePicker in date mode: a date shown in the locale's short format,
// an optional check box, and a calendar that drops down (OnDropDown,
// OnCloseUp). Setting the date keeps the time of day.
#pragma once

#include "toolkit/widgets/WinControl.h"
#include "toolkit/windows/Popup.h"

#include <memory>

namespace tk {

// Colours of the drop-down calendar.
class TMonthCalColors : public TPersistent {
    TK_CLASS(TMonthCalColors)
public:
    TColor backColor() const { return back_; }
    void setBackColor(TColor v) { back_ = v; }
    TColor textColor() const { return text_; }
    void setTextColor(TColor v) { text_ = v; }
    TColor titleBackColor() const { return titleBack_; }
    void setTitleBackColor(TColor v) { titleBack_ = v; }
    TColor titleTextColor() const { return titleText_; }
    void setTitleTextColor(TColor v) { titleText_ = v; }
    TColor monthBackColor() const { return monthBack_; }
    void setMonthBackColor(TColor v) { monthBack_ = v; }
    TColor trailingTextColor() const { return trailing_; }
    void setTrailingTextColor(TColor v) { trailing_ = v; }

private:
    TColor back_ = clWindow, text_ = clWindowText, titleBack_ = clActiveCaption, titleText_ = clWhite,
           monthBack_ = clWhite, trailing_ = clInactiveCaptionText;
};

class TDateTimePicker : public TWinControl {
    TK_CLASS(TDateTimePicker)
public:
    explicit TDateTimePicker(TComponent* owner);
    ~TDateTimePicker() override;

    // Date and time of day in one day number.
    double dateTime() const { return dateTime_; }
    double date() const;
    void setDate(double d);
    double time() const;
    void setTime(double t);
    bool checked() const { return checked_; }
    void setChecked(bool v);
    bool showCheckbox() const { return showCheckbox_; }
    void setShowCheckbox(bool v)
    {
        showCheckbox_ = v;
        invalidate();
    }
    TDateTimeKind kind() const { return kind_; }
    void setKind(TDateTimeKind v)
    {
        kind_ = v;
        invalidate();
    }
    TDTDateFormat dateFormat() const { return dateFormat_; }
    void setDateFormat(TDTDateFormat v) { dateFormat_ = v; }
    TDTDateMode dateMode() const { return dateMode_; }
    void setDateMode(TDTDateMode v) { dateMode_ = v; }
    TDTCalAlignment calAlignment() const { return calAlignment_; }
    void setCalAlignment(TDTCalAlignment v) { calAlignment_ = v; }
    double minDate() const { return minDate_; }
    void setMinDate(double v) { minDate_ = v; }
    double maxDate() const { return maxDate_; }
    void setMaxDate(double v) { maxDate_ = v; }
    const std::string& format() const { return format_; }
    void setFormat(const std::string& v)
    {
        format_ = v;
        invalidate();
    }
    bool parseInput() const { return parseInput_; }
    void setParseInput(bool v) { parseInput_ = v; }
    TMonthCalColors* calColors() const { return calColors_.get(); }

    // The date as shown, in the locale's short date format.
    std::string displayText() const;
    // The width at which any date in that format fits in the drawing font
    // beside the check box and the button.
    int fittingWidth() const;
    // The text begins `textLeft` from the left edge (after the check box
    // when shown) and keeps `textRightMargin` clear of the button.
    static constexpr int textLeft = 3, textRightMargin = 2;
    static constexpr int checkboxWidth = 16;
    // The drop-down button with the frame beside it, as the style draws it.
    static constexpr int buttonWidth = 21;

    // A date given as text (as a person types one, DateReading.h): set and
    // checked, OnChange raised, as when picked; false, changing nothing,
    // when the text is no date.
    bool enterText(const std::string& text);

    bool droppedDown() const;
    void setDroppedDown(bool v);
    // Calendar geometry (screen), the month it shows, its day cells.
    static constexpr int cellWidth = 22, cellHeight = 16, titleHeight = 20;
    TRect calendarRect() const;
    int calendarYear() const { return calYear_; }
    int calendarMonth() const { return calMonth_; }
    // Day number shown in cell `row` (0..5), `column` (0..6, Monday first).
    double cellDate(int row, int column) const;

    bool handle(InputEvent& e) override;
    bool focusOnClick() const override { return true; }

    Handler OnChange, OnDropDown, OnCloseUp;

private:
    class Calendar : public TPopup {
    public:
        explicit Calendar(TDateTimePicker& p) : picker_(p) {}
        TRect screenRect() const override { return picker_.calendarRect(); }
        void popupMouseUp(TMouseButton, TPoint screen) override;
        bool popupKeyDown(uint16_t key, TShiftState shift) override;
        void popupClosed() override;
        TControl* popupOwner() const override { return &picker_; }

    private:
        TDateTimePicker& picker_;
    };
    // The user picks a date: it is set, checked, OnChange raised.
    void userDate(double d);
    void showMonthOf(double d);

    double dateTime_;
    bool checked_ = true;
    bool showCheckbox_ = false;
    TDateTimeKind kind_ = TDateTimeKind::dtkDate;
    TDTDateFormat dateFormat_ = TDTDateFormat::dfShort;
    TDTDateMode dateMode_ = TDTDateMode::dmComboBox;
    TDTCalAlignment calAlignment_ = TDTCalAlignment::dtaLeft;
    double minDate_ = 0, maxDate_ = 0;
    std::string format_;
    bool parseInput_ = false;
    std::unique_ptr<TMonthCalColors> calColors_;
    int calYear_ = 2000, calMonth_ = 1;
    Calendar calendar_{*this};
};

}  // namespace tk
