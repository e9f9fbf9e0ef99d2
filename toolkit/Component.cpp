// Ownership, naming and reference clearing of components.
#include "toolkit/Component.h"

#include "toolkit/Errors.h"
#include "toolkit/PropertyTable.h"
#include "toolkit/Text.h"

#include <algorithm>

namespace tk {

void RefLink::attach(TComponent* target)
{
    if (target_ == target) return;
    if (target_) {
        auto& links = target_->links_;
        links.erase(std::find(links.begin(), links.end(), this));
    }
    target_ = target;
    if (target_) target_->links_.push_back(this);
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
    for (RefLink* l : links) l->targetDestroyed();
}

void TComponent::destroyComponents()
{
    while (!components_.empty()) components_.back()->free();
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
    for (TComponent* c : components_)
        if (sameName(c->name_, name)) return c;
    return nullptr;
}

void TComponent::insertComponent(TComponent* c)
{
    if (!c || c->owner_ == this) return;
    if (!c->name_.empty() && findComponent(c->name_))
        throw EComponentError(format("A component named %s already exists", c->name_));
    if (c->owner_) c->owner_->removeComponent(c);
    components_.push_back(c);
    c->owner_ = this;
}

void TComponent::removeComponent(TComponent* c)
{
    auto it = std::find(components_.begin(), components_.end(), c);
    if (it == components_.end()) return;
    components_.erase(it);
    c->owner_ = nullptr;
}

void TComponent::checkName(const std::string& name) const
{
    if (!name.empty() && !isValidIdent(name))
        throw EComponentError(format("'%s' is not a valid component name", name));
    if (owner_ && !name.empty()) {
        TComponent* other = owner_->findComponent(name);
        if (other && other != this) throw EComponentError(format("A component named %s already exists", name));
    }
}

void TComponent::setName(const std::string& name)
{
    if (name == name_) return;
    checkName(name);
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

void TComponent::publishMethod(const std::string& name, EventKind kind, std::function<void(EventCall&)> fn)
{
    methods_.push_back(Method{name, kind, std::move(fn)});
}

Handler TComponent::findMethod(std::string_view methodName)
{
    for (const Method& m : methods_)
        if (sameName(m.name, methodName)) return Handler(m.kind, m.fn, this, m.name);
    return {};
}

std::string TComponent::methodName(const Handler& h) const
{
    if (!h || h.target() != this) return {};
    for (const Method& m : methods_)
        if (m.name == h.name()) return m.name;
    return {};
}

std::vector<std::string> TComponent::methodNames() const
{
    std::vector<std::string> names;
    for (const Method& m : methods_) names.push_back(m.name);
    return names;
}

}  // namespace tk
