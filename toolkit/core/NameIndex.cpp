// The flat name index.
#include "toolkit/core/NameIndex.h"

#include "toolkit/core/Component.h"
#include "toolkit/text/Text.h"

namespace tk {

TComponent* NameIndex::removed()
{
    // Any address that no component has.
    static char marker;
    return reinterpret_cast<TComponent*>(&marker);
}

TComponent* NameIndex::find(std::string_view name) const
{
    if (live_ == 0) return nullptr;
    size_t hash = NameHash()(name);
    for (size_t i = hash & mask();; i = (i + 1) & mask()) {
        const Slot& s = slots_[i];
        if (!s.component) return nullptr;
        if (s.hash == hash && s.component != removed() && sameName(s.component->name(), name)) return s.component;
    }
}

void NameIndex::prefetch(std::string_view name) const
{
    if (!slots_.empty()) __builtin_prefetch(&slots_[NameHash()(name) & mask()], 1);
}

TComponent* NameIndex::insert(std::string_view name, TComponent* c)
{
    // At most three quarters used, counting removed slots, so every probe
    // ends at a free slot.
    if ((used_ + 1) * 4 > slots_.size() * 3)
        rebuild(live_ * 2 + 2 > slots_.size() / 2 ? slots_.size() * 2 : slots_.size());
    size_t hash = NameHash()(name);
    Slot* reuse = nullptr;
    size_t i = hash & mask();
    for (;; i = (i + 1) & mask()) {
        Slot& s = slots_[i];
        if (!s.component) break;
        if (s.component == removed()) {
            if (!reuse) reuse = &s;
        } else if (s.hash == hash && sameName(s.component->name(), name)) {
            return s.component;
        }
    }
    Slot& target = reuse ? *reuse : slots_[i];
    if (!reuse) ++used_;
    target = {hash, c};
    ++live_;
    return nullptr;
}

void NameIndex::erase(std::string_view name, const TComponent* c)
{
    if (live_ == 0) return;
    size_t hash = NameHash()(name);
    for (size_t i = hash & mask();; i = (i + 1) & mask()) {
        Slot& s = slots_[i];
        if (!s.component) return;
        if (s.component == c && s.hash == hash) {
            s.component = removed();
            if (--live_ == 0) rebuild(slots_.size());  // all free again
            return;
        }
    }
}

void NameIndex::rebuild(size_t capacity)
{
    if (capacity < 8) capacity = 8;
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(capacity, Slot{});
    used_ = live_;
    for (const Slot& s : old) {
        if (!s.component || s.component == removed()) continue;
        size_t i = s.hash & mask();
        while (slots_[i].component) i = (i + 1) & mask();
        slots_[i] = s;
    }
}

}  // namespace tk
