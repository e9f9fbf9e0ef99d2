// The program's statements are written in one dialect: "[name]" brackets,
// bare names in the letter case of the schema, "?N" placeholders, and the
// types int, varchar(n), datetime, binary(n), longbinary and INTEGER
// PRIMARY KEY AUTOINCREMENT. This is that text as PostgreSQL takes it.
#pragma once

#include <string>

namespace db {

struct PostgresText {
    std::string sql;
    int statements = 0;  // how many statements the text holds
    // For "ALTER TABLE t ADD [COLUMN] c type": t and c as the server names
    // them, and the type as the server takes it, lower case.
    std::string alteredTable, addedColumn, addedType;
};

// Brackets and bare names become quoted identifiers (so names keep their
// case); keywords, and words directly followed by "(" (functions, typed
// lengths), stay as they are. "?N" becomes "$N". The types become
// timestamp, the domain "binary", bytea and an identity column. Text in
// $$ dollar quotes $$ is copied as it stands.
PostgresText toPostgres(const std::string& sql);

}  // namespace db
