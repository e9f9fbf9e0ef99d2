// The import commands.
#include "admin/ImportCommand.h"

#include "db/Connection.h"
#include "db/Query.h"
#include "db/Statement.h"
#include "designer/ClientMain.h"
#include "designs/Design.h"
#include "import/DocumentImport.h"
#include "startup/DataModule.h"
#include "startup/DesignClasses.h"
#include "toolkit/core/Errors.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/HeadlessPlatform.h"

#include <optional>

namespace velmora {

namespace {

struct ImportWords {
    std::vector<std::string> plain;  // the words that are no option
    std::optional<std::string> user, encoding, reason;
    TitleMap titleMap;
    bool addEntries = false, dryRun = false;
};

// The options with a value take the next word; false on an unknown option
// or one without its value.
bool readWords(const std::vector<std::string>& words, ImportWords& read)
{
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& w = words[i];
        bool hasNext = i + 1 < words.size();
        if (w == "--add-entries") read.addEntries = true;
        else if (w == "--dry-run") read.dryRun = true;
        else if (w == "--user" && hasNext) read.user = words[++i];
        else if (w == "--encoding" && hasNext) read.encoding = words[++i];
        else if (w == "--reason" && hasNext) read.reason = words[++i];
        else if (w == "--map" && hasNext) read.titleMap.push_back(parseTitleMap(words[++i]));
        else if (w.rfind("--", 0) == 0) return false;
        else read.plain.push_back(w);
    }
    return true;
}

std::string groupDesign(db::TADOConnection& connection, const std::string& group)
{
    db::TADOQuery q(nullptr);
    db::open(q, connection, "Select FormData from UserGroup where UserGroupName = :Name", {{"Name", group}});
    if (q.eof()) throw tk::Error("No user group is called " + group);
    std::string design = q.createBlobStream(q.fieldByName("FormData"), db::BlobMode::Read)->bytes();
    if (design.empty()) throw tk::Error("The group " + group + " has no form yet: design it before importing");
    return design;
}

}  // namespace

bool isImportCommand(const std::vector<std::string>& words)
{
    ImportWords read;
    try {
        if (!readWords(words, read)) return false;
    } catch (const std::exception&) {
        return true;  // a --map without "=", said when run
    }
    return read.plain.size() == 2 && read.user && !read.reason;
}

bool isImportVoidCommand(const std::vector<std::string>& words)
{
    ImportWords read;
    return readWords(words, read) && read.plain.size() == 1 && read.user && read.reason && read.titleMap.empty() &&
           !read.encoding && !read.addEntries && !read.dryRun;
}

CommandResult runImportCommand(db::TADOConnection& connection, const std::vector<std::string>& words)
{
    ImportWords read;
    readWords(words, read);
    ImportOptions options;
    options.login = *read.user;
    options.titleMap = read.titleMap;
    options.addEntries = read.addEntries;
    options.dryRun = read.dryRun;
    if (read.encoding) {
        if (*read.encoding == "utf-8" || *read.encoding == "UTF-8") options.encoding = TextEncoding::Utf8;
        else if (*read.encoding == "windows-1250" || *read.encoding == "cp1250")
            options.encoding = TextEncoding::Windows1250;
        else throw tk::Error("--encoding is utf-8 or windows-1250, not " + *read.encoding);
    }
    std::string design = groupDesign(connection, read.plain[0]);

    // The group's design in a window of its own, as the clerk's program
    // shows it: the import fills its entry page's fields.
    tk::HeadlessPlatform platform;
    tk::TApplication app(platform);
    registerDesignClasses(TfrmClientMain::staticClassInfo());
    new TdmClientMain(&app);  // the data module's components, which designs refer to
    app.createForm(frmClientMain);
    TfrmClientMain& window = *frmClientMain;
    window.show();
    loadDesign(window, design);
    auto* page = tk::as<tk::TWinControl>(window.findComponent("tsEdit"));
    if (!page) throw tk::Error("The group's form has no entry page (tsEdit)");
    ImportReport report = DocumentImport(*page, connection).run(read.plain[1], options);
    return {report.text(), report.refused()};
}

CommandResult runImportVoidCommand(db::TADOConnection& connection, const std::vector<std::string>& words)
{
    ImportWords read;
    readWords(words, read);
    int64_t batch = 0;
    try {
        batch = std::stoll(read.plain[0]);
    } catch (const std::exception&) {
        throw tk::Error("BATCH is the number an import's report gives: " + read.plain[0]);
    }
    size_t voided = voidImportBatch(connection, batch, *read.user, *read.reason);
    return {"Voided " + std::to_string(voided) + " documents of import batch " + std::to_string(batch) + ".\n", false};
}

}  // namespace velmora
