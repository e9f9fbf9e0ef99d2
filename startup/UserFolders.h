// Where an installed program keeps the user's files: the configuration
// folder ($XDG_CONFIG_HOME/velmora, by default ~/.config/velmora) for the
// data-link file, the data folder ($XDG_DATA_HOME/velmora, by default
// ~/.local/share/velmora) for the embedded database. An installed program
// has no folder of its own to write to; these are the only environment
// variables the programs read.
#pragma once

#include <string>

namespace velmora {

// Each without a closing "/"; empty when neither the variable nor HOME is
// set.
std::string userConfigFolder();
std::string userDataFolder();

// The data-link file a program reads: the one beside the executable when it
// is there (even a broken one), else the one in the user's configuration
// folder when that is there, else the one beside the executable (whose
// absence the start-up then reports).
std::string dataLinkFilePath(const std::string& executableFolder);

}  // namespace velmora
