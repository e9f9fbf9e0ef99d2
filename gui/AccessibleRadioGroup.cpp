// Radio groups and their choices for a reader.
#include "gui/AccessibleRadioGroup.h"

#include "gui/Accessibility.h"
#include "gui/AccessiblePart.h"
#include "gui/QtPlatform.h"
#include "toolkit/widgets/Labels.h"
#include "toolkit/widgets/RadioGroup.h"
#include "toolkit/windows/Application.h"

#include <QTimer>

namespace gui {

namespace {

class AccessibleRadioItem : public AccessiblePart, public QAccessibleActionInterface {
public:
    AccessibleRadioItem(tk::TRadioGroup& group, int index) : AccessiblePart(group), index_(index) {}
    int index() const { return index_; }

    bool isValid() const override { return group() && index_ < static_cast<int>(group()->items().size()); }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid() || t != QAccessible::Name) return {};
        return QString::fromStdString(tk::stripAccelerator(group()->items()[static_cast<size_t>(index_)]));
    }
    QRect rect() const override
    {
        if (!isValid()) return {};
        tk::TRect r = group()->itemRect(index_);
        return screenRectOf(*group(), QRect(r.left, r.top, r.width(), r.bottom - r.top));
    }
    QAccessible::Role role() const override { return QAccessible::RadioButton; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.checkable = true;
        s.checked = group()->itemIndex() == index_;
        s.disabled = !group()->isEnabledTree() || !group()->itemEnabled(index_);
        s.invisible = !group()->isShowing();
        s.focusable = true;
        s.focused = s.checked && tk::Application && tk::Application->focusedControl() == group();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& action) override
    {
        if (action != pressAction()) return;
        // Later, as a click: choosing may open a window of its own.
        tk::ComponentRef<tk::TRadioGroup> chosen = group();
        int index = index_;
        QTimer::singleShot(0, [chosen, index] {
            tk::TRadioGroup* g = chosen.get();
            if (!g || !tk::Application || !g->isShowing() || !g->isEnabledTree() || !g->itemEnabled(index)) return;
            tk::TRect r = g->itemRect(index);
            tk::Application->click(g, {r.left + 6, (r.top + r.bottom) / 2});
            if (Accessibility* a = Accessibility::current()) a->platform().sync();
        });
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    tk::TRadioGroup* group() const { return static_cast<tk::TRadioGroup*>(owner_.get()); }
    int index_;
};

}  // namespace

AccessibleRadioGroup::AccessibleRadioGroup(tk::TRadioGroup& group) : AccessibleControl(group) {}

tk::TRadioGroup* AccessibleRadioGroup::group() const
{
    return static_cast<tk::TRadioGroup*>(control_.get());
}

int AccessibleRadioGroup::childCount() const
{
    return group() ? static_cast<int>(group()->items().size()) : 0;
}

QAccessibleInterface* AccessibleRadioGroup::child(int index) const
{
    if (index < 0 || index >= childCount()) return nullptr;
    auto& id = items_[index];
    if (!id) id = QAccessible::registerAccessibleInterface(new AccessibleRadioItem(*group(), index));
    return QAccessible::accessibleInterface(id);
}

int AccessibleRadioGroup::indexOfChild(const QAccessibleInterface* child) const
{
    auto* item = dynamic_cast<const AccessibleRadioItem*>(child);
    return item && item->parent() == this ? item->index() : -1;
}

QAccessibleInterface* AccessibleRadioGroup::childAt(int x, int y) const
{
    for (int i = 0; i < childCount(); ++i)
        if (QAccessibleInterface* item = child(i); item && item->rect().contains(x, y)) return item;
    return nullptr;
}

QAccessibleInterface* AccessibleRadioGroup::focusChild() const
{
    return group() ? child(group()->itemIndex()) : nullptr;
}

std::vector<QAccessible::Id> AccessibleRadioGroup::takeParts()
{
    std::vector<QAccessible::Id> ids;
    for (auto& [index, id] : items_) ids.push_back(id);
    items_.clear();
    return ids;
}

}  // namespace gui
