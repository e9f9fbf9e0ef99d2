// The main window.
#include "designer/ClientMain.h"

#include "toolkit/PropertyTable.h"

namespace velmora {

tk::ComponentRef<TfrmClientMain> frmClientMain;

TK_DEFINE_CLASS(TfrmClientMain, tk::TForm) {}

TfrmClientMain::TfrmClientMain(tk::TComponent* owner) : tk::TForm(owner)
{
    setName("frmClientMain");
    setBounds(200, 107, 544, 375);
    setCaption("Velmora Document Store");
    setPosition(tk::TPosition::poScreenCenter);
    font()->setName("MS Sans Serif");
    font()->setHeight(-11);
}

void TfrmClientMain::PrepareDesignSurface()
{
    // The design-time wiring of the tab sheets and their controls comes
    // with the designer; the window has no design surface to prepare yet.
}

}  // namespace velmora
