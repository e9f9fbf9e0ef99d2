// What the clerk does to the document shown on the entry page, beside
// changing it: voiding it (F8), its history (F9), its attached files
// (F11, dropped files) and printing it (F6). A part of the entry form,
// which owns it.
#pragma once

#include "controls/FieldContract.h"
#include "entry/Attachments.h"
#include "entry/ViewingCopies.h"
#include "toolkit/windows/Platform.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

class EntryForm;

class ShownDocumentActions {
public:
    explicit ShownDocumentActions(EntryForm& form) : form_(form) {}

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
    // F6, "Dokumentum nyomtatása": the shown document (its fields with
    // their captions, its void, its history) into a PDF or on a printer.
    void printShownDocument();
    tk::Printout documentPrintout() const;

private:
    // The shown document's files, as this clerk reads and changes them.
    Attachments attachments();
    // Raises unless a stored document is shown (in state `only`, when
    // given; else shown, modified or being modified).
    void requireShownDocument(std::optional<EntryState> only = std::nullopt) const;

    EntryForm& form_;
    ViewingCopies viewingCopies_;
};

}  // namespace velmora
