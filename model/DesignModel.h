// The design model: what the windows of a design session share, and the one
// place that tells them when it changed. The palette's tool, the selected
// control and its caption control, the placeable classes and the column
// kinds live here; the design surface (the main window), the palette and
// the property page each talk to the model, never to each other's windows.
#pragma once

#include "db/FieldKind.h"
#include "toolkit/core/Component.h"
#include "toolkit/core/ComponentRef.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace tk {
class Overlay;
class TControl;
class TForm;
}  // namespace tk

namespace velmora {

class DesignHistory;
class SelectionGestures;

// What a window that follows the design hears. Each call does nothing
// unless the window overrides it.
class DesignObserver {
public:
    // The tool changed (-1 the arrow, 0 to 3 a placeable class).
    virtual void toolChanged(int /*tool*/) {}
    // showControl set the selection; the window shows it.
    virtual void selectionShown() {}
    // The design surface was shown or hidden; tool windows follow it.
    virtual void surfaceShown() {}
    virtual void surfaceHidden() {}
    // Whether the window keeps the selection where it is for now (the
    // property page while it shows a field-name error).
    virtual bool holdsSelection() const { return false; }

protected:
    ~DesignObserver() = default;
};

// The main window as a design surface: what the operations on the whole
// design need of it.
class DesignSurface {
public:
    virtual tk::TForm& designWindow() = 0;
    // Whether the window is in design mode (the clerk's program shows the
    // same window without it).
    virtual bool designing() const = 0;
    virtual void unhookDesignEvents() = 0;
    // Switches the window into design mode and wires every control.
    virtual void prepareDesignSurface() = 0;
    // The window as a save stores it: the design-time wiring taken out and
    // put back around the writing, the window left where it was.
    virtual std::string storedDesignText() = 0;
    // An image of the window as it stood, wired for design, read back into
    // it under `windowName`: the window keeps its place, and its
    // design-time wiring is the one read.
    virtual void restoreSnapshot(std::string_view image, const std::string& windowName) = 0;
    // The user group whose design is shown.
    virtual int designGroup() const = 0;
    virtual void setDesignGroup(int group) = 0;
    // A control pasted onto a tab sheet gets the design-time wiring.
    virtual void hookPastedControl(tk::TControl& control) = 0;
    // Places the chosen tool's control on the shown tab sheet at a free
    // spot, as a release there with the tool does; false with no tool.
    virtual bool placeChosenTool() = 0;

protected:
    ~DesignSurface() = default;
};

class DesignModel {
public:
    DesignModel();
    ~DesignModel();
    DesignModel(const DesignModel&) = delete;
    DesignModel& operator=(const DesignModel&) = delete;

    // The tool that the next click on a tab sheet places with.
    int tool() const { return tool_; }
    void setTool(int tool);

    // The control whose field properties are shown and edited, and the one
    // whose Caption is; either becomes none when its control goes. Setting
    // the selected control makes it the whole selection.
    tk::TControl* selectedControl() const { return selected_.get(); }
    void setSelectedControl(tk::TControl* c);
    tk::TControl* captionControl() const { return caption_.get(); }
    void setCaptionControl(tk::TControl* c) { caption_ = c; }
    // Selects `control` (none clears): a caption label selects its field
    // control and is the caption; a field control is selected with its
    // caption label, when it has one; any other control is both. Then the
    // observers show the selection. A control of a multiple selection
    // becomes its primary one and the others stay selected; any other
    // control becomes the whole selection.
    void showControl(tk::TControl* control);

    // The multiple selection: the controls selected together on one tab
    // sheet, the primary one (the one shown) first. A caption label counts
    // as its field control; a label without one, as itself.
    std::vector<tk::TControl*> selection() const;
    static tk::TControl* selectionMember(tk::TControl* control);
    bool isSelected(tk::TControl* control) const;
    // The other controls of a multiple selection that `control` belongs to
    // (as itself or as the caption label of a selected field control); none
    // when it is not selected with others. They move, size and go with it.
    std::vector<tk::TControl*> selectedWith(tk::TControl* control) const;
    // Adds `control` as the primary one (on another tab sheet it is
    // selected alone), or takes it out; the new primary one is shown.
    void addToSelection(tk::TControl* control);
    void removeFromSelection(tk::TControl* control);
    // Makes these the selection, the first the primary one, and shows it.
    void select(const std::vector<tk::TControl*>& controls);
    // The primary one stays, alone.
    void selectPrimaryOnly();
    // The overlay that shows the selection and takes the mouse gestures
    // that make it (SelectionGestures.h); the model lays it over the
    // windows when it gets a surface.
    tk::Overlay& selectionOverlay();
    // Undo and redo (DesignHistory.h).
    DesignHistory& history() { return *history_; }
    // Whether an observer keeps the selection where it is for now.
    bool selectionHeld() const;

    // The placeable classes by tool (0 TZEDit, 1 TZEDText, 2 TZEDPicker,
    // 3 TZEDChxBox) and the column kinds by type index (integer, string,
    // date-time, fixed-length bytes, generic); empty outside a design
    // session.
    std::vector<const tk::ClassInfo*> ControlClasses;
    std::vector<db::FieldKind> FieldClasses;

    // The design surface: a window of the application that is one.
    void setSurface(tk::TComponent& window, DesignSurface& surface);
    DesignSurface* surface() const { return surfaceWindow_ ? surface_ : nullptr; }
    tk::TForm* designWindow() const;
    // The surface when it is in design mode, or none.
    DesignSurface* designingSurface() const;
    void surfaceShown();
    void surfaceHidden();
    // The window whose canvas font measures a placed caption label.
    void setMeasuringWindow(tk::TForm* window) { measuring_ = window; }
    int captionWidth(const std::string& text) const;

    // A stored design's text replaces the shown design, which stays as it
    // was when the text cannot be read; in every case the surface is wired
    // for design again where it was, and its active control is shown.
    void replaceDesign(std::string_view text);

    // `observer` hears the model while `window` exists.
    void addObserver(tk::TComponent& window, DesignObserver& observer);

private:
    template <class F>
    void notify(F f) const;

    int tool_ = -1;
    tk::ComponentRef<tk::TControl> selected_;
    tk::ComponentRef<tk::TControl> caption_;
    // The selection's members, the primary one first.
    std::vector<tk::ComponentRef<tk::TControl>> members_;
    std::unique_ptr<SelectionGestures> gestures_;
    std::unique_ptr<DesignHistory> history_;
    tk::ComponentRef<tk::TComponent> surfaceWindow_;
    DesignSurface* surface_ = nullptr;
    tk::ComponentRef<tk::TForm> measuring_;
    struct Observer {
        tk::ComponentRef<tk::TComponent> window;
        DesignObserver* observer;
    };
    std::vector<Observer> observers_;
};

// The application's design model, made on first use and kept by the
// application until its windows are gone, so that it goes with it.
DesignModel& designModel();
// The model if the application has one, without making one.
DesignModel* existingDesignModel();

}  // namespace velmora
