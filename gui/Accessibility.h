// The model's windows as a screen reader sees them. A factory gives each
// window widget (and the popup) its accessible interface; each model
// control or menu item a reader asks about gets one registered interface,
// dropped once the control is destroyed. After every change the front end
// brings in (each sync), the reader is told what changed: the focus,
// values and text, states, names, the rows of a grid, and a message
// window that appeared.
#pragma once

#include "toolkit/core/ComponentRef.h"

#include <QAccessible>
#include <QObject>

#include <map>
#include <set>
#include <string>

namespace tk {
class TComponent;
class TControl;
class TCustomForm;
class TMenuItem;
}  // namespace tk

namespace gui {

class QtPlatform;
class PopupWidget;

class Accessibility {
public:
    // Installs the factory (once per process) and makes this the bridge
    // of `platform` until it goes.
    Accessibility(QtPlatform& platform, PopupWidget& popup);
    ~Accessibility();
    Accessibility(const Accessibility&) = delete;
    Accessibility& operator=(const Accessibility&) = delete;

    // The bridge of the running platform, or none.
    static Accessibility* current();
    QtPlatform& platform() const { return platform_; }
    PopupWidget& popupWidget() const { return popup_; }

    // The interface of a control or menu item, made and registered on first
    // asking.
    QAccessibleInterface* interfaceOf(tk::TControl* control);
    QAccessibleInterface* interfaceOf(tk::TMenuItem* item);
    // The interface of a shown window's widget, or none while it is hidden.
    QAccessibleInterface* windowInterface(tk::TCustomForm* form) const;
    QAccessibleInterface* popupInterface() const;

    // Drops the interfaces of destroyed controls and tells the reader what
    // changed since the last time.
    void announceChanges();
    // Qt's active window changed. The focus is told once its window is the
    // active one, after the reader has heard of the window; coming back
    // from a window not of the model (a message box, a file or print
    // dialog) it is told again, as the reader has heard of another window.
    void activeWindowChanged();

private:
    // What a reader was last told of a control.
    struct Told {
        std::string name, value;
        QAccessible::State state;
        int caret = 0;
        int rows = -1, currentRow = -1, currentColumn = -1;
    };
    struct Entry {
        QAccessible::Id id = 0;
        tk::ComponentRef<tk::TComponent> component;
        Told told;
    };
    QAccessibleInterface* registered(tk::TComponent* component);
    // Registers a new interface for `component`, telling it nothing yet.
    QAccessibleInterface* enter(tk::TComponent* component, QAccessibleInterface* iface);
    void drop(Entry& entry);
    Told tell(QAccessibleInterface* iface) const;
    void announce(QAccessibleInterface* iface, Told& told);
    void announceFocus();
    void announceWindows();

    QtPlatform& platform_;
    PopupWidget& popup_;
    std::map<const tk::TComponent*, Entry> registered_;
    // Whether the focused control's window is not yet the active one.
    bool waitsForItsWindow(const tk::TComponent* focused) const;
    void announceStatusBars();

    tk::ComponentRef<tk::TComponent> focused_;
    std::set<const tk::TCustomForm*> shownWindows_;
    bool foreignWasActive_ = false;
    // The focus is told after a while even when its window is never made
    // the active one (a window manager that keeps it back).
    bool focusOverdue_ = false;
    bool focusTimerRuns_ = false;
    QObject timers_;
};

}  // namespace gui
