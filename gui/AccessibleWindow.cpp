// Accessible windows, the popup and menu items.
#include "gui/AccessibleWindow.h"

#include "gui/Accessibility.h"
#include "gui/AccessibleControl.h"
#include "gui/AccessibleNames.h"
#include "gui/QtPlatform.h"
#include "gui/WindowWidget.h"
#include "toolkit/widgets/Labels.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Form.h"
#include "toolkit/windows/Menus.h"

#include <QTimer>

namespace gui {

namespace {

tk::TPopupMenu* openMenu()
{
    tk::TPopup* popup = tk::Application ? tk::Application->popup() : nullptr;
    return popup ? dynamic_cast<tk::TPopupMenu*>(popup->popupAsComponent()) : nullptr;
}

std::vector<tk::TControl*> windowChildren(tk::TCustomForm& form)
{
    return readingOrder(form);
}

// Where an item stands in the open menu: its index, or -1.
int shownIndexOf(const tk::TMenuItem* item, tk::TPopupMenu** menu)
{
    *menu = openMenu();
    if (!*menu || !item) return -1;
    std::vector<tk::TMenuItem*> items = (*menu)->visibleItems();
    auto it = std::find(items.begin(), items.end(), item);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

}  // namespace

AccessibleWindow::AccessibleWindow(WindowWidget* widget) : QAccessibleWidget(widget, QAccessible::Window) {}

WindowWidget* AccessibleWindow::windowWidget() const
{
    return static_cast<WindowWidget*>(widget());
}

int AccessibleWindow::childCount() const
{
    return static_cast<int>(windowChildren(windowWidget()->form()).size());
}

QAccessibleInterface* AccessibleWindow::child(int index) const
{
    std::vector<tk::TControl*> children = windowChildren(windowWidget()->form());
    Accessibility* a = Accessibility::current();
    if (!a || index < 0 || index >= static_cast<int>(children.size())) return nullptr;
    return a->interfaceOf(children[index]);
}

int AccessibleWindow::indexOfChild(const QAccessibleInterface* child) const
{
    auto* c = dynamic_cast<const AccessibleControl*>(child);
    if (!c) return -1;
    std::vector<tk::TControl*> children = windowChildren(windowWidget()->form());
    auto it = std::find(children.begin(), children.end(), c->control());
    return it == children.end() ? -1 : static_cast<int>(it - children.begin());
}

QAccessibleInterface* AccessibleWindow::childAt(int x, int y) const
{
    Accessibility* a = Accessibility::current();
    if (!a) return nullptr;
    for (tk::TControl* c : windowChildren(windowWidget()->form()))
        if (c->isShowing())
            if (QAccessibleInterface* i = a->interfaceOf(c); i && i->rect().contains(x, y)) return i;
    return nullptr;
}

QAccessibleInterface* AccessibleWindow::focusChild() const
{
    Accessibility* a = Accessibility::current();
    tk::TWinControl* focused = tk::Application ? tk::Application->focusedControl() : nullptr;
    if (!a || !focused || focused->parentForm() != &windowWidget()->form()) return nullptr;
    return a->interfaceOf(focused);
}

QString AccessibleWindow::text(QAccessible::Text t) const
{
    tk::TCustomForm& form = windowWidget()->form();
    if (t == QAccessible::Name) return QString::fromStdString(form.caption());
    // A message reads out its text, as a message box's description does.
    if (t == QAccessible::Description && role() == QAccessible::AlertMessage) {
        QStringList said;
        for (tk::TControl* c : windowChildren(form))
            if (dynamic_cast<tk::TLabel*>(c) || dynamic_cast<tk::TStaticText*>(c))
                said << QString::fromStdString(tk::stripAccelerator(c->caption()));
        return said.join(QLatin1Char(' '));
    }
    return QAccessibleWidget::text(t);
}

QAccessible::Role AccessibleWindow::role() const
{
    return windowRole(windowWidget()->form());
}

AccessiblePopup::AccessiblePopup(PopupWidget* widget) : QAccessibleWidget(widget, QAccessible::PopupMenu) {}

QAccessible::Role AccessiblePopup::role() const
{
    if (openMenu()) return QAccessible::PopupMenu;
    tk::TPopup* popup = tk::Application ? tk::Application->popup() : nullptr;
    return popup && popup->popupOwner() && accessibleRole(*popup->popupOwner()) == QAccessible::ComboBox
               ? QAccessible::List
               : QAccessible::Client;
}

QString AccessiblePopup::text(QAccessible::Text t) const
{
    // An opened item's menu is named by the item ("Dokumentum").
    if (tk::TPopupMenu* menu = openMenu(); menu && t == QAccessible::Name && menu->shownItem() != menu->items())
        return QString::fromStdString(spokenCaption(menu->shownItem()->caption()));
    tk::TPopup* popup = tk::Application ? tk::Application->popup() : nullptr;
    if (t == QAccessible::Name && popup && popup->popupOwner())
        return QString::fromStdString(accessibleName(*popup->popupOwner()));
    return QAccessibleWidget::text(t);
}

int AccessiblePopup::childCount() const
{
    tk::TPopupMenu* menu = openMenu();
    return menu ? static_cast<int>(menu->visibleItems().size()) : 0;
}

QAccessibleInterface* AccessiblePopup::child(int index) const
{
    tk::TPopupMenu* menu = openMenu();
    Accessibility* a = Accessibility::current();
    if (!menu || !a) return nullptr;
    std::vector<tk::TMenuItem*> items = menu->visibleItems();
    return index >= 0 && index < static_cast<int>(items.size()) ? a->interfaceOf(items[index]) : nullptr;
}

int AccessiblePopup::indexOfChild(const QAccessibleInterface* child) const
{
    auto* item = dynamic_cast<const AccessibleMenuItem*>(child);
    tk::TPopupMenu* menu = openMenu();
    if (!item || !menu) return -1;
    std::vector<tk::TMenuItem*> items = menu->visibleItems();
    auto it = std::find(items.begin(), items.end(), item->item());
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

QAccessibleInterface* AccessiblePopup::focusChild() const
{
    tk::TPopupMenu* menu = openMenu();
    return menu && menu->highlighted() >= 0 ? child(menu->highlighted()) : nullptr;
}

AccessibleMenuItem::AccessibleMenuItem(tk::TMenuItem& item) : item_(&item) {}

int AccessibleMenuItem::shownIndex(tk::TPopupMenu** menu) const
{
    return shownIndexOf(item_.get(), menu);
}

QAccessibleInterface* AccessibleMenuItem::parent() const
{
    Accessibility* a = Accessibility::current();
    return a ? a->popupInterface() : nullptr;
}

QString AccessibleMenuItem::text(QAccessible::Text t) const
{
    if (!item_) return {};
    if (t == QAccessible::Name) return QString::fromStdString(spokenCaption(item_->caption()));
    if (t == QAccessible::Accelerator) return QString::fromStdString(tk::shortCutText(item_->shortCut()));
    return {};
}

QRect AccessibleMenuItem::rect() const
{
    tk::TPopupMenu* menu = nullptr;
    int index = shownIndex(&menu);
    Accessibility* a = Accessibility::current();
    if (index < 0 || !a) return {};
    QRect local(0, 2 + index * tk::TPopupMenu::itemHeight, menu->menuWidth(), tk::TPopupMenu::itemHeight);
    return QRect(a->popupWidget().mapToGlobal(local.topLeft()), local.size());
}

QAccessible::Role AccessibleMenuItem::role() const
{
    return item_ && item_->caption() == "-" ? QAccessible::Separator : QAccessible::MenuItem;
}

QAccessible::State AccessibleMenuItem::state() const
{
    QAccessible::State s;
    tk::TPopupMenu* menu = nullptr;
    int index = shownIndex(&menu);
    if (!item_) {
        s.invalid = true;
        return s;
    }
    s.invisible = index < 0;
    s.disabled = !item_->enabled();
    s.focusable = true;
    s.focused = index >= 0 && menu->highlighted() == index;
    s.checkable = item_->checked();
    s.checked = item_->checked();
    s.hasPopup = item_->count() > 0;
    return s;
}

void* AccessibleMenuItem::interface_cast(QAccessible::InterfaceType type)
{
    return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
}

QStringList AccessibleMenuItem::actionNames() const
{
    return {pressAction()};
}

QStringList AccessibleMenuItem::keyBindingsForAction(const QString& action) const
{
    if (action != pressAction() || !item_ || !item_->shortCut()) return {};
    return {QString::fromStdString(tk::shortCutText(item_->shortCut()))};
}

void AccessibleMenuItem::doAction(const QString& actionName)
{
    if (actionName != pressAction()) return;
    tk::ComponentRef<tk::TMenuItem> target = item_;
    // Chosen later, as a click on it is: the choice may open a modal window.
    QTimer::singleShot(0, [target] {
        tk::TPopupMenu* menu = nullptr;
        int index = shownIndexOf(target.get(), &menu);
        if (index < 0 || !target->enabled()) return;
        tk::TPoint p = menu->position();
        p.x += menu->menuWidth() / 2;
        p.y += 2 + index * tk::TPopupMenu::itemHeight + tk::TPopupMenu::itemHeight / 2;
        tk::Application->mouseMove(0, p);
        tk::Application->mouseDown(tk::TMouseButton::mbLeft, 0, p);
        tk::Application->mouseUp(tk::TMouseButton::mbLeft, 0, p);
        if (Accessibility* a = Accessibility::current()) a->platform().sync();
    });
}

}  // namespace gui
