// velmora-load: many clerks at once, and programs killed in the middle of a
// save. It makes a new demonstration database (SQLite in a folder of its
// own, or a schema on the server VELMORA_POSTGRES names when
// VELMORA_TEST_ENGINE=postgres), then
//   1. starts PROGRAMS headless velmora-entry programs at once, each with a
//      clerk of its own entering NEW documents and modifying MODIFY existing
//      ones chosen at random from a small common pool, through the form's
//      buttons; each program's log of what it saved is then compared with
//      the Document table and its history;
//   2. starts two headless designers saving the clerks' group's design over
//      and over while clerks log in: every login must read a whole design;
//   3. kills KILLS programs in the middle of a save with SIGKILL (the
//      clerk's program saving a new or a modified document, the designer
//      saving a design), at a pause point or after a random moment, and
//      checks after each that the database is whole: the SQLite file passes
//      its integrity check, a document is there with its history row or not
//      at all, the history's chain is whole, a design is the old one or the
//      new one.
// Throughout, a column that no form shows is numbered by the database
// ("{n}/{yyyy}", starting again each year): after each step every
// document inserted since has its number, each year's run from 1 on
// without a gap or a number twice.
// It prints the figures and ends with status 1 at the first breach, naming
// it and showing the program's transcript.
//   velmora-load [--programs P] [--new N] [--modify M] [--kills K]
//                [--designer-saves D] [--seed S]
#include "../TempFolder.h"
#include "../TestDatabase.h"
#include "Clerk.h"
#include "Designer.h"
#include "PauseFile.h"
#include "app/DemoEntryForm.h"
#include "designs/FormText.h"
#include "entry/Attachments.h"
#include "registry/HistoryVerify.h"
#include "registry/Numbering.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace {

struct Options {
    int programs = 8;
    int documents = 200;
    int modifications = 50;
    int kills = 200;
    int designerSaves = 40;
    uint64_t seed = 1;
};

struct Breach : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The run's folder, copied for a look when a breach ends the run.
std::string runFolder;
const char* const keptFolder = "/tmp/velmora-load-breach";

[[noreturn]] void breach(const std::string& what)
{
    if (!runFolder.empty()) {
        std::error_code ec;
        std::filesystem::remove_all(keptFolder, ec);
        std::filesystem::copy(runFolder, keptFolder, std::filesystem::copy_options::recursive, ec);
    }
    throw Breach(what + "\n(the run's folder is kept in " + keptFolder + ")");
}

// A modification as the clerk's log has it.
struct Modification {
    int64_t document;
    std::string before, after;
    bool landed;
};

struct ClerkLog {
    int32_t user = 0;
    std::vector<std::pair<int64_t, std::string>> created;  // document, subject
    std::vector<Modification> modified;
    std::vector<double> saveSeconds;
    int busyRetries = 0;
    int notReadBack = 0;
    std::string failure;
};

// The pool of documents the clerks modify: numbers from here on.
constexpr int poolNumber = 900000;

class LoadRun {
public:
    explicit LoadRun(const Options& o) : options_(o), rng_(o.seed)
    {
        runFolder = folder_.path();
        makeDemoDatabase(folder_.path());
        velmora::addEntryDemo(udl());
        for (const char* program : {"velmora-entry", "velmora"}) {
            std::filesystem::copy_file(std::string(VELMORA_BINARY_DIR "/") + program, folder_.file(program));
            std::filesystem::permissions(folder_.file(program), std::filesystem::perms::owner_all);
        }
        connection_.setConnectionString("FILE NAME=" + udl());
        connection_.open();
        entryGroup_ = std::stoi(one("Select UserGroupID from UserGroup where UserGroupName = '" +
                                    std::string(velmora::entryDemoGroup) + "'"));
        for (int p = 1; p <= std::max(o.programs, 1); ++p) addUser("load" + std::to_string(p), entryGroup_);
        for (int d = 1; d <= 2; ++d) addUser("tervezo" + std::to_string(d), entryGroup_);
        firstDesign_ = storedDesign(udl(), 1);
        pool_ = std::max(10, o.programs * 3);
        for (int i = 0; i < pool_; ++i) {
            db::TADOCommand insert(nullptr);
            insert.setConnection(&connection_);
            insert.setCommandText("Insert into Document (Iktatoszam, Targy) Values (:N, :T)");
            insert.parameters().paramByName("N").setValue(tk::Value(poolNumber + i));
            insert.parameters().paramByName("T").setValue(tk::Value("pool" + std::to_string(i)));
            insert.execute();
        }
        db::TADOCommand add(nullptr);
        add.setConnection(&connection_);
        add.setCommandText("Alter Table Document Add [Iktato] varchar(20)");
        add.execute();
        unnumbered_ = std::stoi(one("Select count(*) from Document"));
        velmora::setNumbering(connection_, {"Iktato", true, 1, "{n}/{yyyy}", ""});
    }

