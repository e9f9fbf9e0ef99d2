// The clerk's program under random gestures: new, modify, typing into the
// entry page's fields, save, cancel, searching, opening a found row with a
// double click, printing the list to a temporary file, and the clerk's
// menu: voiding, the history, "Ugrás", stepping through the results,
// printing one document, and attachments (added, opened with a stand-in
// viewer, removed). After every gesture the entry state of every field
// control and action button on the entry page must be what the form's
// state says, a shown document must show what is stored, a voided one must
// never be modified, and the Document table and its history must equal the
// soak's own record of what was saved. Every other session numbers
// Iktatoszam by the database: its numbers must be unique and without gaps.
#pragma once

#include "toolkit/windows/HeadlessPlatform.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

// A soak's platform, with a stand-in for the desktop's viewer: it keeps
// the bytes of every file it is handed to open. It prints to PDF as the
// programs do.
class SoakPlatform : public tk::HeadlessPlatform {
public:
    bool openWithDesktop(const std::string& path) override;
    void printToPdf(const tk::Printout& printout, const std::string& path) override;
    std::vector<std::string> opened;
};

class EntrySoak {
public:
    EntrySoak(SoakPlatform& platform, uint64_t seed, const std::string& folder);
    // Has the database number Iktatoszam from now on; before the login.
    static void numberTheRegistry(const std::string& dataLinkFile);
    void gesture();
    void check();
    // Ends the session's checks; gives the saves that landed.
    long finish();

    // What the session did, so that a quiet soak shows as such.
    struct Tally {
        long voids = 0, histories = 0, jumps = 0, printed = 0, attached = 0, viewed = 0, removed = 0;
        Tally& operator+=(const Tally& t);
    } tally;

private:
    // What a document holds of the columns the soak types into.
    struct Row {
        std::string number;   // Iktatoszam as the database gives it, or "null"
        std::string subject;  // Targy, or "null"
        std::string closed;   // Lezart's byte, or "null"
        int history = 0;      // its rows in DocumentHistory
        bool operator==(const Row&) const = default;
    };
    std::map<int64_t, Row> readDatabase() const;
    // The entry page's fields as a save would store them, or none when the
    // soak cannot tell (a value the form may refuse).
    std::optional<Row> typedRow() const;
    void play();
    void voidShown();
    void showHistory();
    void goToNumber();
    void printShown();
    void attachments();
    // Answers the dialogs of the gesture that follows, in the order they
    // open; any dialog more gets Esc.
    void answer(std::vector<std::function<void()>> steps);
    // The history's change rows of Targy end with the value saved last,
    // for every document the soak entered.
    void historyMatchesTheSaves() const;
    void numbersAreUniqueAndGapFree() const;
    // Plays a gesture; when it saved the form, checks and records what it saved.
    void recordSaves(const std::function<void()>& gesture);
    int pick(int n) { return static_cast<int>(std::uniform_int_distribution<int>(0, n - 1)(rng_)); }
    std::string randomText();
    // The data-link file of the session's database.
    std::string dataLink() const { return folder_ + "/VelmoraDSC.udl"; }

    SoakPlatform& platform_;
    std::mt19937_64 rng_;
    std::string folder_;
    std::map<int64_t, Row> saved_;  // the soak's record
    int printed_ = 0;
    long saves_ = 0;
    std::set<int64_t> initial_;  // the documents there before the session
    std::set<int64_t> voided_;
    bool numbered_ = false;    // Iktatoszam numbered by the database
    int64_t firstNumber_ = 0;  // the number the first new document gets
    std::string attachment_;   // the small file the soak attaches
};
