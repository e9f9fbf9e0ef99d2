// Result columns of a query (TField) and the values of their cells.
#pragma once

#include "db/FieldKind.h"
#include "toolkit/core/Value.h"

#include <cstdint>
#include <functional>
#include <string>

namespace db {

class TADOQuery;

// One stored value: null, integer, float, text or bytes.
struct Cell {
    enum class Type { Null, Integer, Float, Text, Bytes } type = Type::Null;
    int64_t i = 0;
    double d = 0;
    std::string s;  // text (UTF-8) or bytes
    friend bool operator==(const Cell&, const Cell&) = default;

    static Cell integer(int64_t v) { return {Type::Integer, v, 0, {}}; }
    static Cell real(double v) { return {Type::Float, 0, v, {}}; }
    static Cell text(std::string v) { return {Type::Text, 0, 0, std::move(v)}; }
    static Cell bytes(std::string v) { return {Type::Bytes, 0, 0, std::move(v)}; }
};

class TField {
public:
    TField(TADOQuery& query, int index, std::string name, FieldKind kind, std::string table, std::string origin);

    const std::string& fieldName() const { return name_; }
    FieldKind kind() const { return kind_; }
    const char* className() const { return fieldClassName(kind_); }
    int index() const { return index_; }
    const std::string& displayLabel() const { return label_.empty() ? name_ : label_; }
    void setDisplayLabel(const std::string& s) { label_ = s; }
    bool visible() const { return visible_; }
    void setVisible(bool v);
    int displayWidth() const;
    // The length in the column's declared type ("varchar(50)" gives 50), or 0.
    int size() const;
    // The table and column the field reads, when it reads one.
    const std::string& tableName() const { return table_; }
    const std::string& originName() const { return origin_; }

    // The value in the current row (none without a current row).
    bool isNull() const;
    // Raises a conversion error for null.
    std::string asString() const;
    // Null and no current row read as 0; text that is no number raises.
    int64_t asInteger() const;
    tk::Value value() const;
    // The text a grid shows (empty for null).
    std::string displayText(int row) const;
    // How a grid shows a value that is not null, in place of its text.
    void setShownAs(std::function<std::string(const std::string&)> shown) { shownAs_ = std::move(shown); }
    const std::function<std::string(const std::string&)>& shownAs() const { return shownAs_; }

    // Writing needs the query in edit state.
    void clear();
    void setAsString(const std::string& s);
    void setAsInteger(int64_t v);
    void setBytes(std::string bytes);
    const Cell& cell() const;

private:
    TADOQuery& query_;
    int index_;
    std::string name_;
    FieldKind kind_;
    std::string table_, origin_;
    std::string label_;
    bool visible_ = true;
    std::function<std::string(const std::string&)> shownAs_;
};

std::string cellText(const Cell& c);
// A bound value as a cell: integers, floats, booleans as 0/1, strings as
// text, anything else as null.
Cell cellOf(const tk::Value& v);

}  // namespace db
