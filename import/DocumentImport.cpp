// Importing documents.
#include "import/DocumentImport.h"

#include "controls/ZEDChxBox.h"
#include "controls/ZEDPicker.h"
#include "controls/ZEDit.h"
#include "db/Connection.h"
#include "db/PausePoint.h"
#include "db/Query.h"
#include "db/Statement.h"
#include "db/Transaction.h"
#include "entry/Dictionaries.h"
#include "entry/DictionaryField.h"
#include "entry/Documents.h"
#include "entry/EntryFields.h"
#include "entry/History.h"
#include "import/ImportedText.h"
#include "registry/Numbering.h"
#include "registry/RegistryTables.h"
#include "registry/SearchText.h"
#include "toolkit/core/Errors.h"
#include "toolkit/text/Text.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

namespace velmora {

namespace {

int32_t userOfLogin(db::TADOConnection& connection, const std::string& login)
{
    db::TADOQuery q(nullptr);
    db::open(q, connection, "Select UserID from UserTable where UserLogin = :UserLogin", {{"UserLogin", login}});
    if (q.eof()) throw tk::Error("No user has the login name " + login);
    return static_cast<int32_t>(q.field(0)->asInteger());
}

// What is wrong with one value, as "line N: FIELD: reason": the form's
// refusal ends with the field's name, which the line names first.
std::string refusalLine(size_t line, const std::string& label, const std::string& refusal)
{
    std::string reason = refusal;
    std::string tail = ": " + label;
    if (reason.size() > tail.size() && reason.compare(reason.size() - tail.size(), tail.size(), tail) == 0)
        reason.erase(reason.size() - tail.size());
    return "line " + std::to_string(line) + ": " + label + ": " + reason;
}

// The documents of a batch, written a thousand at a time: a statement a
// document would be a round trip to the server each.
class BatchMembers {
public:
    BatchMembers(db::TADOConnection& connection, int64_t batch) : connection_(connection), batch_(batch) {}
    void add(int64_t document)
    {
        waiting_.push_back(document);
        if (waiting_.size() == 1000) write();
    }
    void write()
    {
        if (waiting_.empty()) return;
        std::string rows;
        db::NamedValues values = {{"BatchID", batch_}};
        for (size_t i = 0; i < waiting_.size(); ++i) {
            rows += (i ? ", (:BatchID, :d" : "(:BatchID, :d") + std::to_string(i) + ")";
            values.push_back({"d" + std::to_string(i), waiting_[i]});
        }
        db::execute(connection_, "Insert into ImportedDocument (BatchID, DocumentID) Values " + rows,
                    std::move(values));
        waiting_.clear();
    }

private:
    db::TADOConnection& connection_;
    int64_t batch_;
    std::vector<int64_t> waiting_;
};

class ReportedRefusals {
public:
    explicit ReportedRefusals(ImportReport& report) : report_(report) {}
    void add(std::string line)
    {
        if (report_.listed.size() < ImportReport::listedRefusals) report_.listed.push_back(std::move(line));
        ++report_.refusals;
    }

private:
    ImportReport& report_;
};

// The entry page's fields as an import fills them: each bound one with its
// caption, its dictionary field, and the rules of the form's Save.
class ImportFields {
public:
    ImportFields(tk::TWinControl& page, db::TADOConnection& connection)
        : columns_(DocumentColumns::read(connection)), dictionaries_(connection)
    {
        std::vector<tk::TControl*> fields = entryFields(&page);
        bound_ = bindFields(fields, columns_, numberedColumns(connection));
        if (bound_.empty()) throw tk::Error("The group's form has no field bound to a column of Document");
        dictionaryFields_ = makeDictionaryFields(fields, connection, dictionaries_);
        for (const BoundField& b : bound_) targets_.push_back({fieldLabel(*b.field), b.column->name});
    }
    const std::vector<ImportTarget>& targets() const { return targets_; }
    size_t size() const { return bound_.size(); }

