// A date as a database keeps it and hands it back as text: "yyyy-mm-dd",
// with " hh:mm:ss" or without. One reader for every writer of lists and
// for the form's own conversions.
#pragma once

#include <optional>
#include <string_view>

namespace tk {

struct StoredDateTime {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
    bool atMidnight() const { return hour == 0 && minute == 0 && second == 0; }
};

// The whole text as a stored date, or none: a valid day, and a valid time
// when there is one.
std::optional<StoredDateTime> parseStoredDateTime(std::string_view text);

}  // namespace tk