    void clerksAtOnce();
    void designersWhileClerksLogIn();
    void kills();

private:
    std::string udl() const { return folder_.file("VelmoraDSC.udl"); }
    std::string one(const std::string& sql)
    {
        auto rows = readRows(connection_, sql);
        if (rows.size() != 1) breach("expected one row from: " + sql);
        return rows[0];
    }
    void addUser(const std::string& login, int group)
    {
        db::TADOCommand insert(nullptr);
        insert.setConnection(&connection_);
        insert.setCommandText("Insert into UserTable (UserLogin, UserPasswd, UserGroupID) Values (:L, :L, :G)");
        insert.parameters().paramByName("L").setValue(tk::Value(login));
        insert.parameters().paramByName("G").setValue(tk::Value(group));
        insert.execute();
        userIDs_[login] = std::stoi(one("Select UserID from UserTable where UserLogin = '" + login + "'"));
    }
    std::string program(const char* name) const { return folder_.file(name); }
    void runClerk(int index, uint64_t seed, ClerkLog& log);
    void checkAgainstLogs(const std::vector<ClerkLog>& logs);
    void checkWhole(const std::string& when);
    void checkNumbers(const std::string& when);
    // Each tells whether the save was there after the kill.
    bool killClerk(int round, const std::string& pausePoint, int delayUs, bool modify);
    bool killDesigner(int round, const std::string& pausePoint, int delayUs);
    bool killAttacher(int round, const std::string& pausePoint, int delayUs);

    Options options_;
    std::mt19937_64 rng_;
    TempFolder folder_;
    db::TADOConnection connection_{nullptr};
    int entryGroup_ = 0;
    int pool_ = 0;
    int unnumbered_ = 0;  // the documents made before the numbering
    std::map<std::string, int32_t> userIDs_;
    std::optional<std::string> firstDesign_;  // the designer's group's, as made
};

void LoadRun::runClerk(int index, uint64_t seed, ClerkLog& log)
{
    std::string login = "load" + std::to_string(index);
    log.user = userIDs_.at(login);
    std::ofstream file(folder_.file(login + ".log"));
    auto program = std::make_unique<ChildProgram>(this->program("velmora-entry"));
    try {
        std::unique_ptr<Clerk> started;
        for (int attempt = 1; !started; ++attempt) {
            try {
                started = std::make_unique<Clerk>(*program, login);
            } catch (const std::exception& e) {
                // Many programs making their tables at once may outwait the
                // busy wait; the clerk starts the program again.
                if (attempt == 10 || std::string(e.what()).find("database is locked") == std::string::npos) throw;
                program->finish();
                program = std::make_unique<ChildProgram>(this->program("velmora-entry"));
                ++log.busyRetries;
                file << "start-up busy, started again\n";
            }
        }
        Clerk& clerk = *started;
        std::mt19937_64 rng(seed);
        // The new documents and the modifications in a random order.
        std::vector<bool> steps(options_.documents, false);
        steps.insert(steps.end(), options_.modifications, true);
        std::shuffle(steps.begin(), steps.end(), rng);
        int made = 0, changed = 0;
        for (bool modify : steps) {
            Clerk::Save s;
            if (!modify) {
                std::string subject = "c" + std::to_string(index) + "n" + std::to_string(++made);
                clerk.fillNew(index * 10000 + made, subject);
                s = clerk.saveNew();
                log.created.emplace_back(s.document, subject);
                file << "new " << s.document << " " << subject << "\n";
            } else {
                std::string subject = "c" + std::to_string(index) + "m" + std::to_string(++changed);
                int number = poolNumber + static_cast<int>(rng() % static_cast<uint64_t>(pool_));
                clerk.fillModified(number, subject, s);
                s = clerk.saveModified(s);
                bool landed = s.outcome == Clerk::Outcome::Saved;
                log.modified.push_back({s.document, s.before, subject, landed});
                file << (landed ? "modified " : "refused ") << s.document << " " << s.before << " " << subject << "\n";
            }
            log.saveSeconds.push_back(s.seconds);
            log.busyRetries += s.busyRetries;
            log.notReadBack += s.notReadBack;
            for (int i = 0; i < s.busyRetries; ++i) file << "busy, retried\n";
        }
        int status = program->finish();
        if (status != 0) log.failure = "the program ended with status " + std::to_string(status);
    } catch (const std::exception& e) {
        log.failure = e.what() + std::string("\n") + program->transcript();
    }
}

