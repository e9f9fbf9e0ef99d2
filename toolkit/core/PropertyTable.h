// Building a class's published property table: one line per property, from
// the class's own getters and setters. TK_DEFINE_CLASS wraps it.
#pragma once

#include "toolkit/core/ComponentRef.h"
#include "toolkit/core/Object.h"

#include <functional>
#include <type_traits>

namespace tk {

class TComponent;

template <class C>
class PropertyTable {
public:
    explicit PropertyTable(ClassInfo& info) : info_(info), out_(info.declared) {}

    // Chaining modifiers for the property just declared.
    class Entry {
    public:
        explicit Entry(PropInfo& p) : p_(p) {}
        Entry& notStored()
        {
            p_.stored = false;
            return *this;
        }
        Entry& storedIf(std::function<bool(const C&)> pred)
        {
            p_.storedIf = [pred](const TPersistent& o) { return pred(static_cast<const C&>(o)); };
            return *this;
        }
        Entry& constants(const NamedConstants& c)
        {
            p_.constants = &c;
            return *this;
        }

    private:
        PropInfo& p_;
    };

    template <class G, class S>
    Entry integer(const char* name, G get, S set, std::optional<int64_t> def = {})
    {
        PropInfo& p = add(name, PropKind::Integer);
        p.defaultValue = def;
        p.get = [get](const TPersistent& o) { return Value(static_cast<int64_t>(std::invoke(get, cast(o)))); };
        setter(p, set, [](const Value& v) { return static_cast<int>(v.toInt()); });
        return Entry(p);
    }

    template <class G, class S>
    Entry character(const char* name, G get, S set, std::optional<int64_t> def = {})
    {
        PropInfo& p = add(name, PropKind::Char);
        p.defaultValue = def;
        p.get = [get](const TPersistent& o) { return Value(static_cast<int64_t>(std::invoke(get, cast(o)))); };
        setter(p, set, [](const Value& v) { return static_cast<char32_t>(v.toInt()); });
        return Entry(p);
    }

    template <class G, class S>
    Entry boolean(const char* name, G get, S set, std::optional<bool> def = {})
    {
        PropInfo& p = add(name, PropKind::Bool);
        if (def) p.defaultValue = *def ? 1 : 0;
        p.get = [get](const TPersistent& o) { return Value(static_cast<bool>(std::invoke(get, cast(o)))); };
        setter(p, set, [](const Value& v) { return v.toBool(); });
        return Entry(p);
    }

    // Enumerations are kept as their C++ enum type and read as ordinals.
    template <class G, class S, class E = std::decay_t<std::invoke_result_t<G, const C&>>>
    Entry enumeration(const char* name, const EnumType& type, G get, S set,
                      std::type_identity_t<std::optional<E>> def = {})
    {
        PropInfo& p = add(name, PropKind::Enum);
        p.enumType = &type;
        if (def) p.defaultValue = static_cast<int64_t>(*def);
        p.get = [get](const TPersistent& o) { return Value(static_cast<int64_t>(std::invoke(get, cast(o)))); };
        setter(p, set, [](const Value& v) { return static_cast<E>(v.toInt()); });
        return Entry(p);
    }

    // Sets are bit masks over an enumeration type (bit n = ordinal n).
    template <class G, class S>
    Entry set(const char* name, const EnumType& type, G get, S set, std::optional<unsigned> def = {})
    {
        PropInfo& p = add(name, PropKind::Set);
        p.enumType = &type;
        if (def) p.defaultValue = *def;
        p.get = [get](const TPersistent& o) { return Value(static_cast<int64_t>(std::invoke(get, cast(o)))); };
        setter(p, set, [](const Value& v) { return static_cast<unsigned>(v.toInt()); });
        return Entry(p);
    }

    template <class G, class S>
    Entry string(const char* name, G get, S set)
    {
        PropInfo& p = add(name, PropKind::String);
        p.get = [get](const TPersistent& o) { return Value(std::string(std::invoke(get, cast(o)))); };
        setter(p, set, [](const Value& v) { return v.toString(); });
        return Entry(p);
    }

