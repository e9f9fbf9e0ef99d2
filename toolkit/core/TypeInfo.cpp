// Class information, enumeration types and named constants.
#include "toolkit/core/Component.h"
#include "toolkit/core/PropertyTable.h"
#include "toolkit/text/Text.h"

#include <algorithm>

namespace tk {

int EnumType::indexOf(std::string_view valueName) const
{
    for (size_t i = 0; i < values.size(); ++i)
        if (sameName(values[i], valueName)) return static_cast<int>(i);
    return -1;
}

const std::string& EnumType::nameOf(int ordinal) const
{
    static const std::string none;
    return ordinal >= 0 && ordinal < static_cast<int>(values.size()) ? values[ordinal] : none;
}

std::optional<int32_t> NamedConstants::valueOf(std::string_view name) const
{
    for (const auto& [n, v] : entries)
        if (sameName(n, name)) return v;
    return std::nullopt;
}

const std::string* NamedConstants::nameOf(int32_t value) const
{
    for (const auto& [n, v] : entries)
        if (v == value) return &n;
    return nullptr;
}

const std::vector<const PropInfo*>& ClassInfo::properties() const
{
    if (built_) return all_;
    std::vector<const PropInfo*> list;
    if (parent) list = parent->properties();
    for (const PropInfo& p : declared) {
        auto it = std::find_if(list.begin(), list.end(), [&](const PropInfo* q) { return sameName(q->name, p.name); });
        if (p.hidden) {
            if (it != list.end()) list.erase(it);
        } else if (it != list.end()) {
            *it = &p;
        } else {
            list.push_back(&p);
        }
    }
    all_ = std::move(list);
    for (const PropInfo* p : all_) byName_.emplace(p->name, p);
    built_ = true;
    return all_;
}

const PropInfo* ClassInfo::findProperty(std::string_view propName) const
{
    properties();
    auto it = byName_.find(propName);
    return it == byName_.end() ? nullptr : it->second;
}

const MethodInfo* ClassInfo::findMethod(std::string_view methodName) const
{
    for (const ClassInfo* c = this; c; c = c->parent)
        for (const MethodInfo& m : c->methods)
            if (sameName(m.name, methodName)) return &m;
    return nullptr;
}

std::vector<const MethodInfo*> ClassInfo::allMethods() const
{
    std::vector<const MethodInfo*> out = parent ? parent->allMethods() : std::vector<const MethodInfo*>{};
    for (const MethodInfo& m : methods) out.push_back(&m);
    return out;
}

const FieldInfo* ClassInfo::findField(std::string_view fieldName) const
{
    for (const ClassInfo* c = this; c; c = c->parent)
        for (const FieldInfo& f : c->fields)
            if (sameName(f.name, fieldName)) return &f;
    return nullptr;
}

const ClassInfo* ClassInfo::fieldClass(std::string_view className) const
{
    for (const ClassInfo* c = this; c; c = c->parent)
        for (const FieldInfo& f : c->fields)
            if (sameName(f.classType().name, className)) return &f.classType();
    return nullptr;
}

bool ClassInfo::inheritsFrom(const ClassInfo& ancestor) const
{
    for (const ClassInfo* c = this; c; c = c->parent)
        if (c == &ancestor) return true;
    return false;
}

bool ClassInfo::inheritsFrom(std::string_view ancestorName) const
{
    for (const ClassInfo* c = this; c; c = c->parent)
        if (sameName(c->name, ancestorName)) return true;
    return false;
}

const ClassInfo& TObject::staticClassInfo()
{
    static const ClassInfo info = [] {
        ClassInfo i;
        i.name = "TObject";
        return i;
    }();
    return info;
}

TK_DEFINE_CLASS(TPersistent, TObject) {}

void TPersistent::assign(const TPersistent& source)
{
    // Copies every published property that both share and that can be written.
    if (&source == this) return;
    for (const PropInfo* p : classInfo().properties()) {
        if (p->readOnly() || p->kind == PropKind::Event) continue;
        const PropInfo* q = source.classInfo().findProperty(p->name);
        if (!q || q->kind != p->kind) continue;
        p->set(*this, q->get(source));
    }
}

Value TPersistent::keptValue(const std::string& propName, const Value& fallback) const
{
    const auto& kept = kept_.get();
    auto it = kept.find(propName);
    return it == kept.end() ? fallback : it->second;
}

void TPersistent::setKeptValue(const std::string& propName, const Value& v)
{
    kept_.make()[propName] = v;
}

}  // namespace tk
