// The clerk's windows: the main window running the group's design, and the
// lookup list. No palette, no property page, no design-time wiring.
#pragma once

#include "startup/Composition.h"
#include "toolkit/windows/Platform.h"

#include <string>

namespace velmora {

class EntryForm;

class EntryComposition : public Composition {
public:
    const tk::ClassInfo& mainWindowClass() const override;
    void createWindows() override;
    tk::TForm& mainWindow() override;
    void prepareMainWindow(bool storedDesign) override;
    // Shows the main window and opens the form in state 0.
    void placeAndShow() override;

private:
    bool storedDesign_ = false;
};

// The form at work in the running program, once start-up has shown it.
EntryForm* runningEntryForm();

// Runs the clerk's program; `executablePath` is the full path of the
// program, whose folder holds the data-link file. Returns the exit status.
int runVelmoraEntry(tk::Platform& platform, const std::string& executablePath);

}  // namespace velmora
