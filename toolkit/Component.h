// TComponent: ownership, names unique within the owner, published methods
// (event handlers found by name) and the loading state.
#pragma once

#include "toolkit/Object.h"

#include <string>
#include <string_view>
#include <vector>

namespace tk {

class TComponent : public TPersistent {
    TK_CLASS(TComponent)
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;
    TComponent(const TComponent&) = delete;
    // Destroys the component the safe way: its OnDestroy first, then what it
    // owns (from the last to the first), then itself.
    void free();
    // Destroys every owned component, from the last to the first.
    void destroyComponents();
    virtual void beforeDestruction() { destroying_ = true; }
    TComponent& operator=(const TComponent&) = delete;

    TComponent* owner() const { return owner_; }
    const std::vector<TComponent*>& components() const { return components_; }
    int componentCount() const { return static_cast<int>(components_.size()); }
    // An owned component by name, compared without regard to case.
    TComponent* findComponent(std::string_view name) const;
    // Takes ownership of `c` (removing it from its former owner).
    void insertComponent(TComponent* c);
    void removeComponent(TComponent* c);

    const std::string& name() const { return name_; }
    // Refuses an invalid identifier or a name another component of the same
    // owner carries (compared without regard to case).
    virtual void setName(const std::string& name);
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }

    // The top-level object whose design this component belongs to: the first
    // owner whose own owner is the application (or none).
    TComponent* root();
    const TComponent* root() const;
    virtual bool isApplication() const { return false; }

    bool loading() const { return loading_; }
    bool destroying() const { return destroying_; }
    // A design reader brackets the reading of a component with these.
    void beginLoading() { loading_ = true; }
    void endLoading();

    // Published fields: a window's own references to components of its
    // design (reading a design points them at the components it creates).
    virtual const ClassInfo* publishedFieldClass(std::string_view /*className*/) const { return nullptr; }
    virtual void setPublishedField(std::string_view /*name*/, TComponent* /*c*/) {}

    // Published methods: handlers found by their name.
    Handler findMethod(std::string_view methodName);
    // Name of a published method of this component that `h` is, or empty.
    std::string methodName(const Handler& h) const;
    std::vector<std::string> methodNames() const;

protected:
    // Called when loading ends, so properties that depend on each other apply.
    virtual void loaded() {}

    void publishMethod(const std::string& name, EventKind kind, std::function<void(EventCall&)> fn);
    template <class C>
    void publish(const std::string& name, void (C::*m)(TObject*))
    {
        publishMethod(name, EventKind::Notify, [this, m](EventCall& e) { (self<C>()->*m)(e.sender); });
    }
    template <class C>
    void publish(const std::string& name, void (C::*m)(TObject*, TMouseButton, TShiftState, int, int))
    {
        publishMethod(name, EventKind::Mouse,
                      [this, m](EventCall& e) { (self<C>()->*m)(e.sender, e.button, e.shift, e.x, e.y); });
    }
    template <class C>
    void publish(const std::string& name, void (C::*m)(TObject*, TShiftState, int, int))
    {
        publishMethod(name, EventKind::MouseMove,
                      [this, m](EventCall& e) { (self<C>()->*m)(e.sender, e.shift, e.x, e.y); });
    }
    template <class C>
    void publish(const std::string& name, void (C::*m)(TObject*, uint16_t&, TShiftState))
    {
        publishMethod(name, EventKind::Key, [this, m](EventCall& e) { (self<C>()->*m)(e.sender, e.key, e.shift); });
    }
    template <class C>
    void publish(const std::string& name, void (C::*m)(TObject*, char32_t&))
    {
        publishMethod(name, EventKind::KeyPress, [this, m](EventCall& e) { (self<C>()->*m)(e.sender, e.ch); });
    }

private:
    friend class RefLink;
    template <class C>
    C* self()
    {
        return static_cast<C*>(this);
    }
    void checkName(const std::string& name) const;
    void clearReferences();

    struct Method {
        std::string name;
        EventKind kind;
        std::function<void(EventCall&)> fn;
    };

    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::string name_;
    int tag_ = 0;
    bool loading_ = false;
    bool destroying_ = false;
    std::vector<Method> methods_;
    std::vector<RefLink*> links_;  // references that point at this component
};

}  // namespace tk
