// The SQL texts that start-up sends, exactly as the database receives them.
#pragma once

namespace velmora::sql {

inline constexpr const char* login =
    "Select UserTable.*, UserGroup.FormData From UserTable, UserGroup Where UserTable.UserGroupID = "
    "UserGroup.UserGroupID and UserTable.UserLogin = :@UserLogin and UserTable.UserPasswd = :@UserPasswd";

// When the login finds no user by name and password as typed, the user by
// name alone, whose stored password may be a hash.
inline constexpr const char* loginByName =
    "Select UserTable.*, UserGroup.FormData From UserTable, UserGroup Where UserTable.UserGroupID = "
    "UserGroup.UserGroupID and UserTable.UserLogin = :@UserLogin";

inline constexpr const char* dictionaries = "Select * from DictionaryGroup";
inline constexpr const char* fields = "Select * from Fields";

// The data-link file beside the executable.
inline constexpr const char* dataLinkFileName = "VelmoraDSC.udl";

}  // namespace velmora::sql
