// The roots of the class tree: TObject (class identity) and TPersistent
// (published properties, kept values of properties without behaviour).
#pragma once

#include "toolkit/core/OnDemand.h"
#include "toolkit/core/TypeInfo.h"

#include <map>
#include <string>

namespace tk {

// Declares the class information of a class; pair with TK_DEFINE_CLASS.
#define TK_CLASS(Class)                               \
public:                                               \
    static const ::tk::ClassInfo& staticClassInfo();  \
    const ::tk::ClassInfo& classInfo() const override \
    {                                                 \
        return Class::staticClassInfo();              \
    }                                                 \
                                                      \
private:

class TObject {
public:
    virtual ~TObject() = default;
    static const ClassInfo& staticClassInfo();
    virtual const ClassInfo& classInfo() const { return staticClassInfo(); }

    const std::string& className() const { return classInfo().name; }
    // Is this object of class T or a descendant?
    template <class T>
    bool is() const
    {
        return classInfo().inheritsFrom(T::staticClassInfo());
    }
    bool inheritsFrom(std::string_view className) const { return classInfo().inheritsFrom(className); }
};

// Checked downcast by class information: null when `obj` is not a T.
template <class T>
T* as(TObject* obj)
{
    return obj && obj->is<T>() ? static_cast<T*>(obj) : nullptr;
}
template <class T>
const T* as(const TObject* obj)
{
    return obj && obj->is<T>() ? static_cast<const T*>(obj) : nullptr;
}

class TPersistent : public TObject {
    TK_CLASS(TPersistent)
public:
    // Copies the published state of `source` (fonts, constraints, pictures).
    virtual void assign(const TPersistent& source);

    // Values of properties that the toolkit keeps without giving them
    // behaviour (help context, bidi mode...): stored and read back as given.
    Value keptValue(const std::string& propName, const Value& fallback) const;
    void setKeptValue(const std::string& propName, const Value& v);

    // Told when an owned object (font, constraints) changed.
    virtual void ownedObjectChanged(TPersistent*) {}

private:
    OnDemand<std::map<std::string, Value>> kept_;
};

}  // namespace tk
