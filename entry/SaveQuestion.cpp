// The save question's layout.
#include "entry/SaveQuestion.h"

#include "toolkit/core/PropertyTable.h"
#include "toolkit/widgets/Buttons.h"
#include "toolkit/widgets/Labels.h"
#include "toolkit/widgets/PlaceControl.h"

#include <memory>

namespace velmora {

TK_DEFINE_CLASS(TfrmSaveQuestion, tk::TForm) {}

TfrmSaveQuestion::TfrmSaveQuestion(tk::TComponent* owner) : tk::TForm(owner)
{
    setName("frmSaveQuestion");
    setBorderStyle(tk::TFormBorderStyle::bsDialog);
    setCaption("Velmora Document Store");
    setPosition(tk::TPosition::poScreenCenter);
    setClientWidth(260);
    setClientHeight(82);
    auto* text = tk::placeControl<tk::TLabel>(this, this, "lblQuestion", 16, 16, 228, 13);
    text->setCaption("Menti a módosításokat?");
    struct Choice {
        const char* name;
        const char* caption;
        int result;
    };
    const Choice choices[] = {{"btnYes", "Igen", tk::mrYes}, {"btnNo", "Nem", tk::mrNo}, {"btnCancel", "Mégsem", tk::mrCancel}};
    int left = 16;
    for (const Choice& c : choices) {
        auto* b = tk::placeControl<tk::TButton>(this, this, c.name, left, 46, 72, 25);
        b->setCaption(c.caption);
        b->setModalResult(c.result);
        b->setDefault(c.result == tk::mrYes);
        b->setCancel(c.result == tk::mrCancel);
        left += 80;
    }
    setActiveControl(tk::as<tk::TWinControl>(findComponent("btnYes")));
}

int askToSaveChanges()
{
    std::unique_ptr<TfrmSaveQuestion, void (*)(TfrmSaveQuestion*)> dialog(
        tk::createForm<TfrmSaveQuestion>(nullptr), [](TfrmSaveQuestion* d) { d->free(); });
    return dialog->showModal();
}

}  // namespace velmora
