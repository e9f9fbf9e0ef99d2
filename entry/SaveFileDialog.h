// "Mentés": where a printout goes, a file or a printer, asked in a window
// of the program's own: a path typed into an edit (or chosen in the
// platform's file dialog with "Tallózás…" where there is one), and the
// printers the platform knows in a list. "Mentés" (Enter) saves into the
// file, "Nyomtatás" prints on the chosen printer, "Mégsem" (Esc) cancels.
#pragma once

#include "toolkit/windows/Form.h"

#include <optional>
#include <string>
#include <vector>

namespace tk {
class TButton;
class TComboBox;
class TEdit;
class TLabel;
}  // namespace tk

namespace velmora {

// The file endings a printout may be saved as, and as a label names them
// (".pdf, .csv vagy .xlsx").
inline const std::vector<std::string> listTypes = {".pdf", ".csv", ".xlsx"};
inline const std::vector<std::string> documentTypes = {".pdf"};
std::string endingsText(const std::vector<std::string>& types);
inline constexpr const char* noPrinter = "Nincs beállított nyomtató.";

class TfrmSaveFile : public tk::TForm {
    TK_CLASS(TfrmSaveFile)
public:
    // The file `types` it saves as; the printers as the platform lists
    // them (none: the list says there is none, and "Nyomtatás" is off).
    TfrmSaveFile(tk::TComponent* owner, const std::vector<std::string>& types,
                 const std::vector<std::string>& printers);
    tk::TEdit* edtFileName;
    tk::TComboBox* cbPrinter;
    tk::TButton* btnPrint;
};

// Where to: a file's path, or a printer's name.
struct PrintTarget {
    std::string file;
    std::string printer;
};

// Asks where a printout goes; none when the user cancelled or gave no
// file name.
std::optional<PrintTarget> askPrintTarget(const std::vector<std::string>& types);

}  // namespace velmora
