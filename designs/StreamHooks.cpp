// The classes' stream hooks.
#include "designs/StreamHooks.h"

#include "designs/ImageStream.h"
#include "toolkit/core/Errors.h"
#include "toolkit/data/DBGrid.h"
#include "toolkit/text/Text.h"
#include "toolkit/widgets/Bitmap.h"
#include "toolkit/widgets/PageControl.h"
#include "toolkit/windows/Form.h"
#include "toolkit/windows/Menus.h"

#include <map>

namespace velmora {

using tk::TComponent;
using tk::TPersistent;
using tk::Value;

namespace {

[[noreturn]] void invalidValue()
{
    throw tk::EPropertyError("Invalid property value");
}

bool ownedBy(const TComponent* c, const TComponent& root)
{
    return c->owner() == &root;
}

// A windowed control whose children are anchored otherwise than left and
// top remembers the client size they were laid out in.
bool hasAnchoredChild(const tk::TWinControl& w)
{
    for (tk::TControl* c : w.controls())
        if (c->align() == tk::TAlign::alNone && c->anchors() != (tk::akLeft | tk::akTop)) return true;
    return false;
}

const StreamHooks winControl{
    [](const TPersistent& obj, const TComponent&, ImageWriter& out, const std::string& prefix) {
        const auto& w = static_cast<const tk::TWinControl&>(obj);
        if (!hasAnchoredChild(w)) return;
        out.shortString(prefix + "DesignSize");
        out.type(ValueType::List);
        out.integer(w.clientWidth());
        out.integer(w.clientHeight());
        out.byte(0);
    },
    [](TPersistent&, const TComponent&, const std::string& name, const ImageValue& v) {
        if (!tk::sameName(name, "DesignSize")) return false;
        if (v.type != ValueType::List || v.list.size() != 2 || !v.list[0].isInteger() || !v.list[1].isInteger())
            invalidValue();
        return true;
    },
    [](TComponent& c, TComponent& root) {
        std::vector<TComponent*> out;
        for (tk::TControl* child : static_cast<tk::TWinControl&>(c).childrenInWritingOrder())
            if (ownedBy(child, root)) out.push_back(child);
        return out;
    },
};

// The root window's screen and font of this machine decide these; they are
// written and passed over when read.
const StreamHooks form{
    [](const TPersistent& obj, const TComponent& root, ImageWriter& out, const std::string&) {
        if (&obj != &root) return;
        const auto& f = static_cast<const tk::TCustomForm&>(obj);
        out.shortString("PixelsPerInch");
        out.integer(f.pixelsPerInch());
        out.shortString("TextHeight");
        out.integer(f.textHeight());
    },
    [](TPersistent& obj, const TComponent& root, const std::string& name, const ImageValue& v) {
        if (&obj != &root || !(tk::sameName(name, "PixelsPerInch") || tk::sameName(name, "TextHeight"))) return false;
        if (!v.isInteger()) invalidValue();
        return true;
    },
    nullptr,
};

// A component that is no control keeps the place it had on the designer's
// surface (menu items and the root aside).
bool isNonVisual(const TPersistent& obj, const TComponent& root)
{
    return &obj != &root && !tk::as<tk::TControl>(&obj) && !tk::as<tk::TMenuItem>(&obj);
}

const StreamHooks component{
    [](const TPersistent& obj, const TComponent& root, ImageWriter& out, const std::string&) {
        if (!isNonVisual(obj, root)) return;
        for (const char* key : {"Left", "Top"}) {
            int64_t n = obj.keptValue(std::string("Design") + key, Value(0)).toInt();
            if (n == 0) continue;
            out.shortString(key);
            out.integer(n);
        }
    },
    [](TPersistent& obj, const TComponent& root, const std::string& name, const ImageValue& v) {
        if (!(tk::sameName(name, "Left") || tk::sameName(name, "Top")) || !isNonVisual(obj, root)) return false;
        if (!v.isInteger()) invalidValue();
        obj.setKeptValue(tk::sameName(name, "Left") ? "DesignLeft" : "DesignTop", Value(v.integer));
        return true;
    },
    nullptr,
};

// A picture's bytes, after a 4-byte length.
const StreamHooks bitmap{
    [](const TPersistent& obj, const TComponent&, ImageWriter& out, const std::string& prefix) {
        const auto& bmp = static_cast<const tk::TBitmap&>(obj);
        if (bmp.bmpData().empty()) return;
        std::string data;
        uint32_t n = static_cast<uint32_t>(bmp.bmpData().size());
        for (int i = 0; i < 4; ++i) data += static_cast<char>(n >> (8 * i));
        data.append(bmp.bmpData().begin(), bmp.bmpData().end());
        out.shortString(prefix + "Data");
        out.binary(data);
    },
    [](TPersistent& obj, const TComponent&, const std::string& name, const ImageValue& v) {
        if (!tk::sameName(name, "Data")) return false;
        if (v.type != ValueType::Binary || v.text.size() < 4) invalidValue();
        static_cast<tk::TBitmap&>(obj).setBmpData(std::vector<uint8_t>(v.text.begin() + 4, v.text.end()));
        return true;
    },
    nullptr,
};

// The grid shows the data set's columns; stored columns are passed over.
const StreamHooks grid{
    nullptr,
    [](TPersistent&, const TComponent&, const std::string& name, const ImageValue& v) {
        if (!tk::sameName(name, "Columns")) return false;
        if (v.type != ValueType::Collection) invalidValue();
        return true;
    },
    nullptr,
};

const StreamHooks pageControl{
    nullptr,
    nullptr,
    [](TComponent& c, TComponent& root) {
        std::vector<TComponent*> out;
        for (tk::TTabSheet* p : static_cast<tk::TPageControl&>(c).pages())
            if (ownedBy(p, root)) out.push_back(p);
        return out;
    },
};

const StreamHooks popupMenu{
    nullptr,
    nullptr,
    [](TComponent& c, TComponent& root) {
        std::vector<TComponent*> out;
        for (tk::TMenuItem* i : static_cast<tk::TPopupMenu&>(c).items()->items())
            if (ownedBy(i, root)) out.push_back(i);
        return out;
    },
};

const StreamHooks menuItem{
    nullptr,
    nullptr,
    [](TComponent& c, TComponent& root) {
        std::vector<TComponent*> out;
        for (tk::TMenuItem* i : static_cast<tk::TMenuItem&>(c).items())
            if (ownedBy(i, root)) out.push_back(i);
        return out;
    },
};

const std::map<const tk::ClassInfo*, const StreamHooks*>& table()
{
    static const std::map<const tk::ClassInfo*, const StreamHooks*> hooks = {
        {&tk::TComponent::staticClassInfo(), &component}, {&tk::TWinControl::staticClassInfo(), &winControl},
        {&tk::TCustomForm::staticClassInfo(), &form},     {&tk::TBitmap::staticClassInfo(), &bitmap},
        {&tk::TDBGrid::staticClassInfo(), &grid},         {&tk::TPageControl::staticClassInfo(), &pageControl},
        {&tk::TPopupMenu::staticClassInfo(), &popupMenu}, {&tk::TMenuItem::staticClassInfo(), &menuItem},
    };
    return hooks;
}

}  // namespace

const std::vector<const StreamHooks*>& streamHooksOf(const tk::ClassInfo& cls)
{
    static std::map<const tk::ClassInfo*, std::vector<const StreamHooks*>> known;
    auto [it, added] = known.try_emplace(&cls);
    if (added) {
        for (const tk::ClassInfo* k = &cls; k; k = k->parent)
            if (auto h = table().find(k); h != table().end()) it->second.insert(it->second.begin(), h->second);
    }
    return it->second;
}

std::vector<TComponent*> designChildren(TComponent& c, TComponent& root)
{
    std::vector<TComponent*> out;
    const auto& hooks = streamHooksOf(c.classInfo());
    for (auto h = hooks.rbegin(); h != hooks.rend(); ++h)
        if ((*h)->children) {
            out = (*h)->children(c, root);
            break;
        }
    if (&c == &root) {
        // Then what the window owns that is no control, in order of ownership.
        for (TComponent* o : root.components()) {
            if (tk::as<tk::TControl>(o)) continue;
            if (auto* item = tk::as<tk::TMenuItem>(o); item && item->parentItem()) continue;
            out.push_back(o);
        }
    }
    return out;
}

}  // namespace velmora
