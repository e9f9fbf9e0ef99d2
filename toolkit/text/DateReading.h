// A date as a person writes it, read without regard to the desk's locale:
// the Hungarian form first ("2026.11.16.", "2026. 11. 16."), ISO
// ("2026-11-16"), its digits alone ("20261116"), and day first with the
// year last ("16.11.2026", "16/11/2026"). The year is always four digits:
// a two-digit year could be any century, so anything that could be read
// two ways is no date.
#pragma once

#include "toolkit/text/Locale.h"

#include <optional>
#include <string_view>

namespace tk {

// With `withTime`, an ISO date may carry a time of day ("2026-11-16
// 14:30", "2026-11-16T14:30:05"), which is read past and dropped.
std::optional<Locale::Ymd> readDate(std::string_view text, bool withTime = false);

// A date typed into a form: in the current locale's short form (a full
// stop standing for its date separator), else as readDate reads it.
std::optional<Locale::Ymd> readTypedDate(std::string_view text);

// The way a program that is not the designer shows dates, whatever the
// desk's locale: "2026.11.16." or "2026-11-16".
enum class DateStyle { Hungarian, Iso };
// `base` with its dates shown and read in `style`; its numbers stay.
Locale withDateStyle(Locale base, DateStyle style);

}  // namespace tk
