// A login typed into the program's dialog, for a headless run of a whole
// program in the test's own process: name, Tab, password, Enter; then the
// program is told to end once its windows are up.
#pragma once

#include "toolkit/windows/Application.h"
#include "toolkit/windows/HeadlessPlatform.h"

#include <string>

inline void scriptLogin(tk::HeadlessPlatform& platform, const std::string& name, const std::string& password)
{
    platform.script([=] {
        tk::Application->typeText(name);
        tk::Application->pressKey(tk::vk::Tab);
        tk::Application->typeText(password);
        tk::Application->pressKey(tk::vk::Return);
        tk::Application->terminate();
    });
}
