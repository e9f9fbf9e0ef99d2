// The tool palette window.
#include "palette/ComponentPalette.h"

#include "glyphs/PaletteGlyphs.h"
#include "toolkit/core/PropertyTable.h"
#include "toolkit/widgets/Panels.h"
#include "toolkit/widgets/PlaceControl.h"

namespace velmora {

tk::ComponentRef<TfrmComonentPalette> frmComonentPalette;

TK_DEFINE_CLASS(TfrmComonentPalette, tk::TForm)
{
    t.method("FormCreate", &TfrmComonentPalette::FormCreate);
    t.method("btnArrowClick", &TfrmComonentPalette::btnArrowClick);
    t.method("btnOpenClick", &TfrmComonentPalette::btnOpenClick);
    t.method("btnSaveClick", &TfrmComonentPalette::btnSaveClick);
    t.method("FormKeyDown", &TfrmComonentPalette::FormKeyDown);
}

namespace {

struct ButtonSpec {
    const char* name;
    int tag;
    int left, width, height;
    int group;
    std::vector<uint8_t> (*picture)();
    const char* handler;
    // What a screen reader calls the button (the palette shows no hints).
    const char* hint;
};

const ButtonSpec buttons[] = {
    {"btnArrow", -1, 0, 33, 33, 1, glyphs::arrowTool, "btnArrowClick", "Kijelölés"},
    {"SpeedButton2", 0, 40, 33, 33, 1, glyphs::editTool, "btnArrowClick", "Beviteli mező"},
    {"SpeedButton5", 1, 72, 33, 33, 1, glyphs::labelTool, "btnArrowClick", "Felirat"},
    {"SpeedButton3", 2, 104, 33, 33, 1, glyphs::pickerTool, "btnArrowClick", "Dátummező"},
    {"SpeedButton4", 3, 136, 33, 33, 1, glyphs::checkBoxTool, "btnArrowClick", "Jelölőnégyzet"},
    {"btnOpen", 0, 179, 21, 20, 0, glyphs::openDesign, "btnOpenClick", "Megnyitás"},
    {"btnSave", 0, 203, 21, 20, 0, glyphs::saveDesign, "btnSaveClick", "Mentés"},
};

}  // namespace

TfrmComonentPalette::TfrmComonentPalette(tk::TComponent* owner) : tk::TForm(owner)
{
    setName("frmComonentPalette");
    setCaption("Szerkesztőpanel");
    setBorderStyle(tk::TFormBorderStyle::bsToolWindow);
    setBorderIcons(tk::biMinimize | tk::biMaximize);
    setClientWidth(230);
    setClientHeight(34);
    setColor(tk::clBtnFace);
    font()->setName("MS Sans Serif");
    font()->setHeight(-11);

    // The separating line lies under the open button's left edge: first,
    // so that the button stays on top of it.
    auto* bevel = tk::placeControl<tk::TBevel>(this, this, "Bevel1", 176, 0, 9, 33);
    bevel->setShape(tk::TBevelShape::bsLeftLine);

    for (const ButtonSpec& spec : buttons) {
        auto* b = tk::placeControl<tk::TSpeedButton>(this, this, spec.name, spec.left, 0, spec.width, spec.height);
        b->setTag(spec.tag);
        b->setGroupIndex(spec.group);
        b->setFlat(true);
        b->glyph()->setBmpData(spec.picture());
        b->OnClick = findMethod(spec.handler);
        b->setHint(spec.hint);
    }
    btnArrow = tk::as<tk::TSpeedButton>(findComponent("btnArrow"));
    btnOpen = tk::as<tk::TSpeedButton>(findComponent("btnOpen"));
    btnSave = tk::as<tk::TSpeedButton>(findComponent("btnSave"));
    btnArrow->setDown(true);

    OnCreate = findMethod("FormCreate");
    OnKeyDown = findMethod("FormKeyDown");
    designModel().addObserver(*this, *this);
}

void TfrmComonentPalette::FormCreate(tk::TObject*)
{
    setTool(-1);
}

void TfrmComonentPalette::btnArrowClick(tk::TObject* sender)
{
    if (auto* c = tk::as<tk::TComponent>(sender)) setTool(c->tag());
}

void TfrmComonentPalette::FormKeyDown(tk::TObject*, uint16_t& key, tk::TShiftState shift)
{
    if ((key == tk::vk::Left || key == tk::vk::Right) && !shift) {
        // The arrow and the four control tools, round.
        int t = tool() + (key == tk::vk::Right ? 1 : -1);
        setTool(t > 3 ? -1 : t < -1 ? 3 : t);
        key = 0;
    } else if (shift == tk::ssCtrl && key == 'O') {
        key = 0;
        btnOpenClick(btnOpen.get());
    } else if (shift == tk::ssCtrl && key == 'S') {
        key = 0;
        btnSaveClick(btnSave.get());
    }
}

void TfrmComonentPalette::toolChanged(int tool)
{
    for (const ButtonSpec& spec : buttons)
        if (spec.group == 1 && spec.tag == tool)
            if (auto* b = tk::as<tk::TSpeedButton>(findComponent(spec.name))) b->setDown(true);
}

}  // namespace velmora
