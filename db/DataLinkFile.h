// Data-link files (.udl): the text file that names the database engine and
// the database. UTF-16LE with a byte-order mark as Windows writes it, or
// 8-bit text (UTF-8, else the ANSI code page); the line "[oledb]", comment
// lines starting with ";", then one line of key=value pairs separated by ";".
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace db {

struct DataLink {
    // Keys lower-cased (A to Z); values with their quotes removed.
    std::map<std::string, std::string> values;
    std::string value(std::string_view key) const;
};

// Parses the bytes of a data-link file; raises EDatabaseError naming
// `path` when the text is not a data-link file.
DataLink parseDataLink(std::string_view bytes, const std::string& path);
// Writes a data-link file holding `line` (the connection's keys), in
// 8-bit text with Windows line ends, as Windows writes one.
void writeDataLinkFile(const std::string& path, const std::string& line);
// Reads and parses a file; a missing or unreadable file names its path.
DataLink readDataLinkFile(const std::string& path);
// Parses "key=value;key=value" (a connection string or the file's last line).
std::map<std::string, std::string> parseKeyValues(std::string_view line);
// A value as such a line holds it: in double quotes (doubled inside) when
// it could end the pair or lose its blanks, so that parseKeyValues gives
// it back whole.
std::string keyValueText(std::string_view value);

// The libpq connection string for a data-link file's keys, as the engine
// connects with it.
std::string postgresConninfo(const std::map<std::string, std::string>& linkValues);

// The data-link line for a libpq connection string ("host=... dbname=..."):
// "Provider=PostgreSQL;host=...;dbname=...". A password is left out unless
// `withPassword` (a file must not hold it: libpq finds it in the password
// file); `droppedPassword` tells whether one was left out. Raises for a
// connection string libpq cannot parse.
std::string postgresDataLinkLine(const std::string& conninfo, bool withPassword = false,
                                 bool* droppedPassword = nullptr);

// The server role of a login on a database whose users are roles of the
// server: the data-link file's Login Role Prefix, a full stop, and the
// login exactly as typed ("velmora.ugyfel"). None when that is over the
// 63 bytes a role name holds: a longer name is refused, never cut short.
std::optional<std::string> loginRoleName(std::string_view prefix, std::string_view login);
// The role of a kind of work ("clerk", "designer", "admin") on such a
// database: the prefix, a slash and the kind ("velmora/clerk"), which no
// login's role can be.
std::string groupRoleName(std::string_view prefix, std::string_view kind);

}  // namespace db