double percentile(std::vector<double> v, double p)
{
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[std::min(v.size() - 1, static_cast<size_t>(p * static_cast<double>(v.size())))];
}

void LoadRun::clerksAtOnce()
{
    if (options_.programs <= 0) return;
    int before = std::stoi(one("Select count(*) from Document"));
    std::vector<ClerkLog> logs(options_.programs);
    std::vector<std::thread> threads;
    auto start = std::chrono::steady_clock::now();
    for (int p = 0; p < options_.programs; ++p)
        threads.emplace_back([this, p, &logs, seed = rng_()] { runClerk(p + 1, seed, logs[p]); });
    for (auto& t : threads) t.join();
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    for (const ClerkLog& log : logs)
        if (!log.failure.empty()) breach("a clerk's program failed: " + log.failure);

    int after = std::stoi(one("Select count(*) from Document"));
    if (after - before != options_.programs * options_.documents)
        breach("new rows: " + std::to_string(after - before) + ", expected " +
               std::to_string(options_.programs * options_.documents));
    checkAgainstLogs(logs);
    checkWhole("after the clerks");
    std::printf("  %s documents numbered by the database, each year's numbers without a gap or a repeat\n",
                one("Select count(*) from Document where Iktato is not null").c_str());

    std::vector<double> saves;
    int landed = 0, refused = 0, busy = 0, notReadBack = 0;
    for (const ClerkLog& log : logs) {
        saves.insert(saves.end(), log.saveSeconds.begin(), log.saveSeconds.end());
        for (const Modification& m : log.modified) (m.landed ? landed : refused)++;
        busy += log.busyRetries;
        notReadBack += log.notReadBack;
    }
    int documents = options_.programs * options_.documents + landed;
    std::printf(
        "clerks at once: %d programs, %d new documents, %d modifications landed, %d refused as changed "
        "meanwhile, %d busy saves or searches retried, %d saves stored but not read back\n",
        options_.programs, options_.programs * options_.documents, landed, refused, busy, notReadBack);
    std::printf("  %.1f s, %.1f documents saved per second, one save p50 %.1f ms, p95 %.1f ms, max %.1f ms\n", seconds,
                documents / seconds, percentile(saves, 0.5) * 1000, percentile(saves, 0.95) * 1000,
                percentile(saves, 1.0) * 1000);
}

