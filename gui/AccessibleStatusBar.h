// A status bar as a reader hears it: a status bar named by what it says,
// holding one notification of the same text. Screen readers follow the
// focus and pass over a name that changes elsewhere; a notification that
// is shown they speak wherever it is. Each new text shows the notification
// again (Accessibility tells it), so a result or a refusal is spoken once.
#pragma once

#include "gui/AccessibleControl.h"

namespace tk {
class TStatusBar;
}

namespace gui {

class AccessibleStatusBar : public AccessibleControl {
public:
    explicit AccessibleStatusBar(tk::TStatusBar& bar);

    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override { return 1; }
    int indexOfChild(const QAccessibleInterface* child) const override;
    std::vector<QAccessible::Id> takeParts() override;

    // The notification, made on first asking.
    QAccessibleInterface* notification() const;

private:
    mutable QAccessible::Id note_ = 0;
};

}  // namespace gui
