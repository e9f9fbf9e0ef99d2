// The class registry.
#include "designs/ClassRegistry.h"

#include "toolkit/text/Text.h"

namespace velmora {

void ClassRegistry::registerClass(const tk::ClassInfo& c)
{
    // Ancestors first, down to the base of all streamable objects.
    if (c.parent && c.parent->name != "TObject") registerClass(*c.parent);
    if (!findClass(c.name)) classes_.push_back(&c);
}

const tk::ClassInfo* ClassRegistry::findClass(std::string_view name) const
{
    for (const tk::ClassInfo* c : classes_)
        if (tk::sameName(c->name, name)) return c;
    return nullptr;
}

ClassRegistry& classRegistry()
{
    static ClassRegistry registry;
    return registry;
}

}  // namespace velmora
