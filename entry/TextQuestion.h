// A question answered with a line of text: "Rendben" (Enter) takes it,
// "Mégsem" (Esc) takes nothing. The reason a document is voided for.
#pragma once

#include "toolkit/windows/Form.h"

#include <optional>
#include <string>

namespace velmora {

class TfrmTextQuestion : public tk::TForm {
    TK_CLASS(TfrmTextQuestion)
public:
    explicit TfrmTextQuestion(tk::TComponent* owner);
    // Names the window and sets the question.
    void setQuestion(const std::string& name, const std::string& text);
    std::string answer() const;
};

// Shows the question modally: the text typed, or none when cancelled.
std::optional<std::string> askForText(const std::string& name, const std::string& text);

}  // namespace velmora
