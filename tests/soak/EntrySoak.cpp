#include "EntrySoak.h"

#include "../TestDatabase.h"
#include "Breach.h"
#include "app/EntryComposition.h"
#include "db/Connection.h"
#include "entry/EntryForm.h"
#include "gui/Printing.h"
#include "registry/Numbering.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/widgets/CheckBox.h"
#include "toolkit/widgets/Control.h"
#include "toolkit/widgets/WinControl.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Form.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

// The open window whose name begins with `name`: a second window of a
// kind gets a number after its name.
tk::TCustomForm* window(const char* name)
{
    for (tk::TCustomForm* f : tk::Application->windows())
        if (f->name().rfind(name, 0) == 0) return f;
    return nullptr;
}

tk::TForm* mainWindow()
{
    return dynamic_cast<tk::TForm*>(window("frmClientMain"));
}

tk::TControl* control(const char* name)
{
    tk::TForm* window = mainWindow();
    return window ? dynamic_cast<tk::TControl*>(window->findComponent(name)) : nullptr;
}

// The controls of a page that show a document's value.
std::vector<tk::TControl*> fieldsOn(const char* page)
{
    std::vector<tk::TControl*> out;
    auto* sheet = dynamic_cast<tk::TWinControl*>(control(page));
    if (!sheet) return out;
    for (tk::TControl* c : sheet->controls())
        if (tk::hasProperty(*c, "KeyField")) out.push_back(c);
    return out;
}

tk::TControl* fieldFor(const char* column)
{
    for (tk::TControl* c : fieldsOn("tsEdit"))
        if (tk::getPropTextOr(*c, "KeyField") == column) return c;
    return nullptr;
}

// What a person is shown on purpose: the form's refusals are in Hungarian;
// a database's or the toolkit's own failures are not.
bool expectedError(const std::string& text)
{
    for (const char* accent : {"á", "é", "í", "ó", "ö", "ő", "ú", "ü", "ű", "Á", "É", "Ö", "Ü"})
        if (text.find(accent) != std::string::npos) return true;
    return text.find("Cannot focus") != std::string::npos;
}

bool plainInteger(const std::string& text)
{
    size_t i = text[0] == '-' ? 1 : 0;
    if (i >= text.size() || text.size() > 12) return false;
    for (; i < text.size(); ++i)
        if (text[i] < '0' || text[i] > '9') return false;
    long long v = std::stoll(text);
    return v >= INT32_MIN && v <= INT32_MAX;  // what an int column holds
}

}  // namespace

bool SoakPlatform::openWithDesktop(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    opened.push_back(bytes.str());
    return true;
}

void SoakPlatform::printToPdf(const tk::Printout& printout, const std::string& path)
{
    gui::ensureGuiApplication();
    gui::writePdf(printout, path);
}

EntrySoak::EntrySoak(SoakPlatform& platform, uint64_t seed, const std::string& folder)
    : platform_(platform), rng_(seed), folder_(folder)
{
    saved_ = readDatabase();
    for (const auto& [id, row] : saved_) initial_.insert(id);
    db::TADOConnection c(nullptr);
    openDataLink(c, dataLink());
    numbered_ = !velmora::numberedColumns(c).empty();
    if (numbered_) firstNumber_ = std::stoll(velmora::numberingSettings(c).front().next);
    attachment_ = folder_ + "/beadv\xc3\xa1ny " + std::to_string(seed) + ".txt";
    std::ofstream(attachment_, std::ios::binary) << "Tisztelt Hivatal! " << seed << "\n";
}

void EntrySoak::numberTheRegistry(const std::string& dataLinkFile)
{
    db::TADOConnection c(nullptr);
    openDataLink(c, dataLinkFile);
    velmora::NumberingRequest request;
    request.column = "Iktatoszam";
    velmora::setNumbering(c, request);
}