// What each clerk logged against what the tables hold: every new document
// once with its subject and one insert row of its clerk; every modification
// that landed in the history, in an order in which each one changed the
// subject that its clerk had been shown; every refused one overtaken.
void LoadRun::checkAgainstLogs(const std::vector<ClerkLog>& logs)
{
    std::map<int64_t, std::string> subjects;
    for (const std::string& row : readRows(connection_, "Select DocumentID, Targy from Document"))
        subjects[std::stoll(row)] = row.substr(row.find('|') + 1);
    // Per document, the history rows in order: user and action.
    std::map<int64_t, std::vector<std::pair<int32_t, std::string>>> history;
    for (const std::string& row :
         readRows(connection_, "Select DocumentID, UserID, Action from DocumentHistory order by HistoryID")) {
        std::istringstream in(row);
        std::string id, user, action;
        std::getline(in, id, '|');
        std::getline(in, user, '|');
        std::getline(in, action);
        if (!subjects.count(std::stoll(id))) breach("a history row of a document that is not there: " + row);
        history[std::stoll(id)].emplace_back(std::stoi(user), action);
    }
    std::set<int64_t> created;
    for (const ClerkLog& log : logs)
        for (const auto& [id, subject] : log.created) {
            if (!created.insert(id).second) breach("two new documents logged with DocumentID " + std::to_string(id));
            if (subjects[id] != subject)
                breach("document " + std::to_string(id) + " holds '" + subjects[id] + "', logged '" + subject + "'");
            const auto& h = history[id];
            if (h.empty() || h[0] != std::make_pair(log.user, std::string("felvitel")))
                breach("document " + std::to_string(id) + " has no insert row of its clerk first");
        }
    // Each clerk's landed modifications of a document, in its own order.
    std::map<std::pair<int64_t, int32_t>, std::vector<const Modification*>> landed;
    std::map<int64_t, std::vector<const Modification*>> refused;
    for (const ClerkLog& log : logs)
        for (const Modification& m : log.modified) {
            if (m.landed) landed[{m.document, log.user}].push_back(&m);
            else refused[m.document].push_back(&m);
        }
    // The pool's documents as they were made: "pool" and their place.
    std::map<int64_t, std::string> made;
    for (const std::string& row :
         readRows(connection_,
                  "Select DocumentID, Iktatoszam from Document where Iktatoszam >= " + std::to_string(poolNumber)))
        made[std::stoll(row)] = "pool" + std::to_string(std::stoll(row.substr(row.find('|') + 1)) - poolNumber);
    std::set<int64_t> touched;
    for (const auto& [id, rows] : history) touched.insert(id);
    for (const auto& [id, mods] : refused) touched.insert(id);
    for (int64_t id : touched) {
        const auto& rows = history[id];
        std::vector<const Modification*> chain;
        std::map<int32_t, size_t> taken;
        for (const auto& [user, action] : rows) {
            if (action == "felvitel") continue;
            auto& mine = landed[{id, user}];
            size_t& next = taken[user];
            if (next >= mine.size())
                breach("document " + std::to_string(id) + " has a modification row no clerk logged as landed");
            chain.push_back(mine[next++]);
        }
        for (const auto& [user, next] : taken)
            if (next != landed[{id, user}].size())
                breach("document " + std::to_string(id) + " lacks the history row of a landed modification");
        for (size_t i = 0; i < chain.size(); ++i) {
            if (chain[i]->before != (i == 0 ? made[id] : chain[i - 1]->after))
                breach("document " + std::to_string(id) + ": a modification overwrote '" + chain[i]->before +
                       "' unseen");
        }
        if (!chain.empty() && subjects[id] != chain.back()->after)
            breach("document " + std::to_string(id) + " holds '" + subjects[id] + "', its last modification was '" +
                   chain.back()->after + "'");
        std::set<std::string> overtaken;
        for (const Modification* m : chain) overtaken.insert(m->before);
        for (const Modification* m : refused[id])
            if (!overtaken.count(m->before))
                breach("document " + std::to_string(id) + ": a modification of '" + m->before +
                       "' was refused though nobody changed it");
    }
    for (const auto& [key, mods] : landed)
        if (!history.count(key.first)) breach("a landed modification without a history row");
}

// The database as a whole: the SQLite file's own check, no history row of
// a document that is not there, and the history's chain whole.
void LoadRun::checkWhole(const std::string& when)
{
    if (!onPostgres()) {
        std::string check = one("PRAGMA integrity_check");
        if (check != "ok") breach(when + ": the SQLite file fails its integrity check: " + check);
    }
    std::string orphans =
        one("Select count(*) from DocumentHistory where DocumentID not in (Select DocumentID from Document)");
    if (orphans != "0") breach(when + ": " + orphans + " history rows of documents that are not there");
    velmora::HistoryVerdict chain = velmora::verifyHistory(connection_);
    if (!chain.whole)
        breach(when + ": the history's chain breaks at row " + std::to_string(chain.brokenAt) + ": " + chain.problem);
    checkNumbers(when);
}

