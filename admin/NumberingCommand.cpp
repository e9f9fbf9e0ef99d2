// Reading the numbering commands.
#include "admin/NumberingCommand.h"

#include "registry/Numbering.h"

#include <cerrno>
#include <cstdlib>
#include <optional>

namespace velmora {

namespace {

// The request of "set COLUMN [options]", or none when the words are not one.
std::optional<NumberingRequest> setRequest(const std::vector<std::string>& words)
{
    if (words.size() < 2 || words[0] != "set" || words[1].empty() || words[1][0] == '-') return std::nullopt;
    NumberingRequest request;
    request.column = words[1];
    for (size_t i = 2; i < words.size(); ++i) {
        const std::string& word = words[i];
        bool hasValue = i + 1 < words.size();
        if (word == "--yearly") request.yearly = true;
        else if (word == "--pattern" && hasValue) request.pattern = words[++i];
        else if (word == "--time-zone" && hasValue) request.timeZone = words[++i];
        else if (word == "--start" && hasValue) {
            const std::string& value = words[++i];
            char* end = nullptr;
            errno = 0;
            long long n = std::strtoll(value.c_str(), &end, 10);
            if (value.empty() || *end || errno) throw ENumberingRefused("--start takes a whole number: " + value);
            request.start = n;
        } else return std::nullopt;
    }
    return request;
}

}  // namespace

bool isNumberingCommand(const std::vector<std::string>& words)
{
    if (words.size() == 1 && words[0] == "list") return true;
    if (words.size() == 2 && words[0] == "off") return true;
    try {
        return setRequest(words).has_value();
    } catch (const ENumberingRefused&) {
        return true;  // a set command with a bad value: refused when run
    }
}

std::string runNumberingCommand(db::TADOConnection& connection, const std::vector<std::string>& words)
{
    if (words.size() == 2 && words[0] == "off") {
        stopNumbering(connection, words[1]);
        return words[1] + " is no longer numbered by the database; its values stay as they are\n";
    }
    if (words.size() == 1 && words[0] == "list") {
        std::string out;
        for (const NumberingSetting& s : numberingSettings(connection))
            out += s.column + ": " + s.pattern + (s.yearly ? ", starting again each year" : "") + ", next " + s.next +
                   (s.yearly && !s.timeZone.empty() ? ", the year read in " + s.timeZone : "") + "\n";
        return out.empty() ? "No column is numbered by the database\n" : out;
    }
    std::optional<NumberingRequest> request = setRequest(words);
    if (!request) throw ENumberingRefused(std::string("usage: ") + numberingUsage);
    return setNumbering(connection, *request) + "\n";
}

}  // namespace velmora
