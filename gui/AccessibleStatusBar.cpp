// The status bar and its notification.
#include "gui/AccessibleStatusBar.h"

#include "gui/Accessibility.h"
#include "gui/AccessibleNames.h"
#include "gui/AccessiblePart.h"
#include "toolkit/widgets/StatusBar.h"

namespace gui {

namespace {

class AccessibleStatusNote : public AccessiblePart {
public:
    explicit AccessibleStatusNote(tk::TStatusBar& bar) : AccessiblePart(bar) {}

    QString text(QAccessible::Text t) const override
    {
        if (!owner_ || t != QAccessible::Name) return {};
        return QString::fromStdString(accessibleName(*owner_));
    }
    QRect rect() const override
    {
        return owner_ ? screenRectOf(*owner_, QRect(0, 0, owner_->width(), owner_->height())) : QRect();
    }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!owner_) {
            s.invalid = true;
            return s;
        }
        s.invisible = !owner_->isShowing() || text(QAccessible::Name).isEmpty();
        return s;
    }
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
