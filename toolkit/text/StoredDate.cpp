// Reading stored dates.
#include "toolkit/text/StoredDate.h"

#include "toolkit/text/Locale.h"

#include <charconv>

namespace tk {

namespace {

// `digits` digits at `at`, or -1.
int number(std::string_view text, size_t at, size_t digits)
{
    if (at + digits > text.size()) return -1;
    int n = 0;
    auto [end, error] = std::from_chars(text.data() + at, text.data() + at + digits, n);
    return error == std::errc() && end == text.data() + at + digits ? n : -1;
}

}  // namespace

std::optional<StoredDateTime> parseStoredDateTime(std::string_view text)
{
    if (text.size() != 10 && text.size() != 19) return std::nullopt;
    if (text[4] != '-' || text[7] != '-') return std::nullopt;
    StoredDateTime d;
    d.year = number(text, 0, 4);
    d.month = number(text, 5, 2);
    d.day = number(text, 8, 2);
    if (d.year < 0 || d.month < 0 || d.day < 0 || !isValidDate(d.year, d.month, d.day)) return std::nullopt;
    if (text.size() == 10) return d;
    if (text[10] != ' ' || text[13] != ':' || text[16] != ':') return std::nullopt;
    d.hour = number(text, 11, 2);
    d.minute = number(text, 14, 2);
    d.second = number(text, 17, 2);
    if (d.hour < 0 || d.hour > 23 || d.minute < 0 || d.minute > 59 || d.second < 0 || d.second > 59)
        return std::nullopt;
    return d;
}

}  // namespace tk
