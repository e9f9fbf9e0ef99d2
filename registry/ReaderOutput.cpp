// The reader's output, written and read back.
#include "registry/ReaderOutput.h"

#include <algorithm>

namespace velmora {

namespace {

constexpr std::string_view signature = "velmora-read 1\n";
constexpr char pageBreak = '\f';
constexpr size_t maxPages = 100000;

std::string oneLine(std::string text)
{
    std::replace_if(text.begin(), text.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    return text;
}

// Reads "name: value\n" at `at`; nothing when the line is another.
std::optional<std::string> header(std::string_view bytes, size_t& at, std::string_view name)
{
    if (bytes.substr(at, name.size() + 2) != std::string(name) + ": ") return std::nullopt;
    size_t start = at + name.size() + 2;
    size_t end = bytes.find('\n', start);
    if (end == std::string_view::npos) return std::nullopt;
    at = end + 1;
    return std::string(bytes.substr(start, end - start));
}

bool knownState(const std::string& s)
{
    return s == "done" || s == "unreadable" || s == "failed" || s == "missing";
}

}  // namespace

std::string writeReaderOutput(const ReaderOutput& output)
{
    std::string out(signature);
    out += "state: " + oneLine(output.state) + "\n";
    out += "engine: " + oneLine(output.engine) + "\n";
    out += "languages: " + oneLine(output.languages) + "\n";
    out += "pages: " + std::to_string(output.pages.size()) + "\n";
    out += "reason: " + oneLine(output.reason) + "\n";
    out += "text:\n";
    for (size_t i = 0; i < output.pages.size(); ++i) {
        if (i) out += pageBreak;
        std::string page = output.pages[i];
        page.erase(std::remove(page.begin(), page.end(), pageBreak), page.end());
        out += page;
    }
    return out;
}

std::optional<ReaderOutput> parseReaderOutput(std::string_view bytes)
{
    if (bytes.substr(0, signature.size()) != signature) return std::nullopt;
    size_t at = signature.size();
    ReaderOutput out;
    auto state = header(bytes, at, "state");
    auto engine = header(bytes, at, "engine");
    auto languages = header(bytes, at, "languages");
    auto pages = header(bytes, at, "pages");
    auto reason = header(bytes, at, "reason");
    if (!state || !engine || !languages || !pages || !reason || !knownState(*state)) return std::nullopt;
    if (bytes.substr(at, 6) != "text:\n") return std::nullopt;
    at += 6;
    if (pages->empty() || pages->size() > 6 || !std::all_of(pages->begin(), pages->end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    size_t count = std::stoul(*pages);
    if (count > maxPages) return std::nullopt;
    std::string_view text = bytes.substr(at);
    size_t breaks = static_cast<size_t>(std::count(text.begin(), text.end(), pageBreak));
    // No pages write no text; n pages write n - 1 breaks.
    if (count == 0 ? !text.empty() : breaks != count - 1) return std::nullopt;
    // A read that stopped part way keeps the pages read before it stopped.
    if (*state == "unreadable" && count > 0) return std::nullopt;
    out.state = *state;
    out.engine = *engine;
    out.languages = *languages;
    out.reason = *reason;
    for (size_t start = 0; count > 0;) {
        size_t end = text.find(pageBreak, start);
        out.pages.emplace_back(text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return out;
}

}  // namespace velmora
