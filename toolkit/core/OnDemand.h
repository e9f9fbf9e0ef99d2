// A member made the first time it is written to. Most objects of a window
// never need their hint, child lists, owned components or kept values, and
// then carry one null pointer instead of empty containers.
#pragma once

#include <memory>

namespace tk {

template <class T>
class OnDemand {
public:
    // What was made, or an empty T when nothing was.
    const T& get() const { return made_ ? *made_ : empty(); }
    T& make()
    {
        if (!made_) made_ = std::make_unique<T>();
        return *made_;
    }
    bool made() const { return made_ != nullptr; }
    void reset() { made_.reset(); }

private:
    static const T& empty()
    {
        static const T none{};
        return none;
    }
    std::unique_ptr<T> made_;
};

}  // namespace tk
