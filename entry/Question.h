// A question with "Igen" (Enter) and "Nem", and "Mégsem" (Esc) when the
// answer may also be to do nothing: closing with unsaved changes ("Menti a
// módosításokat?"), adding a typed dictionary entry.
#pragma once

#include "toolkit/windows/Form.h"

#include <string>

namespace velmora {

class TfrmQuestion : public tk::TForm {
    TK_CLASS(TfrmQuestion)
public:
    explicit TfrmQuestion(tk::TComponent* owner);
    // Names the window, sets the question and the buttons.
    void setQuestion(const std::string& name, const std::string& text, bool withCancel);
};

// Shows the question modally: mrYes, mrNo or (with Mégsem, or Esc) mrCancel.
int askQuestion(const std::string& name, const std::string& text, bool withCancel);

// "Menti a módosításokat?" with Igen, Nem and Mégsem.
inline int askToSaveChanges()
{
    return askQuestion("frmSaveQuestion", "Menti a módosításokat?", true);
}

}  // namespace velmora
