// The folded text of Document's text columns, kept beside Document for
// searches by pattern ("Hasonló"), so that a search reads text folded once
// when it was written instead of folding every row each time.
//
// DocumentSearchText holds, for each document, each text column as vplain
// folds it (db::plainedText: letter case and accents aside, combining
// accents left out). It is not part of Document: Document's columns are
// the designer's. Triggers in the database keep it in step with Document
// for every writer, the engine's own shell included, so their fold is
// written with the engine's built-ins alone: on SQLite replace()s over
// lower(), in steps, on PostgreSQL an IMMUTABLE function of translate() stored
// in Document's schema (velmora_fold). Both give what db::plainedText
// gives, letter for letter.
//
// It is indexed by trigrams: on SQLite an FTS5 table with the trigram
// tokenizer over it (external content, kept by triggers), on PostgreSQL a
// pg_trgm GIN index per column. DocumentSearchFold holds the version of
// the fold it was made with; made by another version it is not used, and
// is made again where the schema is changed (velmora-initdb, the
// designer's save, velmora-admin search-index and upgrade). A database
// without it searches the same rows, folding each.
#pragma once

#include "db/Field.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace db {
class TADOConnection;
}

namespace velmora {

// Raised by one with each change to db::plainedText.
inline constexpr int searchFoldVersion = 2;

class SearchText {
public:
    // What the database holds, for use when it was made with this fold.
    static SearchText read(db::TADOConnection& connection);

    // Whether `column`'s folded text is kept.
    bool covers(std::string_view column) const;
    bool postgres() const { return postgres_; }
    const std::vector<std::string>& columns() const { return columns_; }
    // The condition that Document's `column`, folded, is like the LIKE
    // pattern `foldedPattern` (folded, "!" its escape character); `bind`
    // binds a value and gives its parameter's name. On SQLite the documents
    // are walked newest first, each one's folded text tested, which stops
    // at the first page.
    std::string likeCondition(const std::string& column, const std::string& foldedPattern,
                              const std::function<std::string(db::Cell)>& bind) const;
    // On SQLite, a pattern with a trigram can drive the search from the
    // FTS5 index, which gives its rows newest first and stops at a page
    // (the statement reads DocumentSearchIndex joined to Document):
    // whether it should, and the condition then. A pattern that many of
    // the newest documents hold is walked instead: the page fills within
    // them, where the index would read lists of most documents.
    bool canDrive(const std::string& column, const std::string& foldedPattern) const;
    std::string drivingCondition(const std::string& column, const std::string& foldedPattern,
                                 const std::function<std::string(db::Cell)>& bind) const;
    // Whether at least `share` of the newest thousand documents hold the
    // pattern in `column`: then walking the documents fills a page soon.
    bool heldByNewest(const std::string& column, const std::string& foldedPattern, double share) const;
    // The DocumentIDs whose `column` is like the pattern, as a subquery
    // an index serves (PostgreSQL's GIN, SQLite's FTS5 for a pattern with
    // a trigram), to be joined with other sets of documents; empty where
    // no index serves it.
    std::string matchingDocuments(const std::string& column, const std::string& foldedPattern,
                                  const std::function<std::string(db::Cell)>& bind) const;

private:
    db::TADOConnection* connection_ = nullptr;  // the one read from
    bool postgres_ = false;
    bool trigramTable_ = false;  // SQLite's FTS5 table is there
    std::vector<std::string> columns_;
};

// A LIKE pattern (with "!" its escape) as a GLOB pattern: SQLite's FTS5
// serves GLOB by its trigrams where a LIKE with an ESCAPE clause it does not.
std::string globPattern(std::string_view likePattern);

// Whether a LIKE pattern (with "!" its escape) holds three characters in a
// row that are not wildcards: what a trigram index can look up.
bool hasTrigram(std::string_view likePattern);

struct SearchTextResult {
    bool made = false;               // it was (re)made, not found up to date
    std::vector<std::string> notes;  // what could not be made, one line each
};

// Whether the folded text kept is out of date: made with another fold, or
// holding a row count other than Document's (rows written around its
// triggers, by hand or by an older program). False where none is kept.
bool searchTextIsStale(db::TADOConnection& connection);

// Makes the folded text, its triggers and its index for every text column
// of Document, filled from the rows there, when it is missing, stale (as
// searchTextIsStale says), lacks a column, or always with `refresh`. All or
// nothing, in one transaction. `progress` is told each step as it starts.
SearchTextResult makeSearchText(db::TADOConnection& connection, bool refresh = false,
                                const std::function<void(const std::string&)>& progress = {});

// Runs `insert`, which only inserts documents, inside the caller's
// transaction, with SQLite's insert trigger of the folded text set aside,
// then folds and indexes the documents it inserted in one statement each,
// with the program's vplain, and puts the trigger back. For many documents
// at once (an import): the trigger's built-in fold costs more than the
// insert, and the index takes one batch better than many single rows. The
// caller's rollback puts the trigger back too. Elsewhere (PostgreSQL's
// trigger folds quickly, or no folded text is kept) it only runs `insert`.
void insertWithFoldAfterwards(db::TADOConnection& connection, const std::function<void()>& insert);

// On PostgreSQL, the schema of pg_trgm, made in public where it is
// missing, else in Document's schema; empty when it cannot be made.
std::string trigramSchema(db::TADOConnection& connection);

// The fold as SQLite expressions of built-ins, each over `argument`: the
// first folds the text given, each later one the result of the one before.
std::vector<std::string> sqliteFoldSteps(const std::string& argument);
// The fold as the body of PostgreSQL's velmora_fold(text).
std::string postgresFoldFunctionBody();

}  // namespace velmora
