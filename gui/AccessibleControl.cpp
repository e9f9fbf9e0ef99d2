// Accessible interfaces of model controls.
#include "gui/AccessibleControl.h"

#include "gui/Accessibility.h"
#include "gui/AccessibleNames.h"
#include "gui/QtPlatform.h"
#include "gui/WindowWidget.h"
#include "toolkit/text/Locale.h"
#include "toolkit/text/Text.h"
#include "toolkit/widgets/Buttons.h"
#include "toolkit/widgets/CheckBox.h"
#include "toolkit/widgets/ComboBox.h"
#include "toolkit/widgets/DateTimePicker.h"
#include "toolkit/widgets/Edit.h"
#include "toolkit/widgets/Labels.h"
#include "toolkit/widgets/PageControl.h"
#include "toolkit/widgets/RadioGroup.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Form.h"

#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <algorithm>
#include <cstdio>

namespace gui {

QRect screenRectOf(const tk::TControl& control, QRect client)
{
    tk::TCustomForm* form = control.parentForm();
    Accessibility* a = Accessibility::current();
    WindowWidget* widget = a && form ? a->platform().widgetOf(form) : nullptr;
    tk::TPoint p = control.clientToScreen({client.left(), client.top()});
    QPoint at = widget ? widget->mapToGlobal(widget->widgetPoint(p)) : QPoint(p.x, p.y);
    return QRect(at, client.size());
}

AccessibleControl::AccessibleControl(tk::TControl& control) : control_(&control) {}

tk::TCustomEdit* AccessibleControl::edit() const
{
    return dynamic_cast<tk::TCustomEdit*>(control_.get());
}

tk::TDateTimePicker* AccessibleControl::datePicker() const
{
    return dynamic_cast<tk::TDateTimePicker*>(control_.get());
}

QWindow* AccessibleControl::window() const
{
    Accessibility* a = Accessibility::current();
    tk::TCustomForm* form = control_ ? control_->parentForm() : nullptr;
    WindowWidget* widget = a && form ? a->platform().widgetOf(form) : nullptr;
    return widget ? widget->windowHandle() : nullptr;
}

QList<QPair<QAccessibleInterface*, QAccessible::Relation>> AccessibleControl::relations(
    QAccessible::Relation match) const
{
    QList<QPair<QAccessibleInterface*, QAccessible::Relation>> found;
    Accessibility* a = Accessibility::current();
    if (!control_ || !a || !(match & QAccessible::Label)) return found;
    if (const tk::TControl* label = labelledBy(*control_))
        if (QAccessibleInterface* i = a->interfaceOf(const_cast<tk::TControl*>(label)))
            found.append({i, QAccessible::Label});
    return found;
}

std::vector<tk::TControl*> readingOrder(const tk::TControl& control)
{
    std::vector<tk::TControl*> children;
    auto* w = dynamic_cast<const tk::TWinControl*>(&control);
    if (!w) return children;
    // A page control's children are its pages, in the order of their tabs.
    if (auto* pages = dynamic_cast<const tk::TPageControl*>(w)) {
        for (tk::TTabSheet* page : pages->pages())
            if (page->tabVisible()) children.push_back(page);
        return children;
    }
    // Reading order: line by line, each left to right. A control whose
    // middle is above the line's lowest edge so far stands on that line.
    std::vector<tk::TControl*> byTop = w->controls();
    std::stable_sort(byTop.begin(), byTop.end(),
                     [](const tk::TControl* a, const tk::TControl* b) { return a->top() < b->top(); });
    auto byLeft = [](const tk::TControl* a, const tk::TControl* b) { return a->left() < b->left(); };
    size_t lineStart = 0;
    int lineBottom = 0;
    for (size_t i = 0; i < byTop.size(); ++i) {
        tk::TControl* c = byTop[i];
        if (i > lineStart && c->top() + c->height() / 2 >= lineBottom) {
            std::stable_sort(byTop.begin() + lineStart, byTop.begin() + i, byLeft);
            lineStart = i;
        }
        lineBottom = i == lineStart ? c->top() + c->height() : std::max(lineBottom, c->top() + c->height());
    }
    std::stable_sort(byTop.begin() + lineStart, byTop.end(), byLeft);
    return byTop;
}

std::vector<tk::TControl*> AccessibleControl::shownChildren() const
{
    return control_ ? readingOrder(*control_) : std::vector<tk::TControl*>{};
}

QAccessibleInterface* AccessibleControl::childAt(int x, int y) const
{
    Accessibility* a = Accessibility::current();
    if (!a) return nullptr;
    for (tk::TControl* c : shownChildren())
        if (c->isShowing())
            if (QAccessibleInterface* i = a->interfaceOf(c); i && i->rect().contains(x, y)) return i;
    return nullptr;
}

QAccessibleInterface* AccessibleControl::parent() const
{
    Accessibility* a = Accessibility::current();
    if (!control_ || !a) return nullptr;
    tk::TControl* up = control_->parent();
    if (auto* page = dynamic_cast<tk::TTabSheet*>(control_.get()); page && page->pageControl())
        up = page->pageControl();
    if (!up) return nullptr;
    if (auto* form = dynamic_cast<tk::TCustomForm*>(up)) return a->windowInterface(form);
    return a->interfaceOf(up);
}

QAccessibleInterface* AccessibleControl::child(int index) const
{
    std::vector<tk::TControl*> children = shownChildren();
    Accessibility* a = Accessibility::current();
    if (!a || index < 0 || index >= static_cast<int>(children.size())) return nullptr;
    return a->interfaceOf(children[index]);
}

int AccessibleControl::childCount() const
{
    return static_cast<int>(shownChildren().size());
}

int AccessibleControl::indexOfChild(const QAccessibleInterface* child) const
{
    auto* c = dynamic_cast<const AccessibleControl*>(child);
    if (!c) return -1;
    std::vector<tk::TControl*> children = shownChildren();
    auto it = std::find(children.begin(), children.end(), c->control());
    return it == children.end() ? -1 : static_cast<int>(it - children.begin());
}

QString AccessibleControl::value() const
{
    tk::TControl* c = control_.get();
    if (!c) return {};
    if (auto* e = dynamic_cast<tk::TCustomEdit*>(c)) return QString::fromStdString(e->displayText());
    if (auto* d = dynamic_cast<tk::TDateTimePicker*>(c)) return QString::fromStdString(d->displayText());
    if (auto* b = dynamic_cast<tk::TComboBox*>(c)) return QString::fromStdString(b->text());
    if (auto* r = dynamic_cast<tk::TRadioGroup*>(c); r && r->itemIndex() >= 0)
        return QString::fromStdString(tk::stripAccelerator(r->items()[static_cast<size_t>(r->itemIndex())]));
    return {};
}

QString AccessibleControl::text(QAccessible::Text t) const
{
    if (!control_) return {};
    switch (t) {
    case QAccessible::Name: return QString::fromStdString(accessibleName(*control_));
    case QAccessible::Description: return QString::fromStdString(accessibleDescription(*control_));
    case QAccessible::Value: return value();
    case QAccessible::Help: return QString::fromStdString(control_->hint());
    default: return {};
    }
}

void AccessibleControl::setText(QAccessible::Text t, const QString& text)
{
    if (t == QAccessible::Value && hasText()) replaceText(0, characterCount(), text);
}

QRect AccessibleControl::rect() const
{
    if (!control_) return {};
    return screenRectOf(*control_, QRect(0, 0, control_->width(), control_->height()));
}

QAccessible::Role AccessibleControl::role() const
{
    return control_ ? accessibleRole(*control_) : QAccessible::NoRole;
}

QAccessible::State AccessibleControl::state() const
{
    QAccessible::State s;
    tk::TControl* c = control_.get();
    if (!c) {
        s.invalid = true;
        return s;
    }
    auto* w = dynamic_cast<tk::TWinControl*>(c);
    s.invisible = !c->isShowing();
    s.disabled = !c->isEnabledTree();
    s.focusable = w && w->tabStop() && !dynamic_cast<tk::TTabSheet*>(c) && role() != QAccessible::Pane;
    s.focused = tk::Application && tk::Application->focusedControl() == c;
    if (auto* box = dynamic_cast<tk::TCheckBox*>(c)) {
        s.checkable = true;
        s.checked = box->checked();
        s.checkStateMixed = box->state() == tk::TCheckBoxState::cbGrayed;
    }
    if (auto* tool = dynamic_cast<tk::TSpeedButton*>(c); tool && tool->groupIndex() != 0) {
        s.checkable = true;
        s.checked = tool->down();
    }
    if (auto* button = dynamic_cast<tk::TButton*>(c)) s.defaultButton = button->isDefault();
    if (auto* e = dynamic_cast<tk::TCustomEdit*>(c)) {
        s.editable = !e->readOnly();
        s.readOnly = e->readOnly();
        s.selectableText = true;
        s.passwordEdit = e->passwordChar() != 0;
    }
    if (auto* picker = dynamic_cast<tk::TDateTimePicker*>(c)) {
        // Its check box: whether a date is given at all.
        s.editable = true;
        s.checkable = picker->showCheckbox();
        s.checked = picker->showCheckbox() && picker->checked();
    }
    if (auto* page = dynamic_cast<tk::TTabSheet*>(c)) {
        s.selectable = true;
        s.selected = page->pageControl() && page->pageControl()->activePage() == page;
        s.invisible = !page->pageControl() || !page->pageControl()->isShowing();
    }
    return s;
}

void* AccessibleControl::interface_cast(QAccessible::InterfaceType type)
{
    switch (type) {
    case QAccessible::ActionInterface: return static_cast<QAccessibleActionInterface*>(this);
    case QAccessible::TextInterface: return hasText() ? static_cast<QAccessibleTextInterface*>(this) : nullptr;
    case QAccessible::EditableTextInterface:
        return hasText() ? static_cast<QAccessibleEditableTextInterface*>(this) : nullptr;
    case QAccessible::ValueInterface: return datePicker() ? static_cast<QAccessibleValueInterface*>(this) : nullptr;
    default: return nullptr;
    }
}

QStringList AccessibleControl::actionNames() const
{
    tk::TControl* c = control_.get();
    QStringList names;
    if (!c) return names;
    if (dynamic_cast<tk::TCheckBox*>(c)) names << toggleAction();
    else if (role() == QAccessible::Button || dynamic_cast<tk::TTabSheet*>(c)) names << pressAction();
    if (state().focusable) names << setFocusAction();
    return names;
}

void AccessibleControl::doAction(const QString& actionName)
{
    // Later, as Qt's own buttons click: a press may open a modal window,
    // whose loop must not run inside the reader's call.
    tk::ComponentRef<tk::TControl> target = control_;
    QString action = actionName;
    QTimer::singleShot(0, [target, action] {
        tk::TControl* c = target.get();
        auto* page = dynamic_cast<tk::TTabSheet*>(c);
        tk::TControl* shown = page && page->pageControl() ? page->pageControl() : c;
        if (!c || !tk::Application || !shown->isShowing() || !shown->isEnabledTree()) return;
        if (action == setFocusAction()) {
            if (auto* w = dynamic_cast<tk::TWinControl*>(c)) w->setFocus();
        } else if (page) {
            // A click on its tab, as a person chooses it (the design
            // surface too takes the page that way).
            if (tk::TPageControl* pages = page->pageControl())
                for (const tk::TPageControl::Tab& tab : pages->tabs())
                    if (tab.page == page)
                        tk::Application->click(
                            pages, {(tab.rect.left + tab.rect.right) / 2, (tab.rect.top + tab.rect.bottom) / 2});
        } else if (action == pressAction() || action == toggleAction()) {
            tk::Application->click(c);
        }
        if (Accessibility* a = Accessibility::current()) a->platform().sync();
    });
}

// The value interface, for date fields.

QVariant AccessibleControl::currentValue() const
{
    tk::TDateTimePicker* picker = datePicker();
    return picker ? QVariant(picker->date()) : QVariant();
}

void AccessibleControl::setCurrentValue(const QVariant& value)
{
    tk::TDateTimePicker* picker = datePicker();
    bool ok = false;
    double day = value.toDouble(&ok);
    if (!picker || !ok || !picker->isShowing() || !picker->isEnabledTree()) return;
    int y = 0, m = 0, d = 0;
    tk::decodeDate(day, y, m, d);
    if (!tk::isValidDate(y, m, d)) return;
    char iso[16];
    std::snprintf(iso, sizeof iso, "%04d-%02d-%02d", y, m, d);
    picker->enterText(iso);
    if (Accessibility* a = Accessibility::current()) a->platform().sync();
}

QVariant AccessibleControl::maximumValue() const
{
    tk::TDateTimePicker* picker = datePicker();
    if (!picker) return {};
    return picker->maxDate() != 0 ? picker->maxDate() : tk::encodeDate(9999, 12, 31);
}

QVariant AccessibleControl::minimumValue() const
{
    tk::TDateTimePicker* picker = datePicker();
    if (!picker) return {};
    return picker->minDate() != 0 ? picker->minDate() : tk::encodeDate(1, 1, 1);
}

// The text interface, for edit boxes and date fields.

void AccessibleControl::selection(int selectionIndex, int* startOffset, int* endOffset) const
{
    *startOffset = *endOffset = 0;
    if (tk::TCustomEdit* e = edit(); e && selectionIndex == 0 && e->selLength() > 0) {
        *startOffset = e->selStart();
        *endOffset = e->selStart() + e->selLength();
    }
}

int AccessibleControl::selectionCount() const
{
    tk::TCustomEdit* e = edit();
    return e && e->selLength() > 0 ? 1 : 0;
}

void AccessibleControl::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void AccessibleControl::removeSelection(int)
{
    if (tk::TCustomEdit* e = edit()) e->setSelLength(0);
}

void AccessibleControl::setSelection(int, int startOffset, int endOffset)
{
    if (tk::TCustomEdit* e = edit()) {
        int n = characterCount();
        startOffset = std::clamp(startOffset, 0, n);
        endOffset = std::clamp(endOffset, startOffset, n);
        e->setSelStart(startOffset);
        e->setSelLength(endOffset - startOffset);
    }
}

int AccessibleControl::cursorPosition() const
{
    tk::TCustomEdit* e = edit();
    return e ? e->caretPos() : 0;
}

void AccessibleControl::setCursorPosition(int position)
{
    setSelection(0, position, position);
}

QString AccessibleControl::text(int startOffset, int endOffset) const
{
    QString all = value();
    startOffset = std::clamp(startOffset, 0, static_cast<int>(all.size()));
    endOffset =
        endOffset < 0 ? static_cast<int>(all.size()) : std::clamp(endOffset, startOffset, static_cast<int>(all.size()));
    return all.mid(startOffset, endOffset - startOffset);
}

int AccessibleControl::characterCount() const
{
    return static_cast<int>(value().size());
}

QRect AccessibleControl::characterRect(int offset) const
{
    tk::TCustomEdit* e = edit();
    if (!e || offset < 0 || offset >= characterCount()) return {};
    int x = e->xOfPosition(offset), next = e->xOfPosition(offset + 1);
    int h = e->textHeight();
    return screenRectOf(*e, QRect(x, (e->height() - h) / 2, std::max(1, next - x), h));
}

int AccessibleControl::offsetAtPoint(const QPoint& point) const
{
    tk::TCustomEdit* e = edit();
    if (!e) return -1;
    QRect r = rect();
    if (!r.contains(point)) return -1;
    return e->positionAt(point.x() - r.left());
}

QString AccessibleControl::attributes(int offset, int* startOffset, int* endOffset) const
{
    *startOffset = *endOffset = offset;
    return {};
}

void AccessibleControl::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, {});
}

