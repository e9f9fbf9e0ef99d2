// The form at work: a group's design on the main window, entering new
// documents and changing shown ones through the entry state of the field
// controls and the action buttons on the entry page (tsEdit).
//   None       0  no document        btnNew
//   Shown      1  a document shown   btnNew, btnModify
//   Modifying  2  modifying it       btnSave, btnCancel; CanModify fields open
//   New        3  a new document     btnSave, btnCancel; every field open
// Saving checks every field open for change against its Document column
// first and writes nothing when one fails; a modification writes only the
// fields the clerk changed; a form with no bound field stores nothing. An
// insert or update and its history row are one transaction; an update
// finds the row only while it still holds the values that were shown, so
// nobody's change is overwritten unseen.
#pragma once

#include "controls/FieldContract.h"
#include "db/Field.h"
#include "db/Query.h"
#include "entry/Attachments.h"
#include "entry/Dictionaries.h"
#include "entry/DictionaryField.h"
#include "entry/Documents.h"
#include "entry/EntryFields.h"
#include "entry/HistoryWindow.h"
#include "entry/Search.h"
#include "entry/ViewingCopies.h"
#include "registry/DocumentColumns.h"
#include "registry/SearchText.h"
#include "toolkit/core/ComponentRef.h"
#include "toolkit/windows/Platform.h"

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tk {
class TControl;
class TPopupMenu;
class TForm;
class TWinControl;
}  // namespace tk

namespace db {
class TADOConnection;
}

namespace velmora {

// What a field of a numbered column shows until the database gives the number.
inline constexpr const char* automaticNumber = "(automatikus)";
// The start of the message of a save that was stored but not read back.
inline constexpr const char* savedButNotReadBack = "A dokumentum mentése megtörtént, de újraolvasása nem sikerült: ";

class EntryForm {
public:
    EntryForm(tk::TForm& window, db::TADOConnection& connection, int32_t userID);

    // Binds the action buttons (by the Name + "Click" rule) and the close
    // question, reads Document's columns and opens the form in None on
    // the entry page; a group without a stored design is told so.
    void start(bool hasStoredDesign);

    // The action buttons' work.
    void newDocument();
    void modifyDocument();
    void saveDocument();
    void cancelEditing();
    // F8: voids the shown document for a reason the clerk types; a voided
    // document shows "ÉRVÉNYTELENÍTVE: reason" and cannot be modified.
    void voidShownDocument();
    // F9: "Előzmények", the shown document's history.
    void showHistory();
    // The shown document's attached files, removed ones too (none while no
    // document is shown).
    std::vector<Attachment> shownAttachments();
    // Attaches files to the shown document, which must not be voided; a
    // file the document holds already is asked about first.
    void attachFiles(const std::vector<std::string>& paths);
    // Writes an attached file of the shown document to `path`.
    void saveAttachmentAs(int64_t attachmentID, const std::string& path);
    // Marks an attached file of the shown document removed: its adder only,
    // on the day it was added.
    void removeAttachment(int64_t attachmentID);
    // Hands a read-only copy of an attached file to the desktop's viewer;
    // a program or script (by its content) is only ever saved.
    void openAttachment(int64_t attachmentID);
    // F11, "Mellékletek": the shown document's files in a window.
    void showAttachments();
    // The files to attach, from the platform's dialog (without one, a path
    // typed in a window of the program's own), attached.
    void chooseFilesToAttach();
    // Where to save a copy of a file, chosen the same way; saved there.
    void chooseWhereToSaveAttachment(int64_t attachmentID);
    // "Szótárelemek" of the dictionary field that has the focus (F2 there).
    void openDictionaryUpkeep();
    // Why the shown document was voided; none when it was not.
    const std::optional<std::string>& voidedFor() const { return voided_; }
    // Whether the window may close now; asks about unsaved changes.
    bool mayClose();

    EntryState state() const { return state_; }
    // Modifying a document or entering a new one.
    bool editing() const { return state_ == EntryState::Modifying || state_ == EntryState::New; }
    // The document shown (Shown and Modifying), or 0.
    int64_t shownDocument() const { return shown_; }
    // Reads a document into the form, Shown.
    void showDocument(int64_t documentID);

