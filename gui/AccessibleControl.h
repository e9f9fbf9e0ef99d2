// The accessible interface of one model control: its place in the tree of
// its window, role, name, value, states and bounds; the text of an edit
// box or a date field, with typing into it as a person types; a date
// field's day as its value; and pressing, toggling and
// focusing as actions. Model controls are not QObjects: the interface
// follows its control through a reference that turns into none when the
// control is destroyed, and the registry then drops it.
#pragma once

#include "toolkit/core/ComponentRef.h"

#include <QAccessible>

namespace tk {
class TControl;
class TCustomEdit;
class TDateTimePicker;
}  // namespace tk

namespace gui {

class AccessibleControl : public QAccessibleInterface,
                          public QAccessibleActionInterface,
                          public QAccessibleTextInterface,
                          public QAccessibleEditableTextInterface,
                          public QAccessibleValueInterface {
public:
    explicit AccessibleControl(tk::TControl& control);
    tk::TControl* control() const { return control_.get(); }

    bool isValid() const override { return control_.get() != nullptr; }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> relations(
        QAccessible::Relation match = QAccessible::AllRelations) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString& text) override;
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    // Actions: press (buttons, tabs), toggle (check boxes), focus.
    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    // The text of an edit box, as drawn (a password as its characters).
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint& point) const override;
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* startOffset, int* endOffset) const override;

    // Editing types into the box, as the keyboard does, so that the box's
    // own rules (length, digits only, read-only) hold.
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString& text) override;
    void replaceText(int startOffset, int endOffset, const QString& text) override;

    // A date field's date as a day number (day 0 is 30 December 1899),
    // within its MinDate and MaxDate where they are set; setting it picks
    // that day.
    QVariant currentValue() const override;
    void setCurrentValue(const QVariant& value) override;
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override { return 1; }

    // The value a reader is told of: an edit's text, a check box's state,
    // a date field's date, a tab's page being shown.
    QString value() const;
    std::vector<tk::TControl*> shownChildren() const;
    // Parts of the control that have interfaces of their own (a grid's
    // cells, a radio group's choices), taken for the registry to drop.
    virtual std::vector<QAccessible::Id> takeParts() { return {}; }

protected:
    tk::TCustomEdit* edit() const;
    tk::TDateTimePicker* datePicker() const;
    // An edit box or a date field: what has text to read and to set.
    bool hasText() const { return edit() || datePicker(); }
    tk::ComponentRef<tk::TControl> control_;
};

// The children of a model control a reader sees: a page control's pages in
// the order of their tabs, else the child controls in reading order.
std::vector<tk::TControl*> readingOrder(const tk::TControl& control);

// The screen rectangle of a rectangle in a control's client coordinates,
// where its window's widget really stands.
QRect screenRectOf(const tk::TControl& control, QRect client);

}  // namespace gui
