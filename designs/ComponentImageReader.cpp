// Reading a component image into a component tree (the layout is tabled
// in designs/ImageStream.h).
#include "designs/ComponentImage.h"

#include "designs/ClassRegistry.h"
#include "designs/ImageStream.h"
#include "designs/ImageValue.h"
#include "designs/StreamHooks.h"
#include "toolkit/core/Collection.h"
#include "toolkit/core/ComponentRef.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/text/CodePage.h"
#include "toolkit/text/Locale.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Form.h"
#include "toolkit/windows/Menus.h"

#include <algorithm>
#include <cstring>

namespace velmora {

using tk::PropInfo;
using tk::PropKind;
using tk::TComponent;
using tk::TPersistent;
using tk::Value;

namespace {

[[noreturn]] void invalidValue()
{
    throw tk::EPropertyError("Invalid property value");
}

struct Fixup {
    TPersistent* object;
    const PropInfo* property;
    std::string name;
};

class ComponentReader {
public:
    ComponentReader(std::string_view image, TComponent& root) : in_(image), root_(root) {}

    void run()
    {
        in_.signature();
        skipPrefix();
        in_.shortString();  // the root's class name is compared with nothing
        std::string name = in_.shortString();
        root_.setName(uniqueRootName(name));
        root_.beginLoading();
        try {
            properties(root_, root_);
            while (in_.peek() != 0) child(root_);
            in_.byte();
            resolveReferences();
        } catch (...) {
            // What was read stays, and works.
            endLoading();
            throw;
        }
        endLoading();
        placeInTabOrder();
    }

private:
    // Ends the loading of the root and then of every component read, in the
    // order read. Each was created owned by the root, so the root's list
    // holds them in that order; one that a component's end of loading
    // freed is gone from it, so the walk starts again and passes over the
    // ones already ended.
    void endLoading()
    {
        if (root_.loading()) root_.endLoading();
        const std::vector<TComponent*>& read = root_.components();
        for (size_t i = 0; i < read.size(); ++i) {
            // The components of a big design have long left the cache: ask
            // for those a few steps ahead while this one ends its loading.
            if (i + 4 < read.size()) prefetchObject(read[i + 4]);
            if (!read[i]->loading()) continue;
            size_t before = read.size();
            read[i]->endLoading();
            if (read.size() < before) i = static_cast<size_t>(-1);
        }
    }

    static void prefetchObject(const TComponent* c)
    {
        const char* p = reinterpret_cast<const char*>(c);
        for (int line = 0; line < 8; ++line) __builtin_prefetch(p + line * 64);
    }

    void skipPrefix()
    {
        if ((in_.peek() & 0xF0) != 0xF0) return;
        uint8_t flags = in_.byte() & 0x0F;
        if (flags & ffChildPos) in_.integerOf(in_.type());
    }

    std::string uniqueRootName(const std::string& base)
    {
        auto taken = [&](const std::string& n) {
            if (!tk::Application) return false;
            for (TComponent* c : tk::Application->components())
                if (tk::sameName(c->name(), n)) return true;
            for (tk::TCustomForm* f : tk::Application->windows())
                if (tk::sameName(f->name(), n)) return true;
            return false;
        };
        if (base.empty() || !taken(base)) return base;
        for (int i = 1;; ++i) {
            std::string n = base + "_" + std::to_string(i);
            if (!taken(n)) return n;
        }
    }

    void child(TComponent& enclosing)
    {
        if (++depth_ > 500) ImageReader::fail();
        skipPrefix();
        std::string cls = in_.shortString();
        std::string name = in_.shortString();
        const tk::ClassInfo* info = root_.publishedFieldClass(cls);
        if (!info) info = classRegistry().findClass(cls);
        if (!info || !info->create) throw EReadError(tk::format("Class %s not found", cls));
        root_.prepareName(name);
        TComponent* c = info->create(&root_);
        try {
            c->setName(name);
        } catch (const tk::Error& e) {
            c->free();  // a name already taken: nothing of this object stays
            throw EReadError(e.what());
        }
        c->beginLoading();
        if (!name.empty()) root_.setPublishedField(name, c);
        if (auto* control = tk::as<tk::TControl>(c)) {
            if (auto* parent = tk::as<tk::TWinControl>(&enclosing)) control->setParent(parent);
        } else if (auto* item = tk::as<tk::TMenuItem>(c)) {
            if (auto* menu = tk::as<tk::TPopupMenu>(&enclosing)) menu->items()->add(item);
            else if (auto* parentItem = tk::as<tk::TMenuItem>(&enclosing)) parentItem->add(item);
        }
        properties(*c, *c);
        while (in_.peek() != 0) child(*c);
        in_.byte();
        --depth_;
    }

