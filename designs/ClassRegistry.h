// The class registry: the classes a stored design may name, found by name
// without regard to case. Registering a class registers its ancestors too.
#pragma once

#include "toolkit/core/TypeInfo.h"

#include <string_view>
#include <vector>

namespace velmora {

class ClassRegistry {
public:
    void registerClass(const tk::ClassInfo& c);
    const tk::ClassInfo* findClass(std::string_view name) const;
    const std::vector<const tk::ClassInfo*>& classes() const { return classes_; }

private:
    std::vector<const tk::ClassInfo*> classes_;
};

// The program's registry.
ClassRegistry& classRegistry();

}  // namespace velmora
