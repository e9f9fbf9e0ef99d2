// The login dialog's layout.
#include "startup/PasswordDlg.h"

#include "toolkit/core/PropertyTable.h"
#include "toolkit/widgets/PlaceControl.h"
#include "toolkit/windows/Application.h"

namespace velmora {

TK_DEFINE_CLASS(TfrmPasswordDlg, tk::TForm) {}

namespace {
// The dialog keeps its controls' sizes exactly: nothing sizes itself.
template <class T>
T* place(tk::TForm* form, const char* name, int left, int top, int width, int height)
{
    T* c = tk::placeControl<T>(form, form, name, left, top, width, height);
    c->setAutoSize(false);
    c->setBounds(left, top, width, height);
    return c;
}
}  // namespace

TfrmPasswordDlg::TfrmPasswordDlg(tk::TComponent* owner) : tk::TForm(owner)
{
    setName("frmPasswordDlg");
    setBorderStyle(tk::TFormBorderStyle::bsDialog);
    setBounds(245, 108, width(), height());
    setClientWidth(233);
    setClientHeight(149);
    setCaption("Bejelentkezés");
    setPosition(tk::TPosition::poScreenCenter);
    setParentFont(true);

    Label2 = place<tk::TLabel>(this, "Label2", 8, 9, 88, 13);
    Label2->setCaption("Bejelentkező név :");
    edtLoginName = place<tk::TEdit>(this, "edtLoginName", 8, 27, 217, 21);
    edtLoginName->setTabOrder(0);
    Label1 = place<tk::TLabel>(this, "Label1", 8, 57, 35, 13);
    Label1->setCaption("Jelszó :");
    edtPasswd = place<tk::TEdit>(this, "edtPasswd", 8, 75, 217, 21);
    edtPasswd->setPasswordChar(U'*');
    edtPasswd->setTabOrder(1);
    OKBtn = place<tk::TButton>(this, "OKBtn", 70, 115, 75, 25);
    OKBtn->setCaption("OK");
    OKBtn->setDefault(true);
    OKBtn->setModalResult(tk::mrOk);
    OKBtn->setTabOrder(2);
    CancelBtn = place<tk::TButton>(this, "CancelBtn", 150, 115, 75, 25);
    CancelBtn->setCaption("Cancel");
    CancelBtn->setCancel(true);
    CancelBtn->setModalResult(tk::mrCancel);
    CancelBtn->setTabOrder(3);
}

void typeLogin(const std::string& login, const std::string& password)
{
    tk::Application->typeText(login);
    tk::Application->pressKey(tk::vk::Tab);
    tk::Application->typeText(password);
    tk::Application->pressKey(tk::vk::Return);
}

}  // namespace velmora
