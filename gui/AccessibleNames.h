// What a screen reader calls a model control: the kind of thing it is, its
// name and its description, read from the model alone. A field is named by
// its caption label, as a sighted person reads the form.
#pragma once

#include <QAccessible>

#include <string>

namespace tk {
class TControl;
class TCustomForm;
}  // namespace tk

namespace gui {

QAccessible::Role accessibleRole(const tk::TControl& control);
// A window's role: a hint (a hint window), a message (a modal window that
// only asks for a button), a dialog (any other modal window) or a window.
QAccessible::Role windowRole(const tk::TCustomForm& form);

// A label's or button's caption: the accelerator's "&" and a closing colon
// are not read out.
std::string spokenCaption(const std::string& caption);

// The field's caption label: the label bound to it (FocusControl), else the
// nearest label just left of it on the same line, else just above it.
const tk::TControl* captionLabelOf(const tk::TControl& field);
// The label a control is labelled by for a reader: a field's caption label
// (the one that names it), and nothing for any other control or for a
// control on the design surface.
const tk::TControl* labelledBy(const tk::TControl& control);

// A field its caption label's text, a button its caption (a glyph button
// its hint), a label its caption; on the design surface a placed field
// control its class and field name.
std::string accessibleName(const tk::TControl& control);
// On the design surface, what the control's name would be in the program
// that runs the design; elsewhere a date field says it is one.
std::string accessibleDescription(const tk::TControl& control);

// The control stands on the window a design tool is designing.
bool onDesignSurface(const tk::TControl& control);

}  // namespace gui