std::map<int64_t, EntrySoak::Row> EntrySoak::readDatabase() const
{
    std::string link = dataLink();
    std::map<int64_t, Row> rows;
    for (const std::string& r : readRows(link, "Select DocumentID, Iktatoszam, Targy, Lezart from Document")) {
        std::vector<std::string> v;
        size_t from = 0;
        for (size_t bar; (bar = r.find('|', from)) != std::string::npos; from = bar + 1)
            v.push_back(r.substr(from, bar - from));
        v.push_back(r.substr(from));
        if (v.size() != 4) breach("a document row that cannot be read back: " + r);
        rows[std::stoll(v[0])] = {v[1], v[2], v[3], 0};
    }
    for (const std::string& r : readRows(link, "Select DocumentID, count(*) from DocumentHistory group by DocumentID"))
        rows[std::stoll(r)].history = std::stoi(r.substr(r.find('|') + 1));
    return rows;
}

std::optional<EntrySoak::Row> EntrySoak::typedRow() const
{
    auto* number = fieldFor("Iktatoszam");
    auto* subject = fieldFor("Targy");
    auto* closed = dynamic_cast<tk::TCheckBox*>(fieldFor("Lezart"));
    if (!number || !subject || !closed) breach("the entry page lacks a field of the demonstration design");
    Row row;
    // Blanks around a number are not part of it.
    std::string n = number->text();
    n.erase(0, n.find_first_not_of(' '));
    n.erase(n.find_last_not_of(' ') + 1);
    if (numbered_) row.number = "";  // the database gives it
    else if (n.empty()) row.number = "null";
    else if (plainInteger(n)) row.number = std::to_string(std::stoll(n));
    else return std::nullopt;
    row.subject = subject->text().empty() ? "null" : subject->text();
    row.closed = std::string(1, closed->checked() ? '\x01' : '\x00');
    return row;
}

void EntrySoak::recordSaves(const std::function<void()>& gesture)
{
    velmora::EntryForm* form = velmora::runningEntryForm();
    velmora::EntryState before = form->state();
    std::optional<Row> typed = typedRow();
    std::string typedNumber = fieldFor("Iktatoszam")->text();
    int64_t shown = form->shownDocument();
    gesture();
    // Save (its button, Enter, or Yes to the question before leaving) is
    // the one way from entering or modifying to a stored document; Cancel
    // and leaving without saving take the same way, so the history tells
    // which it was, and the row must then hold what was typed.
    using velmora::EntryState;
    if ((before != EntryState::Modifying && before != EntryState::New) || form->state() != EntryState::Shown) return;
    std::map<int64_t, Row> stored = readDatabase();
    int64_t id = form->shownDocument();
    bool landed = before == EntryState::New ? !saved_.count(id) && stored.count(id)
                                            : id == shown && stored[id].history == saved_[id].history + 1;
    if (std::getenv("VELMORA_SOAK_TRACE"))
        std::fprintf(stderr, "  from state %d to 1: %s\n", static_cast<int>(before), landed ? "saved" : "not saved");
    if (!landed) return;
    ++saves_;
    if (!typed)
        breach("a save stored the number '" + typedNumber + "' as " + stored[id].number +
               ", which the soak took for one the form refuses");
    if (before == EntryState::Modifying && voided_.count(id)) breach("a voided document was modified");
    if (before == EntryState::Modifying) typed->number = saved_[id].number;  // Iktatoszam may not change
    else if (numbered_) typed->number = stored[id].number;
    typed->history = saved_[id].history + 1;
    saved_[id] = *typed;
}

std::string EntrySoak::randomText()
{
    static const char* pieces[] = {"12", "2001", "-3",         "x", "Panasz",      "Reklamáció", "ő",     " ", "a'b",
                                   "%",  "_",    "2024.05.06", "0", "99999999999", "O'Brien",    "Tárgy", "*", "?"};
    std::string s;
    for (int i = pick(4); i >= 0; --i) s += pieces[pick(18)];
    if (pick(20) == 0) s += std::string(48, 'h');
    return s;
}

void EntrySoak::gesture()
{
    recordSaves([this] { play(); });
}

