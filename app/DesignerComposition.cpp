// The designer's composition.
#include "app/DesignerComposition.h"

#include "designer/ClientMain.h"
#include "lookup/SearchList.h"
#include "model/DesignModel.h"
#include "palette/ComponentPalette.h"
#include "properties/PropertyPage.h"
#include "startup/Program.h"
#include "toolkit/windows/Application.h"

namespace velmora {

const tk::ClassInfo& DesignerComposition::mainWindowClass() const
{
    return TfrmClientMain::staticClassInfo();
}

void DesignerComposition::createWindows()
{
    tk::TApplication& app = *tk::Application;
    app.createForm(frmClientMain);
    app.createForm(frmComonentPalette);
    app.createForm(frmPropertyPage);
    app.createForm(frmSearchList);
}

tk::TForm& DesignerComposition::mainWindow()
{
    return *frmClientMain;
}

void DesignerComposition::prepareMainWindow(bool)
{
    frmClientMain->PrepareDesignSurface();
}

void DesignerComposition::placeAndShow()
{
    TfrmClientMain* main = frmClientMain.get();
    main->show();
    frmPropertyPage->setTop(main->top());
    frmPropertyPage->setLeft(main->left() - frmPropertyPage->width() + 50);
    frmPropertyPage->show();
    frmPropertyPage->bringToFront();
    frmComonentPalette->setTop(main->top() - frmComonentPalette->height() + 50);
    frmComonentPalette->setLeft(main->left() + 50);
    frmComonentPalette->show();
    frmComonentPalette->bringToFront();
    main->setTop(main->top() + 50);
    main->setLeft(main->left() + 50);
    main->bringToFront();

    designModel().showControl(main->activeControl());
}

int runVelmora(tk::Platform& platform, const std::string& executablePath)
{
    DesignerComposition composition;
    return runProgram(platform, executablePath, composition);
}

}  // namespace velmora
