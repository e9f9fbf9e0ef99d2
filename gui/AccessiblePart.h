// A part of a model control that a reader sees as an object of its own (a
// radio group's choice, a status bar's notification): it has no children
// and no QObject, and its control's interface is its parent. The part
// follows its control through a reference that turns into none when the
// control is destroyed.
#pragma once

#include "gui/Accessibility.h"
#include "toolkit/core/ComponentRef.h"
#include "toolkit/widgets/Control.h"

#include <QAccessible>

namespace gui {

class AccessiblePart : public QAccessibleInterface {
public:
    explicit AccessiblePart(tk::TControl& owner) : owner_(&owner) {}

    bool isValid() const override { return owner_.get() != nullptr; }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override
    {
        Accessibility* a = Accessibility::current();
        return a && owner_ ? a->interfaceOf(owner_.get()) : nullptr;
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void setText(QAccessible::Text, const QString&) override {}

protected:
    tk::ComponentRef<tk::TControl> owner_;
};

}  // namespace gui
