// What a program puts on the screen after a login. The data module's
// start-up calls these steps in order; each program (the designer, the
// entry program) hands it its own composition, which alone knows the
// program's windows.
#pragma once

namespace tk {
class ClassInfo;
class TForm;
}  // namespace tk

namespace velmora {

class Composition {
public:
    virtual ~Composition() = default;
    // The class of the main window, which a stored design names at its root.
    virtual const tk::ClassInfo& mainWindowClass() const = 0;
    // Creates the program's windows, the main window first.
    virtual void createWindows() = 0;
    // The window that the group's stored design is read into.
    virtual tk::TForm& mainWindow() = 0;
    // Readies the main window once its design is in; `storedDesign` tells
    // whether the group had one or the built-in layout stays.
    virtual void prepareMainWindow(bool storedDesign) = 0;
    // Places and shows the windows, then shows the main window's active
    // control.
    virtual void placeAndShow() = 0;
};

}  // namespace velmora
