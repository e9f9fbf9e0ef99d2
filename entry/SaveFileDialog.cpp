// The "Mentés" window.
#include "entry/SaveFileDialog.h"

#include "toolkit/core/PropertyTable.h"
#include "toolkit/widgets/Buttons.h"
#include "toolkit/widgets/ComboBox.h"
#include "toolkit/widgets/Edit.h"
#include "toolkit/widgets/Labels.h"
#include "toolkit/widgets/PlaceControl.h"
#include "toolkit/windows/Application.h"

namespace velmora {

namespace {

// "Nyomtatás" closes the window with this result.
constexpr int printChosen = tk::mrYes;

}  // namespace

std::string endingsText(const std::vector<std::string>& types)
{
    std::string text;
    for (size_t i = 0; i < types.size(); ++i)
        text += (i == 0 ? "" : i + 1 == types.size() ? " vagy " : ", ") + types[i];
    return text;
}

TK_DEFINE_CLASS(TfrmSaveFile, tk::TForm) {}

TfrmSaveFile::TfrmSaveFile(tk::TComponent* owner, const std::vector<std::string>& types,
                           const std::vector<std::string>& printers)
    : tk::TForm(owner)
{
    setName("frmSaveFile");
    setCaption("Mentés");
    setBorderStyle(tk::TFormBorderStyle::bsDialog);
    setPosition(tk::TPosition::poScreenCenter);
    setClientWidth(360);
    setClientHeight(150);
    tk::placeControl<tk::TLabel>(this, this, "lblFileName", 12, 12, 336, 13)
        ->setCaption("Fájl neve (" + endingsText(types) + "):");
    edtFileName = tk::placeControl<tk::TEdit>(this, this, "edtFileName", 12, 30, 252, 21);
    edtFileName->setTabOrder(0);
    auto* browse = tk::placeControl<tk::TButton>(this, this, "btnBrowse", 273, 28, 75, 25);
    browse->setCaption("Tallózás…");
    browse->setTabOrder(1);
    browse->OnClick = tk::Handler::notify([this, types](tk::TObject*) {
        if (auto chosen = tk::Application->platform().chooseSaveFile("Mentés", "", types); chosen && !chosen->empty())
            edtFileName->setText(*chosen);
    });
    // Only where the platform has a file dialog of its own.
    browse->setVisible(tk::Application->platform().hasFileDialog());

    tk::placeControl<tk::TLabel>(this, this, "lblPrinter", 12, 62, 336, 13)
        ->setCaption(printers.empty() ? std::string("Nyomtató: ") + noPrinter : std::string("Nyomtató:"));
    cbPrinter = tk::placeControl<tk::TComboBox>(this, this, "cbPrinter", 12, 80, 252, 21);
    cbPrinter->setStyle(tk::TComboBoxStyle::csDropDownList);
    cbPrinter->setItems(printers);
    if (!printers.empty()) cbPrinter->setItemIndex(0);
    cbPrinter->setEnabled(!printers.empty());
    cbPrinter->setTabOrder(2);
    btnPrint = tk::placeControl<tk::TButton>(this, this, "btnPrint", 273, 78, 75, 25);
    btnPrint->setCaption("Nyomtatás");
    btnPrint->setModalResult(printChosen);
    btnPrint->setEnabled(!printers.empty());
    btnPrint->setTabOrder(3);

    auto* ok = tk::placeControl<tk::TButton>(this, this, "btnOK", 192, 116, 75, 25);
    ok->setCaption("Mentés");
    ok->setDefault(true);
    ok->setModalResult(tk::mrOk);
    ok->setTabOrder(4);
    auto* cancel = tk::placeControl<tk::TButton>(this, this, "btnCancel", 273, 116, 75, 25);
    cancel->setCaption("Mégsem");
    cancel->setCancel(true);
    cancel->setModalResult(tk::mrCancel);
    cancel->setTabOrder(5);
    setActiveControl(edtFileName);
}

std::optional<PrintTarget> askPrintTarget(const std::vector<std::string>& types)
{
    auto dialog = tk::createOwnedForm<TfrmSaveFile>(types, tk::Application->platform().printers());
    int result = dialog->showModal();
    if (result == printChosen) {
        int i = dialog->cbPrinter->itemIndex();
        if (i < 0 || i >= static_cast<int>(dialog->cbPrinter->items().size())) return std::nullopt;
        return PrintTarget{std::string(), dialog->cbPrinter->items()[static_cast<size_t>(i)]};
    }
    if (result != tk::mrOk) return std::nullopt;
    std::string path = dialog->edtFileName->text();
    if (path.find_first_not_of(" \t") == std::string::npos) return std::nullopt;
    return PrintTarget{path, std::string()};
}

}  // namespace velmora
