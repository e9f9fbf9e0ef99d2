// Event handlers and the typed constructors for handlers set from code.
#include "toolkit/core/Handler.h"

#include "toolkit/core/Component.h"
#include "toolkit/core/TypeInfo.h"

namespace tk {

Handler::Handler(EventKind kind, std::function<void(EventCall&)> fn)
{
    if (fn) body_ = new Body{{}, nullptr, std::move(fn), kind};
}

Handler::Handler(TComponent& target, const MethodInfo& method)
    : body_(new Body{ComponentRef<TComponent>(&target), &method, {}, method.kind})
{
}

Handler::Handler(const Handler& other) noexcept : body_(other.body_)
{
    if (body_) ++body_->refs;
}

Handler& Handler::operator=(const Handler& other) noexcept
{
    if (other.body_) ++other.body_->refs;
    release();
    body_ = other.body_;
    return *this;
}

Handler& Handler::operator=(Handler&& other) noexcept
{
    if (this == &other) return *this;
    release();
    body_ = other.body_;
    other.body_ = nullptr;
    return *this;
}

void Handler::release() noexcept
{
    if (body_ && --body_->refs == 0) delete body_;
    body_ = nullptr;
}

const std::string& Handler::name() const
{
    static const std::string none;
    return method() ? body_->method->name : none;
}

void Handler::operator()(EventCall& call) const
{
    if (!body_) return;
    // Held for the call: the handler may set its own event to another.
    Handler held(*this);
    if (held.body_->method) {
        if (TComponent* t = held.body_->target.get()) held.body_->method->invoke(*t, call);
    } else {
        held.body_->fn(call);
    }
}

bool Handler::sameAs(const Handler& other) const
{
    if (!*this || !other) return !*this && !other;
    if (!method() || !other.method()) return false;
    return target() == other.target() && method()->name == other.method()->name;
}

Handler Handler::notify(std::function<void(TObject*)> fn)
{
    return Handler(EventKind::Notify, [fn](EventCall& e) { fn(e.sender); });
}

Handler Handler::mouse(std::function<void(TObject*, TMouseButton, TShiftState, int, int)> fn)
{
    return Handler(EventKind::Mouse, [fn](EventCall& e) { fn(e.sender, e.button, e.shift, e.x, e.y); });
}

Handler Handler::mouseMove(std::function<void(TObject*, TShiftState, int, int)> fn)
{
    return Handler(EventKind::MouseMove, [fn](EventCall& e) { fn(e.sender, e.shift, e.x, e.y); });
}

Handler Handler::key(std::function<void(TObject*, uint16_t&, TShiftState)> fn)
{
    return Handler(EventKind::Key, [fn](EventCall& e) { fn(e.sender, e.key, e.shift); });
}

Handler Handler::keyPress(std::function<void(TObject*, char32_t&)> fn)
{
    return Handler(EventKind::KeyPress, [fn](EventCall& e) { fn(e.sender, e.ch); });
}

Handler Handler::changing(std::function<void(TObject*, bool&)> fn)
{
    return Handler(EventKind::Changing, [fn](EventCall& e) { fn(e.sender, e.flag); });
}

Handler Handler::closeQuery(std::function<void(TObject*, bool&)> fn)
{
    return Handler(EventKind::CloseQuery, [fn](EventCall& e) { fn(e.sender, e.flag); });
}

Handler Handler::close(std::function<void(TObject*, TCloseAction&)> fn)
{
    return Handler(EventKind::Close, [fn](EventCall& e) { fn(e.sender, e.action); });
}

}  // namespace tk
