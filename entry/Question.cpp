// The question window.
#include "entry/Question.h"

#include "toolkit/core/PropertyTable.h"
#include "toolkit/widgets/Buttons.h"
#include "toolkit/widgets/Labels.h"
#include "toolkit/widgets/PlaceControl.h"

namespace velmora {

TK_DEFINE_CLASS(TfrmQuestion, tk::TForm) {}

TfrmQuestion::TfrmQuestion(tk::TComponent* owner) : tk::TForm(owner)
{
    setBorderStyle(tk::TFormBorderStyle::bsDialog);
    setCaption("Velmora Document Store");
    setPosition(tk::TPosition::poScreenCenter);
}

void TfrmQuestion::setQuestion(const std::string& name, const std::string& text, bool withCancel)
{
    setName(name);
    int width = std::max(260, 32 + static_cast<int>(text.size()) * 6);
    setClientWidth(width);
    setClientHeight(82);
    auto* label = tk::placeControl<tk::TLabel>(this, this, "lblQuestion", 16, 16, width - 32, 13);
    label->setCaption(text);
    struct Choice {
        const char* name;
        const char* caption;
        int result;
    };
    const Choice choices[] = {
        {"btnYes", "Igen", tk::mrYes}, {"btnNo", "Nem", tk::mrNo}, {"btnCancel", "Mégsem", tk::mrCancel}};
    int left = 16;
    for (const Choice& c : choices) {
        if (c.result == tk::mrCancel && !withCancel) break;
        auto* b = tk::placeControl<tk::TButton>(this, this, c.name, left, 46, 72, 25);
        b->setCaption(c.caption);
        b->setModalResult(c.result);
        b->setDefault(c.result == tk::mrYes);
        b->setCancel(c.result == tk::mrCancel || (!withCancel && c.result == tk::mrNo));
        left += 80;
    }
    setActiveControl(tk::as<tk::TWinControl>(findComponent("btnYes")));
}

int askQuestion(const std::string& name, const std::string& text, bool withCancel)
{
    auto dialog = tk::createOwnedForm<TfrmQuestion>();
    dialog->setQuestion(name, text, withCancel);
    int result = dialog->showModal();
    return result == tk::mrYes || result == tk::mrNo ? result : tk::mrCancel;
}

}  // namespace velmora
