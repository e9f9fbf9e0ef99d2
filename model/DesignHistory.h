// Undo and redo of the design: the design surface as it stood after each
// change, kept as a component image, from the oldest kept to the newest. A
// step is recorded when a gesture has changed the design, so a drag, a
// placing or an alignment is one step; typing into one property-page box
// is one step, closed when the focus leaves the box. Moving the focus or
// turning a page is no change. Saving is not a step: after a save every
// kept step loses its placing marks, as the window does.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace velmora {

class DesignModel;

// The design surface at one step.
struct DesignStep {
    // The window wired for design, without its placing marks and without
    // the properties that only point (the active control, the active page).
    std::string image;
    std::string windowName;
    struct Pointer {
        std::string owner;  // a component's name, or "" for the window
        std::string property, target;
        bool operator==(const Pointer&) const = default;
    };
    std::vector<Pointer> pointers;
    std::vector<std::pair<std::string, int64_t>> marks;  // the controls' Tag marks
    std::vector<std::string> selection;                  // the primary control first
    int group = 0;                                       // the current user group
    size_t bytes() const;
    bool sameDesign(const DesignStep& other) const
    {
        return image == other.image && windowName == other.windowName && marks == other.marks && group == other.group;
    }
};

class DesignHistory {
public:
    // At most this many steps, and no more bytes than this, are kept; the
    // oldest go first (the newest step always stays).
    static constexpr size_t maxSteps = 100;
    static constexpr size_t maxBytes = 64 << 20;

    explicit DesignHistory(DesignModel& model) : model_(model) {}

    // Starts anew from the design as it stands.
    void start();
    bool started() const { return !steps_.empty(); }
    // Records a step when the design differs from the current one.
    void record();
    bool canUndo() const { return current_ > 0; }
    bool canRedo() const { return current_ + 1 < steps_.size(); }
    void undo();
    void redo();
    // A save cleared the window's placing marks: the kept steps lose theirs.
    void forgetMarks();

    size_t stepCount() const { return steps_.size(); }
    size_t bytes() const;

private:
    DesignStep capture() const;
    std::vector<DesignStep::Pointer> pointersNow() const;
    void keepWhereThePersonIs();
    void restore(const DesignStep& step);

    DesignModel& model_;
    std::deque<DesignStep> steps_;
    size_t current_ = 0;
};

}  // namespace velmora