void LoadRun::checkNumbers(const std::string& when)
{
    std::string unnumbered = one("Select count(*) from Document where Iktato is null");
    if (std::stoi(unnumbered) != unnumbered_)
        breach(when + ": " + unnumbered + " documents without a number, " + std::to_string(unnumbered_) +
               " were made before the numbering");
    std::map<std::string, std::set<int>> byYear;
    for (const std::string& number : readRows(connection_, "Select Iktato from Document where Iktato is not null")) {
        size_t slash = number.find('/');
        if (slash == std::string::npos || !byYear[number.substr(slash + 1)].insert(std::stoi(number)).second)
            breach(when + ": the number " + number + " is given twice or is not a number");
    }
    for (const auto& [year, numbers] : byYear)
        if (*numbers.begin() != 1 || *numbers.rbegin() != static_cast<int>(numbers.size()))
            breach(when + ": the numbers of " + year + " run from " + std::to_string(*numbers.begin()) + " to " +
                   std::to_string(*numbers.rbegin()) + " with " + std::to_string(numbers.size()) + " documents");
}

// Counts the components of a stored design ("object" lines).
int componentsOf(const std::string& design)
{
    int n = 0;
    std::istringstream in(design);
    for (std::string line; std::getline(in, line);)
        if (line.find("object ") != std::string::npos) ++n;
    return n;
}

constexpr int placedAtMost = 15;

// Two designers save the clerks' group's design again and again, each
// with one more edit box, while clerks log in one after another: each
// login must show a whole design (the form's buttons there, no error).
void LoadRun::designersWhileClerksLogIn()
{
    if (options_.designerSaves <= 0) return;
    std::string original = storedDesign(udl(), entryGroup_).value_or("");
    int before = componentsOf(original);
    std::atomic<bool> designing{true};
    std::vector<std::string> failures(5);  // designers 1 and 2, clerks 3 and 4
    std::atomic<int> logins{0}, busyLogins{0};
    auto designer = [&](int d) {
        ChildProgram program(this->program("velmora"));
        try {
            Designer designer(program, "tervezo" + std::to_string(d));
            Gestures& g = designer.gestures();
            std::set<std::string> placed;
            for (int i = 0; i < options_.designerSaves; ++i) {
                // Below the form's fields, left of its buttons, in three
                // columns; when they are full the same window is saved again.
                if (i < placedAtMost) {
                    std::string name =
                        g.answer(designer.placeEdit({20 + 130 * (i / 5), 170 + 24 * (i % 5)}), "selection");
                    if (!placed.insert(name).second || g.program().line() != "end")
                        breach("a click of the designer placed no new edit: " + name);
                }
                g.answer(designer.save("Ügyf"), "focus");
            }
            for (const std::string& l : g.ask("", {"focus"}).errors) failures[d] += "error: " + l + "\n";
            if (int status = program.finish(); status != 0)
                failures[d] += "ended with status " + std::to_string(status) + "\n";
        } catch (const std::exception& e) {
            failures[d] = e.what() + std::string("\n") + program.transcript();
        }
    };
    std::thread first(designer, 1), second(designer, 2);
    auto clerk = [&](size_t slot) {
        while (designing) {
            ChildProgram program(this->program("velmora-entry"));
            try {
                Gestures g(program);
                Answers a = g.ask(Gestures::login("load1", "load1"), {"get frmClientMain.btnNew.Enabled"});
                // A start-up that outwaited the busy wait says so and ends; the clerk starts again.
                if (a.errors.empty() && a.lines[0].find("start-up failed: database is locked") != std::string::npos)
                    ++busyLogins;
                else if (!a.errors.empty() || a.lines[0] != "True")
                    failures[slot] = "a login read no whole design: " + (a.errors.empty() ? a.lines[0] : a.errors[0]) +
                                     "\n" + program.transcript();
                program.finish();
                ++logins;
            } catch (const std::exception& e) {
                failures[slot] = e.what() + std::string("\n") + program.transcript();
            }
            if (!failures[slot].empty()) return;
        }
    };
    std::thread clerk1(clerk, 3), clerk2(clerk, 4);
    first.join();
    second.join();
    designing = false;
    clerk1.join();
    clerk2.join();
    for (const std::string& f : failures)
        if (!f.empty()) breach(f);
    std::string design = storedDesign(udl(), entryGroup_).value_or("");
    velmora::formTextToImage(design);  // raises on a torn design
    // The last designer's window: all its own edits, and those of the other
    // that were stored before it logged in.
    int count = componentsOf(design), placed = std::min(options_.designerSaves, placedAtMost);
    if (count < before + placed || count > before + 2 * placed)
        breach("the last design stored has " + std::to_string(count) + " components, " + std::to_string(before) +
               " before");
    // The clerks' form as it was, for what follows.
    storeFormData(udl(), entryGroup_, original);
    std::printf(
        "two designers: %d saves each while clerks logged in %d times, every login a whole design (%d "
        "start-ups refused as busy and started again)\n",
        options_.designerSaves, logins.load() - busyLogins.load(), busyLogins.load());
}

