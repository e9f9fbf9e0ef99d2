#include "DesignerSoak.h"

#include "../TestDatabase.h"
#include "Breach.h"
#include "designer/ClientMain.h"
#include "designs/Design.h"
#include "model/DesignClipboard.h"
#include "model/DesignHistory.h"
#include "model/DesignModel.h"
#include "model/SelectionGestures.h"
#include "palette/ComponentPalette.h"
#include "properties/PropertyPage.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/text/Text.h"
#include "toolkit/widgets/PageControl.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Menus.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <set>

namespace {

using velmora::frmClientMain;
using velmora::frmComonentPalette;
using velmora::frmPropertyPage;

// Errors a person is shown on purpose.
bool expectedError(const std::string& text)
{
    return text == "Property Relation does not exist" || text == velmora::nothingToPaste ||
           text.find("Cannot focus") != std::string::npos;
}

bool tracing()
{
    static const bool on = std::getenv("VELMORA_SOAK_TRACE") != nullptr;
    return on;
}

tk::TControl* control(tk::TComponent* owner, const char* name)
{
    return owner ? dynamic_cast<tk::TControl*>(owner->findComponent(name)) : nullptr;
}

tk::TPoint centre(const tk::TRect& r)
{
    return {r.left + r.width() / 2, r.top + r.height() / 2};
}

// A press, a few moves and a release, as a hand drags.
void dragFrom(tk::TApplication& app, tk::TPoint from, const std::vector<tk::TPoint>& path, tk::TShiftState shift = 0)
{
    app.mouseMove(shift, from);
    app.mouseDown(tk::TMouseButton::mbLeft, shift | tk::ssLeft, from);
    tk::TPoint at = from;
    for (tk::TPoint p : path) app.mouseMove(shift | tk::ssLeft, at = p);
    app.mouseUp(tk::TMouseButton::mbLeft, shift, at);
}

// A design's text without the window's name, place and focus, which a
// window read beside the shown one has of its own: a name of its own, a
// place centred anew, and a focus of its own. A shown window activated
// puts its focus on a control that can take it; the designer may have
// kept one that cannot (a field with CanModify off) as the active one.
std::string withoutWindowPlace(const std::string& text)
{
    static const std::regex own(R"(^object [A-Za-z0-9_]+:|\r?\n  (Left|Top|ActiveControl) = [-A-Za-z0-9_]+)");
    return std::regex_replace(text, own, "");
}

}  // namespace

DesignerSoak::DesignerSoak(tk::HeadlessPlatform& platform, uint64_t seed, const std::string& folder)
    : platform_(platform), rng_(seed), folder_(folder)
{
    opened_ = text();
}

std::string DesignerSoak::text() const
{
    return velmora::designModel().surface()->storedDesignText();
}

