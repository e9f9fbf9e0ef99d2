// Reading dates as people write them.
#include "toolkit/text/DateReading.h"

#include <cctype>
#include <charconv>
#include <string>
#include <vector>

namespace tk {

namespace {

// The digits of `s` as a number; none unless it is 1 to `most` digits.
std::optional<int> digits(std::string_view s, size_t most)
{
    if (s.empty() || s.size() > most) return std::nullopt;
    int v = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return v;
}

std::optional<Locale::Ymd> valid(std::optional<int> y, std::optional<int> m, std::optional<int> d)
{
    if (!y || !m || !d || !isValidDate(*y, *m, *d)) return std::nullopt;
    return Locale::Ymd{*y, *m, *d};
}

// hh:mm or hh:mm:ss, as a time of day.
bool isTimeOfDay(std::string_view t)
{
    auto part = [](std::string_view s, int most) {
        std::optional<int> v = digits(s, 2);
        return s.size() == 2 && v && *v <= most;
    };
    if (t.size() == 5) return part(t.substr(0, 2), 23) && t[2] == ':' && part(t.substr(3, 2), 59);
    if (t.size() == 8) return isTimeOfDay(t.substr(0, 5)) && t[5] == ':' && part(t.substr(6, 2), 59);
    return false;
}

std::string_view trimmedView(std::string_view s)
{
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.front()))) s.remove_prefix(1);
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.remove_suffix(1);
    return s;
}

}  // namespace

std::optional<Locale::Ymd> readDate(std::string_view typed, bool withTime)
{
    std::string_view text = trimmedView(typed);
    // ISO, with a time or without.
    if (text.size() >= 10 && text[4] == '-' && text[7] == '-') {
        std::string_view rest = text.substr(10);
        if (!rest.empty() &&
            !(withTime && (rest[0] == ' ' || rest[0] == 'T') && isTimeOfDay(rest.substr(1))))
            return std::nullopt;
        return valid(digits(text.substr(0, 4), 4), digits(text.substr(5, 2), 2), digits(text.substr(8, 2), 2));
    }
    // The digits alone, year first.
    if (text.size() == 8 && digits(text, 8))
        return valid(digits(text.substr(0, 4), 4), digits(text.substr(4, 2), 2), digits(text.substr(6, 2), 2));
    // Three numbers parted by one separator, a blank allowed after each
    // (the Hungarian standard's "2026. 11. 16."), a full stop after the last.
    std::vector<std::string_view> parts;
    char separator = 0;
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) continue;
        if (i == start) return std::nullopt;  // two separators, or none before a blank
        parts.push_back(text.substr(start, i - start));
        if (i == text.size()) break;
        if (separator && text[i] != separator) return std::nullopt;
        separator = text[i];
        if (separator != '.' && separator != '/') return std::nullopt;
        if (i + 1 < text.size() && text[i + 1] == ' ' && separator == '.') ++i;
        start = i + 1;
        if (start == text.size() && separator == '.' && parts.size() == 3) break;
    }
    if (parts.size() != 3) return std::nullopt;
    // The year comes first (Hungarian) or last (day first).
    if (parts[0].size() == 4 && separator == '.')
        return valid(digits(parts[0], 4), digits(parts[1], 2), digits(parts[2], 2));
    if (parts[2].size() == 4 && text.back() != '.')
        return valid(digits(parts[2], 4), digits(parts[1], 2), digits(parts[0], 2));
    return std::nullopt;
}

std::optional<Locale::Ymd> readTypedDate(std::string_view text)
{
    const Locale& locale = currentLocale();
    std::string dotted(text);
    for (char& c : dotted)
        if (c == '.') c = locale.dateSeparator;
    if (std::optional<Locale::Ymd> ymd = locale.parseDate(dotted)) return ymd;
    return readDate(text);
}

Locale withDateStyle(Locale base, DateStyle style)
{
    base.shortDateFormat = style == DateStyle::Iso ? "yyyy-mm-dd" : "yyyy.mm.dd.";
    base.dateSeparator = style == DateStyle::Iso ? '-' : '.';
    return base;
}

}  // namespace tk
