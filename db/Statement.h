// Running one statement text with its named values in one call, the way
// the callers above db/ do: the text, then each ":name" with its value.
// The values are bound, never spliced into the text.
#pragma once

#include "db/Field.h"

#include <cstdint>
#include <string>
#include <vector>

namespace db {

class TADOConnection;
class TADOQuery;
class TParameter;

// A parameter's name and value; built from a cell, a whole number or a text.
struct NamedValue {
    NamedValue(std::string n, Cell v) : name(std::move(n)), value(std::move(v)) {}
    NamedValue(std::string n, int64_t v) : name(std::move(n)), value(Cell::integer(v)) {}
    NamedValue(std::string n, int v) : name(std::move(n)), value(Cell::integer(v)) {}
    NamedValue(std::string n, std::string v) : name(std::move(n)), value(Cell::text(std::move(v))) {}
    NamedValue(std::string n, const char* v) : name(std::move(n)), value(Cell::text(v)) {}
    std::string name;
    Cell value;
};
using NamedValues = std::vector<NamedValue>;

// A cell as a parameter's value: null, a number, a text, or bytes as bytes.
void bindCell(TParameter& parameter, const Cell& value);

// Runs one statement; gives the rows it changed.
int64_t execute(TADOConnection& connection, const std::string& sql, const NamedValues& values = {});
// Runs one statement that returns a row ("Insert ... Returning ID") and
// gives its first value.
int64_t executeReturningInteger(TADOConnection& connection, const std::string& sql, const NamedValues& values = {});
// Opens `query` on the connection with the text and values.
void open(TADOQuery& query, TADOConnection& connection, const std::string& sql, const NamedValues& values = {});

}  // namespace db
