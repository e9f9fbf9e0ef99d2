// A clerk at a headless velmora-entry: logs in, enters new documents and
// modifies found ones through the form's buttons, as a person would, and
// says how each save ended. A save or a search that the database's busy
// wait gave up on ("database is locked") is retried (a save with the
// form's values kept), and counted.
#pragma once

#include "Gestures.h"

#include <cstdint>
#include <string>
#include <utility>

class Clerk {
public:
    Clerk(ChildProgram& program, const std::string& login);

    enum class Outcome { Saved, Refused };
    struct Save {
        Outcome outcome = Outcome::Saved;
        int64_t document = 0;
        std::string before;  // a modified document's subject as shown
        int busyRetries = 0;
        int notReadBack = 0;  // stored, but reading it back failed
        double seconds = 0;  // the last attempt, click to answer
        std::string refusal;
    };

    // Fills a new document; saveNew() then saves it.
    void fillNew(int number, const std::string& subject);
    Save saveNew();
    // Finds the document by its number and shows it; its DocumentID and
    // subject as the console printed it (quoted, accents escaped).
    std::pair<int64_t, std::string> show(int number, Save& save);
    // Finds the document by its number and shows it, then types the new
    // subject; saveModified() then saves it.
    void fillModified(int number, const std::string& subject, Save& save);
    Save saveModified(Save save);

    // The gestures of a search on the search page: for the document
    // numbered `number`, or for every document when it is empty.
    std::string search(const std::string& number = "") const;

    // Sends the save click alone, for a save that is to be cut off.
    void clickSave();
    // Clicks Save until it is not refused for a busy database; the errors
    // of the last attempt (their message box dismissed) are left in the
    // answer, whose line is the status bar's text.
    Answers save(Save& s);

    Gestures& gestures() { return gestures_; }

private:
    Gestures gestures_;
    Point new_, save_, modify_, search_, searchPage_, searchNumber_, firstRow_;
};

// Whether the one error of an answer is SQLite's busy wait giving up.
bool busy(const Answers& a);

// The message of a modification refused because another program changed
// the document first.
inline const char* const changedMeanwhile =
    "A dokumentumot időközben valaki más módosította, ezért a mentés nem történt meg.";
