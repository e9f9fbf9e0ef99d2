// TComponent: ownership, names unique within the owner, published methods
// (event handlers found by name) and the loading state.
#pragma once

#include "toolkit/core/NameIndex.h"
#include "toolkit/core/Object.h"
#include "toolkit/core/OnDemand.h"
#include "toolkit/text/Text.h"

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
    const std::vector<TComponent*>& components() const { return owned_.get().list; }
    int componentCount() const { return static_cast<int>(components().size()); }
    // An owned component by name, compared without regard to case; O(1)
    // through the owner's index of case-folded names.
    TComponent* findComponent(std::string_view name) const;
    // Readies the index for a component about to be named `name` here: a
    // reader calls it before it creates the component, so that the lookup
    // that names it finds its slot in the cache.
    void prepareName(std::string_view name) const;
    // `base` followed by the lowest number from 1 up that no owned component
    // carries ("TZEDit1", "TZEDit2", ...): gaps are filled first.
    std::string uniqueName(std::string_view base) const;
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

    // Published fields, from the class table: the class of the field whose
    // class is named `className` (or null), and pointing the field `name` at
    // `c` (a name that is no field is passed over).
    const ClassInfo* publishedFieldClass(std::string_view className) const;
    void setPublishedField(std::string_view name, TComponent* c);

    // Published methods, from the class table: handlers found by their name.
    Handler findMethod(std::string_view methodName);
    // Name of a published method of this component that `h` is, or empty.
    std::string methodName(const Handler& h) const;
    std::vector<std::string> methodNames() const;

protected:
    // Called when loading ends, so properties that depend on each other apply.
    virtual void loaded() {}

private:
    friend class RefLink;
    void clearReferences();

    void indexName(TComponent* c);
    void unindexName(const TComponent* c);

    TComponent* owner_ = nullptr;
    // What a component owns: a window's field controls, most of its
    // components, own nothing.
    struct Owned {
        std::vector<TComponent*> list;
        NameIndex byName;  // those with a name, by the name without regard to case
    };
    OnDemand<Owned> owned_;
    std::string name_;
    int tag_ = 0;
    bool loading_ = false;
    bool destroying_ = false;
    std::vector<RefLink*> links_;  // references that point at this component
};

}  // namespace tk
