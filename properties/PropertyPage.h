// TfrmPropertyPage: the tool window that shows and edits the properties of
// the selected control of the design.
#pragma once

#include "toolkit/ComponentRef.h"
#include "toolkit/Control.h"
#include "toolkit/Form.h"

#include <string>

namespace velmora {

class TfrmPropertyPage : public tk::TForm {
    TK_CLASS(TfrmPropertyPage)
public:
    explicit TfrmPropertyPage(tk::TComponent* owner);

    tk::TControl* SelectedControl() const { return selected_.get(); }
    tk::TControl* CaptionControl() const { return caption_.get(); }
    // Shows `control` (or nothing) in the page.
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
