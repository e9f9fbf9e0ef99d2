// Choosing a user group in the lookup list.
#include "palette/GroupChoice.h"

#include "lookup/SearchList.h"
#include "startup/DataModule.h"

namespace velmora {

bool chooseUserGroup(const char* sql, int startOn)
{
    db::TADOQuery* q = dmClientMain->qrySearch;
    q->close();
    q->setSqlText(sql);
    q->open();
    if (startOn != 0) q->locate("UserGroupID", tk::Value(int64_t{startOn}), 0);
    // UserGroupID and FormData are hidden, by their places.
    q->field(0)->setVisible(false);
    q->field(2)->setVisible(false);
    q->fieldByName("UserGroupName")->setDisplayLabel("Felhasználói csoport");
    frmSearchList->dbgSearch->setDataSource(dmClientMain->dstSearch);
    frmSearchList->setSearchColumn("UserGroupName");
    frmSearchList->startEmpty();
    return frmSearchList->showModal() == tk::mrOk;
}

}  // namespace velmora
