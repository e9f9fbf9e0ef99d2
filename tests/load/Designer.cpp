#include "Designer.h"

Designer::Designer(ChildProgram& program, const std::string& login) : gestures_(program)
{
    gestures_.answer(Gestures::login(login, login), "focus");
    tool_ = gestures_.middleOf("frmComonentPalette.SpeedButton2");
    save_ = gestures_.middleOf("frmComonentPalette.btnSave");
    pages_ = gestures_.cornerOf("frmClientMain.pcData");
}

std::string Designer::placeEdit(Point offset) const
{
    return Gestures::click({pages_.x + 20, pages_.y + 10}) + Gestures::click(tool_) +
           Gestures::click({pages_.x + offset.x, pages_.y + offset.y});
}

std::string Designer::save(const std::string& groupPrefix) const
{
    return Gestures::click(save_) + "type " + groupPrefix + "\nkey enter\n";
}