    template <class G, class S>
    Entry floating(const char* name, G get, S set)
    {
        PropInfo& p = add(name, PropKind::Float);
        p.get = [get](const TPersistent& o) { return Value(static_cast<double>(std::invoke(get, cast(o)))); };
        setter(p, set, [](const Value& v) { return v.toFloat(); });
        return Entry(p);
    }

    template <class G, class S>
    Entry variant(const char* name, G get, S set)
    {
        PropInfo& p = add(name, PropKind::Variant);
        p.get = [get](const TPersistent& o) { return Value(std::invoke(get, cast(o))); };
        setter(p, set, [](const Value& v) { return v; });
        return Entry(p);
    }

    // An event property kept in a Handler member of the class.
    Entry event(const char* name, EventKind kind, Handler C::*field)
    {
        PropInfo& p = add(name, PropKind::Event);
        p.eventKind = kind;
        p.get = [field](const TPersistent& o) { return Value(cast(o).*field); };
        p.set = [field](TPersistent& o, const Value& v) { static_cast<C&>(o).*field = v.toHandler(); };
        return Entry(p);
    }

    // A reference to another component of class T (or a descendant).
    template <class T, class G, class S>
    Entry component(const char* name, G get, S set)
    {
        PropInfo& p = add(name, PropKind::Component);
        p.classType = &T::staticClassInfo;
        p.get = [get](const TPersistent& o) { return Value(static_cast<TComponent*>(std::invoke(get, cast(o)))); };
        setter(p, set, [](const Value& v) { return static_cast<T*>(v.toComponent()); });
        return Entry(p);
    }

    // An object owned by the instance (font, constraints, picture); writing
    // it copies the given object's state into the owned one.
    template <class T, class G>
    Entry object(const char* name, G get)
    {
        PropInfo& p = add(name, PropKind::Object);
        p.classType = &T::staticClassInfo;
        p.get = [get](const TPersistent& o) { return Value(static_cast<TPersistent*>(std::invoke(get, cast(o)))); };
        p.set = [get](TPersistent& o, const Value& v) {
            if (TPersistent* src = v.toObject()) std::invoke(get, cast(o))->assign(*src);
        };
        return Entry(p);
    }

    // A collection owned by the instance (status panels); T is the item class.
    template <class T, class G>
    Entry collection(const char* name, G get)
    {
        Entry e = object<TPersistent>(name, get);
        out_.back().kind = PropKind::Collection;
        out_.back().classType = &T::staticClassInfo;
        return e;
    }

    // A property the toolkit keeps without behaviour; `def` is its default.
    Entry kept(const char* name, PropKind kind, std::optional<int64_t> def = {}, const EnumType* type = nullptr)
    {
        PropInfo& p = add(name, kind);
        p.enumType = type;
        p.defaultValue = def;
        std::string key = name;
        Value fallback;
        switch (kind) {
        case PropKind::Bool: fallback = Value(def.value_or(0) != 0); break;
        case PropKind::String: fallback = Value(std::string()); break;
        case PropKind::Float: fallback = Value(0.0); break;
        case PropKind::Variant: break;
        case PropKind::Component: fallback = Value(static_cast<TComponent*>(nullptr)); break;
        case PropKind::Event: fallback = Value(Handler()); break;
        default: fallback = Value(def.value_or(0)); break;
        }
        p.get = [key, fallback](const TPersistent& o) { return o.keptValue(key, fallback); };
        p.set = [key](TPersistent& o, const Value& v) { o.setKeptValue(key, v); };
        return Entry(p);
    }
    Entry keptEvent(const char* name, EventKind kind)
    {
        Entry e = kept(name, PropKind::Event);
        out_.back().eventKind = kind;
        return e;
    }

