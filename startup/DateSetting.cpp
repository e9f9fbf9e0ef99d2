// The user's choice of date style.
#include "startup/DateSetting.h"

#include "startup/UserFolders.h"
#include "toolkit/text/Text.h"

#include <fstream>
#include <iostream>

namespace velmora {

tk::DateStyle readDateSetting(const std::string& path)
{
    std::ifstream in(path);
    tk::DateStyle style = tk::DateStyle::Hungarian;
    int number = 0;
    for (std::string line; std::getline(in, line);) {
        ++number;
        if (size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        size_t equals = line.find('=');
        if (equals == std::string::npos || tk::trimmed(line.substr(0, equals)) != "dates") continue;
        std::string value = tk::trimmed(line.substr(equals + 1));
        if (tk::sameText(value, "iso")) style = tk::DateStyle::Iso;
        else if (tk::sameText(value, "hungarian")) style = tk::DateStyle::Hungarian;
        else
            std::cerr << path << ":" << number << ": dates = " << value
                      << " is neither hungarian (2026.11.16.) nor iso (2026-11-16); hungarian is used\n";
    }
    return style;
}

void useDateSetting()
{
    std::string folder = userConfigFolder();
    tk::DateStyle style =
        folder.empty() ? tk::DateStyle::Hungarian : readDateSetting(folder + "/" + settingsFileName);
    tk::setCurrentLocale(tk::withDateStyle(tk::currentLocale(), style));
}

}  // namespace velmora
