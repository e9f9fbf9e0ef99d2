// Opening another group's stored design: the group chosen in the lookup
// list becomes the current group and its design replaces the shown one.
// A stored text that cannot be read leaves the shown design as it was,
// and the window is wired for design and where it was in every case.
#include "palette/ComponentPalette.h"

#include "palette/GroupChoice.h"
#include "startup/DataModule.h"

namespace velmora {

void TfrmComonentPalette::btnOpenClick(tk::TObject*)
{
    TdmClientMain& dm = *dmClientMain;
    if (!chooseUserGroup("Select * from UserGroup where FormData is not null", dm.UserGroupID())) return;
    db::TADOQuery& q = *dm.qrySearch;
    dm.setUserGroupID(static_cast<int32_t>(q.fieldByName("UserGroupID")->asInteger()));
    std::string text = q.createBlobStream(q.fieldByName("FormData"), db::BlobMode::Read)->bytes();
    designModel().replaceDesign(text);
}

}  // namespace velmora