void DesignerSoak::gesture()
{
    tk::TApplication& app = *tk::Application;
    // Weighted towards placing, so that the design grows.
    static const int weights[] = {26, 6, 5, 3, 7, 5, 4, 4, 1, 3, 6, 4, 2, 1, 2, 1};
    int total = 0;
    for (int w : weights) total += w;
    int roll = pick(total), kind = 0;
    while (roll >= weights[kind]) roll -= weights[kind++];
    if (tracing()) std::fprintf(stderr, "gesture kind %d\n", kind);
    // Any gesture may land on a button that shows a dialog (a control
    // moved under the palette's save button, say): it gets Esc, as a
    // person would dismiss a dialog they did not mean to open.
    struct Fallback {
        tk::HeadlessPlatform& p;
        ~Fallback() { p.clearScript(); }
    } fallback{platform_};
    if (kind != 14) platform_.script([&app] { app.pressKey(tk::vk::Escape); });
    switch (kind) {
    case 0: place(); break;
    case 1: {  // a click on a tab sheet or on a control, either button
        tk::TControl* target = randomControl();
        if (!target) break;
        tk::TPoint at{pick(std::max(1, target->width())), pick(std::max(1, target->height()))};
        bool right = pick(4) == 0;
        app.click(target, at, right ? tk::TMouseButton::mbRight : tk::TMouseButton::mbLeft);
        if (app.popup() && pick(2)) app.pressKey(tk::vk::Escape);
        break;
    }
    case 2: shiftClick(); break;
    case 3: rubberBand(); break;
    case 4: drag(); break;
    case 5: sizeByHandle(); break;
    case 6: {  // Alt or Alt+Ctrl arrows on the selection
        static const uint16_t arrows[] = {tk::vk::Left, tk::vk::Up, tk::vk::Right, tk::vk::Down};
        for (int i = pick(3); i >= 0; --i) app.pressKey(arrows[pick(4)], tk::ssAlt | (pick(2) ? tk::ssCtrl : 0));
        break;
    }
    case 7: typeInPropertyPage(); break;
    case 8: {  // the context menu's delete, on one control or on several
        tk::TControl* target = randomControl(true);
        if (!target) break;
        app.click(target, {1, 1}, tk::TMouseButton::mbRight);
        if (app.popup()) {
            app.pressKey(tk::vk::Down);
            app.pressKey(tk::vk::Return);
        }
        break;
    }
    case 9: align(); break;
    case 10: copyOrPaste(); break;
    case 11: undoRedoRun(); break;
    case 12: {  // the palette's tool alone, or the other tab sheet
        if (pick(2)) {
            static const char* tools[] = {"btnArrow", "SpeedButton2", "SpeedButton5", "SpeedButton3", "SpeedButton4"};
            app.click(control(frmComonentPalette.get(), tools[pick(5)]), {10, 10});
        } else if (auto* pages = control(frmClientMain.get(), "pcData")) {
            app.click(pages, {pick(2) ? 20 : 70, 10});
        }
        break;
    }
    case 13: platform_.advance(pick(4000)); break;  // time passes: the hint's timer
    case 14: saveOrOpen(); break;
    default:  // a key on whatever has the focus
        app.pressKey(pick(2) ? tk::vk::Escape : tk::vk::Tab);
        break;
    }
    // A message box a person would dismiss.
    for (const std::string& e : app.errorMessages())
        if (!expectedError(e)) breach("an error escaped: " + e);
    const_cast<std::vector<std::string>&>(app.errorMessages()).clear();
}

// The main window active, as a click on its page tabs makes it, so that
// the design's keys reach it.
void DesignerSoak::activateSurface()
{
    if (tk::Application->activeForm() == frmClientMain.get()) return;
    if (auto* pages = control(frmClientMain.get(), "pcData")) {
        auto* shown = dynamic_cast<tk::TPageControl*>(pages)->activePage();
        tk::Application->click(pages, {shown && shown->name() == "tsSearch" ? 70 : 20, 10});
    }
}

// A tool of the palette, then a click on the shown tab sheet, or Insert.
void DesignerSoak::place()
{
    tk::TApplication& app = *tk::Application;
    static const char* tools[] = {"SpeedButton2", "SpeedButton5", "SpeedButton3", "SpeedButton4"};
    app.click(control(frmComonentPalette.get(), tools[pick(4)]), {10, 10});
    if (pick(6) == 0) {
        activateSurface();
        app.pressKey(tk::vk::Insert);
        return;
    }
    tk::TControl* sheet = randomSheet();
    if (!sheet) return;
    app.click(sheet, {pick(std::max(1, sheet->width() - 40)), pick(std::max(1, sheet->height() - 20))});
}

void DesignerSoak::shiftClick()
{
    tk::TControl* target = randomControl(true);
    if (!target) return;
    tk::Application->click(target, {pick(std::max(1, target->width())), pick(std::max(1, target->height()))},
                           tk::TMouseButton::mbLeft, tk::ssShift);
}

// From an empty spot, or from a control, over a stretch of the sheet.
void DesignerSoak::rubberBand()
{
    tk::TControl* sheet = randomSheet();
    if (!sheet) return;
    tk::TPoint from = sheet->clientToScreen({pick(std::max(1, sheet->width())), pick(std::max(1, sheet->height()))});
    std::vector<tk::TPoint> path;
    for (int i = pick(3); i >= 0; --i) path.push_back({from.x + pick(401) - 200, from.y + pick(301) - 150});
    dragFrom(*tk::Application, from, path, pick(5) == 0 ? tk::ssShift : 0);
}

// A control dragged (with the others selected with it), sometimes far out
// of the window.
void DesignerSoak::drag()
{
    std::vector<tk::TControl*> selected = velmora::designModel().selection();
    tk::TControl* target = !selected.empty() && pick(2)
                               ? selected[static_cast<size_t>(pick(static_cast<int>(selected.size())))]
                               : randomControl();
    if (!target || !target->isShowing()) return;
    tk::TPoint from = target->clientToScreen({2 + pick(std::max(1, target->width() - 4)), 2});
    std::vector<tk::TPoint> path;
    tk::TPoint p = from;
    for (int i = pick(5); i >= 0; --i) {
        p = {p.x + pick(121) - 60, p.y + pick(121) - 60};
        if (pick(10) == 0) p = {p.x + 2000, p.y - 2000};
        path.push_back(p);
    }
    dragFrom(*tk::Application, from, path);
}

