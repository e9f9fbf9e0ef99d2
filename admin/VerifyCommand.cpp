// velmora-admin verify.
#include "admin/VerifyCommand.h"

#include "admin/TerminalBar.h"
#include "registry/HistoryVerify.h"

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
    HistoryVerdict v;
    {
        TerminalBar bar("Verifying", onTerminal);
        v = verifyHistory(c, [&](double done) { bar.show(done); }, since);
    }
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