    // The values of one row (`texts[i]` for field i) as the form's Save
    // would store them; none, with each refusal added, when it refuses.
    std::optional<std::vector<ColumnValue>> values(const std::vector<const std::string*>& texts, size_t line,
                                                   bool addEntries, ReportedRefusals& refusals)
    {
        std::vector<ColumnValue> row;
        bool refused = false;
        auto refuse = [&](size_t i, const std::string& why) {
            refusals.add(refusalLine(line, targets_[i].caption, why));
            refused = true;
        };
        for (size_t i = 0; i < bound_.size(); ++i) {
            const BoundField& b = bound_[i];
            const std::string& text = *texts[i];
            if (b.numbered) {
                // The database gives the number, in the order of the file.
                if (!tk::trimmed(text).empty()) refuse(i, numberedColumnGivenText);
                continue;
            }
            DictionaryField* dictionary = dictionaryOf(b.field);
            if (dictionary) dictionary->clear();
            if (std::optional<std::string> wrong = putImportedText(*b.field, *b.column, text)) {
                refuse(i, *wrong);
                continue;
            }
            StoredValue v = valueToSave(b, dictionary, addEntries);
            if (!v.refusal.empty()) refuse(i, v.refusal);
            else row.push_back({b.column->name, std::move(v.cell), shownText(*b.field)});
        }
        if (refused) return std::nullopt;
        return row;
    }

private:
    DictionaryField* dictionaryOf(const tk::TControl* field) const
    {
        for (const auto& d : dictionaryFields_)
            if (d->edit() == field) return d.get();
        return nullptr;
    }

