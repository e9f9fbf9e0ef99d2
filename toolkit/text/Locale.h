// The user's locale: decimal and date separators, the short date format and
// the ANSI code page. One program-wide settings object, read from the
// operating system at start-up and replaceable in tests.
#pragma once

#include <optional>
#include <string>

namespace tk {

struct Locale {
    char decimalSeparator = ',';
    char dateSeparator = '.';
    // Tokens: yyyy, yy, mm/m (month), dd/d (day), "/" for the date
    // separator; other characters stand for themselves.
    std::string shortDateFormat = "yyyy.mm.dd.";
    int ansiCodePage = 1250;

    // Hungarian settings as Windows has them.
    static Locale hungarian();
    // The settings of the process's C locale (LC_NUMERIC, LC_TIME).
    static Locale fromSystem();

    std::string formatDate(int year, int month, int day) const;
    // Parses by the short date format's order of year, month and day, with
    // the date separator between them; nothing on failure.
    struct Ymd {
        int year, month, day;
    };
    std::optional<Ymd> parseDate(const std::string& text) const;
    // Parses a floating-point number with this locale's decimal separator.
    std::optional<double> parseFloat(const std::string& text) const;
};

const Locale& currentLocale();
void setCurrentLocale(const Locale& l);

// A date as a database keeps it ("yyyy-mm-dd", with " hh:mm:ss" or not)
// as the current locale shows a date, with the time only when it is not
// midnight; a text that is no such date as it stands.
std::string shownDateTime(const std::string& stored);

// Dates as day numbers: day 0 is 30 December 1899, the time of day the fraction.
double encodeDate(int year, int month, int day);
void decodeDate(double date, int& year, int& month, int& day);
bool isValidDate(int year, int month, int day);
int daysInMonth(int year, int month);
// 1 Sunday ... 7 Saturday.
int dayOfWeek(double date);

}  // namespace tk
