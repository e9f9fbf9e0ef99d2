// TApplication: owns the windows and data modules, knows the main window
// and the active one, runs the main loop, reports errors that escape event
// handlers, and is the single entry of all input (the input API).
#pragma once

#include "toolkit/core/Component.h"
#include "toolkit/widgets/WinControl.h"
#include "toolkit/windows/Platform.h"

#include <memory>
#include <string>
#include <vector>

namespace tk {

class TControl;
class TWinControl;
class TCustomForm;
class TPopup;
class TMenuItem;
class Overlay;

class TApplication : public TComponent {
    TK_CLASS(TApplication)
public:
    // Becomes the program-wide `Application` until destroyed.
    explicit TApplication(Platform& platform);
    ~TApplication() override;
    bool isApplication() const override { return true; }
    Platform& platform() const { return platform_; }

    // Creates a window or data module owned by the application. The reference
    // is set before the object's creation handler runs and back to none when
    // creation fails; the first window created this way is the main window.
    template <class T>
    void createForm(T*& reference)
    {
        T* obj = new T(this);
        reference = obj;
        try {
            obj->afterConstruction();
        } catch (...) {
            reference = nullptr;
            obj->free();
            throw;
        }
        noteCreated(obj);
    }
    // `prepare` runs on the new object before its creation handler does.
    template <class T, class Prepare>
    void createForm(ComponentRef<T>& reference, Prepare prepare)
    {
        T* obj = new T(this);
        reference = obj;
        try {
            prepare(*obj);
            obj->afterConstruction();
        } catch (...) {
            reference.reset();
            obj->free();
            throw;
        }
        noteCreated(obj);
    }
    template <class T>
    void createForm(ComponentRef<T>& reference)
    {
        createForm(reference, [](T&) {});
    }

    TCustomForm* mainForm() const;
    // Shows the main window if hidden and runs the loop until terminated.
    // Returns at once when there is no main window or a quit was requested.
    void run();
    // Posts a quit request: the main loop ends when it next looks.
    void terminate() { terminated_ = true; }
    bool terminated() const { return terminated_; }

    // The default handling of an error that escapes an event handler: its
    // text is recorded and shown in a message box; the loop goes on.
    void handleException(const std::exception& e);
    const std::vector<std::string>& errorMessages() const { return errors_; }
    // Runs `f`, handing any error to handleException.
    template <class F>
    void safely(F&& f)
    {
        try {
            f();
        } catch (const std::exception& e) {
            handleException(e);
        }
    }

    // Top-level windows, back to front.
    const std::vector<TCustomForm*>& windows() const { return windows_; }
    TCustomForm* activeForm() const;
    void activateForm(TCustomForm* form);
    // The control with the input focus: the active window's focused control.
    TWinControl* focusedControl() const;
    // False while a modal window blocks the window.
    bool isWindowEnabled(const TCustomForm* form) const;
    void invalidate(TWinControl* window) { platform_.invalidate(window); }
    // A top-level window or data module by name (for "Owner.Name" references).
    TComponent* findGlobal(std::string_view name) const { return findComponent(name); }

    // The layer a design tool lays over the windows, or none (Overlay.h).
    // The one who sets it clears it before it goes.
    Overlay* overlay() const { return overlay_; }
    void setOverlay(Overlay* o) { overlay_ = o; }

    // The program's own menu, which no window's design holds: its items
    // stay whatever a design load destroys. None unless a program sets it;
    // the one who sets it owns it.
    TMenuItem* programMenu() const;
    void setProgramMenu(TMenuItem* root);
    // Chooses the item of the program's menu that the captions name, one a
    // level ("Dokumentum", "Érvénytelenítés"), as a click on it would;
    // false, doing nothing, when no enabled item has them.
    bool chooseProgramMenuItem(const std::vector<std::string>& captions);

    // The open popup (menu, drop-down list, calendar), or none.
    TPopup* popup() const { return popup_; }
    void openPopup(TPopup* p);
    void closePopup();
    void popupDestroyed(TPopup* p);

    // ---- The input API: every gesture of the user enters here. ----
    // Screen position of the mouse cursor (the last position input gave).
    TPoint cursorPos() const { return cursor_; }
    void mouseDown(TMouseButton button, TShiftState shift, TPoint screen, bool doubleClick = false);
    void mouseMove(TShiftState shift, TPoint screen);
    void mouseUp(TMouseButton button, TShiftState shift, TPoint screen);
    // Returns true when the window used the key as a dialog key (Tab, Enter,
    // Esc); no key press follows such a key.
    bool keyDown(uint16_t key, TShiftState shift);
    void keyPress(char32_t ch);
    void keyUp(uint16_t key, TShiftState shift);
    void closeByFrame(TCustomForm* form);
    // Files dropped onto a window from the desktop; false when the window
    // takes no drops (or another window blocks it).
    bool dropFiles(TCustomForm* form, const std::vector<std::string>& paths);

    // Gestures composed of the calls above, as a user makes them.
    void click(TControl* c, TPoint client, TMouseButton button = TMouseButton::mbLeft, TShiftState shift = 0);
    void click(TControl* c);  // at the control's centre
    void doubleClick(TControl* c, TPoint client);
    // Key down, the character it types (if any), key up.
    void pressKey(uint16_t key, TShiftState shift = 0);
    // Types UTF-8 text character by character.
    void typeText(std::string_view text);
    // The character a key types (Enter #13, Esc #27, Tab #9, Backspace #8).
    static char32_t charOfKey(uint16_t key, TShiftState shift);

    // Components destroyed once the current input has been handled.
    void releaseLater(TComponent* c);

    // An object that lives as long as the application: destroyed after the
    // windows and data modules, in the reverse order of keeping.
    void keepUntilEnd(std::shared_ptr<void> object) { kept_.push_back(std::move(object)); }

private:
    friend class TCustomForm;
    void noteCreated(TComponent* obj);
    void registerWindow(TCustomForm* f);
    void unregisterWindow(TCustomForm* f);
    void raiseWindow(TCustomForm* f);
    void windowHidden(TCustomForm* f);
    // Modal showing blocks every other window.
    void beginModal(TCustomForm* f);
    void endModal(TCustomForm* f);
    TCustomForm* windowAt(TPoint screen) const;
    TControl* controlAt(TPoint screen) const;
    TWinControl* keyTarget() const;
    bool raiseMouseEvent(ComponentRef<TControl>& target, InputType type, TMouseButton button, TShiftState shift,
                         TPoint screen, bool doubleClick);
    bool raiseKeyEvent(ComponentRef<TWinControl>& target, Handler TWinControl::*event, EventCall& call, bool isChar);
    void flushReleased();
    void overlayStarting();
    void overlayHandled();

    Platform& platform_;
    TApplication* previous_ = nullptr;
    ComponentRef<TCustomForm> mainForm_;
    std::vector<TCustomForm*> windows_;
    std::vector<TCustomForm*> modalStack_;
    ComponentRef<TCustomForm> active_;
    ComponentRef<TControl> capture_;
    TPopup* popup_ = nullptr;
    ComponentRef<TMenuItem> programMenu_;
    Overlay* overlay_ = nullptr;
    TPoint cursor_;
    bool terminated_ = false;
    char32_t suppressChar_ = 0;
    std::vector<std::string> errors_;
    std::vector<ComponentRef<TComponent>> released_;
    unsigned activationSerial_ = 0;
    std::vector<std::shared_ptr<void>> kept_;
};

// The program-wide application object.
extern TApplication* Application;

}  // namespace tk
