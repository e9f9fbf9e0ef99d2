// velmora-admin roles enable.
#include "admin/RolesCommand.h"

#include "db/Connection.h"
#include "registry/ServerRoles.h"

#include <vector>

namespace velmora {

std::string enableRolesCommand(db::TADOConnection& connection, const std::string& dataLinkFile)
{
    std::vector<std::string> notes = enableServerRoles(connection);
    std::string prefix = rolePrefixOf(connection);
    connection.close();
    rewriteDataLinkForRoles(dataLinkFile, prefix);
    std::string out = "Users are roles of the server now, named " + prefix + ".LOGIN; " + dataLinkFile +
                      " logs in as the user.\n";
    for (const std::string& note : notes) out += note + "\n";
    return out;
}

}  // namespace velmora
