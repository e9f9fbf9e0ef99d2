// CSV files.
#include "entry/CsvList.h"

#include "toolkit/core/Errors.h"
#include "toolkit/text/StoredDate.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <string_view>

namespace velmora {

namespace {

void appendField(std::string& out, const std::string& field)
{
    bool quote = field.find_first_of(";\"\r\n") != std::string::npos ||
                 (!field.empty() && (field.front() == ' ' || field.back() == ' '));
    if (!quote) {
        out += field;
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"') out += '"';
        out += c;
    }
    out += '"';
}

// A text a spreadsheet would run as a formula gets the apostrophe that
// tells it to take the text as it stands.
bool readsAsFormula(const std::string& text)
{
    return !text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos;
}

// A date as ISO 8601: the day alone at midnight, else with the time.
std::string isoDate(const std::string& stored)
{
    std::optional<tk::StoredDateTime> d = tk::parseStoredDateTime(stored);
    return d && d->atMidnight() ? stored.substr(0, 10) : stored;
}

void appendRecord(std::string& out, const std::vector<std::string>& fields,
                  const std::vector<tk::Printout::Kind>& kinds)
{
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i) out += ';';
        tk::Printout::Kind kind = i < kinds.size() ? kinds[i] : tk::Printout::Kind::Text;
        if (kind == tk::Printout::Kind::Date) appendField(out, isoDate(fields[i]));
        else if (kind == tk::Printout::Kind::Text && readsAsFormula(fields[i])) appendField(out, "'" + fields[i]);
        else appendField(out, fields[i]);
    }
    out += "\r\n";
}

}  // namespace

std::string csvText(const tk::Printout& list)
{
    std::string out = "\xEF\xBB\xBF";
    appendRecord(out, list.columns, {});
    for (const auto& row : list.rows) appendRecord(out, row, list.kinds);
    return out;
}

void writeCsv(const tk::Printout& list, const std::string& path)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (file) file << csvText(list);
    if (!file) throw tk::EInvalidOperation("A fájl nem írható: " + path + " (" + std::strerror(errno) + ")");
}

}  // namespace velmora
