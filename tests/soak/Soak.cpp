// velmora-soak: logs in on a fresh demonstration database, headless, and
// plays long random sequences of a person's gestures through the input
// API: palette tools, clicks and right clicks on both tab sheets and on
// controls, drags (also out of the window), Alt and Alt+Ctrl arrows,
// typing and Tab in the property page's editors, the context menu's
// delete, saving and opening through the lookup list, confirmed and
// cancelled. After every gesture it checks what must always hold, and
// stops with the seed and the gesture number at the first breach.
// With --entry it plays the clerk's program instead (see EntrySoak.h).
//   velmora-soak [--entry] [--seed N] [--seconds S] [--gestures G]
#include "../TempFolder.h"
#include "../TestDatabase.h"
#include "Breach.h"
#include "EntrySoak.h"
#include "app/DemoEntryForm.h"
#include "app/EntryComposition.h"
#include "app/DesignerComposition.h"
#include "db/Query.h"
#include "designer/ClientMain.h"
#include "designs/Design.h"
#include "lookup/SearchList.h"
#include "palette/ComponentPalette.h"
#include "properties/PropertyPage.h"
#include "startup/DataModule.h"
#include "startup/DemoDatabase.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/text/Text.h"
#include "toolkit/widgets/PageControl.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/HeadlessPlatform.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <string>

namespace {

using velmora::frmClientMain;
using velmora::frmComonentPalette;
using velmora::frmPropertyPage;

// Errors a person is shown on purpose.
bool expectedError(const std::string& text)
{
    return text == "Property Relation does not exist" || text.find("Cannot focus") != std::string::npos;
}

class Soak {
public:
    Soak(tk::HeadlessPlatform& platform, uint64_t seed, const std::string& folder)
        : platform_(platform), rng_(seed), folder_(folder)
    {
    }

