// Opening another group's stored design: the group chosen in the lookup
// list becomes the current group and its design replaces the shown one.
// A stored text that cannot be read leaves the shown design as it was,
// and the window is wired for design and where it was in every case.
#include "palette/ComponentPalette.h"

#include "controls/ComponentImage.h"
#include "controls/Design.h"
#include "controls/FormText.h"
#include "designer/ClientMain.h"
#include "palette/GroupChoice.h"
#include "properties/PropertyPage.h"
#include "startup/DataModule.h"

namespace velmora {

void TfrmComonentPalette::btnOpenClick(tk::TObject*)
{
    TdmClientMain& dm = *dmClientMain;
    if (!chooseUserGroup("Select * from UserGroup where FormData is not null", dm.UserGroupID())) return;
    db::TADOQuery& q = *dm.qrySearch;
    dm.setUserGroupID(static_cast<int32_t>(q.fieldByName("UserGroupID")->asInteger()));
    std::string text = q.createBlobStream(q.fieldByName("FormData"), db::BlobMode::Read)->bytes();

    TfrmClientMain& window = *frmClientMain;
    window.UnhookDesignEvents();
    int top = window.top(), left = window.left();
    auto prepare = [&] {
        window.PrepareDesignSurface();
        window.setTop(top);
        window.setLeft(left);
        frmPropertyPage->ShowControl(window.activeControl());
    };
    if (!text.empty()) {
        std::string image;
        try {
            // Converted before anything in the window is touched.
            image = formTextToImage(text);
        } catch (...) {
            prepare();
            throw;
        }
        // The shown design, to put back if reading fails half-way.
        std::string shown = designText(window);
        try {
            window.destroyComponents();
            readComponentImage(image, window);
        } catch (...) {
            loadDesign(window, shown);
            prepare();
            throw;
        }
    }
    prepare();
}

}  // namespace velmora