void EntrySoak::play()
{
    tk::TApplication& app = *tk::Application;
    // A gesture that opens a dialog nobody meant gets Esc, as a person would.
    struct Fallback {
        tk::HeadlessPlatform& p;
        ~Fallback() { p.clearScript(); }
    } fallback{platform_};
    for (int i = 0; i < 8; ++i) platform_.script([&app] { app.pressKey(tk::vk::Escape); });
    auto* pages = control("pcData");
    auto page = [&](bool search) {
        if (pages) app.click(pages, {search ? 70 : 20, 10});
    };
    int kind = pick(21);
    if (std::getenv("VELMORA_SOAK_TRACE")) std::fprintf(stderr, "entry gesture %d\n", kind);
    switch (kind) {
    case 0:
        page(false);
        app.click(control("btnNew"));
        break;
    case 1:
        page(false);
        app.click(control("btnModify"));
        break;
    case 2:
    case 3: {  // typing into a field of the entry page
        page(false);
        auto fields = fieldsOn("tsEdit");
        if (fields.empty()) break;
        tk::TControl* field = fields[static_cast<size_t>(pick(static_cast<int>(fields.size())))];
        app.click(field, {2 + pick(std::max(1, field->width() - 4)), field->height() / 2});
        if (pick(2)) {
            app.pressKey(tk::vk::Home);
            app.pressKey(tk::vk::End, tk::ssShift);
        }
        if (pick(4) == 0) app.pressKey(tk::vk::Space);
        else app.typeText(randomText());
        break;
    }
    case 4:
    case 5:
        page(false);
        app.click(control("btnSave"));
        break;
    case 6:
        page(false);
        if (pick(2)) app.click(control("btnCancel"));
        else app.pressKey(tk::vk::Escape);
        break;
    case 7: {  // a search by one of the search page's fields
        page(true);
        auto fields = fieldsOn("tsSearch");
        if (!fields.empty() && pick(3)) {
            tk::TControl* field = fields[static_cast<size_t>(pick(static_cast<int>(fields.size())))];
            app.click(field, {4, field->height() / 2});
            app.pressKey(tk::vk::Home);
            app.pressKey(tk::vk::End, tk::ssShift);
            if (pick(3)) app.typeText(randomText());
            else app.pressKey(tk::vk::Delete);
        }
        app.click(control("btnSearch"));
        break;
    }
    case 8: {  // a found row opened
        page(true);
        if (auto* grid = control("dbgSearch")) app.doubleClick(grid, {40, 28 + 18 * pick(3)});
        break;
    }
    case 9: {  // printing the result to a file, or the dialog cancelled
        page(true);
        std::string file = folder_ + "/list" + std::to_string(++printed_) + (pick(2) ? ".pdf" : ".csv");
        int answer = pick(4);
        platform_.clearScript();
        platform_.script([&app, file, answer] {
            if (answer == 0) {
                app.pressKey(tk::vk::Escape);
                return;
            }
            app.typeText(answer == 1 ? file + ".txt" : file);
            app.pressKey(tk::vk::Return);
        });
        platform_.script([&app] { app.pressKey(tk::vk::Escape); });
        app.click(control("btnPrint"));
        break;
    }
    case 10:  // Enter presses the form's default button: Save
        if (pick(2)) app.pressKey(tk::vk::Tab);
        else app.pressKey(tk::vk::Return);
        break;
    case 12: voidShown(); break;
    case 13: showHistory(); break;
    case 14: goToNumber(); break;
    case 15:  // stepping through the results on the entry page
        page(false);
        app.pressKey(pick(2) ? tk::vk::Next : tk::vk::Prior);
        break;
    case 16: printShown(); break;
    case 17: attachments(); break;
    case 18:
    case 19: {  // a whole new document: a number unless the database gives it, a subject, Save
        page(false);
        app.click(control("btnNew"));
        tk::TControl* number = fieldFor("Iktatoszam");
        tk::TControl* subject = fieldFor("Targy");
        if (!number || !subject) break;
        if (!numbered_) {
            app.click(number, {4, number->height() / 2});
            app.typeText(std::to_string(1000 + pick(100000)));
        }
        app.click(subject, {4, subject->height() / 2});
        app.typeText(randomText());
        // Saved within this gesture: recorded as a save of its own.
        recordSaves([&] { app.click(control("btnSave")); });
        break;
    }
    default: page(pick(2)); break;
    }
    for (const std::string& e : app.errorMessages())
        if (!expectedError(e)) breach("an error escaped: " + e);
    const_cast<std::vector<std::string>&>(app.errorMessages()).clear();
}