void AccessibleControl::insertText(int offset, const QString& text)
{
    replaceText(offset, offset, text);
}

void AccessibleControl::replaceText(int startOffset, int endOffset, const QString& text)
{
    if (tk::TDateTimePicker* picker = datePicker()) {
        // The whole date as it would read after the change: set when it
        // is a date, as a person's pick sets it.
        if (!tk::Application || !picker->isShowing() || !picker->isEnabledTree()) return;
        QString date = value();
        startOffset = std::clamp(startOffset, 0, static_cast<int>(date.size()));
        endOffset = std::clamp(endOffset, startOffset, static_cast<int>(date.size()));
        date.replace(startOffset, endOffset - startOffset, text);
        picker->enterText(date.toStdString());
        if (Accessibility* a = Accessibility::current()) a->platform().sync();
        return;
    }
    tk::TCustomEdit* e = edit();
    if (!e || !tk::Application || !e->isShowing() || !e->isEnabledTree()) return;
    if (!e->focused()) {
        if (tk::TCustomForm* form = e->parentForm(); form && tk::Application->activeForm() != form) form->activate();
        e->setFocus();
        if (!e->focused()) return;
    }
    setSelection(0, startOffset, endOffset);
    if (text.isEmpty()) {
        if (e->selLength() > 0) {
            tk::Application->keyDown(tk::vk::Delete, 0);
            tk::Application->keyUp(tk::vk::Delete, 0);
        }
    } else {
        tk::Application->typeText(text.toStdString());
    }
    if (Accessibility* a = Accessibility::current()) a->platform().sync();
}

}  // namespace gui