    // One gesture, chosen at random.
    void gesture()
    {
        tk::TApplication& app = *tk::Application;
        auto* window = frmClientMain.get();
        int kind = pick(14);
        if (std::getenv("VELMORA_SOAK_TRACE")) std::fprintf(stderr, "gesture kind %d\n", kind);
        // Any gesture may land on a button that shows a dialog (a control
        // moved under the palette's save button, say): it gets Esc, as a
        // person would dismiss a dialog they did not mean to open.
        struct Fallback {
            tk::HeadlessPlatform& p;
            ~Fallback() { p.clearScript(); }
        } fallback{platform_};
        if (kind != 9 && kind != 10) platform_.script([&app] { app.pressKey(tk::vk::Escape); });
        switch (kind) {
        case 0:
        case 1: {  // a palette tool
            static const char* tools[] = {"btnArrow", "SpeedButton2", "SpeedButton5", "SpeedButton3", "SpeedButton4"};
            tk::TControl* tool = control(frmComonentPalette.get(), tools[pick(5)]);
            if (std::getenv("VELMORA_SOAK_TRACE")) {
                tk::TPoint at = tool->clientToScreen({10, 10});
                std::fprintf(stderr, "  tool %s at %d,%d; palette %d,%d %dx%d\n", tool->name().c_str(), at.x, at.y,
                             frmComonentPalette->left(), frmComonentPalette->top(), frmComonentPalette->width(),
                             frmComonentPalette->height());
            }
            app.click(tool, {10, 10});
            break;
        }
        case 2:
        case 3: {  // a click on a tab sheet or on a control, either button
            tk::TControl* target = randomControl();
            if (!target) break;
            tk::TPoint at{pick(std::max(1, target->width())), pick(std::max(1, target->height()))};
            bool right = pick(4) == 0;
            if (std::getenv("VELMORA_SOAK_TRACE"))
                std::fprintf(stderr, "  click %s %s at %d,%d\n", right ? "right" : "left", target->name().c_str(), at.x,
                             at.y);
            app.click(target, at, right ? tk::TMouseButton::mbRight : tk::TMouseButton::mbLeft);
            if (app.popup() && pick(2)) app.pressKey(tk::vk::Escape);
            break;
        }
        case 4: {  // a drag, sometimes far out of the window
            tk::TControl* target = randomControl();
            if (!target) break;
            tk::TPoint at = target->clientToScreen({2, 2});
            app.mouseMove(0, at);
            app.mouseDown(tk::TMouseButton::mbLeft, tk::ssLeft, at);
            int steps = 1 + pick(5);
            tk::TPoint p = at;
            for (int i = 0; i < steps; ++i) {
                p = {p.x + pick(121) - 60, p.y + pick(121) - 60};
                if (pick(10) == 0) p = {p.x + 2000, p.y - 2000};
                app.mouseMove(tk::ssLeft, p);
            }
            app.mouseUp(tk::TMouseButton::mbLeft, 0, p);
            break;
        }
        case 5: {  // Alt or Alt+Ctrl arrows on the focused control
            static const uint16_t arrows[] = {tk::vk::Left, tk::vk::Up, tk::vk::Right, tk::vk::Down};
            app.pressKey(arrows[pick(4)], tk::ssAlt | (pick(2) ? tk::ssCtrl : 0));
            break;
        }
        case 6:
        case 7: {  // typing into a property page editor, then Tab
            static const char* editors[] = {"edtCaption",  "cbxFieldName", "cbxDictionary", "seTabOrder",
                                            "cbxRelation", "chxRequired",  "chxCanModify",  "rgFieldType"};
            tk::TControl* editor = control(frmPropertyPage.get(), editors[pick(8)]);
            if (!editor || !editor->isShowing()) break;
            app.click(editor, {pick(std::max(1, editor->width())), pick(std::max(1, editor->height()))});
            app.typeText(randomText());
            if (pick(3) == 0) app.pressKey(tk::vk::Down);
            app.pressKey(pick(2) ? tk::vk::Tab : tk::vk::Return);
            break;
        }
        case 8: {  // the context menu's delete on a control
            tk::TControl* target = randomControl(true);
            if (!target) break;
            app.click(target, {1, 1}, tk::TMouseButton::mbRight);
            if (app.popup()) {
                app.pressKey(tk::vk::Down);
                app.pressKey(tk::vk::Return);
            }
            break;
        }
        case 9:
        case 10: {  // saving or opening, confirmed or cancelled
            bool open = pick(2);
            int answer = pick(4);
            platform_.script([&app, answer] {
                if (answer == 0) app.pressKey(tk::vk::Escape);
                else if (answer == 1) app.pressKey(tk::vk::Return);
                else {
                    app.typeText(answer == 2 ? "I" : "P");
                    app.pressKey(tk::vk::Return);
                }
            });
            // A name that finds no group leaves the list open: Esc, as a person would.
            platform_.script([&app] { app.pressKey(tk::vk::Escape); });
            app.click(open ? frmComonentPalette->btnOpen.get() : frmComonentPalette->btnSave.get(), {5, 5});
            storedDesignsLoad();
            break;
        }
        case 11:  // time passes: the hint's timer
            platform_.advance(pick(4000));
            break;
        case 12: {  // the other tab sheet
            auto* pages = control(window, "pcData");
            if (pages) app.click(pages, {pick(2) ? 20 : 70, 10});
            break;
        }
        default:  // a key on whatever has the focus
            app.pressKey(pick(2) ? tk::vk::Escape : tk::vk::Tab);
            break;
        }
        // A message box a person would dismiss.
        for (const std::string& e : app.errorMessages())
            if (!expectedError(e)) breach("an error escaped: " + e);
        const_cast<std::vector<std::string>&>(app.errorMessages()).clear();
    }

    // What must hold after every gesture.
    void check()
    {
        auto* window = frmClientMain.get();
        if (!window) breach("the main window is gone");
        for (tk::TComponent* c : window->components())
            if (c->name().rfind("TZED", 0) == 0) ++fieldControlsSeen;
        std::set<std::string> names;
        for (tk::TComponent* c : window->components()) {
            if (c->name().empty()) continue;
            if (!names.insert(tk::lowerAscii(c->name())).second) breach("two components named " + c->name());
        }
        auto owned = [&](tk::TComponent* c) { return !c || c == window || c->owner() == window; };
        if (!owned(frmPropertyPage->SelectedControl())) breach("the page shows a control the window does not own");
        if (!owned(frmPropertyPage->CaptionControl())) breach("the page's caption control is not the window's");
        if (!owned(window->activeControl())) breach("the window's active control is not its own");
        if (!owned(window->DragControl.get())) breach("the dragged control is not the window's");
        for (const char* sheetName : {"tsEdit", "tsSearch"}) {
            auto* sheet = tk::as<tk::TWinControl>(window->findComponent(sheetName));
            if (!sheet) continue;
            for (tk::TControl* c : sheet->controls())
                if (tk::getPropText(*c, "OnMouseDown") != "ComponentMouseDown")
                    breach(c->name() + " on " + sheetName + " is not wired for design");
        }
    }

