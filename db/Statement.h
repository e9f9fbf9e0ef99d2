// What the SQLite queries and commands share: a statement finalized on
// every path, and binding a value as a parameter.
#pragma once

#include "toolkit/Value.h"

struct sqlite3_stmt;

namespace db {

struct Statement {
    sqlite3_stmt* s = nullptr;
    Statement() = default;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();
};

// Binds `v` to parameter `index` (from 1): integers, floats, booleans as
// 0/1, strings as text, anything else as null.
void bindValue(sqlite3_stmt* st, int index, const tk::Value& v);

}  // namespace db
