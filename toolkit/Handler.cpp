// Event handlers and the typed constructors for handlers set from code.
#include "toolkit/Handler.h"

#include "toolkit/Component.h"
#include "toolkit/TypeInfo.h"

namespace tk {

Handler::Handler(EventKind kind, std::function<void(EventCall&)> fn) : kind_(kind)
{
    if (fn) fn_ = new Callable{std::move(fn)};
}

Handler::Handler(TComponent& target, const MethodInfo& method)
    : target_(&target), method_(&method), kind_(method.kind), bound_(true)
{
}

Handler::Handler(const Handler& other)
    : target_(other.target_), method_(other.method_), kind_(other.kind_), bound_(other.bound_)
{
    if (!bound_ && fn_) ++fn_->refs;
}

Handler::Handler(Handler&& other) noexcept
    : target_(other.target_), method_(other.method_), kind_(other.kind_), bound_(other.bound_)
{
    other.target_ = nullptr;
    other.method_ = nullptr;
    other.bound_ = false;
}

Handler& Handler::operator=(const Handler& other)
{
    if (this != &other) *this = Handler(other);
    return *this;
}

Handler& Handler::operator=(Handler&& other) noexcept
{
    if (this == &other) return *this;
    release();
    target_ = other.target_;
    method_ = other.method_;
    kind_ = other.kind_;
    bound_ = other.bound_;
    other.target_ = nullptr;
    other.method_ = nullptr;
    other.bound_ = false;
    return *this;
}

void Handler::release()
{
    if (!bound_ && fn_ && --fn_->refs == 0) delete fn_;
    method_ = nullptr;
}

const std::string& Handler::name() const
{
    static const std::string none;
    return bound_ ? method_->name : none;
}

void Handler::operator()(EventCall& call) const
{
    if (bound_) {
        if (TComponent* t = target_.get()) method_->invoke(*t, call);
    } else if (fn_) {
        fn_->fn(call);
    }
}

bool Handler::sameAs(const Handler& other) const
{
    if (!*this || !other) return !*this && !other;
    if (!bound_ || !other.bound_) return false;
    return target_.get() == other.target_.get() && method_->name == other.method_->name;
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
