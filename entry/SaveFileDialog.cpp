// The "Mentés" window.
#include "entry/SaveFileDialog.h"

#include "toolkit/core/PropertyTable.h"
#include "toolkit/widgets/Buttons.h"
#include "toolkit/widgets/Edit.h"
#include "toolkit/widgets/Labels.h"
#include "toolkit/widgets/PlaceControl.h"
#include "toolkit/windows/Application.h"

namespace velmora {

TK_DEFINE_CLASS(TfrmSaveFile, tk::TForm) {}

TfrmSaveFile::TfrmSaveFile(tk::TComponent* owner) : tk::TForm(owner)
{
    setName("frmSaveFile");
    setCaption("Mentés");
    setBorderStyle(tk::TFormBorderStyle::bsDialog);
    setPosition(tk::TPosition::poScreenCenter);
    setClientWidth(360);
    setClientHeight(96);
    tk::placeControl<tk::TLabel>(this, this, "lblFileName", 12, 12, 336, 13)->setCaption("Fájl neve (.pdf vagy .csv):");
    edtFileName = tk::placeControl<tk::TEdit>(this, this, "edtFileName", 12, 30, 336, 21);
    edtFileName->setTabOrder(0);
    auto* ok = tk::placeControl<tk::TButton>(this, this, "btnOK", 192, 62, 75, 25);
    ok->setCaption("Mentés");
    ok->setDefault(true);
    ok->setModalResult(tk::mrOk);
    ok->setTabOrder(1);
    auto* cancel = tk::placeControl<tk::TButton>(this, this, "btnCancel", 273, 62, 75, 25);
    cancel->setCaption("Mégsem");
    cancel->setCancel(true);
    cancel->setModalResult(tk::mrCancel);
    cancel->setTabOrder(2);
    setActiveControl(edtFileName);
}

std::optional<std::string> askSaveFile()
{
    std::string path;
    if (auto chosen = tk::Application->platform().chooseSaveFile("Mentés")) {
        path = *chosen;
    } else {
        auto dialog = tk::createOwnedForm<TfrmSaveFile>();
        if (dialog->showModal() != tk::mrOk) return std::nullopt;
        path = dialog->edtFileName->text();
    }
    if (path.find_first_not_of(" \t") == std::string::npos) return std::nullopt;
    return path;
}

}  // namespace velmora
