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
#include "entry/AttachmentReading.h"
#include "entry/Attachments.h"
#include "entry/Dictionaries.h"
#include "entry/DictionaryField.h"
#include "entry/Documents.h"
#include "entry/EntryFields.h"
#include "entry/FoundDocuments.h"
#include "entry/History.h"
#include "entry/Search.h"
#include "entry/ShownDocumentActions.h"
#include "registry/DocumentColumns.h"
#include "toolkit/core/ComponentRef.h"
#include "toolkit/windows/Platform.h"
#include "toolkit/windows/Timer.h"

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

    // Whether the entry page is the one shown.
    bool onEntryPage() const;
    void setGroupName(const std::string& name) { groupName_ = name; }

    // The shown document's void, history, attached files and printout
    // (ShownDocumentActions.h says what each does).
    void voidShownDocument() { actions_.voidShownDocument(); }
    void showHistory() { actions_.showHistory(); }
    std::vector<Attachment> shownAttachments() { return actions_.shownAttachments(); }
    void attachFiles(const std::vector<std::string>& paths);
    void saveAttachmentAs(int64_t attachmentID, const std::string& path) { actions_.saveAttachmentAs(attachmentID, path); }
    void removeAttachment(int64_t attachmentID) { actions_.removeAttachment(attachmentID); }
    void openAttachment(int64_t attachmentID) { actions_.openAttachment(attachmentID); }
    void showAttachments() { actions_.showAttachments(); }
    void chooseFilesToAttach() { actions_.chooseFilesToAttach(); }
    void chooseWhereToSaveAttachment(int64_t attachmentID) { actions_.chooseWhereToSaveAttachment(attachmentID); }
    void printShownDocument() { actions_.printShownDocument(); }
    tk::Printout documentPrintout() const { return actions_.documentPrintout(); }

    // Searching and moving through what was found (FoundDocuments.h).
    void setResultQuery(db::TADOQuery* query) { found_.setResultQuery(query); }
    void search() { found_.search(); }
    void openFoundDocument() { found_.openFoundDocument(); }
    void sortResultsBy(const std::string& column) { found_.sortResultsBy(column); }
    void showNextFound() { found_.showNextFound(); }
    void showPreviousFound() { found_.showPreviousFound(); }
    void goToNumber() { found_.goToNumber(); }
    VoidedDocuments voidedInSearch() const { return found_.voidedInSearch(); }
    void setVoidedInSearch(VoidedDocuments voided) { found_.setVoidedInSearch(voided); }
    bool leavesOutVoided() const { return found_.leavesOutVoided(); }
    void switchVoidedInSearch() { found_.switchVoidedInSearch(); }
    void printResult() { found_.printResult(); }
    tk::Printout resultList() const { return found_.resultList(); }

    // The text of attached files, read while the clerk works: a step of
    // the reading on the program's timer, and, for the console, every
    // file that waits read before it goes on.
    void stepReading();
    void finishReading();
    // What the attachment list says while scans cannot be read: the
    // language data is missing.
    std::optional<std::string> readingNote() const
    {
        return reading_ && reading_->languageDataMissing() ? std::optional<std::string>(readerMissingListWords)
                                                           : std::nullopt;
    }
    // Whether "Hasonló" looks in the attachments' text too (the search
    // menu's "Mellékletekben is", the program's own choice).
    bool searchesAttachments() const { return found_.searchesAttachments(); }
    void switchAttachmentsInSearch() { found_.switchAttachmentsInSearch(); }

private:
    // The form's parts read its fields and state and show what they found.
    friend class FoundDocuments;
    friend class ShownDocumentActions;

    // Binds the window's buttons, grid, keys, menu, dropped files and close
    // question to the form's work.
    void wireWindow();
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
    std::string groupName_;
    // Each field's dictionary, read once a design is started.
    FieldDictionaries dictionaries_;
    tk::ComponentRef<tk::TPopupMenu> menu_;  // the clerk's menu, F10
    FoundDocuments found_{*this};
    ShownDocumentActions actions_{*this};
    std::unique_ptr<BackgroundReading> reading_;
    tk::ComponentRef<tk::TTimer> readingTimer_;
};

}  // namespace velmora
