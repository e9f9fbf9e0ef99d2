// The spreadsheet list.
#include "entry/XlsxList.h"

#include "toolkit/core/Errors.h"
#include "toolkit/text/StoredDate.h"

#include <xlsxwriter.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <optional>

namespace velmora {

namespace {

std::optional<double> numberIn(const std::string& text)
{
    double n = 0;
    const char* end = text.data() + text.size();
    auto [at, error] = std::from_chars(text.data(), end, n);
    if (text.empty() || error != std::errc() || at != end) return std::nullopt;
    return n;
}

// A stored date as the spreadsheet's date; none before 1900, which it
// cannot hold.
std::optional<lxw_datetime> dateIn(const std::string& text)
{
    std::optional<tk::StoredDateTime> d = tk::parseStoredDateTime(text);
    if (!d || d->year < 1900) return std::nullopt;
    return lxw_datetime{d->year, d->month, d->day, d->hour, d->minute, static_cast<double>(d->second)};
}

}  // namespace

void writeXlsx(const tk::Printout& list, const std::string& path)
{
    // The library says only that it failed at the end: the file is tried first.
    if (!std::ofstream(path, std::ios::binary | std::ios::app))
        throw tk::EInvalidOperation("A fájl nem írható: " + path + " (" + std::strerror(errno) + ")");
    lxw_workbook* book = workbook_new(path.c_str());
    if (!book) throw tk::EInvalidOperation("A fájl nem írható: " + path);
    // The library takes the texts unconst, and copies them.
    std::string title = list.title, comments = "Velmora Document Store";
    lxw_doc_properties properties{};
    properties.title = title.data();
    properties.comments = comments.data();
    workbook_set_properties(book, &properties);
    lxw_worksheet* sheet = workbook_add_worksheet(book, "Dokumentumok");
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    lxw_format* day = workbook_add_format(book);
    format_set_num_format(day, "yyyy.mm.dd.");
    lxw_format* moment = workbook_add_format(book);
    format_set_num_format(moment, "yyyy.mm.dd. hh:mm:ss");

    for (size_t c = 0; c < list.columns.size(); ++c) {
        worksheet_write_string(sheet, 0, static_cast<lxw_col_t>(c), list.columns[c].c_str(), bold);
        worksheet_set_column(sheet, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c),
                             c < list.kinds.size() && list.kinds[c] == tk::Printout::Kind::Date ? 12 : 16, nullptr);
    }
    worksheet_freeze_panes(sheet, 1, 0);
    for (size_t r = 0; r < list.rows.size(); ++r) {
        auto row = static_cast<lxw_row_t>(r + 1);
        for (size_t c = 0; c < list.rows[r].size(); ++c) {
            const std::string& text = list.rows[r][c];
            if (text.empty()) continue;
            auto col = static_cast<lxw_col_t>(c);
            tk::Printout::Kind kind = c < list.kinds.size() ? list.kinds[c] : tk::Printout::Kind::Text;
            if (kind == tk::Printout::Kind::Number) {
                if (auto n = numberIn(text)) {
                    worksheet_write_number(sheet, row, col, *n, nullptr);
                    continue;
                }
            } else if (kind == tk::Printout::Kind::Date) {
                if (auto d = dateIn(text)) {
                    bool midnight = d->hour == 0 && d->min == 0 && d->sec == 0;
                    worksheet_write_datetime(sheet, row, col, &*d, midnight ? day : moment);
                    continue;
                }
            }
            worksheet_write_string(sheet, row, col, text.c_str(), nullptr);
        }
    }
    lxw_error error = workbook_close(book);
    if (error != LXW_NO_ERROR)
        throw tk::EInvalidOperation("A fájl nem írható: " + path + " (" + lxw_strerror(error) + ")");
}

}  // namespace velmora
