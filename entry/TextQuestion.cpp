// The text question window.
#include "entry/TextQuestion.h"

#include "toolkit/core/PropertyTable.h"
#include "toolkit/widgets/Buttons.h"
#include "toolkit/widgets/Edit.h"
#include "toolkit/widgets/Labels.h"
#include "toolkit/widgets/PlaceControl.h"

namespace velmora {

TK_DEFINE_CLASS(TfrmTextQuestion, tk::TForm) {}

TfrmTextQuestion::TfrmTextQuestion(tk::TComponent* owner) : tk::TForm(owner)
{
    setBorderStyle(tk::TFormBorderStyle::bsDialog);
    setCaption("Velmora Document Store");
    setPosition(tk::TPosition::poScreenCenter);
}

void TfrmTextQuestion::setQuestion(const std::string& name, const std::string& text)
{
    setName(name);
    setClientWidth(360);
    setClientHeight(108);
    tk::placeControl<tk::TLabel>(this, this, "lblQuestion", 16, 12, 328, 13)->setCaption(text);
    auto* edit = tk::placeControl<tk::TEdit>(this, this, "edtAnswer", 16, 32, 328, 21);
    auto* ok = tk::placeControl<tk::TButton>(this, this, "btnOK", 16, 70, 80, 25);
    ok->setCaption("Rendben");
    ok->setModalResult(tk::mrOk);
    ok->setDefault(true);
    auto* cancel = tk::placeControl<tk::TButton>(this, this, "btnCancel", 104, 70, 80, 25);
    cancel->setCaption("Mégsem");
    cancel->setModalResult(tk::mrCancel);
    cancel->setCancel(true);
    setActiveControl(edit);
}

std::string TfrmTextQuestion::answer() const
{
    auto* edit = tk::as<tk::TEdit>(findComponent("edtAnswer"));
    return edit ? edit->text() : std::string();
}

std::optional<std::string> askForText(const std::string& name, const std::string& text)
{
    auto dialog = tk::createOwnedForm<TfrmTextQuestion>();
    dialog->setQuestion(name, text);
    if (dialog->showModal() != tk::mrOk) return std::nullopt;
    return dialog->answer();
}

}  // namespace velmora
