// Reading the text of a scanned page: a whole A4 page at 300 dpi of known
// Hungarian text, clean, turned 3 degrees and speckled, each read by
// velmora-read as the programs run it. Prints the seconds per page and the
// words found of the words on the page, accents and all (goal: at least
// 97% on the clean page), and a PDF page's own text beside.
#include "../tests/Scans.h"
#include "../tests/TempFolder.h"
#include "entry/ReaderProcess.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace {

// The words of a text, as a reader would count them: runs of letters and
// digits (UTF-8 bytes above 127 count as letters), punctuation aside.
std::vector<std::string> wordsOf(const std::string& text)
{
    std::vector<std::string> words;
    std::string word;
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        if (std::isalnum(c) || c >= 0x80) {
            word += ch;
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
    }
    if (!word.empty()) words.push_back(word);
    return words;
}

// The share of the page's words the reading holds, each as often as the
// page has it.
double wordsFound(const std::vector<std::string>& lines, const std::string& read)
{
    std::map<std::string, int> have;
    for (const std::string& w : wordsOf(read)) ++have[w];
    int all = 0, found = 0;
    for (const std::string& line : lines)
        for (const std::string& w : wordsOf(line)) {
            ++all;
            if (have[w] > 0) {
                --have[w];
                ++found;
            }
        }
    return all ? static_cast<double>(found) / all : 0;
}

void readPage(benchmark::State& state, scans::Look look, bool pdfText)
{
    TempFolder folder;
    std::vector<std::string> lines = scans::pageLines("Kutyaengedély");
    // A page written full: the lines again to its foot.
    std::vector<std::string> page;
    while (page.size() < 36) page.insert(page.end(), lines.begin(), lines.end());
    std::string path = folder.file(pdfText ? "oldal.pdf" : "oldal.png");
    if (pdfText) scans::writeTextAndPicturePdf(path, page, {}, scans::wholePage);
    else scans::writePage(path, page, look, scans::wholePage);
    std::string read;
    for (auto _ : state) {
        velmora::ReaderProcess reader(path, pdfText ? "application/pdf" : "image/png");
        const velmora::ReaderOutput& out = reader.wait();
        if (out.state != "done") state.SkipWithError(("not read: " + out.reason).c_str());
        read = out.pages.empty() ? "" : out.pages.front();
    }
    state.counters["words_found_pct"] = 100 * wordsFound(page, read);
    state.counters["words"] = static_cast<double>(wordsOf(read).size());
}

void BM_ReadCleanPage(benchmark::State& state)
{
    readPage(state, scans::Look::Clean, false);
}
void BM_ReadTurnedPage(benchmark::State& state)
{
    readPage(state, scans::Look::Turned, false);
}
void BM_ReadSpeckledPage(benchmark::State& state)
{
    readPage(state, scans::Look::Speckled, false);
}
void BM_ReadPdfOwnText(benchmark::State& state)
{
    readPage(state, scans::Look::Clean, true);
}

}  // namespace

BENCHMARK(BM_ReadCleanPage)->Unit(benchmark::kSecond)->Iterations(3);
BENCHMARK(BM_ReadTurnedPage)->Unit(benchmark::kSecond)->Iterations(3);
BENCHMARK(BM_ReadSpeckledPage)->Unit(benchmark::kSecond)->Iterations(3);
BENCHMARK(BM_ReadPdfOwnText)->Unit(benchmark::kMillisecond)->Iterations(5);

BENCHMARK_MAIN();