    // The query that receives search results (the data module's
    // qryGetMainData, which the search page's grid shows).
    void setResultQuery(db::TADOQuery* query) { results_ = query; }
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
    void showNextFound();
    void showPreviousFound();
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
    // Whether the entry page is the one shown.
    bool onEntryPage() const;
    // btnPrint: the result (searched first when there is none) into a
    // PDF, CSV or spreadsheet file the clerk names, or on a printer.
    void printResult();
    // F6, "Dokumentum nyomtatása": the shown document (its fields with
    // their captions, its void, its history) into a PDF or on a printer.
    void printShownDocument();
    tk::Printout documentPrintout() const;
    // The result as a list to print: the group and the date, the
    // conditions in words, the grid's columns and every row.
    tk::Printout resultList() const;
    void setGroupName(const std::string& name) { groupName_ = name; }

private:
    tk::TWinControl* entryPage() const;
    // The field controls of the entry page in tab order.
    std::vector<tk::TControl*> fields() const;
    // The fields that name a column, each with it; raises when a field
    // names no column of Document, or a column twice.
    std::vector<BoundField> boundFields() const;
    void applyState(EntryState state);
    bool isNumbered(const std::string& column) const;
    // The field that holds the registry number: the numbered one, else the
    // first in tab order.
    std::optional<BoundField> registryField() const;
    std::vector<ResultColumn> resultColumns() const;
    // The shown document's files, as this clerk reads and changes them.
    Attachments attachments();
    // Raises unless a stored document is shown (in state `only`, when
    // given; else shown, modified or being modified).
    void requireShownDocument(std::optional<EntryState> only = std::nullopt) const;
    // Opens a search statement into the result query; the query.
    db::TADOQuery* runSearch(const SearchStatement& statement, const std::vector<ResultColumn>& shown,
                             VoidedDocuments voided);
    void stepThroughFound(int by);
    // Each field's column with the field's caption, for the history.
    std::vector<ColumnCaption> columnCaptions() const;
    // Fields of numbered columns take no input; a new document's shows
    // that its number is still to come.
    void showNumberedFields(EntryState state);
    // Reads which columns the database numbers now; where that changed
    // since the form last read it, sets the fields after it and refuses
    // the save in progress, saying what changed.
    void followNumberingInForce();
    void focusFirstField();
    // Focus on the entry page's `button` where it can take it; else, where
    // the focus has nowhere to be, on the page's first control that takes it.
    void focusOnEntryPage(const char* button);
    // Ends modifying or entering before another document is shown: unsaved
    // changes are asked about first. False when the clerk chose to stay.
    bool leaveEditing();
    DictionaryField* dictionaryFieldOf(const tk::TControl* field) const;
    void setStatus(const std::string& text);
    std::vector<std::string> snapshot() const;
    bool hasUnsavedChanges() const;
    void insertDocument(const std::vector<BoundField>& bound, const std::vector<db::Cell>& values);
    // Writes the fields marked `written`; finds the row only while every
    // field's column still holds what was shown.
    void updateDocument(const std::vector<BoundField>& bound, const std::vector<db::Cell>& values,
                        const std::vector<bool>& written);
    // The shown document's stored value of a column (null when not read).
    db::Cell shownValue(const std::string& column) const;
    // Shows a document just saved; when reading it back fails, the form
    // still shows it as saved, with the values written, and says so.
    void showSaved(int64_t id, const std::vector<BoundField>& bound, const std::vector<db::Cell>& values);
    // The form Shown, showing document `id` as stored with `stored`
    // (one cell a bound field); the fields themselves are left as they are.
    void markShown(int64_t id, const std::vector<BoundField>& bound, const std::vector<db::Cell>& stored);

    tk::ComponentRef<tk::TForm> window_;
    tk::ComponentRef<db::TADOConnection> connection_;
    Documents documents_;
    DocumentColumns columns_;
    std::vector<std::string> numberedColumns_;
    EntryState state_ = EntryState::None;
    int64_t shown_ = 0;
    int64_t beforeNew_ = 0;  // the document shown when a new one was begun
    // The shown document's stored values of the form's columns, as read.
    std::vector<std::pair<std::string, db::Cell>> shownValues_;
    std::vector<std::string> snapshot_;     // the fields when editing began
    std::vector<std::string> textsBefore_;  // each field as shown when modifying began
    std::optional<std::string> voided_;     // why the shown document was voided, if it was
    std::vector<std::unique_ptr<DictionaryField>> dictionaryFields_;
    tk::ComponentRef<db::TADOQuery> results_;
    std::unique_ptr<db::TADOQuery> ownResults_;  // when the design has no result grid
    tk::ComponentRef<tk::TPopupMenu> menu_;      // the clerk's menu, F10
    std::vector<std::string> searchedFor_;       // the last search's conditions in words
    VoidedDocuments voidedInSearch_ = VoidedDocuments::Included;
    VoidedDocuments searchedVoided_ = VoidedDocuments::Included;  // what the last search did
    std::vector<tk::Printout::Kind> resultKinds_;                 // of the result's fields
    // The last search, opened again in another order.
    SearchStatement searched_;
    std::vector<ResultColumn> searchedColumns_;
    db::PageOrder resultOrder_;  // by the newest DocumentID until a title is clicked
    std::string groupName_;
    ViewingCopies viewingCopies_;
    // What is read of the database once a design is started: the folded
    // text kept for searches, and each field's dictionary.
    std::optional<SearchText> searchText_;
    FieldDictionaries dictionaries_;
};

}  // namespace velmora