// One of the eight handles of a selected control, dragged.
void DesignerSoak::sizeByHandle()
{
    std::vector<tk::TControl*> selected = velmora::designModel().selection();
    if (selected.empty()) {
        shiftClick();
        return;
    }
    tk::TControl* c = selected[static_cast<size_t>(pick(static_cast<int>(selected.size())))];
    if (!c->isShowing()) return;
    tk::TPoint from = centre(velmora::SelectionGestures::screenHandles(*c)[static_cast<size_t>(pick(8))]);
    std::vector<tk::TPoint> path;
    for (int i = pick(3); i >= 0; --i) path.push_back({from.x + pick(161) - 80, from.y + pick(121) - 60});
    dragFrom(*tk::Application, from, path);
}

// Several selected, then one of the alignments from the menu of one of them.
void DesignerSoak::align()
{
    tk::TApplication& app = *tk::Application;
    for (int i = 0; i < 3 && velmora::designModel().selection().size() < 2; ++i) shiftClick();
    std::vector<tk::TControl*> selected = velmora::designModel().selection();
    if (selected.size() < 2) return;
    tk::TControl* target = selected[static_cast<size_t>(pick(static_cast<int>(selected.size())))];
    if (!target->isShowing()) return;
    app.click(target, {1, 1}, tk::TMouseButton::mbRight);
    if (!app.popup()) return;
    for (int k = 1 + pick(6); k >= 0; --k) app.pressKey(tk::vk::Down);
    app.pressKey(tk::vk::Return);
}

// Ctrl+C, or Ctrl+V of what the clipboard holds: the last copy, an
// earlier one, one cut short or changed, or random text.
void DesignerSoak::copyOrPaste()
{
    tk::TApplication& app = *tk::Application;
    activateSurface();
    if (pick(3) == 0) {
        app.pressKey('C', tk::ssCtrl);
        std::string copy = platform_.clipboardText();
        if (!copy.empty() && (copied_.empty() || copied_.back() != copy)) {
            copied_.push_back(copy);
            if (copied_.size() > 20) copied_.erase(copied_.begin());
        }
        return;
    }
    if (pick(3)) platform_.setClipboardText(randomClipboard());
    app.pressKey('V', tk::ssCtrl);
}

std::string DesignerSoak::randomClipboard()
{
    if (copied_.empty() || pick(6) == 0) return randomText();
    std::string text = copied_[static_cast<size_t>(pick(static_cast<int>(copied_.size())))];
    switch (pick(4)) {
    case 0: text.resize(static_cast<size_t>(pick(static_cast<int>(text.size()) + 1))); break;
    case 1:
        for (int i = pick(4); i >= 0 && !text.empty(); --i)
            text[static_cast<size_t>(pick(static_cast<int>(text.size())))] = static_cast<char>(pick(256));
        break;
    case 2: text += text; break;
    default: break;
    }
    return text;
}

// Ctrl+Z and Ctrl+Y (or Ctrl+Shift+Z) in a run of random length.
void DesignerSoak::undoRedoRun()
{
    tk::TApplication& app = *tk::Application;
    activateSurface();
    bool redo = pick(3) == 0;
    for (int i = pick(pick(2) ? 4 : 12); i >= 0; --i) {
        if (!redo) app.pressKey('Z', tk::ssCtrl);
        else if (pick(2)) app.pressKey('Y', tk::ssCtrl);
        else app.pressKey('Z', tk::ssCtrl | tk::ssShift);
    }
}

void DesignerSoak::typeInPropertyPage()
{
    tk::TApplication& app = *tk::Application;
    static const char* editors[] = {"edtCaption",  "cbxFieldName", "cbxDictionary", "seTabOrder",
                                    "cbxRelation", "chxRequired",  "chxCanModify",  "rgFieldType"};
    tk::TControl* editor = control(frmPropertyPage.get(), editors[pick(8)]);
    if (!editor || !editor->isShowing()) return;
    app.click(editor, {pick(std::max(1, editor->width())), pick(std::max(1, editor->height()))});
    app.typeText(randomText());
    if (pick(3) == 0) app.pressKey(tk::vk::Down);
    app.pressKey(pick(2) ? tk::vk::Tab : tk::vk::Return);
}

