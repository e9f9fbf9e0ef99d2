// The accessible interfaces of the Qt widgets that show model windows: a
// window widget reads as its model window (a window, a dialog or a
// message) whose children are the model's controls; the popup widget as
// the open menu with its items, or as the list or calendar it shows.
#pragma once

#include "toolkit/core/ComponentRef.h"

#include <QAccessibleWidget>

namespace tk {
class TMenuItem;
class TPopupMenu;
}  // namespace tk

namespace gui {

class WindowWidget;
class PopupWidget;

class AccessibleWindow : public QAccessibleWidget {
public:
    explicit AccessibleWindow(WindowWidget* widget);
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* focusChild() const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::Role role() const override;

private:
    WindowWidget* windowWidget() const;
};

class AccessiblePopup : public QAccessibleWidget {
public:
    explicit AccessiblePopup(PopupWidget* widget);
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* focusChild() const override;
    QString text(QAccessible::Text t) const override;
    QAccessible::Role role() const override;
};

// An item of the open menu; pressing it chooses it as a click does.
class AccessibleMenuItem : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    explicit AccessibleMenuItem(tk::TMenuItem& item);
    tk::TMenuItem* item() const { return item_.get(); }

    bool isValid() const override { return item_.get() != nullptr; }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override;

private:
    // Where the item stands in the open menu: its index, or -1.
    int shownIndex(tk::TPopupMenu** menu) const;
    tk::ComponentRef<tk::TMenuItem> item_;
};

}  // namespace gui
