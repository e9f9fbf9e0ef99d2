// The clerk's program under random gestures: new, modify, typing into the
// entry page's fields, save, cancel, searching, opening a found row with a
// double click, printing to a temporary file. After every gesture the
// entry state of every field control and action button on the entry page
// must be what the form's state says, and the Document table and its
// history must equal the soak's own record of what was saved.
#pragma once

#include "toolkit/windows/HeadlessPlatform.h"

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <string>

class EntrySoak {
public:
    EntrySoak(tk::HeadlessPlatform& platform, uint64_t seed, const std::string& folder);
    void gesture();
    void check();
    // The saves that landed, so that a quiet soak shows as such.
    long finish() const { return saves_; }

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
    // Plays a gesture; when it saved the form, checks and records what it saved.
    void recordSaves(const std::function<void()>& gesture);
    int pick(int n) { return static_cast<int>(std::uniform_int_distribution<int>(0, n - 1)(rng_)); }
    std::string randomText();

    tk::HeadlessPlatform& platform_;
    std::mt19937_64 rng_;
    std::string folder_;
    std::map<int64_t, Row> saved_;  // the soak's record
    int printed_ = 0;
    long saves_ = 0;
};