void EntrySoak::answer(std::vector<std::function<void()>> steps)
{
    platform_.clearScript();
    for (auto& step : steps) platform_.script(std::move(step));
    for (int i = 0; i < 8; ++i) platform_.script([] { tk::Application->pressKey(tk::vk::Escape); });
}

namespace {

std::set<int64_t> voidedInDatabase(const std::string& link)
{
    std::set<int64_t> out;
    try {
        for (const std::string& r : readRows(link, "Select DocumentID from DocumentVoid")) out.insert(std::stoll(r));
    } catch (const std::exception&) {
        // No document was voided yet: the table is made with the first.
    }
    return out;
}

}  // namespace

// F8 with a reason, a blank one, or Esc: a void lands on the shown
// document alone, once, with its history row.
void EntrySoak::voidShown()
{
    tk::TApplication& app = *tk::Application;
    std::string link = dataLink();
    std::set<int64_t> before = voidedInDatabase(link);
    velmora::EntryForm* form = velmora::runningEntryForm();
    int64_t shown = form->shownDocument();
    std::string reason = pick(5) == 0 ? "   " : randomText();
    bool confirm = pick(4) != 0;
    answer({[&app, reason, confirm] {
        app.typeText(reason);
        app.pressKey(confirm ? tk::vk::Return : tk::vk::Escape);
    }});
    app.pressKey(tk::vk::F8);
    for (int64_t id : voidedInDatabase(link)) {
        if (before.count(id)) continue;
        if (id != shown || !saved_.count(id)) breach("a void landed on a document that was not shown");
        if (voided_.count(id)) breach("a document was voided twice");
        voided_.insert(id);
        ++saved_[id].history;
        ++tally.voids;
    }
}

// F9: the history window of the shown document, closed with Esc.
void EntrySoak::showHistory()
{
    tk::TApplication& app = *tk::Application;
    int64_t shown = velmora::runningEntryForm()->shownDocument();
    std::string caption;
    answer({[&app, &caption] {
        if (tk::TCustomForm* w = window("frmHistory")) caption = w->caption();
        app.pressKey(tk::vk::Escape);
    }});
    app.pressKey(tk::vk::F9);
    if (!caption.empty()) ++tally.histories;
    if (!caption.empty() && caption.substr(caption.rfind(' ') + 1) != std::to_string(shown))
        breach("the history window of document " + std::to_string(shown) + " says " + caption);
    historyMatchesTheSaves();
}

// F3 with a stored number, or any text: a number that one document has
// shows that document.
void EntrySoak::goToNumber()
{
    tk::TApplication& app = *tk::Application;
    velmora::EntryForm* form = velmora::runningEntryForm();
    std::vector<int64_t> numbered;
    for (const auto& [id, row] : saved_)
        if (row.number != "null") numbered.push_back(id);
    std::string number = !numbered.empty() && pick(3)
                             ? saved_[numbered[static_cast<size_t>(pick(static_cast<int>(numbered.size())))]].number
                             : randomText();
    int64_t owner = 0;
    int owners = 0;
    for (const auto& [id, row] : saved_)
        if (row.number == number) {
            owner = id;
            ++owners;
        }
    bool wasEditing = form->editing();
    answer({[&app, number] {
        app.typeText(number);
        app.pressKey(tk::vk::Return);
    }});
    app.pressKey(tk::vk::F3);
    if (owners == 1 && form->shownDocument() == owner) ++tally.jumps;
    if (!wasEditing && owners == 1 && form->state() == velmora::EntryState::Shown && form->shownDocument() != owner)
        breach("Ugrás to " + number + " shows document " + std::to_string(form->shownDocument()) + ", not " +
               std::to_string(owner));
}

