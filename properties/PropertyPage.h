// TfrmPropertyPage: the tool window that shows and edits the properties of
// the selected control of the design.
#pragma once

#include "toolkit/ComponentRef.h"
#include "toolkit/Control.h"
#include "toolkit/Form.h"
#include "toolkit/HintWindow.h"

#include <string>

namespace velmora {

class TfrmPropertyPage : public tk::TForm {
    TK_CLASS(TfrmPropertyPage)
public:
    explicit TfrmPropertyPage(tk::TComponent* owner);

    // The control whose field properties the page shows, and the one whose
    // Caption it shows; either becomes none when its control goes.
    tk::TControl* SelectedControl() const { return selected_.get(); }
    void setSelectedControl(tk::TControl* c) { selected_ = c; }
    tk::TControl* CaptionControl() const { return caption_.get(); }
    void setCaptionControl(tk::TControl* c) { caption_ = c; }
    // The hint that shows an invalid field name.
    tk::ComponentRef<tk::THintWindow> ErrorHint;

    // Shows `control` (or nothing) in the page. For now it resolves which
    // control is selected and which one's caption is shown; the editors
    // come with the rest of the page.
    void ShowControl(tk::TControl* control);
    // The dictionary registered for a field name (letter case aside), or
    // empty; asks the database through qrySearch.
    std::string DictionaryOfField(const std::string& name);

private:
    tk::ComponentRef<tk::TControl> selected_;
    tk::ComponentRef<tk::TControl> caption_;
};

extern tk::ComponentRef<TfrmPropertyPage> frmPropertyPage;

}  // namespace velmora
