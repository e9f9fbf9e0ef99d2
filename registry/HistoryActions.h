// The words a history row records as its action, the same whether the
// program or the server's trigger writes the row.
#pragma once

namespace velmora {

inline constexpr const char* historyInsert = "felvitel";
inline constexpr const char* historyUpdate = "módosítás";
inline constexpr const char* historyVoid = "érvénytelenítés";
inline constexpr const char* historyImport = "importálás";
// What the history rows of attaching and removing say.
inline constexpr const char* historyAttach = "csatolás";
inline constexpr const char* historyDetach = "csatolás törlése";
inline constexpr const char* historyPurge = "végleges törlés";
// The column name of a void's change row, whose new value is the reason.
inline constexpr const char* voidReasonColumn = "";

}  // namespace velmora
