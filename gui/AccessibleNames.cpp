// Roles, names and descriptions of model controls.
#include "gui/AccessibleNames.h"

#include "toolkit/core/PropertyAccess.h"
#include "toolkit/data/DBGrid.h"
#include "toolkit/widgets/Buttons.h"
#include "toolkit/widgets/CheckBox.h"
#include "toolkit/widgets/ComboBox.h"
#include "toolkit/widgets/DateTimePicker.h"
#include "toolkit/widgets/Edit.h"
#include "toolkit/widgets/Labels.h"
#include "toolkit/widgets/PageControl.h"
#include "toolkit/widgets/Panels.h"
#include "toolkit/widgets/RadioGroup.h"
#include "toolkit/widgets/SpinEdit.h"
#include "toolkit/widgets/StatusBar.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Form.h"
#include "toolkit/windows/HintWindow.h"
#include "toolkit/windows/Overlay.h"

#include <climits>

namespace gui {

namespace {

const tk::TWinControl* boundField(const tk::TControl& label)
{
    if (auto* l = dynamic_cast<const tk::TLabel*>(&label)) return l->focusControl();
    if (auto* s = dynamic_cast<const tk::TStaticText*>(&label)) return s->focusControl();
    return nullptr;
}

bool isCaptionLabel(const tk::TControl& c)
{
    return dynamic_cast<const tk::TLabel*>(&c) || dynamic_cast<const tk::TStaticText*>(&c);
}

bool namedByLabel(const tk::TControl& c)
{
    return dynamic_cast<const tk::TCustomEdit*>(&c) || dynamic_cast<const tk::TDateTimePicker*>(&c) ||
           dynamic_cast<const tk::TComboBox*>(&c) || dynamic_cast<const tk::TDBGrid*>(&c);
}

std::string keyFieldOf(const tk::TControl& c)
{
    return tk::hasProperty(c, "KeyField") ? tk::getPropText(c, "KeyField") : std::string();
}

}  // namespace

QAccessible::Role accessibleRole(const tk::TControl& c)
{
    if (auto* form = dynamic_cast<const tk::TCustomForm*>(&c)) return windowRole(*form);
    // A combo box is an edit box too: it goes first.
    if (dynamic_cast<const tk::TComboBox*>(&c)) return QAccessible::ComboBox;
    if (dynamic_cast<const tk::TSpinEdit*>(&c)) return QAccessible::SpinBox;
    if (dynamic_cast<const tk::TCustomEdit*>(&c)) return QAccessible::EditableText;
    // A date field reads as Qt's own date edit does.
    if (dynamic_cast<const tk::TDateTimePicker*>(&c)) return QAccessible::SpinBox;
    if (dynamic_cast<const tk::TCheckBox*>(&c)) return QAccessible::CheckBox;
    if (dynamic_cast<const tk::TButton*>(&c) || dynamic_cast<const tk::TSpeedButton*>(&c)) return QAccessible::Button;
    if (dynamic_cast<const tk::TPageControl*>(&c)) return QAccessible::PageTabList;
    if (dynamic_cast<const tk::TTabSheet*>(&c)) return QAccessible::PageTab;
    if (isCaptionLabel(c)) return QAccessible::StaticText;
    // A grid of one column is a list to choose from (the lookup list).
    if (auto* grid = dynamic_cast<const tk::TDBGrid*>(&c))
        return grid->columns().size() == 1 ? QAccessible::List : QAccessible::Table;
    if (dynamic_cast<const tk::TStatusBar*>(&c)) return QAccessible::StatusBar;
    if (dynamic_cast<const tk::TRadioGroup*>(&c)) return QAccessible::Grouping;
    if (dynamic_cast<const tk::TBevel*>(&c)) return QAccessible::Separator;
    if (dynamic_cast<const tk::TWinControl*>(&c)) return QAccessible::Pane;
    return QAccessible::Client;
}

QAccessible::Role windowRole(const tk::TCustomForm& form)
{
    // A hint window here says what is wrong with what was typed.
    if (dynamic_cast<const tk::THintWindow*>(&form)) return QAccessible::ToolTip;
    if (!form.isModal()) return QAccessible::Window;
    std::vector<const tk::TControl*> todo{&form};
    while (!todo.empty()) {
        const tk::TControl* c = todo.back();
        todo.pop_back();
        if (c != &form && dynamic_cast<const tk::TWinControl*>(c) && !dynamic_cast<const tk::TButton*>(c) &&
            !dynamic_cast<const tk::TPanel*>(c) && !dynamic_cast<const tk::TStaticText*>(c) && c->isShowing())
            return QAccessible::Dialog;
        if (auto* w = dynamic_cast<const tk::TWinControl*>(c))
            for (const tk::TControl* child : w->controls()) todo.push_back(child);
    }
    return QAccessible::AlertMessage;
}

std::string spokenCaption(const std::string& caption)
{
    std::string text = tk::stripAccelerator(caption);
    while (!text.empty() && (text.back() == ' ' || text.back() == ':')) text.pop_back();
    return text;
}

const tk::TControl* captionLabelOf(const tk::TControl& field)
{
    const tk::TWinControl* parent = field.parent();
    if (!parent) return nullptr;
    // A bound label anywhere on the window wins.
    std::vector<const tk::TControl*> todo{field.parentForm()};
    while (!todo.empty()) {
        const tk::TControl* c = todo.back();
        todo.pop_back();
        if (!c) continue;
        if (boundField(*c) == &field) return c;
        if (auto* w = dynamic_cast<const tk::TWinControl*>(c))
            for (const tk::TControl* child : w->controls()) todo.push_back(child);
    }
    tk::TRect f = field.boundsRect();
    const tk::TControl *left = nullptr, *above = nullptr;
    int leftGap = INT_MAX, aboveGap = INT_MAX;
    for (const tk::TControl* c : parent->controls()) {
        if (c == &field || !isCaptionLabel(*c) || !c->visible() || boundField(*c)) continue;
        tk::TRect l = c->boundsRect();
        int middle = (l.top + l.bottom) / 2;
        if (l.right <= f.left + 4 && middle >= f.top - 4 && middle <= f.bottom + 4 && f.left - l.right < leftGap) {
            leftGap = f.left - l.right;
            left = c;
        }
        if (l.bottom <= f.top + 4 && l.left < f.right && l.right > f.left && f.top - l.bottom < aboveGap) {
            aboveGap = f.top - l.bottom;
            above = c;
        }
    }
    if (left && leftGap <= 200) return left;
    if (above && aboveGap <= 2 * std::max(f.height(), 12)) return above;
    return nullptr;
}

bool onDesignSurface(const tk::TControl& c)
{
    return tk::Application && tk::Application->overlay() && tk::Application->overlay()->designs(c);
}

const tk::TControl* labelledBy(const tk::TControl& c)
{
    return namedByLabel(c) && !onDesignSurface(c) ? captionLabelOf(c) : nullptr;
}

std::string accessibleName(const tk::TControl& c)
{
    if (onDesignSurface(c)) {
        // A field by its field name, a caption label or button by its caption.
        std::string field = keyFieldOf(c);
        if (field.empty()) field = spokenCaption(c.caption());
        return field.empty() ? c.className() : c.className() + " " + field;
    }
    if (namedByLabel(c)) {
        const tk::TControl* label = captionLabelOf(c);
        return label ? spokenCaption(label->caption()) : std::string();
    }
    if (dynamic_cast<const tk::TCustomForm*>(&c)) return c.caption();
    // A status bar is named by what it says.
    if (auto* bar = dynamic_cast<const tk::TStatusBar*>(&c)) {
        if (bar->simplePanel()) return bar->simpleText();
        std::string said;
        for (int i = 0; i < bar->panels()->count(); ++i)
            if (!bar->panel(i)->text().empty()) said += (said.empty() ? "" : " ") + bar->panel(i)->text();
        return said;
    }
    if (dynamic_cast<const tk::TWinControl*>(&c) && !dynamic_cast<const tk::TButton*>(&c) &&
        !dynamic_cast<const tk::TCheckBox*>(&c) && !dynamic_cast<const tk::TTabSheet*>(&c) &&
        !dynamic_cast<const tk::TStaticText*>(&c) && !dynamic_cast<const tk::TRadioGroup*>(&c))
        return {};  // panels and the like hold things; their caption is decoration
    std::string caption = spokenCaption(c.caption());
    return caption.empty() ? c.hint() : caption;
}

std::string accessibleDescription(const tk::TControl& c)
{
    if (onDesignSurface(c)) {
        const tk::TControl* label = captionLabelOf(c);
        return label ? spokenCaption(label->caption()) : std::string();
    }
    if (dynamic_cast<const tk::TDateTimePicker*>(&c)) return "dátum";
    std::string caption = spokenCaption(c.caption());
    return !caption.empty() && !c.hint().empty() && c.hint() != caption ? c.hint() : std::string();
}

}  // namespace gui
