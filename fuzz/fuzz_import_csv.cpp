// Fuzz target: any bytes as an imported CSV file, read as UTF-8 or as
// Windows-1250 (the first byte chooses), its header mapped to a form's
// fields with the second record as the command line's title map. The
// reader gives valid UTF-8 or refuses with a line number; the mapping gives
// each of the file's columns a field of the form or none, no field twice,
// and refuses only with a line. Every field read as a date is a real day
// with a four-digit year, read again the same from its Hungarian spelling.
#include "import/CsvReader.h"
#include "import/ImportMapping.h"
#include "import/ImportedText.h"
#include "toolkit/text/DateReading.h"
#include "toolkit/text/Text.h"
#include "toolkit/text/CodePage.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

void checkDate(const std::string& field)
{
    std::optional<tk::Locale::Ymd> ymd = tk::readDate(field, true);
    if (!ymd) return;
    if (ymd->year < 1000 || ymd->year > 9999 || !tk::isValidDate(ymd->year, ymd->month, ymd->day)) std::abort();
    char hungarian[32];
    std::snprintf(hungarian, sizeof hungarian, "%04d.%02d.%02d.", ymd->year, ymd->month, ymd->day);
    std::optional<tk::Locale::Ymd> again = tk::readDate(hungarian, true);
    if (!again || again->year != ymd->year || again->month != ymd->month || again->day != ymd->day) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    auto encoding = data[0] & 1 ? velmora::TextEncoding::Windows1250 : velmora::TextEncoding::Utf8;
    std::istringstream in(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
    static const std::vector<velmora::ImportTarget> targets = {{"Iktatószám", "Iktatoszam"},
                                                               {"Tárgy", "Targy"},
                                                               {"Érkezett", "Erkezett"},
                                                               {"Lezárt", "Lezart"},
                                                               {"Ügytípus", "Ugytipus"},
                                                               {"Mezőnév", "X"},
                                                               {"", "Ures"}};
    velmora::CsvReader reader(in, encoding);
    std::vector<std::string> header, record;
    velmora::TitleMap titleMap;
    try {
        if (!reader.next(header)) return 0;
        if (reader.next(record))
            for (const std::string& field : record)
                if (field.find('=') != std::string::npos) titleMap.push_back(velmora::parseTitleMap(field));
        size_t lastLine = reader.line();
        while (reader.next(record)) {
            if (reader.line() <= lastLine) std::abort();  // records go forward through the file
            lastLine = reader.line();
            for (const std::string& field : record) {
                if (!tk::isValidUtf8(field)) std::abort();
                checkDate(field);
            }
        }
    } catch (const velmora::ECsvFile& e) {
        if (e.line() == 0) std::abort();
    }
    for (const std::string& title : header)
        if (!tk::isValidUtf8(title)) std::abort();
    velmora::ColumnMapping mapping = velmora::mapColumns(header, targets, titleMap);
    if (mapping.targetOf.size() != header.size()) std::abort();
    std::vector<bool> filled(targets.size(), false);
    for (int t : mapping.targetOf) {
        if (t == velmora::ColumnMapping::passedOver) continue;
        if (t < 0 || static_cast<size_t>(t) >= targets.size()) std::abort();
        if (filled[static_cast<size_t>(t)] && mapping.refusals.empty()) std::abort();
        filled[static_cast<size_t>(t)] = true;
    }
    for (const std::string& refusal : mapping.refusals)
        if (refusal.rfind("line 1: ", 0) != 0) std::abort();
    return 0;
}
