// The tool palette window.
#include "palette/ComponentPalette.h"

#include "toolkit/PropertyTable.h"

namespace velmora {

tk::ComponentRef<TfrmComonentPalette> frmComonentPalette;

TK_DEFINE_CLASS(TfrmComonentPalette, tk::TForm)
{
    t.method("FormCreate", &TfrmComonentPalette::FormCreate);
}

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
    OnCreate = findMethod("FormCreate");
}

void TfrmComonentPalette::FormCreate(tk::TObject*)
{
    tool_ = -1;
}

}  // namespace velmora
