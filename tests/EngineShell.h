// The engine's own shell (sqlite3 or psql) on a test's database: it knows
// nothing of the program's functions, so what it meets is what the
// database itself keeps.
#pragma once

#include "TestDatabase.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <utility>

// The command that runs the statements of file `script` through the
// shell, every statement committed on its own; `before` goes in front of
// the command (environment settings).
inline std::string shellCommand(const std::string& dataLinkFile, const std::string& folder, const std::string& script,
                                const std::string& before = "")
{
    return before +
           (onPostgres()
                ? "psql -X -q -v ON_ERROR_STOP=1 -d \"" +
                      db::postgresConninfo(db::readDataLinkFile(dataLinkFile).values) + "\" -f '" + script + "' 2>&1"
                : "sqlite3 -bail -cmd '.timeout 30000' '" + folder + "/velmora.db' < '" + script + "' 2>&1");
}

// Reads what a shell started by popen prints, and whether it succeeded.
inline std::pair<bool, std::string> finishShell(FILE* pipe)
{
    std::string out;
    char buf[4096];
    for (size_t n; pipe && (n = fread(buf, 1, sizeof buf, pipe)) > 0;) out.append(buf, n);
    int status = pipe ? pclose(pipe) : -1;
    return {status == 0, out};
}

// Runs `sql` through the shell; gives what it printed and whether it
// succeeded.
inline std::pair<bool, std::string> shell(const std::string& dataLinkFile, const std::string& folder,
                                          const std::string& sql, const std::string& before = "")
{
    std::string script = folder + "/shell.sql";
    std::ofstream(script) << sql << ";\n";
    return finishShell(popen(shellCommand(dataLinkFile, folder, script, before).c_str(), "r"));
}
