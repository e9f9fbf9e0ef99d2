// A radio group as a reader walks it: a grouping whose children are its
// choices, each a radio button with its caption, checked when chosen, and
// chosen by its press action as a click chooses it. The choices are made
// when asked for and dropped with the group.
#pragma once

#include "gui/AccessibleControl.h"

#include <map>

namespace tk {
class TRadioGroup;
}

namespace gui {

class AccessibleRadioGroup : public AccessibleControl {
public:
    explicit AccessibleRadioGroup(tk::TRadioGroup& group);
    tk::TRadioGroup* group() const;

    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    // The chosen item, where the reader's focus is while the group has it.
    QAccessibleInterface* focusChild() const override;
    std::vector<QAccessible::Id> takeParts() override;

private:
    mutable std::map<int, QAccessible::Id> items_;
};

}  // namespace gui