// Saving or opening through the lookup list, confirmed or cancelled; a
// save that changed a group's stored design stored the window's text.
void DesignerSoak::saveOrOpen()
{
    tk::TApplication& app = *tk::Application;
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
    std::vector<std::string> before = storedDesigns();
    app.click(open ? frmComonentPalette->btnOpen.get() : frmComonentPalette->btnSave.get(), {5, 5});
    std::vector<std::string> after = storedDesigns();
    if (after.size() != before.size()) breach("a save or an open added or removed a group");
    for (size_t i = 0; i < after.size(); ++i) {
        if (after[i] == before[i]) continue;
        if (open) breach("opening a design changed a stored design");
        if (after[i] != text()) breach("a save stored a text other than the window's");
        // VELMORA_SOAK_KEEP names a folder that keeps every saved design,
        // the seeds of the fuzz target over designs in the clerk's hands.
        if (const char* keep = std::getenv("VELMORA_SOAK_KEEP"))
            std::ofstream(std::string(keep) + "/saved-" + std::to_string(++kept_) + ".txt", std::ios::binary)
                << after[i];
        std::string readBack = readInScratchWindow(after[i]);
        if (withoutWindowPlace(readBack) != withoutWindowPlace(after[i])) {
            if (tracing())
                std::fprintf(stderr, "--- before:\n%s\n--- after:\n%s\n", withoutWindowPlace(after[i]).c_str(),
                             withoutWindowPlace(readBack).c_str());
            breach("a saved design reads back to another text");
        }
    }
    // Each changed design was read above; the others loaded before.
    usersUnchanged();
}

// Reads a stored design as the next login reads it, into a main window of
// its own, and gives back that window's text. A main window made becomes
// the design model's surface: the shown one is made the surface again.
std::string DesignerSoak::readInScratchWindow(const std::string& design)
{
    velmora::DesignSurface* shown = velmora::designModel().surface();
    auto* scratch = new velmora::TfrmClientMain(nullptr);
    if (shown) velmora::designModel().setSurface(*frmClientMain, *shown);
    std::string text, failure;
    try {
        velmora::loadDesign(*scratch, design);
        text = velmora::designText(*scratch);
    } catch (const std::exception& e) {
        failure = e.what();
    }
    scratch->free();
    if (!failure.empty()) breach("a stored design does not load: " + failure);
    return text;
}

std::vector<std::string> DesignerSoak::storedDesigns() const
{
    return readRows(dataLink(), "Select FormData from UserGroup order by UserGroupID");
}

// Every stored design is none or one that loads; nobody's login changed.
void DesignerSoak::storedDesignsLoad()
{
    for (const std::string& design : readRows(dataLink(), "Select FormData from UserGroup where FormData is not null"))
        readInScratchWindow(design);
    usersUnchanged();
}

void DesignerSoak::usersUnchanged()
{
    std::string users;
    for (const std::string& user : readRows(dataLink(), "Select UserLogin, UserPasswd from UserTable"))
        users += user + ";";
    if (users != "demo|demo;penzugy|penzugy;") breach("UserTable changed: " + users);
}

// An undo and a redo give back the window's text byte for byte. Not while
// a menu or a dialog is open: the keys would not reach the design then.
void DesignerSoak::undoRedoGivesBackTheText()
{
    velmora::DesignModel& model = velmora::designModel();
    velmora::DesignHistory& history = model.history();
    tk::TApplication& app = *tk::Application;
    if (!model.designingSurface() || app.popup() || !app.isWindowEnabled(frmClientMain.get())) return;
    history.record();
    deepestHistory = std::max(deepestHistory, history.stepCount());
    if (history.stepCount() >= velmora::DesignHistory::maxSteps) reachedUndoBound = true;
    // Once a session, before the oldest steps are dropped.
    if (!reachedUndoBound && !undoneToTheStart && history.stepCount() >= velmora::DesignHistory::maxSteps * 3 / 4)
        undoingEveryStepGivesBackTheOpenedDesign();
    if (!history.canUndo()) return;
    std::string now = text();
    history.undo();
    history.redo();
    if (std::string back = text(); back != now) {
        if (tracing()) {
            std::fprintf(stderr, "--- before:\n%s\n--- after:\n%s\n", now.c_str(), back.c_str());
        }
        breach("an undo and a redo did not give back the window's text");
    }
}

