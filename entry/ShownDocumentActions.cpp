// Voiding, the history, the attached files and printing of the shown document.
#include "entry/ShownDocumentActions.h"

#include "registry/AttachmentText.h"

#include "db/Connection.h"
#include "db/Query.h"
#include "entry/AttachmentWindow.h"
#include "entry/EntryForm.h"
#include "entry/FieldValues.h"
#include "entry/History.h"
#include "entry/HistoryWindow.h"
#include "entry/Printouts.h"
#include "entry/Question.h"
#include "entry/Refusal.h"
#include "entry/SaveFileDialog.h"
#include "entry/TextQuestion.h"
#include "registry/AttachmentText.h"
#include "toolkit/text/Locale.h"
#include "toolkit/text/Text.h"
#include "toolkit/windows/Application.h"

namespace velmora {

namespace {

// The shown document's attachment `id`; raises when it is not one of them.
Attachment attachmentOf(Attachments& files, int64_t document, int64_t id)
{
    std::optional<Attachment> found = files.find(id);
    if (!found || found->documentID != document) throw ERefused("Nincs ilyen melléklet a megjelenített dokumentumnál.");
    return *found;
}

}  // namespace

void ShownDocumentActions::voidShownDocument()
{
    if (form_.state() != EntryState::Shown || !form_.shownDocument()) return;
    if (form_.voidedFor()) throw ERefused("A dokumentum már érvénytelenítve van: " + *form_.voidedFor());
    std::optional<std::string> reason = askForText("frmVoidReason", "Az érvénytelenítés oka:");
    if (!reason) return;
    std::string why = tk::trimmed(*reason);
    if (why.empty()) throw ERefused("Az érvénytelenítés okát meg kell adni; a dokumentum nem lett érvénytelenítve.");
    bool voided = form_.documents_.voidDocument(form_.shownDocument(), why);
    form_.showDocument(form_.shownDocument());
    if (!voided) throw ERefused("A dokumentumot időközben valaki más érvénytelenítette.");
}

std::vector<Attachment> ShownDocumentActions::shownAttachments()
{
    if (!form_.shownDocument() || form_.state() == EntryState::None || form_.state() == EntryState::New) return {};
    return attachments().list(form_.shownDocument());
}

Attachments ShownDocumentActions::attachments()
{
    return Attachments(*form_.connection_, form_.documents_.userID(), form_.documents_.login());
}

void ShownDocumentActions::requireShownDocument(std::optional<EntryState> only) const
{
    bool shown = form_.shownDocument() && (only ? form_.state() == *only : form_.state() != EntryState::None && form_.state() != EntryState::New);
    if (!shown) throw ERefused("Nincs megjelenített dokumentum: előbb keressen meg vagy vigyen fel egyet.");
}

void ShownDocumentActions::attachFiles(const std::vector<std::string>& paths)
{
    requireShownDocument();
    if (form_.voidedFor()) throw ERefused("Érvénytelenített dokumentumhoz nem lehet fájlt csatolni.");
    Attachments files = attachments();
    int attached = 0;
    std::string last;
    for (const std::string& path : paths) {
        std::string sum = fileSha256(path);
        if (std::optional<Attachment> same = files.sameFile(form_.shownDocument(), sum))
            if (askQuestion("frmAttachAgain",
                            "Ez a fájl már csatolva van a dokumentumhoz: " + same->name + ". Csatolja még egyszer?",
                            false) != tk::mrYes)
                continue;
        last = files.add(form_.shownDocument(), path).name;
        ++attached;
    }
    if (attached == 1) form_.setStatus("Csatolva: " + last);
    else if (attached > 1) form_.setStatus(std::to_string(attached) + " fájl csatolva");
}

void ShownDocumentActions::saveAttachmentAs(int64_t attachmentID, const std::string& path)
{
    Attachments files = attachments();
    Attachment a = attachmentOf(files, form_.shownDocument(), attachmentID);
    files.saveTo(a, path);
    form_.setStatus("Mentve: " + path);
}

void ShownDocumentActions::removeAttachment(int64_t attachmentID)
{
    Attachments files = attachments();
    Attachment a = attachmentOf(files, form_.shownDocument(), attachmentID);
    files.remove(a);
    form_.setStatus("Melléklet törölve: " + a.name);
}

void ShownDocumentActions::openAttachment(int64_t attachmentID)
{
    Attachments files = attachments();
    Attachment a = attachmentOf(files, form_.shownDocument(), attachmentID);
    if (a.removed()) throw ERefused("A mellékletet törölték: " + a.name);
    if (!isViewableDocument(a.type, a.name))
        throw ERefused("Ez a melléklet nem ismert dokumentum vagy kép (" + a.type +
                       "), vagy a neve nem illik a tartalmához: megnyitni nem lehet, mert program is lehet; csak "
                       "menthető (Mentés másként): " + a.name);
    std::string copy = viewingCopies_.pathFor(a.id, a.name);
    files.saveTo(a, copy, 0400);
    if (!tk::Application->platform().openWithDesktop(copy))
        throw ERefused("A mellékletet nem lehet megnyitni: nincs hozzá megjelenítő. Mentse el (Mentés másként): " +
                       a.name);
    form_.setStatus("Megnyitva: " + a.name);
}

void ShownDocumentActions::showAttachments()
{
    requireShownDocument();
    showAttachmentWindow(form_, *form_.connection_, form_.shownDocument());
}

void ShownDocumentActions::chooseFilesToAttach()
{
    tk::Platform& platform = tk::Application->platform();
    std::vector<std::string> chosen;
    if (platform.hasFileDialog()) {
        chosen = platform.chooseOpenFiles("Csatolás");
    } else if (std::optional<std::string> typed = askForText("frmAttachFile", "Csatolandó fájl:")) {
        if (!tk::trimmed(*typed).empty()) chosen.push_back(tk::trimmed(*typed));
    }
    if (!chosen.empty()) attachFiles(chosen);
}

void ShownDocumentActions::chooseWhereToSaveAttachment(int64_t attachmentID)
{
    Attachments files = attachments();
    Attachment a = attachmentOf(files, form_.shownDocument(), attachmentID);
    tk::Platform& platform = tk::Application->platform();
    std::optional<std::string> target = platform.hasFileDialog()
                                            ? platform.chooseSaveFile("Mentés másként", safeFileName(a.name))
                                            : askForText("frmSaveAttachment", "Mentés ide:");
    if (!target || tk::trimmed(*target).empty()) return;
    saveAttachmentAs(attachmentID, tk::trimmed(*target));
}

void ShownDocumentActions::showHistory()
{
    if (!form_.shownDocument() || form_.state() == EntryState::None || form_.state() == EntryState::New) return;
    showHistoryWindow(*form_.connection_, form_.shownDocument(), form_.columnCaptions());
}

void ShownDocumentActions::printShownDocument()
{
    if (!form_.leaveEditing()) return;
    requireShownDocument(EntryState::Shown);
    if (auto done = deliverPrintout(documentPrintout(), PrintoutKind::Document)) form_.setStatus(*done);
}

tk::Printout ShownDocumentActions::documentPrintout() const
{
    tk::Printout out;
    std::vector<tk::TControl*> shownFields = form_.fields();
    // The registry number names the document: its numbered field, else the
    // form's first field.
    tk::TControl* naming = shownFields.empty() ? nullptr : shownFields.front();
    if (std::optional<BoundField> numbered = form_.registryField(); numbered && numbered->numbered) naming = numbered->field;
    std::string group = form_.groupName_.empty() ? std::string("Dokumentum") : form_.groupName_;
    out.title = naming ? group + ", " + fieldLabel(*naming) + ": " + shownText(*naming)
                       : group + ", Azonosító: " + std::to_string(form_.shownDocument());
    int y = 0, m = 0, d = 0;
    tk::decodeDate(tk::Application->platform().today(), y, m, d);
    out.lines.push_back("Azonosító: " + std::to_string(form_.shownDocument()) + ", nyomtatva " +
                        tk::currentLocale().formatDate(y, m, d));
    if (form_.voidedFor()) out.lines.push_back("ÉRVÉNYTELENÍTVE: " + *form_.voidedFor());
    for (tk::TControl* field : shownFields) out.captions.push_back({fieldLabel(*field), shownText(*field)});
    // Each attached file, so that the paper names what belongs to the
    // document and how to tell the file is the same.
    for (const Attachment& a : Attachments(*form_.connection_, 0, {}).list(form_.shownDocument())) {
        std::string said = a.name + " (" + std::to_string(a.size) + " bájt), SHA-256: " + a.sha256 +
                           ", csatolta: " + a.addedBy + ", " + tk::shownDateTime(a.addedAt);
        if (a.removed()) said += ", törölte: " + a.removedBy + ", " + tk::shownDateTime(a.removedAt);
        // And whether its text was read for searches, and how many pages.
        else {
            // A file attached before the table was made has no row.
            AttachmentTextRow text;
            text.state = isReadableAttachment(a.type) ? textWaiting : textUnreadable;
            if (std::optional<AttachmentTextRow> read = attachmentText(*form_.connection_, a.id)) text = *read;
            said += ", szöveg: " + textStateWords(text.state, text.pages, text.reason);
        }
        out.captions.push_back({"Melléklet", said});
    }

    db::TADOQuery history(nullptr);
    openHistory(history, *form_.connection_, form_.shownDocument(), form_.columnCaptions(), true);
    out.tableHeading = "Előzmények";
    for (int f = 0; f < history.fieldCount(); ++f) out.columns.push_back(history.displayLabel(f));
    for (int row = 0; row < history.recordCount(); ++row) {
        std::vector<std::string> cells;
        for (int f = 0; f < history.fieldCount(); ++f) cells.push_back(history.displayText(row, f));
        out.rows.push_back(std::move(cells));
    }
    return out;
}

}  // namespace velmora
