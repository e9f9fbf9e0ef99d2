// TfrmPasswordDlg: the login dialog, "Bejelentkezés", asking for the login
// name and the password. It has no handlers of its own.
#pragma once

#include "toolkit/widgets/Buttons.h"
#include "toolkit/widgets/Edit.h"
#include "toolkit/widgets/Labels.h"
#include "toolkit/windows/Form.h"

#include <string>

namespace velmora {

class TfrmPasswordDlg : public tk::TForm {
    TK_CLASS(TfrmPasswordDlg)
public:
    explicit TfrmPasswordDlg(tk::TComponent* owner);

    tk::TLabel* Label2;
    tk::TEdit* edtLoginName;
    tk::TLabel* Label1;
    tk::TEdit* edtPasswd;
    tk::TButton* OKBtn;
    tk::TButton* CancelBtn;
};

// A person logging in on the shown login dialog, through the input API: the
// name, Tab, the password, Enter.
void typeLogin(const std::string& login, const std::string& password);

}  // namespace velmora
