// velmora-admin verify.
#include "admin/VerifyCommand.h"

#include "registry/HistoryVerify.h"

#include <cstdio>

namespace velmora {

bool isVerifyCommand(const std::vector<std::string>& words)
{
    return words.empty() || words == std::vector<std::string>{"--fingerprint"} ||
           (words.size() == 2 && words[0] == "--since");
}

CommandResult runVerifyCommand(db::TADOConnection& c, const std::vector<std::string>& words, bool onTerminal)
{
    std::optional<Fingerprint> since;
    if (words.size() == 2) {
        since = parseFingerprint(words[1]);
        if (!since)
            return {"velmora-admin: " + words[1] + " is no fingerprint: it reads ROW:HASH:DATE, as verify "
                    "--fingerprint wrote it\n", true};
    }
    int shown = -1;
    auto progress = [&](double done) {
        int percent = static_cast<int>(done * 100);
        if (!onTerminal || percent == shown) return;
        shown = percent;
        std::string bar(static_cast<size_t>(percent / 4), '#');
        bar.resize(25, '.');
        std::fprintf(stderr, "\r\033[KVerifying [%s] %3d%%", bar.c_str(), percent);
    };
    HistoryVerdict v = verifyHistory(c, progress, since);
    if (onTerminal) std::fprintf(stderr, "\r\033[K");
    if (!v.whole) {
        std::string where = v.brokenAt ? " at row " + std::to_string(v.brokenAt) : "";
        return {"The history is broken" + where + ": " + v.problem + "\n", true};
    }
    std::string text = "The history is whole: " + std::to_string(v.rows) + " rows, head " +
                       std::to_string(v.headNo) + " " + v.headHash + "\n";
    if (since) text += "Nothing up to row " + std::to_string(since->no) + " has changed since " + words[1] + ".\n";
    if (!words.empty() && words[0] == "--fingerprint") {
        recordFingerprint(c, v);
        text += v.fingerprint() + "\n";
    }
    return {text, false};
}

}  // namespace velmora