    // Every stored design is none or one that loads; nobody's login changed.
    void storedDesignsLoad()
    {
        std::string link = folder_ + "/VelmoraDSC.udl";
        for (const std::string& design : readRows(link, "Select FormData from UserGroup where FormData is not null")) {
            // Read as the next login reads it: into a main window of its own.
            auto* scratch = new velmora::TfrmClientMain(nullptr);
            try {
                velmora::loadDesign(*scratch, design);
            } catch (const std::exception& e) {
                scratch->free();
                breach(std::string("a stored design does not load: ") + e.what());
            }
            scratch->free();
        }
        std::string users;
        for (const std::string& user : readRows(link, "Select UserLogin, UserPasswd from UserTable"))
            users += user + ";";
        if (users != "demo|demo;penzugy|penzugy;") breach("UserTable changed: " + users);
    }

    // Every stored design loads at the end too; how much the session did
    // (placed controls seen), so that a quiet soak shows as such.
    long finish()
    {
        storedDesignsLoad();
        return fieldControlsSeen;
    }

    long fieldControlsSeen = 0;

private:
    int pick(int n) { return static_cast<int>(std::uniform_int_distribution<int>(0, n - 1)(rng_)); }

    static tk::TControl* control(tk::TComponent* owner, const char* name)
    {
        return owner ? dynamic_cast<tk::TControl*>(owner->findComponent(name)) : nullptr;
    }

    // A shown tab sheet or a control on it.
    tk::TControl* randomControl(bool controlsOnly = false)
    {
        auto* window = frmClientMain.get();
        std::vector<tk::TControl*> candidates;
        for (const char* sheetName : {"tsEdit", "tsSearch"}) {
            auto* sheet = tk::as<tk::TWinControl>(window->findComponent(sheetName));
            if (!sheet || !sheet->isShowing()) continue;
            if (!controlsOnly) candidates.push_back(sheet);
            for (tk::TControl* c : sheet->controls())
                if (c->isShowing()) candidates.push_back(c);
        }
        return candidates.empty() ? nullptr
                                  : candidates[static_cast<size_t>(pick(static_cast<int>(candidates.size())))];
    }

    std::string randomText()
    {
        static const char* pieces[] = {"Ugyszam", "a",   "1",        "_",       "Targy", "IKTATOSZAM", "ő",
                                       " ",       "x]'", "Ügytípus", "Egyenlő", "9",     "Erkezett",   "-"};
        std::string s;
        for (int i = pick(4); i >= 0; --i) s += pieces[pick(14)];
        return s;
    }

    tk::HeadlessPlatform& platform_;
    std::mt19937_64 rng_;
    std::string folder_;
};

}  // namespace

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
    long tally = 0;  // what finish() counts: placed controls seen, or saves
    int runs = 0;
    // Each run is a session of its own on a fresh database; a run ends
    // after some hundreds of gestures.
    while (std::chrono::steady_clock::now() < until && (gestures < 0 || played < gestures)) {
        TempFolder folder;
        makeDemoDatabase(folder.path());
        tk::HeadlessPlatform platform;
        uint64_t runSeed = seed + static_cast<uint64_t>(runs++);
        long here = 0;
        std::string failure;
        if (entry) velmora::addEntryDemo(folder.file("VelmoraDSC.udl"));
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
                for (; here < 500 && (gestures < 0 || played < gestures); ++here, ++played) {
                    soak.gesture();
                    soak.check();
                    if (std::chrono::steady_clock::now() >= until) break;
                }
                tally += soak.finish();
            } catch (const Breach& b) {
                failure = b.what;
            } catch (const std::exception& e) {
                failure = std::string("an exception left the soak: ") + e.what();
            }
            tk::Application->terminate();
        };
        if (entry) platform.script([&] { session([&] { return EntrySoak(platform, runSeed, folder.path()); }); });
        else platform.script([&] { session([&] { return Soak(platform, runSeed, folder.path()); }); });
        if (entry) velmora::runVelmoraEntry(platform, folder.file("velmora-entry"));
        else velmora::runVelmora(platform, folder.file("velmora"));
        if (!failure.empty()) {
            std::fprintf(stderr, "velmora-soak: seed %llu, gesture %ld: %s\n", static_cast<unsigned long long>(runSeed),
                         here + 1, failure.c_str());
            return 1;
        }
    }
    if (entry)
        std::printf("velmora-soak --entry: %ld gestures in %d sessions, seeds %llu to %llu, %ld documents saved, "
                    "nothing broke\n",
                    played, runs, static_cast<unsigned long long>(seed),
                    static_cast<unsigned long long>(seed + runs - 1), tally);
    else
        std::printf(
            "velmora-soak: %ld gestures in %d sessions, seeds %llu to %llu, %.1f placed controls on the "
            "surface on average, nothing broke\n",
            played, runs, static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed + runs - 1),
            played ? static_cast<double>(tally) / static_cast<double>(played) : 0.0);
    return 0;
}
