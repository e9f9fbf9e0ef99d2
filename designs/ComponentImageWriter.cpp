// Writing a component tree as a component image (the layout is tabled in
// designs/ImageStream.h).
#include "designs/ComponentImage.h"

#include "designs/ImageStream.h"
#include "designs/StreamHooks.h"
#include "toolkit/core/Collection.h"
#include "toolkit/core/Component.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/text/Text.h"

#include <functional>

namespace velmora {

using tk::PropInfo;
using tk::PropKind;
using tk::TComponent;
using tk::TPersistent;
using tk::Value;

namespace {

class ComponentWriter {
public:
    explicit ComponentWriter(TComponent& root, std::function<bool(const PropInfo&)> keep = {})
        : root_(root), keep_(std::move(keep))
    {
    }

    std::string run()
    {
        out_.signature();
        component(root_);
        return std::move(out_.bytes());
    }

    std::string runParts(const std::vector<TComponent*>& parts, const std::string& rootClass,
                         const std::string& rootName)
    {
        out_.signature();
        out_.shortString(rootClass);
        out_.shortString(rootName);
        out_.byte(0);
        for (TComponent* part : parts) component(*part);
        out_.byte(0);
        return std::move(out_.bytes());
    }

private:
    void component(TComponent& c)
    {
        out_.shortString(c.className());
        out_.shortString(c.name());
        properties(c, "");
        out_.byte(0);
        for (TComponent* child : designChildren(c, root_)) component(*child);
        out_.byte(0);
    }

    void properties(const TPersistent& obj, const std::string& prefix)
    {
        for (const PropInfo* p : obj.classInfo().properties()) {
            if (!p->isStored(obj)) continue;
            if (keep_ && prefix.empty() && !keep_(*p)) continue;
            if (p->readOnly() && p->kind != PropKind::Object && p->kind != PropKind::Collection) continue;
            property(obj, *p, prefix + p->name);
        }
        extraValues(obj, prefix);
    }

    void property(const TPersistent& obj, const PropInfo& p, const std::string& path)
    {
        Value v = p.get(obj);
        if (p.kind == PropKind::Object) {
            if (TPersistent* o = v.toObject()) properties(*o, path + ".");
            return;
        }
        if (p.kind == PropKind::Variant) {
            variant(v, path);
            return;
        }
        if (tk::isDefaultValue(p, v)) return;
        switch (p.kind) {
        case PropKind::Integer: {
            const std::string* name = p.constants ? p.constants->nameOf(static_cast<int32_t>(v.toInt())) : nullptr;
            out_.shortString(path);
            if (name) out_.ident(*name);
            else out_.integer(v.toInt());
            return;
        }
        case PropKind::Int64:
            out_.shortString(path);
            out_.integer(v.toInt());
            return;
        case PropKind::Char:
        case PropKind::String:
            out_.shortString(path);
            out_.string(tk::propertyText(obj, p, v), false);
            return;
        case PropKind::Enum:
        case PropKind::Bool:
            out_.shortString(path);
            out_.ident(tk::propertyText(obj, p, v));
            return;
        case PropKind::Set: {
            out_.shortString(path);
            out_.type(ValueType::Set);
            for (size_t i = 0; i < p.enumType->values.size() && i < 32; ++i)
                if (v.toInt() & (int64_t{1} << i)) out_.shortString(p.enumType->values[i]);
            out_.byte(0);
            return;
        }
        case PropKind::Float:
            out_.shortString(path);
            out_.extended(v.toFloat());
            return;
        case PropKind::Event: {
            // Only the window's own named handlers can be written.
            const tk::Handler& h = v.toHandler();
            std::string name = h.target() == &root_ ? root_.methodName(h) : std::string();
            if (name.empty()) return;
            out_.shortString(path);
            out_.ident(name);
            return;
        }
        case PropKind::Component: {
            // A component of another window is named with its window's name.
            TComponent* c = v.toComponent();
            out_.shortString(path);
            if (c->root() != &root_ && c != &root_ && c->root() != c) out_.ident(c->root()->name() + "." + c->name());
            else out_.ident(c->name());
            return;
        }
        case PropKind::Collection: {
            auto* col = tk::as<tk::TCollection>(v.toObject());
            if (!col) return;
            out_.shortString(path);
            out_.type(ValueType::Collection);
            for (int i = 0; i < col->count(); ++i) {
                out_.type(ValueType::List);
                properties(*col->item(i), "");
                out_.byte(0);
            }
            out_.byte(0);
            return;
        }
        case PropKind::Object:
        case PropKind::Variant: return;
        }
    }

    void variant(const Value& v, const std::string& path)
    {
        switch (v.type()) {
        case Value::Type::Unassigned: return;
        case Value::Type::Null:
            out_.shortString(path);
            out_.type(ValueType::Null);
            return;
        case Value::Type::Integer:
            out_.shortString(path);
            out_.integer(v.toInt());
            return;
        case Value::Type::Float:
            out_.shortString(path);
            out_.extended(v.toFloat());
            return;
        case Value::Type::Bool:
            out_.shortString(path);
            out_.ident(v.toBool() ? "True" : "False");
            return;
        case Value::Type::String:
            out_.shortString(path);
            out_.string(v.toString(), false);
            return;
        default: return;
        }
    }

    // Named values the classes of `obj` write after its published
    // properties, the ancestors' first.
    void extraValues(const TPersistent& obj, const std::string& prefix)
    {
        for (const StreamHooks* h : streamHooksOf(obj.classInfo()))
            if (h->write) h->write(obj, root_, out_, prefix);
    }

    TComponent& root_;
    std::function<bool(const PropInfo&)> keep_;
    ImageWriter out_;
};

}  // namespace

std::string writeComponentImage(TComponent& root, std::function<bool(const tk::PropInfo&)> keep)
{
    return ComponentWriter(root, std::move(keep)).run();
}

std::string writePartsImage(TComponent& root, const std::vector<TComponent*>& parts, const std::string& rootClass,
                            const std::string& rootName, std::function<bool(const tk::PropInfo&)> keep)
{
    return ComponentWriter(root, std::move(keep)).runParts(parts, rootClass, rootName);
}

}  // namespace velmora
