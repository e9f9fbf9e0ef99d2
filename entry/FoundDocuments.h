// Moving through found documents: the search page's search into the
// result query, its order, stepping from one found document to the next
// on the entry page (PgDn, PgUp), "Ugrás" to a registry number, and the
// result as a printed list. A part of the entry form, which owns it.
#pragma once

#include "db/Query.h"
#include "entry/Search.h"
#include "registry/SearchText.h"
#include "toolkit/core/ComponentRef.h"
#include "toolkit/windows/Platform.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

class EntryForm;

class FoundDocuments {
public:
    explicit FoundDocuments(EntryForm& form) : form_(form) {}

    // The query that receives search results (the data module's
    // qryGetMainData, which the search page's grid shows).
    void setResultQuery(db::TADOQuery* query) { results_ = query; }
    db::TADOQuery* resultQuery() const { return results_.get(); }
    // The folded text is read again by the next search (a new design, a
    // changed fold).
    void forgetSearchText() { searchText_.reset(); }

    // btnSearch: the search page's conditions, the result into the query,
    // the count in the status bar.
    void search();
    // A found document (the result's current row) on the entry page.
    void openFoundDocument();
    // A click on a result column's title: the result ordered by that
    // column, ascending, or the other way on the column it is ordered by
    // already. The order holds for later searches, the printed list and
    // the exports.
    void sortResultsBy(const std::string& column);
    // PgDn and PgUp on the entry page: the next or the previous found
    // document in the result's order, "N / M" on the status bar; unsaved
    // changes are asked about first.
    void showNextFound() { stepThroughFound(1); }
    void showPreviousFound() { stepThroughFound(-1); }
    // F3, "Ugrás": asks for a registry number (a value of the numbered
    // column, else of the form's first field) and shows that document;
    // several with that value are listed on the search page.
    void goToNumber();
    // Whether searches find voided documents (marked) or leave them out;
    // the next search uses it.
    VoidedDocuments voidedInSearch() const { return voidedInSearch_; }
    void setVoidedInSearch(VoidedDocuments voided) { voidedInSearch_ = voided; }
    bool leavesOutVoided() const { return voidedInSearch_ == VoidedDocuments::LeftOut; }
    // F7, "Keresés|Érvénytelenítettek nélkül": switches between the two.
    void switchVoidedInSearch();
    // "Keresés|Mellékletekben is": whether "Hasonló" reads the attached
    // files' text too. The program's own choice, off at the start, never
    // part of a design.
    bool searchesAttachments() const { return searchesAttachments_; }
    void switchAttachmentsInSearch();
    // btnPrint: the result (searched first when there is none) into a
    // PDF, CSV or spreadsheet file the clerk names, or on a printer.
    void printResult();
    // The result as a list to print: the group and the date, the
    // conditions in words, the grid's columns and every row.
    tk::Printout resultList() const;

private:
    std::vector<ResultColumn> resultColumns() const;
    // Opens a search statement into the result query; the query.
    db::TADOQuery* runSearch(const SearchStatement& statement, const std::vector<ResultColumn>& shown,
                             VoidedDocuments voided);
    void stepThroughFound(int by);

    EntryForm& form_;
    tk::ComponentRef<db::TADOQuery> results_;
    std::unique_ptr<db::TADOQuery> ownResults_;  // when the design has no result grid
    std::vector<std::string> searchedFor_;       // the last search's conditions in words
    VoidedDocuments voidedInSearch_ = VoidedDocuments::Included;
    bool searchesAttachments_ = false;
    VoidedDocuments searchedVoided_ = VoidedDocuments::Included;  // what the last search did
    std::vector<tk::Printout::Kind> resultKinds_;                 // of the result's fields
    // The last search, opened again in another order.
    SearchStatement searched_;
    std::vector<ResultColumn> searchedColumns_;
    db::PageOrder resultOrder_;  // by the newest DocumentID until a title is clicked
    // Read once a design is started, as the catalogue is.
    std::optional<SearchText> searchText_;
};

}  // namespace velmora