    // Reads property assignments up to the end byte into `obj`; errors name
    // `named`, the component being read.
    void properties(TPersistent& obj, TComponent& named)
    {
        while (in_.peek() != 0) {
            std::string path = in_.shortString();
            ImageValue v = value(0);
            try {
                assign(obj, path, v);
            } catch (const EReadError&) {
                throw;
            } catch (const tk::Error& e) {
                throw EReadError("Error reading " + named.name() + "." + path + ": " + e.what());
            }
        }
        in_.byte();
    }

    ImageValue value(int depth)
    {
        if (depth > 500) ImageReader::fail();
        ImageValue v;
        v.type = in_.type();
        switch (v.type) {
        case ValueType::Int8:
        case ValueType::Int16:
        case ValueType::Int32:
        case ValueType::Int64: v.integer = in_.integerOf(v.type); break;
        case ValueType::Extended: v.number = in_.extended(); break;
        case ValueType::Single: {
            uint32_t bits = static_cast<uint32_t>(in_.le(4));
            float f;
            std::memcpy(&f, &bits, 4);
            v.number = f;
            break;
        }
        case ValueType::Currency: v.number = static_cast<long double>(static_cast<int64_t>(in_.le(8))) / 10000; break;
        case ValueType::Date: {
            uint64_t bits = in_.le(8);
            double d;
            std::memcpy(&d, &bits, 8);
            v.number = d;
            break;
        }
        case ValueType::String: v.text = tk::ansiToUtf8(in_.shortString(), tk::currentLocale().ansiCodePage); break;
        case ValueType::LString: v.text = tk::ansiToUtf8(in_.bytes(in_.le(4)), tk::currentLocale().ansiCodePage); break;
        case ValueType::Utf8String: v.text = in_.bytes(in_.le(4)); break;
        case ValueType::WString: v.text = tk::toUtf8(tk::fromUtf16le(in_.bytes(in_.le(4) * 2))); break;
        case ValueType::Ident: v.text = in_.shortString(); break;
        case ValueType::Binary: v.text = in_.bytes(in_.le(4)); break;
        case ValueType::Set:
            for (std::string e = in_.shortString(); !e.empty(); e = in_.shortString()) v.set.push_back(e);
            break;
        case ValueType::List:
            while (in_.peek() != 0) v.list.push_back(value(depth + 1));
            in_.byte();
            break;
        case ValueType::Collection:
            while (in_.peek() != 0) {
                ValueType t = in_.type();
                if (t != ValueType::List) {
                    in_.integerOf(t);  // the item's index
                    if (in_.type() != ValueType::List) ImageReader::fail();
                }
                ImageValue::Item item;
                while (in_.peek() != 0) {
                    std::string path = in_.shortString();
                    item.properties.emplace_back(path, value(depth + 1));
                }
                in_.byte();
                v.items.push_back(std::move(item));
            }
            in_.byte();
            break;
        default: break;
        }
        return v;
    }

    // Extra named values of the classes of `obj`; true when `name` was one.
    bool extraValue(TPersistent& obj, const std::string& name, const ImageValue& v)
    {
        for (const StreamHooks* h : streamHooksOf(obj.classInfo()))
            if (h->read && h->read(obj, root_, name, v)) return true;
        return false;
    }

    void assign(TPersistent& obj, const std::string& path, const ImageValue& v)
    {
        // Every part before the last names an object-valued property.
        TPersistent* target = &obj;
        std::string_view rest = path;
        size_t dot;
        while ((dot = rest.find('.')) != std::string_view::npos) {
            std::string part(rest.substr(0, dot));
            const PropInfo* p = target->classInfo().findProperty(part);
            if (!p) throw tk::EPropertyError(tk::format("Property %s does not exist", part));
            if (p->kind != PropKind::Object) invalidValue();
            target = p->get(*target).toObject();
            if (!target) invalidValue();
            rest = rest.substr(dot + 1);
        }
        std::string last(rest);
        if (extraValue(*target, last, v)) return;
        const PropInfo* p = target->classInfo().findProperty(last);
        if (!p) throw tk::EPropertyError(tk::format("Property %s does not exist", last));
        if (p->readOnly() && p->kind != PropKind::Collection) invalidValue();
        setValue(*target, *p, v);
    }

