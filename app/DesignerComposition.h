// The designer's windows: the main window as a design surface, the tool
// palette, the property page and the lookup list, created, placed and shown
// here and nowhere else.
#pragma once

#include "startup/Composition.h"
#include "toolkit/windows/Platform.h"

#include <string>

namespace velmora {

class DesignerComposition : public Composition {
public:
    const tk::ClassInfo& mainWindowClass() const override;
    // The main window, the palette, the property page and the lookup list,
    // in this order.
    void createWindows() override;
    tk::TForm& mainWindow() override;
    void prepareMainWindow(bool storedDesign) override;
    // The property page to the left of the main window, the palette above
    // it, the main window moved 50 pixels right and down, then the main
    // window's active control shown in the property page.
    void placeAndShow() override;
};

// Runs the designer; `executablePath` is the full path of the program,
// whose folder holds the data-link file. Returns the exit status.
int runVelmora(tk::Platform& platform, const std::string& executablePath);

}  // namespace velmora
