// How the clerk's program and velmora-admin show dates: the Hungarian
// "2026.11.16." whatever the desk's locale says, or ISO "2026-11-16" where
// the user's settings file, velmora.conf in the configuration folder
// (UserFolders.h), has the line
//     dates = iso
// Lines are "name = value"; "#" begins a comment. The designer never reads it.
#pragma once

#include "toolkit/text/DateReading.h"

#include <string>

namespace velmora {

inline constexpr const char* settingsFileName = "velmora.conf";

// The date style the settings file at `path` chooses; Hungarian when the
// file or the line is missing. A value it does not know is said on
// standard error and read as Hungarian.
tk::DateStyle readDateSetting(const std::string& path);

// Makes the current locale show and read dates in the user's chosen style.
void useDateSetting();

}  // namespace velmora
