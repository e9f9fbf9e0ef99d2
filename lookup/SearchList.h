// TfrmSearchList: the modal lookup list, "Keresési lista", from which the
// user picks one row of the shared query.
#pragma once

#include "toolkit/ComponentRef.h"
#include "toolkit/Form.h"

namespace velmora {

class TfrmSearchList : public tk::TForm {
    TK_CLASS(TfrmSearchList)
public:
    explicit TfrmSearchList(tk::TComponent* owner);
};

extern tk::ComponentRef<TfrmSearchList> frmSearchList;

}  // namespace velmora
