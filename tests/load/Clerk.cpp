#include "Clerk.h"

#include <tuple>

#include "entry/EntryForm.h"

#include <chrono>
#include <stdexcept>

Clerk::Clerk(ChildProgram& program, const std::string& login) : gestures_(program)
{
    Answers a = gestures_.ask(Gestures::login(login, login), {"get frmClientMain.btnNew.Enabled"});
    if (!a.errors.empty() || a.lines[0] != "True")
        throw std::runtime_error("the clerk " + login +
                                 " could not log in: " + (a.errors.empty() ? a.lines[0] : a.errors[0]));
    new_ = gestures_.middleOf("frmClientMain.btnNew");
    save_ = gestures_.middleOf("frmClientMain.btnSave");
    modify_ = gestures_.middleOf("frmClientMain.btnModify");
    search_ = gestures_.middleOf("frmClientMain.btnSearch");
    searchNumber_ = gestures_.middleOf("frmClientMain.TZEDit4");
    Point pages = gestures_.cornerOf("frmClientMain.pcData");
    searchPage_ = {pages.x + 70, pages.y + 10};
    Point grid = gestures_.cornerOf("frmClientMain.dbgSearch");
    firstRow_ = {grid.x + 40, grid.y + 28};
}

void Clerk::fillNew(int number, const std::string& subject)
{
    gestures_.answer(Gestures::click(new_) + "type " + std::to_string(number) + "\nkey tab\ntype " + subject + "\n",
                     "focus");
}

std::string Clerk::search(const std::string& number) const
{
    std::string byNumber = number.empty() ? "" : Gestures::click(searchNumber_) + Gestures::retype(number);
    return Gestures::click(searchPage_) + byNumber + Gestures::click(search_);
}

void Clerk::clickSave()
{
    gestures_.program().send(Gestures::click(save_));
}

bool busy(const Answers& a)
{
    return a.errors.size() == 1 && a.errors[0].ends_with(": database is locked");
}

Answers Clerk::save(Save& s)
{
    for (;;) {
        auto start = std::chrono::steady_clock::now();
        Answers a = gestures_.ask(Gestures::click(save_), {"get frmClientMain.StatusBar1.SimpleText"});
        s.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (a.errors.empty()) return a;
        gestures_.program().send("key enter\n");  // the message box
        // Stored, but not read back: saved, and shown as such.
        if (a.errors.size() == 1 && a.errors[0].rfind(velmora::savedButNotReadBack, 0) == 0) {
            ++s.notReadBack;
            a.errors.clear();
            return a;
        }
        if (busy(a) && s.busyRetries < 50) {
            ++s.busyRetries;
            continue;
        }
        return a;
    }
}

namespace {

int64_t shownDocument(const std::string& status)
{
    const std::string prefix = "'Dokumentum: ";
    if (status.rfind(prefix, 0) != 0) throw std::runtime_error("no document shown: " + status);
    return std::stoll(status.substr(prefix.size()));
}

}  // namespace

Clerk::Save Clerk::saveNew()
{
    Save s;
    Answers a = save(s);
    if (!a.errors.empty()) throw std::runtime_error("a new document was refused: " + a.errors[0]);
    s.document = shownDocument(a.lines[0]);
    return s;
}

std::pair<int64_t, std::string> Clerk::show(int number, Save& save)
{
    Answers shown;
    for (;;) {
        shown = gestures_.ask(search(std::to_string(number)) + Gestures::click(firstRow_, "dblclick"),
                              {"get frmClientMain.StatusBar1.SimpleText", "get frmClientMain.TZEDit2.Text"});
        if (!busy(shown) || save.busyRetries >= 50) break;
        // A search, too, can outwait the busy wait: the clerk searches again.
        gestures_.program().send("key enter\n");
        ++save.busyRetries;
    }
    if (!shown.errors.empty()) throw std::runtime_error("finding a document failed: " + shown.errors[0]);
    return {shownDocument(shown.lines[0]), shown.lines[1]};
}

void Clerk::fillModified(int number, const std::string& subject, Save& save)
{
    std::string shownSubject;
    std::tie(save.document, shownSubject) = show(number, save);
    save.before = plainString(shownSubject);
    // Modify puts the focus on the first field that may change: the subject.
    std::string focus = gestures_.answer(Gestures::click(modify_) + Gestures::retype(subject), "focus");
    if (focus.find(".TZEDit2") == std::string::npos) throw std::runtime_error("modifying focused " + focus);
}

Clerk::Save Clerk::saveModified(Save s)
{
    Answers a = save(s);
    if (a.errors.empty()) {
        if (shownDocument(a.lines[0]) != s.document) throw std::runtime_error("another document shown: " + a.lines[0]);
        return s;
    }
    if (a.errors[0] != changedMeanwhile) throw std::runtime_error("a modification was refused: " + a.errors[0]);
    s.outcome = Outcome::Refused;
    s.refusal = a.errors[0];
    // Back to what is stored, as a clerk told of the change would do.
    gestures_.program().send("key esc\n");
    return s;
}
