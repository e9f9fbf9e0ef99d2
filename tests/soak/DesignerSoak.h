// The designer under random gestures: placing with the palette's tools,
// clicks and right clicks, Shift+clicks, rubber bands, drags of one or of
// several controls (also out of the window), sizing by a handle, Alt and
// Alt+Ctrl arrows, each alignment, copying and pasting (also of old and of
// random text), runs of undo and redo, typing in the property page, the
// context menu's delete, saving and opening through the lookup list. The
// gestures are biased towards placing, so that a session's design grows
// large and its undo history reaches its bound.
//
// After every gesture it checks what must always hold: one name for one
// component, the selection and the property page hold only the window's
// own controls, every placed control is wired for design, an undo and a
// redo give back the window's text byte for byte, and a save stores the
// window's text, which reads back to the same text. At the session's end,
// unless the history dropped its oldest steps, undoing every step gives
// back the design the session opened with.
#pragma once

#include "toolkit/windows/HeadlessPlatform.h"

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace tk {
class TControl;
class TComponent;
}  // namespace tk

class DesignerSoak {
public:
    DesignerSoak(tk::HeadlessPlatform& platform, uint64_t seed, const std::string& folder);
    void gesture();
    void check();
    // Ends the session's checks; returns the controls placed on the surface
    // at the end.
    long finish();

    // What the session reached, for the summary.
    size_t deepestHistory = 0;
    bool reachedUndoBound = false;
    bool undoneToTheStart = false;  // once a session, before the bound

private:
    int pick(int n) { return static_cast<int>(std::uniform_int_distribution<int>(0, n - 1)(rng_)); }
    tk::TControl* randomControl(bool controlsOnly = false);
    tk::TControl* randomSheet();
    std::string randomText();
    std::string randomClipboard();
    void activateSurface();
    void place();
    void shiftClick();
    void rubberBand();
    void drag();
    void sizeByHandle();
    void align();
    void copyOrPaste();
    void undoRedoRun();
    void typeInPropertyPage();
    void saveOrOpen();
    // The window's text as a save stores it.
    std::string text() const;
    // Every group's stored design; those a save changed must be the
    // window's text and read back to it.
    std::vector<std::string> storedDesigns() const;
    void storedDesignsLoad();
    // Nobody's login changed.
    void usersUnchanged();
    std::string readInScratchWindow(const std::string& design);
    void undoRedoGivesBackTheText();
    void undoingEveryStepGivesBackTheOpenedDesign();
    int placedControls() const;
    // The data-link file of the session's database.
    std::string dataLink() const { return folder_ + "/VelmoraDSC.udl"; }

    tk::HeadlessPlatform& platform_;
    std::mt19937_64 rng_;
    std::string folder_;
    std::string opened_;               // the design as the session opened it
    std::vector<std::string> copied_;  // texts copied so far
    int kept_ = 0;                     // saved designs kept (VELMORA_SOAK_KEEP)
};