// The pause points in the order a save passes them.
const std::vector<std::string> documentPauses = {"document-written", "history-written", "document-saved"};
const std::vector<std::string> designPauses = {"design-storing", "design-stored"};

// When a kill comes, in words.
std::string moment(const std::string& pausePoint, int delayUs)
{
    return pausePoint.empty() ? "after " + std::to_string(delayUs) + " µs" : "at " + pausePoint;
}

// Ends a program in the middle of the save it was sent: at its pause point
// when it has one, else after `delayUs`.
void cutOff(ChildProgram& program, const PauseFile& pause, const std::string& pausePoint, int delayUs)
{
    if (!pausePoint.empty() && !pause.held())
        breach("the program never reached its pause point\n" + program.transcript());
    if (pausePoint.empty()) std::this_thread::sleep_for(std::chrono::microseconds(delayUs));
    program.kill();
}

bool LoadRun::killClerk(int round, const std::string& pausePoint, int delayUs, bool modify)
{
    PauseFile pause(folder_.file("paused"));
    ChildProgram program(this->program("velmora-entry"), pause.environment(pausePoint));
    std::string when = "kill " + std::to_string(round) + " (" + (modify ? "modifying" : "new document") + ", " +
                       moment(pausePoint, delayUs) + ")";
    try {
        Clerk clerk(program, "load1");
        std::string subject = "k" + std::to_string(round);
        int number = modify ? poolNumber + static_cast<int>(rng_() % static_cast<uint64_t>(pool_)) : 500000 + round;
        Clerk::Save s;
        std::string historyBefore;
        if (modify) {
            clerk.fillModified(number, subject, s);
            historyBefore =
                one("Select count(*) from DocumentHistory where DocumentID = " + std::to_string(s.document));
        } else {
            clerk.fillNew(number, subject);
        }
        clerk.clickSave();
        cutOff(program, pause, pausePoint, delayUs);
        checkWhole(when);
        // Where the save stood when it was cut off, when that is known.
        auto step = std::find(documentPauses.begin(), documentPauses.end(), pausePoint) - documentPauses.begin();
        bool mustBeThere = !pausePoint.empty() && step == 2;
        bool mustBeAbsent = !pausePoint.empty() && step < 2;
        if (modify) {
            std::string id = std::to_string(s.document);
            std::string now = one("Select Targy from Document where DocumentID = " + id);
            int added = std::stoi(one("Select count(*) from DocumentHistory where DocumentID = " + id)) -
                        std::stoi(historyBefore);
            bool there = now == subject;
            if (!there && now != s.before) breach(when + ": the document holds '" + now + "'");
            if (added != (there ? 1 : 0))
                breach(when + ": " + std::to_string(added) + " new history rows for a " + (there ? "landed" : "lost") +
                       " modification");
            if ((mustBeThere && !there) || (mustBeAbsent && there))
                breach(when + ": the modification is " + (there ? "there" : "not there"));
            return there;
        } else {
            auto rows = readRows(connection_,
                                 "Select DocumentID, Targy from Document where Iktatoszam = " + std::to_string(number));
            bool there = rows.size() == 1;
            if (rows.size() > 1) breach(when + ": the document is there twice");
            if (there) {
                std::string id = rows[0].substr(0, rows[0].find('|'));
                if (rows[0] != id + "|" + subject) breach(when + ": the document is there as " + rows[0]);
                if (one("Select count(*) from DocumentHistory where DocumentID = " + id) != "1")
                    breach(when + ": the document is there without its one history row");
            }
            if ((mustBeThere && !there) || (mustBeAbsent && there))
                breach(when + ": the document is " + (there ? "there" : "not there"));
            return there;
        }
    } catch (const Breach&) {
        throw;
    } catch (const std::exception& e) {
        breach(when + ": " + e.what() + "\n" + program.transcript());
    }
}