    // Published methods: the handlers a design binds by name. One overload
    // per event signature.
    void method(const char* name, void (C::*m)(TObject*))
    {
        addMethod(name, EventKind::Notify, [m](C& self, EventCall& e) { (self.*m)(e.sender); });
    }
    void method(const char* name, void (C::*m)(TObject*, TMouseButton, TShiftState, int, int))
    {
        addMethod(name, EventKind::Mouse,
                  [m](C& self, EventCall& e) { (self.*m)(e.sender, e.button, e.shift, e.x, e.y); });
    }
    void method(const char* name, void (C::*m)(TObject*, TShiftState, int, int))
    {
        addMethod(name, EventKind::MouseMove, [m](C& self, EventCall& e) { (self.*m)(e.sender, e.shift, e.x, e.y); });
    }
    void method(const char* name, void (C::*m)(TObject*, uint16_t&, TShiftState))
    {
        addMethod(name, EventKind::Key, [m](C& self, EventCall& e) { (self.*m)(e.sender, e.key, e.shift); });
    }
    void method(const char* name, void (C::*m)(TObject*, char32_t&))
    {
        addMethod(name, EventKind::KeyPress, [m](C& self, EventCall& e) { (self.*m)(e.sender, e.ch); });
    }

    // A published field: a reference member that reading a design points at
    // the component of that name it creates, of class T.
    template <class T>
    void field(const char* name, ComponentRef<T> C::*member)
    {
        FieldInfo f;
        f.name = name;
        f.classType = &T::staticClassInfo;
        f.set = [member](TComponent& self, TComponent* c) { static_cast<C&>(self).*member = as<T>(c); };
        info_.fields.push_back(std::move(f));
    }

    // Withdraws an inherited published property from this class.
    void hide(const char* name)
    {
        PropInfo& p = add(name, PropKind::Integer);
        p.hidden = true;
    }

private:
    static const C& cast(const TPersistent& o) { return static_cast<const C&>(o); }

    PropInfo& add(const char* name, PropKind kind)
    {
        out_.push_back(PropInfo{});
        out_.back().name = name;
        out_.back().kind = kind;
        return out_.back();
    }

    template <class S, class Convert>
    static void setter(PropInfo& p, S set, Convert convert)
    {
        if constexpr (!std::is_null_pointer_v<S>)
            p.set = [set, convert](TPersistent& o, const Value& v) {
                std::invoke(set, static_cast<C&>(o), convert(v));
            };
    }

    template <class Fn>
    void addMethod(const char* name, EventKind kind, Fn fn)
    {
        MethodInfo m;
        m.name = name;
        m.kind = kind;
        m.invoke = [fn](TComponent& self, EventCall& e) { fn(static_cast<C&>(self), e); };
        info_.methods.push_back(std::move(m));
    }

    ClassInfo& info_;
    std::vector<PropInfo>& out_;
};

template <class C>
ClassInfo makeClassInfo(const char* name, const ClassInfo* parent, void (*declare)(PropertyTable<C>&))
{
    ClassInfo info;
    info.name = name;
    info.parent = parent;
    if constexpr (std::is_base_of_v<TComponent, C>) {
        info.isComponent = true;
        if constexpr (std::is_constructible_v<C, TComponent*> && !std::is_abstract_v<C>)
            info.create = [](TComponent* owner) -> TComponent* { return new C(owner); };
    }
    PropertyTable<C> table(info);
    if (declare) declare(table);
    return info;
}

}  // namespace tk

// Defines Class::staticClassInfo(); the block that follows declares the
// class's own published properties through `t`, in declaration order.
#define TK_DEFINE_CLASS(Class, Base)                                                         \
    static void tkDeclare##Class(::tk::PropertyTable<Class>& t);                             \
    const ::tk::ClassInfo& Class::staticClassInfo()                                          \
    {                                                                                        \
        static const ::tk::ClassInfo info =                                                  \
            ::tk::makeClassInfo<Class>(#Class, &Base::staticClassInfo(), &tkDeclare##Class); \
        return info;                                                                         \
    }                                                                                        \
    static void tkDeclare##Class([[maybe_unused]] ::tk::PropertyTable<Class>& t)
