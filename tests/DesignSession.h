// A design session without the login: the demonstration database, the data
// module connected to it, and the four windows with the main window shown
// and prepared for design, its entry page in front. Tests act on it through
// the input API.
#pragma once

#include "RolesMode.h"
#include "TempFolder.h"
#include "TestDatabase.h"
#include "app/DesignerComposition.h"
#include "controls/ZEDText.h"
#include "designer/ClientMain.h"
#include "lookup/SearchList.h"
#include "palette/ComponentPalette.h"
#include "properties/PropertyPage.h"
#include "startup/DataModule.h"
#include "startup/DemoDatabase.h"
#include "startup/DesignClasses.h"
#include "toolkit/widgets/PageControl.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/HeadlessPlatform.h"

#include <gtest/gtest.h>

class DesignSession : public ::testing::Test {
protected:
    DesignSession() : app(platform)
    {
        velmora::registerDesignClasses(velmora::TfrmClientMain::staticClassInfo());
        makeDemoDatabase(folder.path());
        putUnderServerRolesInRolesRun(folder.file("VelmoraDSC.udl"));
        velmora::dmClientMain = new velmora::TdmClientMain(&app);  // no login dialog
        velmora::dmClientMain->ADOConnection->setConnectionString(udl());
        // The designer's own role, where users are roles of the server.
        velmora::dmClientMain->ADOConnection->setLogin(velmora::demoLogin, velmora::demoPassword);
        velmora::dmClientMain->ADOConnection->open();
        velmora::dmClientMain->setUserGroupID(1);
        velmora::DesignerComposition().createWindows();
        window = velmora::frmClientMain.get();
        page = velmora::frmPropertyPage.get();
        window->show();
        window->PrepareDesignSurface();
        velmora::frmComonentPalette->show();
        window->activate();
        pages = tk::as<tk::TPageControl>(window->findComponent("pcData"));
        entry = tk::as<tk::TTabSheet>(window->findComponent("tsEdit"));
        search = tk::as<tk::TTabSheet>(window->findComponent("tsSearch"));
        pages->setActivePage(entry);
    }
    std::string udl() const { return "FILE NAME=" + folder.file("VelmoraDSC.udl"); }

    // Places a control with the palette's tool on a sheet (the entry page
    // by default), as a click there does; returns the field control (not
    // its caption label).
    tk::TControl* place(int tool, int x, int y, tk::TTabSheet* sheet = nullptr)
    {
        sheet = sheet ? sheet : entry;
        pages->setActivePage(sheet);
        velmora::frmComonentPalette->setTool(tool);
        int before = window->componentCount();
        app.click(sheet, {x, y});
        auto* last = dynamic_cast<tk::TControl*>(window->components().back());
        if (window->componentCount() - before == 2) last = tk::as<velmora::TZEDText>(last)->focusControl();
        return last;
    }

    TempFolder folder;
    tk::HeadlessPlatform platform;
    tk::TApplication app;
    velmora::TfrmClientMain* window = nullptr;
    velmora::TfrmPropertyPage* page = nullptr;
    tk::TPageControl* pages = nullptr;
    tk::TTabSheet* entry = nullptr;
    tk::TTabSheet* search = nullptr;
};