// The pause points of attaching a file of several chunks: after its first
// chunk, and after its history row, before the commit.
const std::vector<std::string> attachPauses = {"attachment-chunk-written", "history-written"};

bool LoadRun::killAttacher(int round, const std::string& pausePoint, int delayUs)
{
    PauseFile pause(folder_.file("paused"));
    ChildProgram program(this->program("velmora-entry"), pause.environment(pausePoint));
    std::string when = "kill " + std::to_string(round) + " (attaching a file, " + moment(pausePoint, delayUs) + ")";
    // Four chunks and a little, made once.
    std::string file = folder_.file("melléklet.bin");
    if (!std::filesystem::exists(file)) {
        std::ofstream out(file, std::ios::binary);
        for (size_t i = 0; i < 3 * velmora::attachmentChunkBytes + 1000; ++i) out.put(static_cast<char>(i * 31 % 251));
    }
    static const std::string sum = velmora::fileSha256(file);
    auto size = static_cast<int64_t>(std::filesystem::file_size(file));
    try {
        Clerk clerk(program, "load1");
        Clerk::Save s;
        int number = poolNumber + static_cast<int>(rng_() % static_cast<uint64_t>(pool_));
        std::string id = std::to_string(clerk.show(number, s).first);
        auto count = [&](const std::string& sql) { return std::stoi(one(sql)); };
        std::string attachedHere = "Select count(*) from DocumentHistory where Action = 'csatolás' and DocumentID = " + id;
        int filesBefore = count("Select count(*) from DocumentAttachment where DocumentID = " + id);
        int historyBefore = count(attachedHere);
        program.send("attach " + file + "\n");
        cutOff(program, pause, pausePoint, delayUs);
        checkWhole(when);
        auto files = readRows(connection_, "Select AttachmentID, FileSize, Sha256 from DocumentAttachment where "
                                           "DocumentID = " + id + " order by AttachmentID");
        int added = static_cast<int>(files.size()) - filesBefore;
        if (added < 0 || added > 1) breach(when + ": " + std::to_string(added) + " files added");
        if (count(attachedHere) - historyBefore != added)
            breach(when + ": the history rows do not match the " + std::to_string(added) + " files added");
        if (added == 1) {
            std::string last = files.back(), attachment = last.substr(0, last.find('|'));
            if (last != attachment + "|" + std::to_string(size) + "|" + sum) breach(when + ": the file is there as " + last);
            if (one("Select coalesce(sum(length(Bytes)), 0) from DocumentAttachmentChunk where AttachmentID = " +
                    attachment) != std::to_string(size))
                breach(when + ": the file's chunks do not add up to it");
        }
        if (one("Select count(*) from DocumentAttachmentChunk where AttachmentID not in (Select AttachmentID from "
                "DocumentAttachment)") != "0")
            breach(when + ": chunks of no file are left");
        if (!pausePoint.empty() && added != 0) breach(when + ": the file is there though its transaction was cut off");
        return added == 1;
    } catch (const Breach&) {
        throw;
    } catch (const std::exception& e) {
        breach(when + ": " + e.what() + "\n" + program.transcript());
    }
}

