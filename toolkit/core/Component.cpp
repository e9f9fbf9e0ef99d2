// Ownership, naming and reference clearing of components.
#include "toolkit/core/Component.h"

#include "toolkit/core/Errors.h"
#include "toolkit/core/PropertyTable.h"
#include "toolkit/text/Text.h"

#include <algorithm>

namespace tk {

void RefLink::attach(TComponent* target)
{
    if (target_ == target) return;
    if (target_) {
        // Swap-remove: a window may hold thousands of links (every handler
        // bound to it), so no search.
        auto& links = target_->links_;
        RefLink* last = links.back();
        links[slot_] = last;
        last->slot_ = slot_;
        links.pop_back();
    }
    target_ = target;
    if (target_) {
        slot_ = target_->links_.size();
        target_->links_.push_back(this);
    }
}

TK_DEFINE_CLASS(TComponent, TPersistent)
{
    t.string("Name", &TComponent::name, &TComponent::setName).notStored();
    t.integer("Tag", &TComponent::tag, &TComponent::setTag, 0);
}

TComponent::TComponent(TComponent* owner)
{
    if (owner) owner->insertComponent(this);
}

void TComponent::free()
{
    if (!destroying_) beforeDestruction();
    destroying_ = true;
    // Nobody may see a component that is half destroyed.
    clearReferences();
    destroyComponents();
    delete this;
}

void TComponent::clearReferences()
{
    std::vector<RefLink*> links;
    links.swap(links_);
    for (RefLink* l : links) l->target_ = nullptr;
}

void TComponent::destroyComponents()
{
    while (!components().empty()) components().back()->free();
}

TComponent::~TComponent()
{
    destroying_ = true;
    destroyComponents();
    if (owner_) owner_->removeComponent(this);
    // Every reference held to this component becomes none.
    clearReferences();
}

TComponent* TComponent::findComponent(std::string_view name) const
{
    if (name.empty()) return nullptr;
    return owned_.get().byName.find(name);
}

void TComponent::prepareName(std::string_view name) const
{
    if (!name.empty()) owned_.get().byName.prefetch(name);
}

std::string TComponent::uniqueName(std::string_view base) const
{
    for (int i = 1;; ++i) {
        std::string candidate = std::string(base) + std::to_string(i);
        if (!findComponent(candidate)) return candidate;
    }
}

void TComponent::indexName(TComponent* c)
{
    if (!c->name_.empty()) owned_.make().byName.insert(c->name_, c);
}

void TComponent::unindexName(const TComponent* c)
{
    if (!c->name_.empty()) owned_.make().byName.erase(c->name_, c);
}

void TComponent::insertComponent(TComponent* c)
{
    if (!c || c->owner_ == this) return;
    if (!c->name_.empty() && findComponent(c->name_))
        throw EComponentError(format("A component named %s already exists", c->name_));
    if (c->owner_) c->owner_->removeComponent(c);
    owned_.make().list.push_back(c);
    c->owner_ = this;
    indexName(c);
}

void TComponent::removeComponent(TComponent* c)
{
    // Components go mostly from the back (destruction runs last to first).
    if (!owned_.made()) return;
    auto& list = owned_.make().list;
    auto it = std::find(list.rbegin(), list.rend(), c);
    if (it == list.rend()) return;
    list.erase(std::next(it).base());
    unindexName(c);
    c->owner_ = nullptr;
}

void TComponent::setName(const std::string& name)
{
    if (name == name_) return;
    if (!name.empty() && !isValidIdent(name)) throw EComponentError(format("'%s' is not a valid component name", name));
    if (owner_) {
        // One probe claims the new name (a change of letter case only finds
        // this component itself, whose entry stays).
        bool claimed = false;
        if (!name.empty()) {
            TComponent* holder = owner_->owned_.make().byName.insert(name, this);
            if (holder && holder != this) throw EComponentError(format("A component named %s already exists", name));
            claimed = !holder;
        }
        if (claimed || name.empty()) owner_->unindexName(this);
    }
    name_ = name;
}

TComponent* TComponent::root()
{
    TComponent* c = this;
    while (c->owner_ && !c->owner_->isApplication()) c = c->owner_;
    return c;
}

const TComponent* TComponent::root() const
{
    return const_cast<TComponent*>(this)->root();
}

void TComponent::endLoading()
{
    loading_ = false;
    loaded();
}

const ClassInfo* TComponent::publishedFieldClass(std::string_view className) const
{
    return classInfo().fieldClass(className);
}

void TComponent::setPublishedField(std::string_view name, TComponent* c)
{
    if (const FieldInfo* f = classInfo().findField(name)) f->set(*this, c);
}

Handler TComponent::findMethod(std::string_view methodName)
{
    const MethodInfo* m = classInfo().findMethod(methodName);
    return m ? Handler(*this, *m) : Handler();
}

std::string TComponent::methodName(const Handler& h) const
{
    if (!h || h.target() != this || !h.method()) return {};
    const MethodInfo* m = classInfo().findMethod(h.name());
    return m == h.method() ? m->name : std::string();
}

std::vector<std::string> TComponent::methodNames() const
{
    std::vector<std::string> names;
    for (const MethodInfo* m : classInfo().allMethods()) names.push_back(m->name);
    return names;
}

}  // namespace tk
