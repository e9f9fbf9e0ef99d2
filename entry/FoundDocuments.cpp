// Searching, and moving through what was found.
#include "entry/FoundDocuments.h"

#include "controls/ZEDit.h"
#include "db/Connection.h"
#include "db/DatabaseError.h"
#include "db/Statement.h"
#include "entry/EntryForm.h"
#include "entry/FieldValues.h"
#include "entry/Printouts.h"
#include "entry/Refusal.h"
#include "entry/TextQuestion.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/data/DBGrid.h"
#include "toolkit/text/Locale.h"
#include "toolkit/text/Text.h"
#include "toolkit/widgets/PageControl.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Form.h"

#include <algorithm>

namespace velmora {

namespace {

// The result grid reads this many rows at a time: a screenful many times
// over, and few statements for a printed list of thousands.
constexpr int resultPageRows = 200;
// A search counts its result exactly up to this many rows, and says "more
// than" beyond: a broad search is not kept waiting for a count of them all.
constexpr int resultCountLimit = 1000;

// What a count that stopped at the limit says: "több mint 1000".
std::string moreThanLimit()
{
    return "több mint " + std::to_string(resultCountLimit);
}

std::string foundWords(const db::TADOQuery& q)
{
    // Capitalised: the status bar begins with it.
    if (q.countIsLowerBound()) return "T" + moreThanLimit().substr(1) + " találat";
    return q.recordCount() ? std::to_string(q.recordCount()) + " találat" : std::string("Nincs találat");
}

}  // namespace

namespace {

// What a result column's texts are: a dictionary entry and "Igen"/"Nem"
// are texts whatever the column keeps.
tk::Printout::Kind printedKind(const ResultColumn& r)
{
    if (r.dictionary || isYesNoColumn(*r.column)) return tk::Printout::Kind::Text;
    if (isDateColumn(*r.column)) return tk::Printout::Kind::Date;
    if (isIntegerColumn(*r.column) || isFloatColumn(*r.column)) return tk::Printout::Kind::Number;
    return tk::Printout::Kind::Text;
}

}  // namespace

void FoundDocuments::search()
{
    if (!form_.leaveEditing()) return;
    std::vector<SearchField> conditions;
    if (auto* page = tk::as<tk::TWinControl>(form_.window_->findComponent("tsSearch")))
        for (tk::TControl* c : page->controls()) {
            if (!isFieldControl(c)) continue;
            std::string keyField = tk::getPropTextOr(*c, "KeyField");
            if (keyField.empty()) continue;
            const DocumentColumn* column = form_.columns_.find(keyField);
            if (!column || !db::fitsBrackets(column->name))
                throw ERefused("Nincs ilyen oszlop a Document táblában: " + keyField);
            std::optional<int64_t> dictionary;
            // Only a typed text is looked up in a dictionary.
            if (auto* edit = tk::as<TZEDit>(c); edit && !tk::trimmed(edit->text()).empty())
                if (std::optional<DictionaryRef> d = form_.dictionaries_.of(keyField, edit->Dictionary())) dictionary = d->id;
            conditions.push_back({c, column, dictionary});
        }
    std::vector<ResultColumn> shown = resultColumns();
    // Read once, as the catalogue is; a statement that fails on it has it
    // read again by the next search.
    if (!searchText_) searchText_ = SearchText::read(*form_.connection_);
    try {
        db::TADOQuery* q =
            runSearch(buildSearch(conditions, shown, voidedInSearch_, &*searchText_,
                                  searchesAttachments_ ? form_.connection_.get() : nullptr),
                      shown, voidedInSearch_);
        form_.setStatus(foundWords(*q));
    } catch (const db::EDatabaseError&) {
        searchText_.reset();
        throw;
    }
}

void FoundDocuments::switchVoidedInSearch()
{
    voidedInSearch_ = leavesOutVoided() ? VoidedDocuments::Included : VoidedDocuments::LeftOut;
    form_.setStatus(leavesOutVoided() ? "A keresés az érvénytelenített dokumentumokat kihagyja."
                                : "A keresés az érvénytelenített dokumentumokat is megtalálja, megjelölve.");
    // A result on show follows at once; its count then takes the status bar.
    if (results_ && results_->active() && !form_.editing()) search();
}

void FoundDocuments::switchAttachmentsInSearch()
{
    searchesAttachments_ = !searchesAttachments_;
    form_.setStatus(searchesAttachments_ ? "A Hasonló feltétel a mellékletek szövegében is keres."
                                         : "A Hasonló feltétel csak a mezőkben keres.");
    if (results_ && results_->active() && !form_.editing()) search();
}

void FoundDocuments::stepThroughFound(int by)
{
    db::TADOQuery* q = results_.get();
    if (!q || !q->active() || q->recordCount() == 0)
        throw ERefused("Nincs találat, amelyen lépni lehetne: előbb keressen a Keresés lapon.");
    int at = q->recNo();
    int to = std::clamp(at + by, 0, q->recordCount() - 1);
    if (to == at && form_.shownDocument() == q->fieldByName("DocumentID")->asInteger()) return;
    if (!form_.leaveEditing()) return;
    q->moveBy(to - at);
    form_.showDocument(q->fieldByName("DocumentID")->asInteger());
    std::string where = std::to_string(q->recNo() + 1) + " / " +
                        (q->countIsLowerBound() ? moreThanLimit() : std::to_string(q->recordCount()));
    form_.setStatus(form_.voidedFor() ? where + ", ÉRVÉNYTELENÍTVE: " + *form_.voidedFor() : where);
}

std::vector<ResultColumn> FoundDocuments::resultColumns() const
{
    std::vector<ResultColumn> shown;
    for (const BoundField& b : form_.boundFields()) {
        std::optional<int64_t> dictionary;
        if (DictionaryField* d = form_.dictionaryFieldOf(b.field)) dictionary = d->dictionaryID();
        shown.push_back({b.column, fieldLabel(*b.field), dictionary});
    }
    return shown;
}

db::TADOQuery* FoundDocuments::runSearch(const SearchStatement& statement, const std::vector<ResultColumn>& shown,
                                    VoidedDocuments voided)
{
    db::TADOQuery* q = results_.get();
    if (!q) {
        // A design without a result grid still searches, into a query of its own.
        if (!ownResults_) ownResults_ = std::make_unique<db::TADOQuery>(nullptr);
        q = ownResults_.get();
    }
    q->close();
    q->setConnection(form_.connection_.get());
    q->setSqlText(statement.sql);
    resultKinds_ = {tk::Printout::Kind::Number, tk::Printout::Kind::Text};
    for (const ResultColumn& r : shown) resultKinds_.push_back(printedKind(r));
    // Texts (a dictionary entry's too) in the order a reader expects.
    resultOrder_.asText = tk::sameName(resultOrder_.column, "VoidedFor");
    for (size_t i = 0; i < shown.size(); ++i)
        if (tk::sameName(resultOrder_.column, shown[i].column->name))
            resultOrder_.asText = resultKinds_[i + 2] == tk::Printout::Kind::Text;
    q->setPaging("DocumentID", resultPageRows, resultOrder_);
    q->setCountLimit(resultCountLimit);
    for (size_t i = 0; i < statement.values.size(); ++i)
        db::bindCell(q->parameters().paramByName("p" + std::to_string(i)), statement.values[i]);
    q->open();
    q->field(0)->setDisplayLabel(documentIDTitle);
    q->field(1)->setDisplayLabel(voidedColumnTitle);
    for (size_t i = 0; i < shown.size(); ++i) {
        db::TField* f = q->field(static_cast<int>(i) + 2);
        f->setDisplayLabel(shown[i].title);
        // A date as the form shows it; the stored text stays for exports.
        if (resultKinds_[i + 2] == tk::Printout::Kind::Date) f->setShownAs(tk::shownDateTime);
    }
    searchedFor_ = statement.words;
    searchedVoided_ = voided;
    searched_ = statement;
    searchedColumns_ = shown;
    if (auto* grid = form_.window_ ? tk::as<tk::TDBGrid>(form_.window_->findComponent("dbgSearch")) : nullptr) {
        db::TField* ordered = resultOrder_.column.empty() ? nullptr : q->findField(resultOrder_.column);
        grid->setSortMark(ordered ? ordered->index() : -1, !ordered ? tk::TDBGrid::SortMark::None
                                                           : resultOrder_.descending
                                                               ? tk::TDBGrid::SortMark::Descending
                                                               : tk::TDBGrid::SortMark::Ascending);
    }
    return q;
}

void FoundDocuments::sortResultsBy(const std::string& column)
{
    bool reversed = tk::sameName(resultOrder_.column, column) && !resultOrder_.descending;
    resultOrder_ = {column, reversed};
    if (!results_ || !results_->active()) return;
    form_.setStatus(foundWords(*runSearch(searched_, searchedColumns_, searchedVoided_)));
}

void FoundDocuments::goToNumber()
{
    if (!form_.leaveEditing()) return;
    std::optional<BoundField> naming = form_.registryField();
    if (!naming) throw ERefused("Az űrlapnak nincs mezője, amelynek értékére ugrani lehetne.");
    std::string label = fieldLabel(*naming->field);
    std::optional<std::string> typed = askForText("frmGoTo", "Ugrás: " + label + ":");
    if (!typed || tk::trimmed(*typed).empty()) return;
    std::string value = tk::trimmed(*typed);
    StoredValue v = searchValue(value, *naming->column, *naming->field);
    if (!v.refusal.empty()) throw ERefused(v.refusal);
    std::vector<ResultColumn> shown = resultColumns();
    db::TADOQuery* q = runSearch(buildValueSearch(shown, *naming->column, v.cell, label + " = " + value), shown,
                                 VoidedDocuments::Included);
    int found = q->recordCount();
    if (found == 0) {
        form_.setStatus("Nincs találat");
        throw ERefused("Nincs ilyen dokumentum: " + label + " " + value);
    }
    auto* pages = tk::as<tk::TPageControl>(form_.window_->findComponent("pcData"));
    if (found > 1) {
        // Several share the value: the clerk chooses among them.
        if (pages)
            if (auto* sheet = tk::as<tk::TTabSheet>(form_.window_->findComponent("tsSearch"))) pages->setActivePage(sheet);
        form_.setStatus(std::to_string(found) + " találat: " + label + " " + value);
        return;
    }
    if (pages)
        if (auto* sheet = tk::as<tk::TTabSheet>(form_.entryPage())) pages->setActivePage(sheet);
    form_.showDocument(q->fieldByName("DocumentID")->asInteger());
}

void FoundDocuments::openFoundDocument()
{
    db::TADOQuery* q = results_.get();
    if (!q || !q->active() || q->recordCount() == 0 || q->eof()) return;
    if (!form_.leaveEditing()) return;
    int64_t id = q->fieldByName("DocumentID")->asInteger();
    form_.showDocument(id);
    if (auto* pages = tk::as<tk::TPageControl>(form_.window_->findComponent("pcData")))
        if (auto* sheet = tk::as<tk::TTabSheet>(form_.entryPage())) pages->setActivePage(sheet);
    form_.focusFirstField();
    form_.focusOnEntryPage(nullptr);
}

void FoundDocuments::printResult()
{
    if (!results_ || !results_->active()) search();
    if (auto done = deliverPrintout(resultList(), PrintoutKind::List)) form_.setStatus(*done);
}

tk::Printout FoundDocuments::resultList() const
{
    tk::Printout list;
    if (!results_ || !results_->active()) return list;
    db::TADOQuery& q = *results_;
    int y = 0, m = 0, d = 0;
    tk::decodeDate(tk::Application->platform().today(), y, m, d);
    list.title = (form_.groupName_.empty() ? std::string("Dokumentumok") : form_.groupName_) + ", " +
                 tk::currentLocale().formatDate(y, m, d);
    if (searchedFor_.empty()) list.lines.push_back("Keresési feltétel nélkül: minden dokumentum.");
    else
        for (const std::string& words : searchedFor_) list.lines.push_back("Feltétel: " + words);
    list.lines.push_back(searchedVoided_ == VoidedDocuments::Included ? voidedIncludedWords : voidedLeftOutWords);
    q.readAll();
    list.lines.push_back(std::to_string(q.recordCount()) + " dokumentum");
    if (db::TField* ordered = resultOrder_.column.empty() ? nullptr : q.findField(resultOrder_.column))
        list.lines.push_back("Sorrend: " + q.displayLabel(ordered->index()) +
                             (resultOrder_.descending ? ", csökkenő" : ", növekvő"));
    std::vector<int> shown;
    for (int f = 0; f < q.fieldCount(); ++f)
        if (q.fieldVisible(f)) {
            shown.push_back(f);
            list.columns.push_back(q.displayLabel(f));
            list.kinds.push_back(f < static_cast<int>(resultKinds_.size()) ? resultKinds_[static_cast<size_t>(f)]
                                                                           : tk::Printout::Kind::Text);
        }
    for (int row = 0; row < q.recordCount(); ++row) {
        std::vector<std::string> cells;
        // Dates as stored: each writer shows them its own way.
        for (int f : shown)
            cells.push_back(f < static_cast<int>(resultKinds_.size()) &&
                                    resultKinds_[static_cast<size_t>(f)] == tk::Printout::Kind::Date
                                ? q.storedText(row, f)
                                : q.displayText(row, f));
        list.rows.push_back(std::move(cells));
    }
    return list;
}

}  // namespace velmora
