// The accessibility bridge: the factory, the registry and the events.
#include "gui/Accessibility.h"

#include "gui/AccessibleControl.h"
#include "gui/AccessibleGrid.h"
#include "gui/AccessibleNames.h"
#include "gui/AccessibleRadioGroup.h"
#include "gui/AccessibleStatusBar.h"
#include "gui/AccessibleWindow.h"
#include "gui/QtPlatform.h"
#include "gui/WindowWidget.h"
#include "toolkit/data/DBGrid.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Form.h"
#include "toolkit/widgets/RadioGroup.h"
#include "toolkit/widgets/StatusBar.h"
#include "toolkit/windows/Menus.h"

#include <QApplication>
#include <QTimer>

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

// The change from `was` to `is` as it happened: the characters typed, or
// those deleted, at their offset; a replacement only where both happened.
// (Saying the whole text went and came back makes a reader read it all
// again, a password's every mask at each key.)
void sendTextChange(QAccessibleInterface* iface, const QString& was, const QString& is, int caret)
{
    qsizetype same = 0, most = std::min(was.size(), is.size());
    while (same < most && was[same] == is[same]) ++same;
    qsizetype tail = 0;
    while (tail < most - same && was[was.size() - 1 - tail] == is[is.size() - 1 - tail]) ++tail;
    QString removed = was.mid(same, was.size() - same - tail), inserted = is.mid(same, is.size() - same - tail);
    int at = static_cast<int>(same);
    if (removed.isEmpty()) {
        QAccessibleTextInsertEvent e(iface, at, inserted);
        e.setCursorPosition(caret);
        send(e);
    } else if (inserted.isEmpty()) {
        QAccessibleTextRemoveEvent e(iface, at, removed);
        e.setCursorPosition(caret);
        send(e);
    } else {
        QAccessibleTextUpdateEvent e(iface, at, removed, inserted);
        e.setCursorPosition(caret);
        send(e);
    }
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
    if (auto* control = dynamic_cast<AccessibleControl*>(QAccessible::accessibleInterface(entry.id)))
        for (QAccessible::Id part : control->takeParts()) QAccessible::deleteAccessibleInterface(part);
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
    else if (auto* group = dynamic_cast<tk::TRadioGroup*>(control)) iface = new AccessibleRadioGroup(*group);
    else if (auto* bar = dynamic_cast<tk::TStatusBar*>(control)) iface = new AccessibleStatusBar(*bar);
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
    if (auto* group = dynamic_cast<AccessibleRadioGroup*>(iface); group && group->group())
        told.currentRow = group->group()->itemIndex();
    if (QAccessibleTableInterface* table = iface->tableInterface()) {
        told.rows = table->rowCount();
        QList<int> rows = table->selectedRows();
        told.currentRow = rows.isEmpty() ? -1 : rows.first();
        if (auto* grid = dynamic_cast<AccessibleGrid*>(iface); grid && grid->grid())
            told.currentColumn = grid->grid()->selectedColumn();
    }
    return told;
}

void Accessibility::announce(QAccessibleInterface* iface, Told& told)
{
    Told now = tell(iface);
    if (now.name != told.name) {
        QAccessibleEvent e(iface, QAccessible::NameChanged);
        send(e);
        // A status bar's new text: its notification is shown again.
        if (auto* bar = dynamic_cast<AccessibleStatusBar*>(iface); bar && !now.name.empty())
            if (QAccessibleInterface* note = bar->notification()) {
                QAccessibleEvent e(note, QAccessible::ObjectShow);
                send(e);
            }
    }
    if (now.value != told.value) {
        if (iface->textInterface()) {
            sendTextChange(iface, QString::fromStdString(told.value), QString::fromStdString(now.value), now.caret);
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
    if (auto* group = dynamic_cast<AccessibleRadioGroup*>(iface); group && now.currentRow != told.currentRow) {
        // The choice that was and the one that is changed their checked state.
        QAccessible::State checked;
        checked.checked = true;
        for (int index : {told.currentRow, now.currentRow})
            if (QAccessibleInterface* item = group->child(index)) {
                QAccessibleStateChangeEvent e(item, checked);
                send(e);
            }
        if (now.state.focused)
            if (QAccessibleInterface* item = group->focusChild()) {
                QAccessibleEvent e(item, QAccessible::Focus);
                send(e);
            }
    }
    if (auto* grid = dynamic_cast<AccessibleGrid*>(iface)) {
        if (now.rows != told.rows) {
            for (QAccessible::Id cell : grid->takeCells()) QAccessible::deleteAccessibleInterface(cell);
            QAccessibleTableModelChangeEvent e(iface, QAccessibleTableModelChangeEvent::ModelReset);
            send(e);
        }
        bool moved = now.rows != told.rows || now.currentRow != told.currentRow || now.currentColumn != told.currentColumn;
        if (moved && now.currentRow != told.currentRow) {
            // The current row is the selected one: the reader hears the
            // selection move with it.
            QAccessibleEvent e(iface, QAccessible::SelectionWithin);
            send(e);
        }
        bool gridHasFocus = tk::Application && grid->grid() && tk::Application->focusedControl() == grid->grid();
        if (moved && gridHasFocus)
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
    if (iface && !dynamic_cast<tk::TMenuItem*>(now) && waitsForItsWindow(now) && !focusOverdue_) {
        if (!focusTimerRuns_) {
            focusTimerRuns_ = true;
            QTimer::singleShot(500, &timers_, [this] {
                focusTimerRuns_ = false;
                focusOverdue_ = true;
                announceFocus();
                focusOverdue_ = false;
            });
        }
        return;
    }
    focused_ = now;
    if (!iface) return;
    // A control whose focus is a part of it (a grid's cell, a radio
    // group's choice) is told as that part.
    if (QAccessibleInterface* part = iface->focusChild()) iface = part;
    QAccessibleEvent e(iface, QAccessible::Focus);
    send(e);
}

bool Accessibility::waitsForItsWindow(const tk::TComponent* focused) const
{
    auto* control = dynamic_cast<const tk::TControl*>(focused);
    tk::TCustomForm* form = control ? control->parentForm() : nullptr;
    WindowWidget* widget = form ? platform_.widgetOf(form) : nullptr;
    // Qt's offscreen platform activates no window.
    if (!widget || QGuiApplication::platformName() == QLatin1String("offscreen")) return false;
    return QApplication::activeWindow() != widget;
}

void Accessibility::activeWindowChanged()
{
    QWidget* active = QApplication::activeWindow();
    bool ours = dynamic_cast<WindowWidget*>(active) != nullptr;
    // Between the two windows no window may be active at all.
    if (active && !ours && active != &popup_) foreignWasActive_ = true;
    if (!ours) return;
    if (foreignWasActive_) focused_ = nullptr;
    foreignWasActive_ = false;
    if (QAccessible::isActive()) announceFocus();
}

// What a program says on its status bar (a result, a refusal) reaches the
// reader as the bar's new name: each bar of a shown window is told of from
// the start.
void Accessibility::announceStatusBars()
{
    for (tk::TCustomForm* form : tk::Application->windows()) {
        if (!form->visible() || !platform_.widgetOf(form)) continue;
        for (tk::TComponent* c : form->components())
            if (auto* bar = tk::as<tk::TStatusBar>(c); bar && !registered(bar)) interfaceOf(bar);
    }
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
    announceStatusBars();
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