// F6 to a PDF file: a shown document prints into it.
void EntrySoak::printShown()
{
    tk::TApplication& app = *tk::Application;
    velmora::EntryForm* form = velmora::runningEntryForm();
    bool shown = form->state() == velmora::EntryState::Shown;
    std::string file = folder_ + "/egy" + std::to_string(++printed_) + ".pdf";
    bool toPdf = pick(4) != 0;
    answer({[&app, file, toPdf] {
        app.typeText(toPdf ? file : file + ".csv");
        app.pressKey(tk::vk::Return);
    }});
    app.pressKey(tk::vk::F6);
    if (shown && toPdf && app.errorMessages().empty()) {
        std::ifstream in(file, std::ios::binary);
        char head[5] = {};
        in.read(head, 4);
        ++tally.printed;
        if (std::string(head) != "%PDF")
            breach("printing document " + std::to_string(form->shownDocument()) + " wrote no PDF to " + file);
    }
}

// F11: the small file attached, sometimes opened with the stand-in viewer
// and removed, the window closed. Each attaching and removing writes one
// history row, and what the viewer is handed is the file's bytes.
void EntrySoak::attachments()
{
    tk::TApplication& app = *tk::Application;
    std::string link = dataLink();
    int64_t shown = velmora::runningEntryForm()->shownDocument();
    auto counts = [&] {
        try {
            return readRows(link, "Select count(*), count(RemovedAt) from DocumentAttachment where DocumentID = " +
                                      std::to_string(shown))
                .at(0);
        } catch (const std::exception&) {
            return std::string("0|0");  // no file was attached yet: the table is made with the first
        }
    };
    std::string before = counts();
    size_t openedBefore = platform_.opened.size();
    bool open = pick(2), remove = pick(3) == 0;
    answer({[&app, open, remove] {
                tk::TCustomForm* w = window("frmAttachments");
                if (!w) return;
                app.click(dynamic_cast<tk::TControl*>(w->findComponent("btnAttach")));
                if (open) app.click(dynamic_cast<tk::TControl*>(w->findComponent("btnOpen")));
                if (remove) app.click(dynamic_cast<tk::TControl*>(w->findComponent("btnRemove")));
                app.pressKey(tk::vk::Escape);
            },
            [&app, this] {
                app.typeText(attachment_);
                app.pressKey(tk::vk::Return);
            },
            [&app] { app.pressKey(tk::vk::Return); }});
    app.pressKey(tk::vk::F11);
    for (size_t i = openedBefore; i < platform_.opened.size(); ++i) {
        std::ifstream in(attachment_, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        if (platform_.opened[i] != bytes.str()) breach("the viewer was handed other bytes than the file attached");
        ++tally.viewed;
    }
    std::string after = counts();
    if (after == before || !saved_.count(shown)) return;
    auto number = [](const std::string& pair, bool second) {
        return std::stoi(second ? pair.substr(pair.find('|') + 1) : pair.substr(0, pair.find('|')));
    };
    int added = number(after, false) - number(before, false), removed = number(after, true) - number(before, true);
    if (added < 0 || removed < 0) breach("an attachment row went away");
    saved_[shown].history += added + removed;
    tally.attached += added;
    tally.removed += removed;
}

// Every document the soak entered has its Targy changes end with the
// value saved last.
void EntrySoak::historyMatchesTheSaves() const
{
    std::map<int64_t, std::string> last;
    for (const std::string& r :
         readRows(dataLink(),
                  "Select h.DocumentID, c.NewValue from DocumentHistory h join DocumentChange c on c.HistoryID = "
                  "h.HistoryID where c.ColumnName = 'Targy' order by h.HistoryID"))
        last[std::stoll(r)] = r.substr(r.find('|') + 1);
    for (const auto& [id, row] : saved_) {
        if (initial_.count(id)) continue;
        std::string changed = last.count(id) ? last.at(id) : "null";
        if (changed.empty()) changed = "null";
        if (changed != row.subject)
            breach("the history of document " + std::to_string(id) + " ends Targy with '" + changed + "', saved as '" +
                   row.subject + "'");
    }
}

// The numbers the database gave this session's documents follow on from
// where it stood, one by one, none twice.
void EntrySoak::numbersAreUniqueAndGapFree() const
{
    if (!numbered_) return;
    std::vector<int64_t> numbers;
    for (const auto& [id, row] : saved_)
        if (!initial_.count(id)) numbers.push_back(row.number == "null" ? -1 : std::stoll(row.number));
    std::sort(numbers.begin(), numbers.end());
    for (size_t i = 0; i < numbers.size(); ++i)
        if (numbers[i] != firstNumber_ + static_cast<int64_t>(i))
            breach("the database's numbers are not " + std::to_string(firstNumber_) +
                   " onwards without gaps: " + std::to_string(numbers[i]) + " stands " + std::to_string(i + 1) + "th");
}

EntrySoak::Tally& EntrySoak::Tally::operator+=(const Tally& t)
{
    voids += t.voids;
    histories += t.histories;
    jumps += t.jumps;
    printed += t.printed;
    attached += t.attached;
    viewed += t.viewed;
    removed += t.removed;
    return *this;
}

long EntrySoak::finish()
{
    historyMatchesTheSaves();
    numbersAreUniqueAndGapFree();
    return saves_;
}

void EntrySoak::check()
{
    velmora::EntryForm* form = velmora::runningEntryForm();
    if (!form || !mainWindow()) breach("the clerk's form is gone");
    // The state table in the controls' own integers.
    int state = static_cast<int>(form->state());
    auto* sheet = dynamic_cast<tk::TWinControl*>(control("tsEdit"));
    if (!sheet) breach("the entry page is gone");
    for (tk::TControl* c : sheet->controls()) {
        const std::string& name = c->name();
        if (tk::hasProperty(*c, "KeyField")) {
            if (tk::getProp(*c, "State").toInt() != state) breach(name + " is not in the form's state");
            bool numberedField = numbered_ && tk::getPropTextOr(*c, "KeyField") == "Iktatoszam";
            bool open = !numberedField && (state == 3 || (state == 2 && tk::getPropText(*c, "CanModify") == "True"));
            if (c->enabled() != open)
                breach(name + (open ? " is closed" : " is open") + " in state " + std::to_string(state));
            auto* box = dynamic_cast<tk::TCheckBox*>(c);
            bool keeps = c->className() == "TZEDit" ? !c->text().empty() : box && box->checked();
            if (state == 0 && keeps) breach(name + " keeps a value with no document shown");
        } else if (tk::hasProperty(*c, "State")) {
            bool open = name == "btnNew"                           ? state == 0 || state == 1
                        : name == "btnModify"                      ? state == 1
                        : name == "btnSave" || name == "btnCancel" ? state == 2 || state == 3
                                                                   : false;
            if (c->enabled() != open)
                breach(name + (open ? " is disabled" : " is enabled") + " in state " + std::to_string(state));
        }
    }
    if ((state == 1 || state == 2) && !saved_.count(form->shownDocument()))
        breach("the form shows a document that is not stored");
    if (state == 2 && voided_.count(form->shownDocument())) breach("a voided document is being modified");
    if (state == 1) {
        std::string subject = fieldFor("Targy")->text();
        const Row& row = saved_[form->shownDocument()];
        if (subject != (row.subject == "null" ? "" : row.subject))
            breach("document " + std::to_string(form->shownDocument()) + " shows Targy '" + subject + "', stored as '" +
                   row.subject + "'");
    }
    std::map<int64_t, Row> stored = readDatabase();
    if (stored != saved_) {
        for (const auto& [id, row] : stored)
            if (!saved_.count(id) || !(saved_[id] == row)) {
                auto text = [](const Row& r) {
                    return r.number + "|" + r.subject + "|" + std::to_string(r.closed[0]) + " with " +
                           std::to_string(r.history) + " history rows";
                };
                breach("document " + std::to_string(id) + " is stored as " + text(row) + ", saved as " +
                       (saved_.count(id) ? text(saved_[id]) : std::string("nothing")));
            }
        breach("a saved document is not stored");
    }
}
