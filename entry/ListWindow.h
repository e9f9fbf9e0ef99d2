// A dialog that lists rows of a query in a grid, with buttons along its
// foot and "Bezár" at the right: the history and the attachment windows.
#pragma once

#include "toolkit/windows/Form.h"

#include <string>

namespace db {
class TADOQuery;
}

namespace tk {
class TButton;
class TDBGrid;
}  // namespace tk

namespace velmora {

struct ListWindow {
    tk::OwnedForm<tk::TForm> window;
    db::TADOQuery* query;  // owned by the window, not yet opened
    tk::TDBGrid* grid;
    tk::TButton* close;  // closes with mrOk, and on Esc
};

ListWindow makeListWindow(const std::string& name, const std::string& caption, const std::string& gridName);

// A button along the window's foot.
tk::TButton* addFootButton(ListWindow& list, const std::string& name, const std::string& caption, int left, int width);

}  // namespace velmora
