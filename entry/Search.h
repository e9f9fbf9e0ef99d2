// Searching documents: the search page's field controls, each with a
// KeyField, a value and a Relation code, made into one SELECT of Document
// whose conditions are joined with AND. Values are bound; column names come
// from the catalogue; letter case is folded on both sides (vfold), accented
// letters too. A pattern also compares without accents (vplain: "arvizturo"
// is like "Árvíztűrő"), as clerks type fast; equality and order keep them,
// since "kor" and "kór" are different words.
//   Egyenlő =   NemEgyenlő <> (null counts as different)
//   Kisebb <    Nagyobb >    KisebbEgyenlő <=    NagyobbEgyenlő >=
//   Hasonló: a pattern, * and ? the wildcards (no wildcard: anywhere in
//   the value); NemHasonló its negation
//   Üres: null, '' for text, 0x00 or 0 for yes/no; NemÜres the opposite
// An empty Relation means Egyenlő; codes compare without regard to case.
#pragma once

#include "db/Field.h"
#include "registry/DocumentColumns.h"

#include <optional>
#include <string>
#include <vector>

namespace tk {
class TControl;
}

namespace db {
class TADOConnection;
}

namespace velmora {

class SearchText;

// A column of the result: its Document column, its title, and the
// dictionary whose entry text it shows instead of the key.
struct ResultColumn {
    const DocumentColumn* column;
    std::string title;
    std::optional<int64_t> dictionary;
};

// A search-page field and what it searches in.
struct SearchField {
    tk::TControl* field;
    const DocumentColumn* column;
    std::optional<int64_t> dictionary;
};

struct SearchStatement {
    std::string sql;                 // with :p0, :p1, ... for the values
    std::vector<db::Cell> values;    // in the order of their names
    std::vector<std::string> words;  // each condition as the clerk reads it
};

// The relation codes, as the property page offers them.
inline const char* const relationCodes[] = {"Egyenlő",        "NemEgyenlő", "Kisebb",     "Nagyobb", "KisebbEgyenlő",
                                            "NagyobbEgyenlő", "Hasonló",    "NemHasonló", "Üres",    "NemÜres"};

// Whether a search finds voided documents too. A registry's list accounts
// for every number it gave, so they are found unless the clerk leaves
// them out, and marked by their reason.
enum class VoidedDocuments { Included, LeftOut };

// The title of the result's DocumentID column.
inline constexpr const char* documentIDTitle = "Azonosító";

// The heading of the result column that marks a voided document with its
// reason (empty for a valid one), and the words a list says about them.
inline constexpr const char* voidedColumnTitle = "Érvénytelenítve";
inline constexpr const char* voidedIncludedWords = "Az érvénytelenített dokumentumok is, megjelölve.";
inline constexpr const char* voidedLeftOutWords = "Az érvénytelenített dokumentumok nélkül.";

// The statement: DocumentID, the void's reason, then the result columns,
// in no order (the result query reads it in pages, newest DocumentID
// first). A pattern on a text column whose folded text `searchText` keeps
// reads that; any other folds each row. Raises with the clerk's text for
// an unknown code or a value that does not convert.
//
// With `attachments` given, a "Hasonló" pattern on a text field also finds
// the documents with an attached file (not removed) whose read text holds
// it; a document found only in a file is marked in the second column by
// foundInFileWords and the file's name (a void's reason comes first).
SearchStatement buildSearch(const std::vector<SearchField>& fields, const std::vector<ResultColumn>& result,
                            VoidedDocuments voided = VoidedDocuments::Included, const SearchText* searchText = nullptr,
                            db::TADOConnection* attachments = nullptr);

// How a result found only in an attached file's text is marked, and how a
// search that reads the files says so in its conditions.
inline constexpr const char* foundInFileWords = "Csak mellékletben: ";
inline constexpr const char* attachmentsSearchedWords = "A mellékletek szövegében is.";

// Every document whose `column` holds `value` (stored as its column keeps
// it), voided ones too, with the result columns; `words` is the condition
// as the clerk reads it. Ugrás ("go to a number") finds by it.
SearchStatement buildValueSearch(const std::vector<ResultColumn>& result, const DocumentColumn& column,
                                 const db::Cell& value, const std::string& words);

// A pattern of the user's wildcards (* and ?) as a LIKE pattern with "!" as
// its escape character (a backslash means something else to each engine's
// string literals): %, _ and ! typed match themselves; a text without
// wildcards matches anywhere.
std::string likePattern(const std::string& typed);

}  // namespace velmora
