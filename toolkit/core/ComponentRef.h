// References to components that turn into none when the component is destroyed.
#pragma once

#include <cstddef>
#include <utility>

namespace tk {

class TComponent;

// Intrusive link: a TComponent knows every link that points at it and
// clears them all in its destructor.
class RefLink {
public:
    RefLink() = default;
    RefLink(const RefLink&) = delete;
    RefLink& operator=(const RefLink&) = delete;
    // Not virtual: links are never deleted through this base, and the
    // window's many handlers each hold one, so they stay two words.
    ~RefLink() { attach(nullptr); }

protected:
    void attach(TComponent* target);
    TComponent* linked() const { return target_; }

private:
    friend class TComponent;
    TComponent* target_ = nullptr;
    size_t slot_ = 0;  // position in the target's list of links, for O(1) removal
};

template <class T>
class ComponentRef : public RefLink {
public:
    ComponentRef() = default;
    ComponentRef(T* target) { attach(asComponent(target)); }
    ComponentRef(const ComponentRef& other) : RefLink() { attach(other.linked()); }
    ComponentRef& operator=(const ComponentRef& other)
    {
        attach(other.linked());
        return *this;
    }
    ComponentRef& operator=(T* target)
    {
        attach(asComponent(target));
        return *this;
    }

    // Lets go of the component: the reference becomes none.
    void reset() { attach(nullptr); }

    T* get() const { return static_cast<T*>(linked()); }
    T* operator->() const { return get(); }
    operator T*() const { return get(); }
    explicit operator bool() const { return linked() != nullptr; }

private:
    static TComponent* asComponent(T* p) { return p; }
};

}  // namespace tk
