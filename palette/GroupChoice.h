// Letting the user choose a user group in the lookup list, as saving and
// opening do: the list over qrySearch shows only the group names, titled
// "Felhasználói csoport", and searches in UserGroupName.
#pragma once

namespace velmora {

// Opens qrySearch on `sql` (positioned on the group `startOn` when it is
// listed, else on the first row), shows the lookup list modally, and tells
// whether the user confirmed a group, which is then the current row.
bool chooseUserGroup(const char* sql, int startOn);

}  // namespace velmora
