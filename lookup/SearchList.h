// TfrmSearchList: the modal lookup list, "Keresési lista", from which the
// user picks one row of the data module's query qrySearch: a read-only grid
// of the rows, and a search edit that finds rows as the user types and
// completes the typed text with the first matching row's value.
#pragma once

#include "toolkit/core/ComponentRef.h"
#include "toolkit/data/DBGrid.h"
#include "toolkit/widgets/Buttons.h"
#include "toolkit/widgets/Edit.h"
#include "toolkit/widgets/Panels.h"
#include "toolkit/windows/Form.h"

#include <string>

namespace db {
class TADOQuery;
}

namespace velmora {

class TfrmSearchList : public tk::TForm {
    TK_CLASS(TfrmSearchList)
public:
    explicit TfrmSearchList(tk::TComponent* owner);

    tk::TPanel* Panel1;
    tk::TEdit* edtSearch;
    tk::TBitBtn* btnOK;
    tk::TBitBtn* btnCancel;
    tk::TDBGrid* dbgSearch;

    // The query field in which the search looks; set by the caller.
    const std::string& SearchColumn() const { return searchColumn_; }
    void setSearchColumn(const std::string& name) { searchColumn_ = name; }
    // The edit's text belongs to a row of the query.
    bool Found() const { return found_; }
    // Starts the next showing with an empty edit and nothing found, so that
    // what a confirmation takes is a row the user picked in this showing.
    void startEmpty();

    void FormShow(tk::TObject* sender);
    void FormKeyUp(tk::TObject* sender, uint16_t& key, tk::TShiftState shift);
    void edtSearchChange(tk::TObject* sender);
    void edtSearchKeyDown(tk::TObject* sender, uint16_t& key, tk::TShiftState shift);
    void btnOKCancelClick(tk::TObject* sender);
    void dbgSearchEnter(tk::TObject* sender);
    void dbgSearchKeyDown(tk::TObject* sender, uint16_t& key, tk::TShiftState shift);
    void dbgSearchKeyPress(tk::TObject* sender, char32_t& key);
    void dbgSearchDblClick(tk::TObject* sender);

private:
    db::TADOQuery* query() const;
    // Finds the first row starting with the edit's text; true when found.
    bool search();
    // Shows the current row's value in the edit, wholly selected.
    void takeCurrentRow();

    std::string searchColumn_;
    bool found_ = false;
    bool armed_ = false;
};

extern tk::ComponentRef<TfrmSearchList> frmSearchList;

}  // namespace velmora
