// The lookup list window.
#include "lookup/SearchList.h"

#include "toolkit/PropertyTable.h"

namespace velmora {

tk::ComponentRef<TfrmSearchList> frmSearchList;

TK_DEFINE_CLASS(TfrmSearchList, tk::TForm) {}

TfrmSearchList::TfrmSearchList(tk::TComponent* owner) : tk::TForm(owner)
{
    setName("frmSearchList");
    setCaption("Keresési lista");
    setBounds(262, 137, 415, 375);
    setPosition(tk::TPosition::poOwnerFormCenter);
    setKeyPreview(true);
    font()->setName("MS Sans Serif");
    font()->setHeight(-14);
}

}  // namespace velmora
