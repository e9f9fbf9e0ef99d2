// The SQL texts that start-up sends, exactly as the database receives them.
#pragma once

namespace velmora::sql {

inline constexpr const char* login =
    "Select UserTable.*, UserGroup.FormData From UserTable, UserGroup Where UserTable.UserGroupID = "
    "UserGroup.UserGroupID and UserTable.UserLogin = :@UserLogin and UserTable.UserPasswd = :@UserPasswd";

// The data-link file beside the executable.
inline constexpr const char* dataLinkFileName = "VelmoraDSC.udl";

}  // namespace velmora::sql
