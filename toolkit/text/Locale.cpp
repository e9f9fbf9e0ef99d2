// Locale settings and date arithmetic.
#include "toolkit/text/Locale.h"

#include "toolkit/text/StoredDate.h"

#include <cctype>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <langinfo.h>
#include <vector>

namespace tk {

namespace {
Locale& current()
{
    static Locale l = Locale::hungarian();
    return l;
}

long long daysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    long long era = (y >= 0 ? y : y - 399) / 400;
    unsigned yoe = static_cast<unsigned>(y - era * 400);
    unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

// Day number of 30 December 1899 counted from 1 January 1970.
const long long epochOffset = daysFromCivil(1899, 12, 30);
}  // namespace

const Locale& currentLocale()
{
    return current();
}

void setCurrentLocale(const Locale& l)
{
    current() = l;
}

Locale Locale::hungarian()
{
    return Locale{};
}

Locale Locale::fromSystem()
{
    Locale l;
    if (const lconv* lc = std::localeconv(); lc && lc->decimal_point && lc->decimal_point[0])
        l.decimalSeparator = lc->decimal_point[0];
    std::string fmt = nl_langinfo(D_FMT);
    std::string out;
    for (size_t i = 0; i < fmt.size(); ++i) {
        if (fmt[i] == '%' && i + 1 < fmt.size()) {
            char c = fmt[++i];
            if (c == 'Y') out += "yyyy";
            else if (c == 'y') out += "yy";
            else if (c == 'm') out += "mm";
            else if (c == 'd' || c == 'e') out += "dd";
            else if (c == 'D') out += "mm/dd/yy";
            else if (c == 'F') out += "yyyy-mm-dd";
            continue;
        }
        out += fmt[i];
    }
    if (out.find('y') != std::string::npos && out.find('m') != std::string::npos &&
        out.find('d') != std::string::npos) {
        l.shortDateFormat = out;
        for (char c : out)
            if (!std::isalpha(static_cast<unsigned char>(c)) && c != ' ') {
                l.dateSeparator = c;
                break;
            }
    }
    return l;
}

std::string Locale::formatDate(int year, int month, int day) const
{
    std::string out;
    const std::string& f = shortDateFormat;
    auto count = [&](size_t i, char c) {
        size_t n = 0;
        while (i + n < f.size() && std::tolower(static_cast<unsigned char>(f[i + n])) == c) ++n;
        return n;
    };
    auto two = [](int v) { return (v < 10 ? "0" : "") + std::to_string(v); };
    for (size_t i = 0; i < f.size();) {
        char c = static_cast<char>(std::tolower(static_cast<unsigned char>(f[i])));
        if (c == 'y') {
            size_t n = count(i, 'y');
            out += n >= 3 ? std::to_string(year) : two(year % 100);
            i += n;
        } else if (c == 'm') {
            size_t n = count(i, 'm');
            out += n >= 2 ? two(month) : std::to_string(month);
            i += n;
        } else if (c == 'd') {
            size_t n = count(i, 'd');
            out += n >= 2 ? two(day) : std::to_string(day);
            i += n;
        } else {
            out += f[i] == '/' ? dateSeparator : f[i];
            ++i;
        }
    }
    return out;
}

std::optional<Locale::Ymd> Locale::parseDate(const std::string& text) const
{
    // The order of the parts as the format gives them.
    std::vector<char> order;
    for (char ch : shortDateFormat) {
        char c = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        if ((c == 'y' || c == 'm' || c == 'd') && (order.empty() || order.back() != c)) order.push_back(c);
    }
    if (order.size() != 3) return std::nullopt;
    std::vector<int> parts;
    std::vector<int> digits;
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    while (i < text.size()) {
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
        long long v = 0;
        int n = 0;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            v = v * 10 + (text[i] - '0');
            if (++n > 4) return std::nullopt;
            ++i;
        }
        parts.push_back(static_cast<int>(v));
        digits.push_back(n);
        while (i < text.size() && text[i] == ' ') ++i;
        if (i < text.size() && text[i] == dateSeparator) ++i;
        while (i < text.size() && text[i] == ' ') ++i;
    }
    if (parts.size() != 3) return std::nullopt;
    Ymd r{0, 0, 0};
    for (size_t k = 0; k < 3; ++k) {
        if (order[k] == 'y') {
            r.year = parts[k];
            if (digits[k] <= 2) r.year += r.year < 50 ? 2000 : 1900;
        } else if (order[k] == 'm') r.month = parts[k];
        else r.day = parts[k];
    }
    if (!isValidDate(r.year, r.month, r.day)) return std::nullopt;
    return r;
}

std::optional<double> Locale::parseFloat(const std::string& text) const
{
    std::string s = text;
    while (!s.empty() && s.front() == ' ') s.erase(s.begin());
    while (!s.empty() && s.back() == ' ') s.pop_back();
    if (s.empty()) return std::nullopt;
    std::string c;
    bool seenSep = false, seenDigit = false;
    for (size_t i = 0; i < s.size(); ++i) {
        char ch = s[i];
        if (std::isdigit(static_cast<unsigned char>(ch))) {
            seenDigit = true;
            c += ch;
        } else if (ch == decimalSeparator && !seenSep) {
            seenSep = true;
            c += '.';
        } else if ((ch == '-' || ch == '+') && (i == 0 || s[i - 1] == 'e' || s[i - 1] == 'E')) {
            c += ch;
        } else if ((ch == 'e' || ch == 'E') && seenDigit) {
            c += ch;
        } else {
            return std::nullopt;
        }
    }
    if (!seenDigit) return std::nullopt;
    char* end = nullptr;
    double v = std::strtod(c.c_str(), &end);
    if (end != c.c_str() + c.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

bool isValidDate(int year, int month, int day)
{
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= daysInMonth(year, month);
}

int daysInMonth(int year, int month)
{
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return days[month - 1] + (month == 2 && leap ? 1 : 0);
}

double encodeDate(int year, int month, int day)
{
    return static_cast<double>(daysFromCivil(year, month, day) - epochOffset);
}

void decodeDate(double date, int& year, int& month, int& day)
{
    long long z = static_cast<long long>(std::floor(date)) + epochOffset + 719468;
    long long era = (z >= 0 ? z : z - 146096) / 146097;
    unsigned doe = static_cast<unsigned>(z - era * 146097);
    unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long long y = static_cast<long long>(yoe) + era * 400;
    unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    unsigned mp = (5 * doy + 2) / 153;
    day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    year = static_cast<int>(y + (month <= 2));
}

int dayOfWeek(double date)
{
    // 30 December 1899 was a Saturday.
    long long d = static_cast<long long>(std::floor(date));
    return static_cast<int>(((d % 7) + 7 + 6) % 7) + 1;
}

std::string shownDateTime(const std::string& stored)
{
    std::optional<StoredDateTime> d = parseStoredDateTime(stored);
    if (!d) return stored;
    std::string shown = currentLocale().formatDate(d->year, d->month, d->day);
    if (!d->atMidnight()) {
        char time[16];
        if (d->second) std::snprintf(time, sizeof time, " %02d:%02d:%02d", d->hour, d->minute, d->second);
        else std::snprintf(time, sizeof time, " %02d:%02d", d->hour, d->minute);
        shown += time;
    }
    return shown;
}

}  // namespace tk
