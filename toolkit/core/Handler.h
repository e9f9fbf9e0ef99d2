// Event handlers: a callable bound to the component whose method it is, so
// that a handler can be found by its method name and written back by name.
#pragma once

#include "toolkit/core/ComponentRef.h"
#include "toolkit/core/InputEvent.h"
#include "toolkit/core/Types.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace tk {

class TObject;
struct MethodInfo;

// The signatures of event properties.
enum class EventKind : uint8_t {
    Notify,        // (Sender)
    Mouse,         // (Sender, Button, Shift, X, Y)
    MouseMove,     // (Sender, Shift, X, Y)
    Key,           // (Sender, var Key, Shift)
    KeyPress,      // (Sender, var Key: Char)
    Close,         // (Sender, var Action)
    CloseQuery,    // (Sender, var CanClose)
    ContextPopup,  // (Sender, MousePos, var Handled)
    Changing,      // (Sender, var AllowChange)
    Other,         // drag, dock and drawing events, kept but never raised
};

// What to do with a window that is being closed.
enum class TCloseAction { caNone, caHide, caFree, caMinimize };

// The arguments of one event call: the input event that raised it (each
// kind uses its own fields), and what the handler may answer.
struct EventCall : InputEvent {
    TObject* sender = nullptr;
    bool flag = false;  // Handled, CanClose or AllowChange
    TCloseAction action = TCloseAction::caHide;
};

class Handler {
public:
    Handler() noexcept {}
    // An anonymous handler: a callable set from code.
    Handler(EventKind kind, std::function<void(EventCall&)> fn);
    // A published method of `target`, found by its name in the class table.
    Handler(TComponent& target, const MethodInfo& method);

    static Handler notify(std::function<void(TObject*)> fn);
    static Handler mouse(std::function<void(TObject*, TMouseButton, TShiftState, int, int)> fn);
    static Handler mouseMove(std::function<void(TObject*, TShiftState, int, int)> fn);
    static Handler key(std::function<void(TObject*, uint16_t&, TShiftState)> fn);
    static Handler keyPress(std::function<void(TObject*, char32_t&)> fn);
    static Handler changing(std::function<void(TObject*, bool&)> fn);
    static Handler closeQuery(std::function<void(TObject*, bool&)> fn);
    static Handler close(std::function<void(TObject*, TCloseAction&)> fn);

    // Set, and (for a method) its object still alive.
    explicit operator bool() const { return body_ && (body_->method ? body_->target.get() != nullptr : true); }
    EventKind kind() const { return body_ ? body_->kind : EventKind::Notify; }
    TComponent* target() const { return body_ ? body_->target.get() : nullptr; }
    // The method's published name; empty for an anonymous handler.
    const std::string& name() const;
    const MethodInfo* method() const { return body_ ? body_->method : nullptr; }
    void operator()(EventCall& call) const;
    // Same method of the same object (anonymous handlers are never equal).
    bool sameAs(const Handler& other) const;
    friend bool operator==(const Handler& a, const Handler& b) { return a.sameAs(b); }

    Handler(const Handler& other) noexcept;
    Handler(Handler&& other) noexcept : body_(other.body_) { other.body_ = nullptr; }
    Handler& operator=(const Handler& other) noexcept;
    Handler& operator=(Handler&& other) noexcept;
    ~Handler() { release(); }

private:
    // What a set handler calls, shared by its copies and never changed:
    // either a published method of `target` or a function.
    struct Body {
        ComponentRef<TComponent> target;
        const MethodInfo* method = nullptr;
        std::function<void(EventCall&)> fn;
        EventKind kind = EventKind::Notify;
        int refs = 1;
    };
    void release() noexcept;

    // One word: a window holds a dozen handlers for each of its controls,
    // and most of them are never set.
    Body* body_ = nullptr;
};

}  // namespace tk
