// The question a clerk gets when closing the window with unsaved changes:
// "Menti a módosításokat?" with "Igen" (Enter), "Nem" and "Mégsem" (Esc).
#pragma once

#include "toolkit/windows/Form.h"

namespace velmora {

class TfrmSaveQuestion : public tk::TForm {
    TK_CLASS(TfrmSaveQuestion)
public:
    explicit TfrmSaveQuestion(tk::TComponent* owner);
};

// Shows the question modally: mrYes, mrNo or mrCancel.
int askToSaveChanges();

}  // namespace velmora
