// The accessibility bridge: the factory, the registry and the events.
#include "gui/Accessibility.h"

#include "gui/AccessibleControl.h"
#include "gui/AccessibleGrid.h"
#include "gui/AccessibleNames.h"
#include "gui/AccessibleWindow.h"
#include "gui/QtPlatform.h"
#include "gui/WindowWidget.h"
#include "toolkit/data/DBGrid.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Form.h"
#include "toolkit/windows/Menus.h"

#include <vector>

namespace gui {

namespace {

Accessibility* running = nullptr;

QAccessibleInterface* widgetFactory(const QString&, QObject* object)
{
    if (auto* window = dynamic_cast<WindowWidget*>(object)) return new AccessibleWindow(window);
    if (auto* popup = dynamic_cast<PopupWidget*>(object)) return new AccessiblePopup(popup);
    return nullptr;
}

void send(QAccessibleEvent& event)
{
    QAccessible::updateAccessibility(&event);
}

// The states whose change a reader is told of.
QAccessible::State changedStates(const QAccessible::State& was, const QAccessible::State& is)
{
    QAccessible::State changed;
    changed.checked = was.checked != is.checked;
    changed.checkStateMixed = was.checkStateMixed != is.checkStateMixed;
    changed.disabled = was.disabled != is.disabled;
    changed.invisible = was.invisible != is.invisible;
    changed.readOnly = was.readOnly != is.readOnly;
    changed.editable = was.editable != is.editable;
    changed.selected = was.selected != is.selected;
    return changed;
}

bool any(const QAccessible::State& s)
{
    return s.checked || s.checkStateMixed || s.disabled || s.invisible || s.readOnly || s.editable || s.selected;
}

}  // namespace

Accessibility::Accessibility(QtPlatform& platform, PopupWidget& popup) : platform_(platform), popup_(popup)
{
    static bool installed = false;
    if (!installed) QAccessible::installFactory(widgetFactory);
    installed = true;
    running = this;
}

Accessibility::~Accessibility()
{
    for (auto& [component, entry] : registered_) drop(entry);
    if (running == this) running = nullptr;
}

Accessibility* Accessibility::current()
{
    return running;
}

void Accessibility::drop(Entry& entry)
{
    if (!entry.id) return;
    if (auto* grid = dynamic_cast<AccessibleGrid*>(QAccessible::accessibleInterface(entry.id)))
        for (QAccessible::Id cell : grid->takeCells()) QAccessible::deleteAccessibleInterface(cell);
    QAccessible::deleteAccessibleInterface(entry.id);
    entry.id = 0;
}

QAccessibleInterface* Accessibility::registered(tk::TComponent* component)
{
    auto it = registered_.find(component);
    if (it == registered_.end()) return nullptr;
    if (it->second.component.get() == component) return QAccessible::accessibleInterface(it->second.id);
    // The control that had this address is gone; another has it now.
    drop(it->second);
    registered_.erase(it);
    return nullptr;
}

QAccessibleInterface* Accessibility::interfaceOf(tk::TControl* control)
{
    if (!control) return nullptr;
    if (auto* form = dynamic_cast<tk::TCustomForm*>(control)) return windowInterface(form);
    if (QAccessibleInterface* known = registered(control)) return known;
    QAccessibleInterface* iface = nullptr;
    if (auto* grid = dynamic_cast<tk::TDBGrid*>(control)) iface = new AccessibleGrid(*grid);
    else iface = new AccessibleControl(*control);
    return enter(control, iface);
}

QAccessibleInterface* Accessibility::interfaceOf(tk::TMenuItem* item)
{
    if (!item) return nullptr;
    if (QAccessibleInterface* known = registered(item)) return known;
    return enter(item, new AccessibleMenuItem(*item));
}

QAccessibleInterface* Accessibility::enter(tk::TComponent* component, QAccessibleInterface* iface)
{
    Entry& entry = registered_[component];
    entry.id = QAccessible::registerAccessibleInterface(iface);
    entry.component = component;
    entry.told = tell(iface);
    return iface;
}

QAccessibleInterface* Accessibility::windowInterface(tk::TCustomForm* form) const
{
    WindowWidget* widget = form ? platform_.widgetOf(form) : nullptr;
    return widget ? QAccessible::queryAccessibleInterface(widget) : nullptr;
}

QAccessibleInterface* Accessibility::popupInterface() const
{
    return QAccessible::queryAccessibleInterface(&popup_);
}

Accessibility::Told Accessibility::tell(QAccessibleInterface* iface) const
{
    Told told;
    told.name = iface->text(QAccessible::Name).toStdString();
    told.value = iface->text(QAccessible::Value).toStdString();
    told.state = iface->state();
    if (QAccessibleTextInterface* text = iface->textInterface()) told.caret = text->cursorPosition();
    if (QAccessibleTableInterface* table = iface->tableInterface()) {
        told.rows = table->rowCount();
        QList<int> rows = table->selectedRows();
        told.currentRow = rows.isEmpty() ? -1 : rows.first();
    }
    return told;
}

void Accessibility::announce(QAccessibleInterface* iface, Told& told)
{
    Told now = tell(iface);
    if (now.name != told.name) {
        QAccessibleEvent e(iface, QAccessible::NameChanged);
        send(e);
    }
    if (now.value != told.value) {
        if (iface->textInterface()) {
            QAccessibleTextUpdateEvent e(iface, 0, QString::fromStdString(told.value),
                                         QString::fromStdString(now.value));
            e.setCursorPosition(now.caret);
            send(e);
        } else {
            QAccessibleValueChangeEvent e(iface, QString::fromStdString(now.value));
            send(e);
        }
    } else if (now.caret != told.caret && iface->textInterface()) {
        QAccessibleTextCursorEvent e(iface, now.caret);
        send(e);
    }
    if (QAccessible::State changed = changedStates(told.state, now.state); any(changed)) {
        QAccessibleStateChangeEvent e(iface, changed);
        send(e);
    }
    if (auto* grid = dynamic_cast<AccessibleGrid*>(iface)) {
        if (now.rows != told.rows) {
            for (QAccessible::Id cell : grid->takeCells()) QAccessible::deleteAccessibleInterface(cell);
            QAccessibleTableModelChangeEvent e(iface, QAccessibleTableModelChangeEvent::ModelReset);
            send(e);
        }
        if ((now.rows != told.rows || now.currentRow != told.currentRow) && now.state.focused)
            if (QAccessibleInterface* cell = grid->focusChild()) {
                QAccessibleEvent e(cell, QAccessible::Focus);
                send(e);
            }
    }
    told = std::move(now);
}

void Accessibility::announceFocus()
{
    tk::TComponent* now = nullptr;
    QAccessibleInterface* iface = nullptr;
    tk::TPopup* popup = tk::Application ? tk::Application->popup() : nullptr;
    auto* menu = popup ? dynamic_cast<tk::TPopupMenu*>(popup->popupAsComponent()) : nullptr;
    if (menu && menu->highlighted() >= 0) {
        tk::TMenuItem* item = menu->visibleItems()[menu->highlighted()];
        now = item;
        if (now != focused_.get()) iface = interfaceOf(item);
    } else if (tk::TWinControl* control = tk::Application ? tk::Application->focusedControl() : nullptr) {
        now = control;
        if (now != focused_.get()) iface = interfaceOf(control);
    }
    if (now == focused_.get()) return;
    focused_ = now;
    if (!iface) return;
    if (auto* grid = dynamic_cast<AccessibleGrid*>(iface))
        if (QAccessibleInterface* cell = grid->focusChild()) iface = cell;
    QAccessibleEvent e(iface, QAccessible::Focus);
    send(e);
}

void Accessibility::announceWindows()
{
    if (!tk::Application) return;
    std::set<const tk::TCustomForm*> shown;
    for (tk::TCustomForm* form : tk::Application->windows()) {
        if (!form->visible() || !platform_.widgetOf(form)) continue;
        shown.insert(form);
        if (shownWindows_.count(form)) continue;
        QAccessibleInterface* iface = windowInterface(form);
        if (!iface) continue;
        QAccessible::Role role = windowRole(*form);
        if (role == QAccessible::AlertMessage || (role == QAccessible::ToolTip && !form->caption().empty())) {
            QAccessibleEvent e(iface, QAccessible::Alert);
            send(e);
        } else if (form->isModal()) {
            QAccessibleEvent e(iface, QAccessible::DialogStart);
            send(e);
        }
    }
    shownWindows_ = std::move(shown);
}

void Accessibility::announceChanges()
{
    for (auto it = registered_.begin(); it != registered_.end();) {
        if (it->second.component) {
            ++it;
            continue;
        }
        drop(it->second);
        it = registered_.erase(it);
    }
    if (!QAccessible::isActive()) return;
    announceWindows();
    std::vector<const tk::TComponent*> known;
    for (auto& [component, entry] : registered_) known.push_back(component);
    for (const tk::TComponent* component : known) {
        auto it = registered_.find(component);
        if (it == registered_.end() || !it->second.component) continue;
        if (QAccessibleInterface* iface = QAccessible::accessibleInterface(it->second.id))
            announce(iface, it->second.told);
    }
    announceFocus();
}

}  // namespace gui
