// velmora-soak: logs in on a fresh demonstration database, headless, and
// plays long random sequences of a person's gestures through the input
// API, checking after every gesture what must always hold (see
// DesignerSoak.h, and EntrySoak.h for the clerk's program with --entry).
// It stops with the seed and the gesture number at the first breach.
//   velmora-soak [--entry] [--seed N] [--seconds S] [--gestures G]
#include "../TempFolder.h"
#include "../TestDatabase.h"
#include "Breach.h"
#include "DesignerSoak.h"
#include "EntrySoak.h"
#include "app/DemoEntryForm.h"
#include "app/DesignerComposition.h"
#include "app/EntryComposition.h"
#include "model/DesignHistory.h"
#include "startup/DemoDatabase.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/HeadlessPlatform.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <type_traits>

int main(int argc, char** argv)
{
    uint64_t seed = 1;
    double seconds = 5;
    long gestures = -1;
    bool entry = false;
    for (int i = 1; i < argc; ++i) {
        std::string flag = argv[i];
        if (flag == "--entry") entry = true;
        else if (i + 1 == argc) break;
        else if (flag == "--seed") seed = std::strtoull(argv[++i], nullptr, 10);
        else if (flag == "--seconds") seconds = std::atof(argv[++i]);
        else if (flag == "--gestures") gestures = std::atol(argv[++i]);
    }
    auto until = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    long played = 0;
    long tally = 0;         // what finish() counts: placed controls at the end, or saves
    long deepest = 0;       // the designer's undo history at its deepest, summed
    int reachedBound = 0;   // sessions whose history reached its bound
    int undoneToStart = 0;  // sessions undone to their start and redone
    EntrySoak::Tally entryTally;
    int runs = 0;
    // Each run is a session of its own on a fresh database; a run ends
    // after some hundreds of gestures.
    while (std::chrono::steady_clock::now() < until && (gestures < 0 || played < gestures)) {
        TempFolder folder;
        makeDemoDatabase(folder.path());
        SoakPlatform platform;
        uint64_t runSeed = seed + static_cast<uint64_t>(runs++);
        long here = 0;
        std::string failure;
        if (entry) velmora::addEntryDemo(folder.file("VelmoraDSC.udl"));
        // Every other session of the clerk's program has the database number Iktatoszam.
        if (entry && runSeed % 2 == 0) EntrySoak::numberTheRegistry(folder.file("VelmoraDSC.udl"));
        platform.script([&] {
            tk::Application->typeText(entry ? velmora::entryDemoLogin : velmora::demoLogin);
            tk::Application->pressKey(tk::vk::Tab);
            tk::Application->typeText(entry ? velmora::entryDemoPassword : velmora::demoPassword);
            tk::Application->pressKey(tk::vk::Return);
        });
        // One session: gestures, each checked, until the run's share is played.
        auto session = [&](auto make) {
            try {
                auto soak = make();
                while (here < 500 && (gestures < 0 || played < gestures)) {
                    soak.gesture();
                    soak.check();
                    ++here;
                    ++played;
                    if (std::chrono::steady_clock::now() >= until) break;
                }
                tally += soak.finish();
                if constexpr (std::is_same_v<decltype(soak), DesignerSoak>) {
                    deepest += static_cast<long>(soak.deepestHistory);
                    reachedBound += soak.reachedUndoBound;
                    undoneToStart += soak.undoneToTheStart;
                } else {
                    entryTally += soak.tally;
                }
            } catch (const Breach& b) {
                failure = b.what;
            } catch (const std::exception& e) {
                failure = std::string("an exception left the soak: ") + e.what();
            }
            tk::Application->terminate();
        };
        if (entry) platform.script([&] { session([&] { return EntrySoak(platform, runSeed, folder.path()); }); });
        else platform.script([&] { session([&] { return DesignerSoak(platform, runSeed, folder.path()); }); });
        if (entry) velmora::runVelmoraEntry(platform, folder.file("velmora-entry"));
        else velmora::runVelmora(platform, folder.file("velmora"));
        if (!failure.empty()) {
            std::fprintf(stderr, "velmora-soak: seed %llu, gesture %ld: %s\n", static_cast<unsigned long long>(runSeed),
                         here + 1, failure.c_str());
            return 1;
        }
    }
    if (entry)
        std::printf(
            "velmora-soak --entry: %ld gestures in %d sessions, seeds %llu to %llu, %ld documents saved, "
            "%ld voided, %ld histories shown, %ld jumps by number, %ld printed one by one, %ld files "
            "attached, %ld opened, %ld removed; nothing broke\n",
            played, runs, static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed + runs - 1),
            tally, entryTally.voids, entryTally.histories, entryTally.jumps, entryTally.printed, entryTally.attached,
            entryTally.viewed, entryTally.removed);
    else
        std::printf(
            "velmora-soak: %ld gestures in %d sessions, seeds %llu to %llu; per session %.1f placed controls "
            "at the end and %.1f undo steps at the deepest, %d of %d sessions at the bound of %zu, %d undone to "
            "their start and redone; nothing broke\n",
            played, runs, static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed + runs - 1),
            runs ? static_cast<double>(tally) / runs : 0.0, runs ? static_cast<double>(deepest) / runs : 0.0,
            reachedBound, runs, velmora::DesignHistory::maxSteps, undoneToStart);
    return 0;
}
