// The status bar and its notification.
#include "gui/AccessibleStatusBar.h"

#include "gui/Accessibility.h"
#include "gui/AccessibleNames.h"
#include "toolkit/widgets/StatusBar.h"

namespace gui {

namespace {

class AccessibleStatusNote : public QAccessibleInterface {
public:
    explicit AccessibleStatusNote(tk::TStatusBar& bar) : bar_(&bar) {}

    bool isValid() const override { return bar_.get() != nullptr; }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override
    {
        Accessibility* a = Accessibility::current();
        return a && bar_ ? a->interfaceOf(bar_.get()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        if (!bar_ || t != QAccessible::Name) return {};
        return QString::fromStdString(accessibleName(*bar_));
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        return bar_ ? screenRectOf(*bar_, QRect(0, 0, bar_->width(), bar_->height())) : QRect();
    }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!bar_) {
            s.invalid = true;
            return s;
        }
        s.invisible = !bar_->isShowing() || text(QAccessible::Name).isEmpty();
        return s;
    }

private:
    tk::ComponentRef<tk::TStatusBar> bar_;
};

}  // namespace

AccessibleStatusBar::AccessibleStatusBar(tk::TStatusBar& bar) : AccessibleControl(bar) {}

QAccessibleInterface* AccessibleStatusBar::notification() const
{
    auto* bar = static_cast<tk::TStatusBar*>(control_.get());
    if (!bar) return nullptr;
    if (!note_) note_ = QAccessible::registerAccessibleInterface(new AccessibleStatusNote(*bar));
    return QAccessible::accessibleInterface(note_);
}

QAccessibleInterface* AccessibleStatusBar::child(int index) const
{
    return index == 0 ? notification() : nullptr;
}

QAccessibleInterface* AccessibleStatusBar::childAt(int x, int y) const
{
    QAccessibleInterface* note = notification();
    return note && note->rect().contains(x, y) ? note : nullptr;
}

int AccessibleStatusBar::indexOfChild(const QAccessibleInterface* child) const
{
    return child && child == notification() ? 0 : -1;
}

std::vector<QAccessible::Id> AccessibleStatusBar::takeParts()
{
    std::vector<QAccessible::Id> ids;
    if (note_) ids.push_back(note_);
    note_ = 0;
    return ids;
}

}  // namespace gui