int DesignerSoak::placedControls() const
{
    int placed = 0;
    for (tk::TComponent* c : frmClientMain->components())
        if (c->name().rfind("TZED", 0) == 0) ++placed;
    return placed;
}

// What must hold after every gesture.
void DesignerSoak::check()
{
    auto* window = frmClientMain.get();
    if (!window) breach("the main window is gone");
    std::set<std::string> names;
    std::set<tk::TComponent*> own;
    for (tk::TComponent* c : window->components()) {
        own.insert(c);
        if (c->name().empty()) continue;
        if (!names.insert(tk::lowerAscii(c->name())).second) breach("two components named " + c->name());
    }
    auto owned = [&](tk::TComponent* c) { return !c || c == window || own.count(c); };
    if (!owned(frmPropertyPage->SelectedControl())) breach("the page shows a control the window does not own");
    if (!owned(frmPropertyPage->CaptionControl())) breach("the page's caption control is not the window's");
    if (!owned(window->activeControl())) breach("the window's active control is not its own");
    if (window->activeControl() && window->visible() && !window->activeControl()->isShowing())
        breach("the window's active control " + window->activeControl()->name() + " is hidden");
    if (!owned(window->DragControl.get())) breach("the dragged control is not the window's");
    for (tk::TControl* c : velmora::designModel().selection())
        if (!own.count(c) || !c->parent()) breach("the selection holds a control that is gone");
    for (const char* sheetName : {"tsEdit", "tsSearch"}) {
        auto* sheet = tk::as<tk::TWinControl>(window->findComponent(sheetName));
        if (!sheet) continue;
        for (tk::TControl* c : sheet->controls())
            if (tk::getPropText(*c, "OnMouseDown") != "ComponentMouseDown")
                breach(c->name() + " on " + sheetName + " is not wired for design");
    }
    undoRedoGivesBackTheText();
}

// Undoing every step gives back the design the session opened, and redoing
// them all the window as it was.
void DesignerSoak::undoingEveryStepGivesBackTheOpenedDesign()
{
    velmora::DesignHistory& history = velmora::designModel().history();
    history.record();
    std::string now = text();
    size_t steps = 0;
    for (; history.canUndo(); ++steps) history.undo();
    if (std::string back = text(); history.started() && back != opened_) {
        if (tracing()) std::fprintf(stderr, "--- before:\n%s\n--- after:\n%s\n", opened_.c_str(), back.c_str());
        breach("undoing every step did not give back the opened design");
    }
    while (steps-- > 0) history.redo();
    if (text() != now) breach("redoing every step did not give back the window's text");
    undoneToTheStart = true;
}

// Every stored design loads at the end too; unless the history dropped its
// oldest steps, undoing them all gives back the design the session opened.
long DesignerSoak::finish()
{
    storedDesignsLoad();
    long placed = placedControls();
    velmora::DesignModel& model = velmora::designModel();
    tk::TApplication& app = *tk::Application;
    if (!reachedUndoBound && !undoneToTheStart && model.designingSurface() && !app.popup() &&
        app.isWindowEnabled(frmClientMain.get()))
        undoingEveryStepGivesBackTheOpenedDesign();
    return placed;
}

// A shown tab sheet or a control on it.
tk::TControl* DesignerSoak::randomControl(bool controlsOnly)
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
    return candidates.empty() ? nullptr : candidates[static_cast<size_t>(pick(static_cast<int>(candidates.size())))];
}

tk::TControl* DesignerSoak::randomSheet()
{
    for (const char* sheetName : {"tsEdit", "tsSearch"})
        if (auto* sheet = control(frmClientMain.get(), sheetName); sheet && sheet->isShowing()) return sheet;
    return nullptr;
}

std::string DesignerSoak::randomText()
{
    static const char* pieces[] = {"Ugyszam", "a",   "1",        "_",       "Targy", "IKTATOSZAM", "ő",
                                   " ",       "x]'", "Ügytípus", "Egyenlő", "9",     "Erkezett",   "-",
                                   "object ", "end", "\n",       "= ",      "'",     "#337"};
    std::string s;
    for (int i = pick(4); i >= 0; --i) s += pieces[pick(20)];
    return s;
}
