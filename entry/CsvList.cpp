// CSV files.
#include "entry/CsvList.h"

#include "toolkit/core/Errors.h"

#include <cerrno>
#include <cstring>
#include <fstream>

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

void appendRecord(std::string& out, const std::vector<std::string>& fields)
{
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i) out += ';';
        appendField(out, fields[i]);
    }
    out += "\r\n";
}

}  // namespace

std::string csvText(const tk::Printout& list)
{
    std::string out = "\xEF\xBB\xBF";
    appendRecord(out, list.columns);
    for (const auto& row : list.rows) appendRecord(out, row);
    return out;
}

void writeCsv(const tk::Printout& list, const std::string& path)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    if (file) file << csvText(list);
    if (!file) throw tk::EInvalidOperation("A fájl nem írható: " + path + " (" + std::strerror(errno) + ")");
}

}  // namespace velmora
