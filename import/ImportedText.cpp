// Imported values into field controls.
#include "import/ImportedText.h"

#include "controls/ZEDChxBox.h"
#include "controls/ZEDPicker.h"
#include "controls/ZEDit.h"
#include "entry/FieldValues.h"
#include "toolkit/text/DateReading.h"
#include "toolkit/text/Text.h"

#include <string_view>

namespace velmora {

namespace {

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

std::optional<std::string> putImportedText(tk::TControl& field, const DocumentColumn& column, const std::string& typed)
{
    std::string text = unguarded(typed);
    if (auto* picker = tk::as<TZEDPicker>(&field)) {
        if (tk::trimmed(text).empty()) {
            picker->setChecked(false);
            return std::nullopt;
        }
        std::optional<tk::Locale::Ymd> ymd = tk::readDate(text, true);
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
        if (std::optional<tk::Locale::Ymd> ymd = tk::readDate(text, true))
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