bool LoadRun::killDesigner(int round, const std::string& pausePoint, int delayUs)
{
    PauseFile pause(folder_.file("paused"));
    std::string when = "kill " + std::to_string(round) + " (saving a design, " + moment(pausePoint, delayUs) + ")";
    // Each round from the same design, so that the click places a new edit.
    std::optional<std::string> old = firstDesign_;
    if (old) storeFormData(udl(), 1, *old);
    else runScript(connection_, "Update UserGroup Set FormData = null Where UserGroupID = 1");
    ChildProgram program(this->program("velmora"), pause.environment(pausePoint));
    try {
        Designer designer(program, "demo");
        designer.gestures().answer(designer.placeEdit({200, 60}), "focus");
        program.send(designer.save("Ikt"));
        cutOff(program, pause, pausePoint, delayUs);
    } catch (const std::exception& e) {
        breach(when + ": " + e.what() + "\n" + program.transcript());
    }
    checkWhole(when);
    std::optional<std::string> now = storedDesign(udl(), 1);
    bool isOld = now == old;
    if (!isOld) {
        if (!now) breach(when + ": the design is gone");
        try {
            velmora::formTextToImage(*now);
        } catch (const std::exception& e) {
            breach(when + ": the stored design is torn: " + e.what());
        }
        if (componentsOf(*now) != componentsOf(old.value_or("")) + 1 && old)
            breach(when + ": the stored design is neither the old one nor the new one");
    }
    if (pausePoint == "design-storing" && !isOld) breach(when + ": the design changed before it was stored");
    if (pausePoint == "design-stored" && isOld) breach(when + ": the stored design is not there");
    return !isOld;
}

void LoadRun::kills()
{
    int landed = 0;
    auto start = std::chrono::steady_clock::now();
    for (int round = 1; round <= options_.kills; ++round) {
        int kind = round % 4;  // a new document, a modification, a design, a file attached
        // Every other kill at a pause point in turn, the rest at a random moment.
        bool paused = round % 2 == 1;
        // Microseconds: a save takes about one millisecond, attaching 3 MiB some tens.
        int delay = static_cast<int>(rng_() % (kind == 3 ? 60000 : 3000));
        const auto& pauses = kind == 2 ? designPauses : kind == 3 ? attachPauses : documentPauses;
        std::string pause = paused ? pauses[(round / 2) % pauses.size()] : std::string();
        landed += kind == 2   ? killDesigner(round, pause, delay)
                  : kind == 3 ? killAttacher(round, pause, delay)
                              : killClerk(round, pause, delay, kind == 1);
    }
    if (options_.kills > 0)
        std::printf(
            "killed %d programs in the middle of a save or an attached file, %d of them there afterwards, the others not "
            "at all (%.1f s): the database whole after each\n",
            options_.kills, landed, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
}

}  // namespace

int main(int argc, char** argv)
{
    Options o;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string name = argv[i];
        long value = std::strtol(argv[i + 1], nullptr, 10);
        if (name == "--programs") o.programs = static_cast<int>(value);
        else if (name == "--new") o.documents = static_cast<int>(value);
        else if (name == "--modify") o.modifications = static_cast<int>(value);
        else if (name == "--kills") o.kills = static_cast<int>(value);
        else if (name == "--designer-saves") o.designerSaves = static_cast<int>(value);
        else if (name == "--seed") o.seed = static_cast<uint64_t>(value);
        else {
            std::fprintf(stderr, "unknown option %s\n", name.c_str());
            return 2;
        }
    }
    if (onPostgres() && !std::getenv("VELMORA_POSTGRES")) {
        std::printf("%s\n", postgresSkipReason);
        return postgresSkipStatus;
    }
    try {
        std::printf("on %s, seed %llu\n", onPostgres() ? "PostgreSQL" : "SQLite",
                    static_cast<unsigned long long>(o.seed));
        LoadRun run(o);
        run.clerksAtOnce();
        run.designersWhileClerksLogIn();
        run.kills();
    } catch (const std::exception& e) {
        std::printf("BREACH: %s\n", e.what());
        return 1;
    }
    return 0;
}
