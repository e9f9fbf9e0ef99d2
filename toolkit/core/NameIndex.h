// The components an owner holds, by name without regard to case. A flat
// table of (hash, component) slots probed in a row: a lookup touches one
// run of slots and the component's own name, an entry costs two words and
// no allocation, and growing never hashes a name again. A window of ten
// thousand field controls looks names up while it loads; a node per name
// scattered over the heap made each lookup a string of cache misses.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

namespace tk {

class TComponent;

class NameIndex {
public:
    TComponent* find(std::string_view name) const;
    // Files `c` under `name` and returns null; when a component is filed
    // under that name already, returns it and files nothing.
    TComponent* insert(std::string_view name, TComponent* c);
    // Starts bringing the slots that `name` is looked up in into the cache,
    // for a caller that will look it up shortly.
    void prefetch(std::string_view name) const;
    // Removes `c` filed under `name` (nothing when it is not).
    void erase(std::string_view name, const TComponent* c);

private:
    struct Slot {
        size_t hash = 0;
        TComponent* component = nullptr;  // null: never used; removed(): freed
    };
    static TComponent* removed();
    size_t mask() const { return slots_.size() - 1; }
    void rebuild(size_t capacity);

    std::vector<Slot> slots_;  // a power of two long, or empty
    size_t live_ = 0;          // filed components
    size_t used_ = 0;          // slots that are not free: live and removed
};

}  // namespace tk
