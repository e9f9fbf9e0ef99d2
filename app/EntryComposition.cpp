// The clerk's composition.
#include "app/EntryComposition.h"

#include "designer/ClientMain.h"
#include "entry/EntryForm.h"
#include "lookup/SearchList.h"
#include "startup/DataModule.h"
#include "startup/DateSetting.h"
#include "startup/Program.h"
#include "toolkit/data/DBGrid.h"
#include "toolkit/windows/Application.h"

#include <memory>

namespace velmora {

namespace {
// The application keeps the form; this only looks at it.
std::weak_ptr<EntryForm> running;
}  // namespace

EntryForm* runningEntryForm()
{
    return running.lock().get();
}

const tk::ClassInfo& EntryComposition::mainWindowClass() const
{
    return TfrmClientMain::staticClassInfo();
}

void EntryComposition::createWindows()
{
    tk::TApplication& app = *tk::Application;
    app.createForm(frmClientMain);
    app.createForm(frmSearchList);
}

tk::TForm& EntryComposition::mainWindow()
{
    return *frmClientMain;
}

void EntryComposition::prepareMainWindow(bool storedDesign)
{
    storedDesign_ = storedDesign;
}

void EntryComposition::placeAndShow()
{
    TfrmClientMain* main = frmClientMain.get();
    main->show();
    main->bringToFront();
    auto form = std::make_shared<EntryForm>(*main, *dmClientMain->ADOConnection, dmClientMain->UserID());
    running = form;
    // Searching fills the data module's result query, which the search
    // page's grid shows.
    dmClientMain->qryGetMainData->setConnection(dmClientMain->ADOConnection);
    form->setResultQuery(dmClientMain->qryGetMainData);
    form->setGroupName(dmClientMain->userGroupName());
    // A design stored without the grid's data source still shows results.
    if (auto* grid = tk::as<tk::TDBGrid>(main->findComponent("dbgSearch")); grid && !grid->dataSource())
        grid->setDataSource(dmClientMain->dtsGetMainData);
    tk::Application->keepUntilEnd(form);
    form->start(storedDesign_);
}

int runVelmoraEntry(tk::Platform& platform, const std::string& executablePath)
{
    useDateSetting();
    EntryComposition composition;
    return runProgram(platform, executablePath, composition);
}

}  // namespace velmora
