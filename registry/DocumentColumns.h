// The columns of the Document table as the catalogue gives them: name, kind
// and declared length. The clerk's program converts and checks each field's
// value by its column, never by the field's own type code.
#pragma once

#include "db/Field.h"
#include "db/FieldKind.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace db {
class TADOConnection;
class TADOQuery;
}  // namespace db

namespace velmora {

namespace sql {
// Document's columns without a row: the catalogue of an empty result.
inline constexpr const char* documentColumns = "Select* from Document where DocumentID is null";
}  // namespace sql

struct DocumentColumn {
    std::string name;
    db::FieldKind kind;
    int size = 0;  // the length of a varchar(n), or 0
};

// What a column keeps, by its kind (and the kinds derived from it).
bool isIntegerColumn(const DocumentColumn& c);  // integers, large integers, booleans
bool isFloatColumn(const DocumentColumn& c);
bool isTextColumn(const DocumentColumn& c);  // strings and memos
bool isDateColumn(const DocumentColumn& c);
bool isBytesColumn(const DocumentColumn& c);  // fixed or varying bytes, blobs
bool isYesNoColumn(const DocumentColumn& c);  // fixed or varying bytes, booleans

// "Yes" or "no" as the column keeps it: the byte 0x01 or 0x00 in a bytes
// column, 1 or 0 in any other.
db::Cell yesNoCell(bool yes, const DocumentColumn& c);

// A day as a date column keeps it ("yyyy-mm-dd 00:00:00"), and the day a
// kept date-time names (its first ten characters), none when it names none.
std::string storedDay(double day);
std::optional<double> dayOfStored(const std::string& stored);

class DocumentColumns {
public:
    // Reads the catalogue through `query`, which is left closed.
    static DocumentColumns read(db::TADOQuery& query);
    static DocumentColumns read(db::TADOConnection& connection);
    // The column of that name, letter case aside; none when there is none.
    const DocumentColumn* find(std::string_view name) const;
    const std::vector<DocumentColumn>& all() const { return columns_; }

private:
    std::vector<DocumentColumn> columns_;
};

}  // namespace velmora
