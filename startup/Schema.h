// The SQL texts that start-up sends, exactly as the database receives them.
#pragma once

namespace velmora::sql {

inline constexpr const char* login =
    "Select UserTable.*, UserGroup.FormData From UserTable, UserGroup Where UserTable.UserGroupID = "
    "UserGroup.UserGroupID and UserTable.UserLogin = :@UserLogin and UserTable.UserPasswd = :@UserPasswd";

inline constexpr const char* documentColumns = "Select* from Document where DocumentID is null";
inline constexpr const char* dictionaries = "Select * from DictionaryGroup";
inline constexpr const char* fields = "Select * from Fields";

// The data-link file beside the executable.
inline constexpr const char* dataLinkFileName = "VelmoraDSC.udl";

}  // namespace velmora::sql
