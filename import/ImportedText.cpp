// Imported values into field controls.
#include "import/ImportedText.h"

#include "controls/ZEDChxBox.h"
#include "controls/ZEDPicker.h"
#include "controls/ZEDit.h"
#include "entry/FieldValues.h"
#include "toolkit/text/Text.h"

#include <cctype>
#include <charconv>
#include <vector>
#include <string_view>

namespace velmora {

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

std::optional<tk::Locale::Ymd> valid(std::optional<int> y, std::optional<int> m, std::optional<int> d)
{
    if (!y || !m || !d || !tk::isValidDate(*y, *m, *d)) return std::nullopt;
    return tk::Locale::Ymd{*y, *m, *d};
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

// Text that a spreadsheet would run as a formula, which the clerk's
// printed list guards with an apostrophe.
std::string unguarded(const std::string& text)
{
    if (text.size() >= 2 && text[0] == '\'' && std::string_view("=+-@\t\r").find(text[1]) != std::string_view::npos)
        return text.substr(1);
    return text;
}

std::optional<std::string> refuse(const char* what, tk::TControl& field)
{
    return std::string(what) + fieldLabel(field);
}

}  // namespace

std::optional<tk::Locale::Ymd> importedDate(const std::string& typed)
{
    std::string text = tk::trimmed(typed);
    // ISO, with a time or without.
    if (text.size() >= 10 && text[4] == '-' && text[7] == '-') {
        std::string_view rest = std::string_view(text).substr(10);
        if (!rest.empty() && !((rest[0] == ' ' || rest[0] == 'T') && isTimeOfDay(rest.substr(1)))) return std::nullopt;
        return valid(digits(std::string_view(text).substr(0, 4), 4), digits(std::string_view(text).substr(5, 2), 2),
                     digits(std::string_view(text).substr(8, 2), 2));
    }
    // Three numbers parted by one separator, a blank allowed after each
    // (the Hungarian standard's "2026. 11. 16."), a full stop after the last.
    std::vector<std::string_view> parts;
    char separator = 0;
    std::string_view t = text;
    size_t start = 0;
    for (size_t i = 0; i <= t.size(); ++i) {
        if (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) continue;
        if (i == start) return std::nullopt;  // two separators, or none before a blank
        parts.push_back(t.substr(start, i - start));
        if (i == t.size()) break;
        if (separator && t[i] != separator) return std::nullopt;
        separator = t[i];
        if (separator != '.' && separator != '/') return std::nullopt;
        if (i + 1 < t.size() && t[i + 1] == ' ' && separator == '.') ++i;
        start = i + 1;
        if (start == t.size() && separator == '.' && parts.size() == 3) break;
    }
    if (parts.size() != 3) return std::nullopt;
    // The year comes first (Hungarian) or last (day first); it is always
    // written with four digits: a two-digit year could be any century.
    if (parts[0].size() == 4 && separator == '.')
        return valid(digits(parts[0], 4), digits(parts[1], 2), digits(parts[2], 2));
    if (parts[2].size() == 4 && text.back() != '.')
        return valid(digits(parts[2], 4), digits(parts[1], 2), digits(parts[0], 2));
    return std::nullopt;
}

std::optional<std::string> putImportedText(tk::TControl& field, const DocumentColumn& column, const std::string& typed)
{
    std::string text = unguarded(typed);
    if (auto* picker = tk::as<TZEDPicker>(&field)) {
        if (tk::trimmed(text).empty()) {
            picker->setChecked(false);
            return std::nullopt;
        }
        std::optional<tk::Locale::Ymd> ymd = importedDate(text);
        if (!ymd)
            return refuse(("Érvénytelen vagy kétértelmű dátum (" + text +
                           "; négyjegyű évvel írja, például 2026.11.16.): ")
                              .c_str(),
                          field);
        picker->setDate(tk::encodeDate(ymd->year, ymd->month, ymd->day));
        picker->setChecked(true);
        return std::nullopt;
    }
    if (auto* box = tk::as<TZEDChxBox>(&field)) {
        std::string word = tk::trimmed(text);
        if (word.empty() || tk::sameText(word, "Nem") || word == "0" || tk::sameText(word, "False"))
            box->setChecked(false);
        else if (tk::sameText(word, "Igen") || word == "1" || tk::sameText(word, "True")) box->setChecked(true);
        else return refuse("Igen vagy Nem adható meg: ", field);
        return std::nullopt;
    }
    auto* edit = tk::as<TZEDit>(&field);
    if (!edit) return std::nullopt;
    const tk::Locale& locale = tk::currentLocale();
    if (isDateColumn(column) && edit->Dictionary().empty() && !tk::trimmed(text).empty()) {
        // The form reads a typed date in the locale's short form.
        if (std::optional<tk::Locale::Ymd> ymd = importedDate(text))
            text = locale.formatDate(ymd->year, ymd->month, ymd->day);
    } else if (isFloatColumn(column) && locale.decimalSeparator != '.' &&
               text.find(locale.decimalSeparator) == std::string::npos) {
        // A number written with a decimal point, as files from other
        // locales and the printed list have it.
        for (char& c : text)
            if (c == '.') c = locale.decimalSeparator;
    }
    edit->setText(text);
    return std::nullopt;
}

}  // namespace velmora
