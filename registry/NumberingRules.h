// The database's side of numbering: the triggers that give a numbered
// column its number inside the inserting transaction, written in each
// engine's own SQL so that any program inserting a document meets them,
// the engine's shell included.
//
// The counter is a row of DocumentNumberCounter (a column and a period:
// the year, or 0 when the number never starts again), updated in the
// insert's transaction: a rolled-back insert gives its number back, and
// the row's lock orders the numbers as the commits are ordered.
#pragma once

#include "registry/NumberPattern.h"

#include <string>

namespace velmora {

// What a numbered column's rule needs to know.
struct NumberingRule {
    std::string column;  // as Document names it; letters, digits, "_"
    bool yearly = false;
    NumberPattern pattern;
    // PostgreSQL: the zone the server's clock is read in for the year, and
    // the schema holding Document. Unused by SQLite, which reads the local
    // time of the program inserting.
    std::string timeZone;
    std::string schema;
};

// What the database says when a number is given or changed by hand.
inline constexpr const char* numberGivenByDatabase =
    "Ezt a számot az adatbázis adja: kézzel nem adható meg, és nem módosítható";

// The year as four-digit text, as the rule reads it from the clock.
std::string yearSql(bool postgres, const std::string& timeZone);

// Makes the rule's triggers (and its unique index on the column).
std::string makingRuleScript(bool postgres, const NumberingRule& rule);
// Drops them again; nothing is said of those already gone.
std::string droppingRuleScript(bool postgres, const std::string& column, const std::string& schema);

}  // namespace velmora