    // The image's value as the property takes it, through the property
    // kind's one conversion; each kind takes only the image types that
    // the writer writes for it.
    void setValue(TPersistent& target, const PropInfo& p, const ImageValue& v)
    {
        bool nil = v.type == ValueType::Nil, ident = v.type == ValueType::Ident;
        Value given;
        switch (p.kind) {
        case PropKind::Integer:
        case PropKind::Int64:
            if (v.isInteger()) given = Value(v.integer);
            else if (ident && p.constants) given = Value(v.text);
            else invalidValue();
            break;
        case PropKind::Char:
            if (v.isInteger()) given = Value(v.integer);
            else if (v.isString()) given = Value(v.text);
            else invalidValue();
            break;
        case PropKind::Enum:
            if (!ident) invalidValue();
            given = Value(v.text);
            break;
        case PropKind::Bool:
            if (v.type != ValueType::True && v.type != ValueType::False) invalidValue();
            given = Value(v.type == ValueType::True);
            break;
        case PropKind::Set:
            if (v.type != ValueType::Set) invalidValue();
            given = Value(int64_t{tk::setFromNames(*p.enumType, v.set)});
            break;
        case PropKind::String:
            if (!v.isString()) invalidValue();
            given = Value(v.text);
            break;
        case PropKind::Float:
            if (v.isFloat()) given = Value(static_cast<double>(v.number));
            else if (v.isInteger()) given = Value(static_cast<double>(v.integer));
            else invalidValue();
            break;
        case PropKind::Variant:
            if (v.isInteger()) given = Value(v.integer);
            else if (v.isFloat()) given = Value(static_cast<double>(v.number));
            else if (v.isString()) given = Value(v.text);
            else if (v.type == ValueType::True || v.type == ValueType::False) given = Value(v.type == ValueType::True);
            else if (v.type == ValueType::Null) given = Value::null();
            else invalidValue();
            break;
        case PropKind::Event:
            if (!nil && !ident) invalidValue();
            given = nil ? Value(tk::Handler()) : Value(v.text);
            break;
        case PropKind::Component:
            if (!nil && !ident) invalidValue();
            if (ident) {
                // A name that is already there is set now, while both
                // components are fresh in the cache; the others are
                // resolved once every component of the design exists.
                if (!resolve(target, p, v.text)) fixups_.push_back({&target, &p, v.text});
                return;
            }
            given = Value(static_cast<TComponent*>(nullptr));
            break;
        case PropKind::Object: invalidValue();
        case PropKind::Collection: {
            if (v.type != ValueType::Collection) invalidValue();
            auto* col = tk::as<tk::TCollection>(p.get(target).toObject());
            if (!col) invalidValue();
            col->clear();
            for (const ImageValue::Item& item : v.items) {
                tk::TCollectionItem* made = col->add();
                for (const auto& [path, value] : item.properties) assign(*made, path, value);
            }
            return;
        }
        }
        p.set(target, tk::propertyValue(target, p, given));
        if (auto* control = tk::as<tk::TWinControl>(&target); control && p.name == "TabOrder")
            tabOrders_.push_back({control, static_cast<int>(given.toInt())});
    }

    // Each control takes its place in its parent's tab order as its loading
    // ends, in the order read, so a sibling placed later can push one placed
    // earlier out of its place. Placing them all again from the lowest
    // number up puts each where the design says.
    void placeInTabOrder()
    {
        std::stable_sort(tabOrders_.begin(), tabOrders_.end(),
                         [](const auto& a, const auto& b) { return a.second < b.second; });
        for (auto& [control, order] : tabOrders_)
            if (control && control->parent()) control->setTabOrder(order);
    }

    // Sets the reference to the component called `name` when there is one
    // that the property takes; false when there is none yet.
    bool resolve(TPersistent& object, const PropInfo& property, const std::string& name)
    {
        TComponent* found = nullptr;
        size_t dot = name.find('.');
        if (dot == std::string::npos) {
            found = tk::sameName(root_.name(), name) ? &root_ : root_.findComponent(name);
        } else if (tk::Application) {
            if (TComponent* top = tk::Application->findComponent(name.substr(0, dot)))
                found = top->findComponent(name.substr(dot + 1));
        }
        if (!found) return false;
        if (found->classInfo().inheritsFrom(property.classType())) property.set(object, Value(found));
        return true;
    }

    // Names that found nothing when read are looked up once the whole
    // design is read; one that still finds nothing leaves the reference none.
    void resolveReferences()
    {
        for (const Fixup& f : fixups_) resolve(*f.object, *f.property, f.name);
    }

    ImageReader in_;
    TComponent& root_;
    std::vector<Fixup> fixups_;
    std::vector<std::pair<tk::ComponentRef<tk::TWinControl>, int>> tabOrders_;
    int depth_ = 0;
};

}  // namespace

void readComponentImage(std::string_view image, TComponent& root)
{
    ComponentReader(image, root).run();
}

}  // namespace velmora
