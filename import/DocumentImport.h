// Bringing documents in from a CSV file through a group's entry page: each
// row is put into the page's field controls as the clerk would type it and
// checked by the rules of the form's Save (required fields, numbers,
// dates, lengths, dictionary entries, numbered columns). The whole file is
// one transaction: one refused row stores nothing, and every refused row is
// reported. Each document gets its history row ("importálás") by the
// importing user, and the documents of one import are a batch that can be
// voided together.
#pragma once

#include "import/CsvReader.h"
#include "import/ImportMapping.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tk {
class TWinControl;
}

namespace db {
class TADOConnection;
}

namespace velmora {

struct ImportOptions {
    std::string login;  // whose history rows the documents get
    TitleMap titleMap;
    std::optional<TextEncoding> encoding;  // else UTF-8, or Windows-1250 when the file is no UTF-8
    bool addEntries = false;               // a dictionary text that is no entry's becomes one
    bool dryRun = false;                   // checked, nothing kept
};

struct ImportReport {
    // At most this many refusals are listed; the count says the rest.
    static constexpr size_t listedRefusals = 100;

    std::string file;
    TextEncoding encoding = TextEncoding::Utf8;
    char separator = ';';
    size_t rows = 0;         // the records after the header
    size_t refusedRows = 0;  // rows with at least one refusal
    size_t refusals = 0;     // every refusal, listed or not
    std::vector<std::string> listed;
    int64_t batch = 0;  // the stored batch; 0 when nothing was stored
    bool dryRun = false;

    bool refused() const { return refusals > 0; }
    // The report as velmora-admin prints it.
    std::string text() const;
};


class DocumentImport {
public:
    // `entryPage` holds the group's field controls, loaded from its design.
    DocumentImport(tk::TWinControl& entryPage, db::TADOConnection& connection);

    // Imports `path`; a file that cannot be read at all raises.
    ImportReport run(const std::string& path, const ImportOptions& options);

private:
    tk::TWinControl& page_;
    db::TADOConnection& connection_;
};

// Voids every document of import batch `batch` that is not voided yet,
// for one reason, by `login`, in one transaction; gives how many.
size_t voidImportBatch(db::TADOConnection& connection, int64_t batch, const std::string& login,
                       const std::string& reason);

}  // namespace velmora
