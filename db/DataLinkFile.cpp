// Reading data-link files.
#include "db/DataLinkFile.h"

#include "db/DatabaseError.h"
#include "toolkit/text/CodePage.h"
#include "toolkit/text/Locale.h"
#include "toolkit/text/Text.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace db {

namespace {

std::string trim(std::string_view s)
{
    size_t a = 0, b = s.size();
    while (a < b && (s[a] == ' ' || s[a] == '\t')) ++a;
    while (b > a && (s[b - 1] == ' ' || s[b - 1] == '\t')) --b;
    return std::string(s.substr(a, b - a));
}

}  // namespace

std::string DataLink::value(std::string_view key) const
{
    auto it = values.find(tk::lowerAscii(key));
    return it == values.end() ? std::string() : it->second;
}

std::map<std::string, std::string> parseKeyValues(std::string_view line)
{
    std::map<std::string, std::string> out;
    size_t i = 0;
    while (i < line.size()) {
        size_t eq = line.find('=', i);
        size_t semi = line.find(';', i);
        if (eq == std::string_view::npos || (semi != std::string_view::npos && semi < eq)) {
            i = semi == std::string_view::npos ? line.size() : semi + 1;  // a part without "=" is passed over
            continue;
        }
        std::string key = tk::lowerAscii(trim(line.substr(i, eq - i)));
        size_t v = eq + 1;
        while (v < line.size() && (line[v] == ' ' || line[v] == '\t')) ++v;
        std::string value;
        if (v < line.size() && (line[v] == '"' || line[v] == '\'')) {
            // A quoted value may hold ";"; a doubled quote stands for one.
            char q = line[v++];
            for (; v < line.size(); ++v) {
                if (line[v] == q) {
                    if (v + 1 < line.size() && line[v + 1] == q) {
                        value += q;
                        ++v;
                        continue;
                    }
                    ++v;
                    break;
                }
                value += line[v];
            }
            size_t next = line.find(';', v);
            i = next == std::string_view::npos ? line.size() : next + 1;
        } else {
            size_t end = line.find(';', v);
            value = trim(line.substr(v, end == std::string_view::npos ? std::string_view::npos : end - v));
            i = end == std::string_view::npos ? line.size() : end + 1;
        }
        if (!key.empty()) out[key] = value;
    }
    return out;
}

std::string keyValueText(std::string_view value)
{
    bool quote = value.empty() || value.find_first_of(";\"' \t") != std::string_view::npos;
    if (!quote) return std::string(value);
    std::string out = "\"";
    for (char c : value) out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

DataLink parseDataLink(std::string_view bytes, const std::string& path)
{
    std::string text;
    if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xFE)
        text = tk::toUtf8(tk::fromUtf16le(bytes.substr(2)));
    else if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") text = std::string(bytes.substr(3));
    else if (tk::isValidUtf8(bytes)) text = std::string(bytes);
    else text = tk::ansiToUtf8(bytes, tk::currentLocale().ansiCodePage);

    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::string t = trim(line);
        if (!t.empty()) lines.push_back(t);
    }
    if (lines.empty() || !tk::sameName(lines[0], "[oledb]"))
        throw EDatabaseError("The file " + path + " is not a data-link file: it does not start with [oledb]");
    DataLink link;
    for (size_t i = 1; i < lines.size(); ++i) {
        if (lines[i][0] == ';') continue;
        for (auto& [k, v] : parseKeyValues(lines[i])) link.values[k] = v;
    }
    if (link.values.empty()) throw EDatabaseError("The data-link file " + path + " names no provider and no database");
    return link;
}

std::optional<std::string> loginRoleName(std::string_view prefix, std::string_view login)
{
    constexpr size_t roleNameBytes = 63;
    std::string role = std::string(prefix) + "." + std::string(login);
    if (role.size() > roleNameBytes || login.find('\0') != std::string_view::npos) return std::nullopt;
    return role;
}

std::string groupRoleName(std::string_view prefix, std::string_view kind)
{
    return std::string(prefix) + "/" + std::string(kind);
}

void writeDataLinkFile(const std::string& path, const std::string& line)
{
    // The file may name a server, a user and a password: it is its owner's
    // alone whatever the umask, and an older file of a wider mode is
    // narrowed before anything is written into it.
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) throw EDatabaseError("Cannot write the data-link file " + path + ": " + std::strerror(errno));
    std::string text = "[oledb]\r\n; Everything after this line is an OLE DB initstring\r\n" + line + "\r\n";
    bool written = ::fchmod(fd, 0600) == 0;
    for (std::string_view rest = text; written && !rest.empty();) {
        ssize_t n = ::write(fd, rest.data(), rest.size());
        if (n < 0 && errno == EINTR) continue;
        written = n > 0;
        if (written) rest.remove_prefix(static_cast<size_t>(n));
    }
    written = ::fsync(fd) == 0 && written;
    int error = errno;
    if (::close(fd) != 0 || !written)
        throw EDatabaseError("Cannot write the data-link file " + path + ": " + std::strerror(error));
}

DataLink readDataLinkFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    if (!f) throw EDatabaseError("Cannot open the data-link file " + path);
    std::ostringstream buf;
    buf << f.rdbuf();
    if (f.bad()) throw EDatabaseError("Cannot read the data-link file " + path);
    std::string bytes = buf.str();
    if (bytes.size() > 1 << 20) throw EDatabaseError("The data-link file " + path + " is too large");
    return parseDataLink(bytes, path);
}

}  // namespace db