    DocumentColumns columns_;  // what bound_ points into
    FieldDictionaries dictionaries_;
    std::vector<BoundField> bound_;
    std::vector<std::unique_ptr<DictionaryField>> dictionaryFields_;
    std::vector<ImportTarget> targets_;
};

}  // namespace

std::string ImportReport::text() const
{
    std::string out;
    for (const std::string& line : listed) out += line + "\n";
    if (refusals > listed.size()) out += "... and " + std::to_string(refusals - listed.size()) + " more refusals\n";
    std::string read = "Read " + std::to_string(rows) + " rows of " + file + " (" + encodingName(encoding) +
                       ", separated by " +
                       (separator == '\t' ? std::string("tabs") : "\"" + std::string(1, separator) + "\"") + ").\n";
    out += read;
    if (refused() && refusedRows == 0) out += "The header was refused; nothing was imported.\n";
    else if (refused())
        out += std::to_string(refusedRows) + (refusedRows == 1 ? " row was" : " rows were") +
               " refused; nothing was imported.\n";
    else if (dryRun) out += "Every row would import (a dry run: nothing was written).\n";
    else
        out += "Imported " + std::to_string(rows) + " documents as batch " + std::to_string(batch) +
               " (void them with: velmora-admin import-void " + std::to_string(batch) + ").\n";
    return out;
}

DocumentImport::DocumentImport(tk::TWinControl& entryPage, db::TADOConnection& connection)
    : page_(entryPage), connection_(connection)
{
}

ImportReport DocumentImport::run(const std::string& path, const ImportOptions& options)
{
    ImportReport report;
    // Messages name the file as it is found from anywhere.
    std::error_code ec;
    std::filesystem::path absolute = std::filesystem::absolute(path, ec);
    const std::string named = ec ? path : absolute.lexically_normal().string();
    report.file = path;
    report.dryRun = options.dryRun;
    if (std::filesystem::is_directory(path, ec)) throw tk::Error("This is a folder, not a file: " + named);
    std::ifstream file(path, std::ios::binary);
    if (!file) throw tk::Error("The file cannot be read: " + named);
    if (options.encoding) {
        report.encoding = *options.encoding;
    } else {
        report.encoding = isUtf8Stream(file) ? TextEncoding::Utf8 : TextEncoding::Windows1250;
        file.clear();
        file.seekg(0);
    }

    ensureHistoryTable(connection_);
    ensureDictionaryItemTable(connection_);
    ensureImportTables(connection_);
    int32_t userID = userOfLogin(connection_, options.login);
    ImportFields fields(page_, connection_);

    CsvReader reader(file, report.encoding);
    std::vector<std::string> header;
    if (!reader.next(header)) throw tk::Error("The file is empty: " + named);
    report.separator = reader.separator();
    ColumnMapping mapping = mapColumns(header, fields.targets(), options.titleMap);
    ReportedRefusals refusals(report);
    if (!mapping.refusals.empty()) {
        for (std::string& line : mapping.refusals) refusals.add(std::move(line));
        return report;
    }

    Documents documents(connection_, userID);
    if (!connection_.isPostgres()) {
        // Each insert's statement journal (its triggers write several rows
        // of a long transaction) kept in memory, not written to a
        // temporary file page by page.
        connection_.executeNative("PRAGMA temp_store = MEMORY");
        // The changes kept in memory until the commit (up to 1 GiB):
        // written into the file before it, they would shut every other
        // program out, so that a clerk's program could not even start.
        connection_.executeNative("PRAGMA cache_size = -1048576");
    }
    connection_.beginTrans();
    try {
        report.batch = db::executeReturningInteger(
            connection_,
            std::string("Insert into ImportBatch (ImportedAt, UserLogin, FileName, Documents) Values (") +
                databaseNow(connection_) + ", :UserLogin, :FileName, 0) Returning BatchID",
            {{"UserLogin", options.login}, {"FileName", path}});
        BatchMembers batchMembers(connection_, report.batch);
        // Rows are inserted many at a time, a statement each for their
        // documents, their history rows and their values, which stays well
        // within the number of values a statement may bind.
        const size_t rowsAtOnce = std::max<size_t>(1, std::min<size_t>(200, 6000 / fields.size()));
        std::vector<std::vector<ColumnValue>> waiting;
        auto insertWaiting = [&] {
            if (waiting.empty()) return;
            for (int64_t id : documents.insertManyInTransaction(waiting, historyImport)) batchMembers.add(id);
            waiting.clear();
            db::pausePoint("document-imported");
        };
        std::vector<std::string> record;
        std::vector<const std::string*> textOf(fields.size());
        const std::string none;
        insertWithFoldAfterwards(connection_, [&] {
            while (reader.next(record)) {
                ++report.rows;
                size_t line = reader.line();
                size_t before = report.refusals;
                if (record.size() < header.size())
                    refusals.add("line " + std::to_string(line) + ": the row has " + std::to_string(record.size()) +
                                 " fields, the header " + std::to_string(header.size()));
                for (size_t extra = header.size(); extra < record.size(); ++extra)
                    if (!tk::trimmed(record[extra]).empty()) {
                        refusals.add("line " + std::to_string(line) + ": the row has " + std::to_string(record.size()) +
                                     " fields, the header " + std::to_string(header.size()));
                        break;
                    }
                std::fill(textOf.begin(), textOf.end(), &none);
                for (size_t c = 0; c < header.size() && c < record.size(); ++c)
                    if (mapping.targetOf[c] != ColumnMapping::passedOver)
                        textOf[static_cast<size_t>(mapping.targetOf[c])] = &record[c];
                std::optional<std::vector<ColumnValue>> row = fields.values(textOf, line, options.addEntries, refusals);
                if (!row || report.refusals != before) {
                    ++report.refusedRows;
                    continue;
                }
                // Once a row is refused nothing will be kept: the rest is only checked.
                if (report.refused()) continue;
                waiting.push_back(std::move(*row));
                if (waiting.size() == rowsAtOnce) insertWaiting();
            }
            if (!report.refused()) insertWaiting();
            batchMembers.write();
        });
        if (report.refused() || options.dryRun) {
            connection_.rollbackTrans();
            report.batch = 0;
            return report;
        }
        db::execute(connection_, "Update ImportBatch Set Documents = :Documents Where BatchID = :BatchID",
                    {{"Documents", static_cast<int64_t>(report.rows)}, {"BatchID", report.batch}});
        db::pausePoint("import-written");
        connection_.commitTrans();
    } catch (const ECsvFile& e) {
        connection_.rollbackTrans();
        report.batch = 0;
        refusals.add(e.what());
        ++report.refusedRows;
    } catch (...) {
        connection_.rollbackTrans();
        throw;
    }
    return report;
}

size_t voidImportBatch(db::TADOConnection& connection, int64_t batch, const std::string& login,
                       const std::string& reason)
{
    std::string why = tk::trimmed(reason);
    if (why.empty()) throw tk::Error("A void needs its reason (--reason TEXT)");
    ensureHistoryTable(connection);
    ensureImportTables(connection);
    Documents documents(connection, userOfLogin(connection, login));
    size_t voided = 0;
    db::inTransaction(connection, [&] {
        db::TADOQuery q(nullptr);
        db::open(q, connection, "Select DocumentID from ImportedDocument where BatchID = :BatchID order by DocumentID",
                 {{"BatchID", batch}});
        if (q.eof()) throw tk::Error("No import batch " + std::to_string(batch));
        std::vector<int64_t> ids;
        for (; !q.eof(); q.next()) ids.push_back(q.field(0)->asInteger());
        for (int64_t id : ids)
            if (documents.voidDocument(id, why)) ++voided;
    });
    return voided;
}

}  // namespace velmora
