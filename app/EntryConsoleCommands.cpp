// The clerk's console commands, each as the clerk's action it stands for:
// refusals appear as that action's message box would.
#include "app/EntryConsoleCommands.h"

#include "app/EntryComposition.h"
#include "entry/DatabaseMessage.h"
#include "entry/EntryForm.h"
#include "toolkit/windows/Application.h"

#include <istream>
#include <ostream>

namespace velmora {

namespace {

std::string restOfLine(std::istream& words)
{
    std::string rest;
    std::getline(words >> std::ws, rest);
    return rest;
}

// File N (from 1) of the shown document's list, or 0 when there is none.
int64_t attachmentNumbered(EntryForm& form, std::istream& words)
{
    size_t n = 0;
    words >> n;
    std::vector<Attachment> files = form.shownAttachments();
    return n >= 1 && n <= files.size() ? files[n - 1].id : 0;
}

// An action of the clerk's, its refusal shown as the action's would be.
template <class F>
void asTheClerksAction(F&& work)
{
    tk::Application->safely([&] { sayingDatabaseFailures(work); });
}

}  // namespace

bool runEntryConsoleCommand(const std::string& verb, std::istream& words, std::ostream& out)
{
    EntryForm* form = runningEntryForm();
    if (!form) return false;
    if (verb == "attach") {
        std::string path = restOfLine(words);
        asTheClerksAction([&] { form->attachFiles({path}); });
    } else if (verb == "attachments") {
        asTheClerksAction([&] {
            for (const Attachment& a : form->shownAttachments())
                out << a.name << "\t" << a.size << "\t" << a.sha256 << "\t" << (a.removed() ? "removed" : "present")
                    << "\n";
        });
        out << "end\n";
    } else if (verb == "readattachments") {
        // What the clerk's program reads on its timer, waited for.
        asTheClerksAction([&] { form->finishReading(); });
    } else if (verb == "saveattachment") {
        int64_t id = attachmentNumbered(*form, words);
        std::string path = restOfLine(words);
        asTheClerksAction([&] { form->saveAttachmentAs(id, path); });
    } else if (verb == "openattachment") {
        int64_t id = attachmentNumbered(*form, words);
        asTheClerksAction([&] { form->openAttachment(id); });
    } else if (verb == "detach") {
        int64_t id = attachmentNumbered(*form, words);
        asTheClerksAction([&] { form->removeAttachment(id); });
    } else {
        return false;
    }
    return true;
}

}  // namespace velmora
