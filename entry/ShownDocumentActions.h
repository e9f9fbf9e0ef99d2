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

    void voidShownDocument();
    void showHistory();
    std::vector<Attachment> shownAttachments();
    void attachFiles(const std::vector<std::string>& paths);
    void saveAttachmentAs(int64_t attachmentID, const std::string& path);
    void removeAttachment(int64_t attachmentID);
    void openAttachment(int64_t attachmentID);
    void showAttachments();
    void chooseFilesToAttach();
    void chooseWhereToSaveAttachment(int64_t attachmentID);
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
