// "Mentés": where to save a list, asked in a window of the program's own
// when the platform has no file dialog (the headless console): a path
// typed into an edit, Enter to confirm, Esc to cancel, as in the lookup list.
#pragma once

#include "toolkit/windows/Form.h"

#include <optional>
#include <string>

namespace tk {
class TEdit;
}

namespace velmora {

class TfrmSaveFile : public tk::TForm {
    TK_CLASS(TfrmSaveFile)
public:
    explicit TfrmSaveFile(tk::TComponent* owner);
    tk::TEdit* edtFileName;
};

// The path to save into: the platform's dialog where it has one, else the
// "Mentés" window; none when the user cancelled or gave no name.
std::optional<std::string> askSaveFile();

}  // namespace velmora
