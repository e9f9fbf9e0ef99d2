// Delivering printouts.
#include "entry/Printouts.h"

#include "entry/CsvList.h"
#include "entry/Refusal.h"
#include "entry/SaveFileDialog.h"
#include "entry/XlsxList.h"
#include "toolkit/text/Text.h"
#include "toolkit/windows/Application.h"

namespace velmora {

namespace {

bool endsWith(const std::string& path, const char* tail)
{
    std::string lower = tk::lowerAscii(path), t = tail;
    return lower.size() >= t.size() && lower.compare(lower.size() - t.size(), t.size(), t) == 0;
}

}  // namespace

std::optional<std::string> deliverPrintout(const tk::Printout& printout, PrintoutKind kind)
{
    const std::vector<std::string>& types = kind == PrintoutKind::List ? listTypes : documentTypes;
    std::optional<PrintTarget> target = askPrintTarget(types);
    if (!target) return std::nullopt;
    tk::Platform& platform = tk::Application->platform();
    if (!target->printer.empty()) {
        if (!platform.printOn(printout, target->printer)) return std::nullopt;
        return "Nyomtatva: " + target->printer;
    }
    const std::string& path = target->file;
    if (endsWith(path, ".pdf")) platform.printToPdf(printout, path);
    else if (kind == PrintoutKind::List && endsWith(path, ".csv")) writeCsv(printout, path);
    else if (kind == PrintoutKind::List && endsWith(path, ".xlsx")) writeXlsx(printout, path);
    else throw ERefused("Csak " + endingsText(types) + " fájlba lehet menteni: " + path);
    return "Mentve: " + path;
}

}  // namespace velmora
