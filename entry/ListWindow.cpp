// Laying out a list window.
#include "entry/ListWindow.h"

#include "db/Query.h"
#include "toolkit/data/DBGrid.h"
#include "toolkit/data/DataSet.h"
#include "toolkit/widgets/Buttons.h"
#include "toolkit/widgets/PlaceControl.h"

namespace velmora {

namespace {
constexpr int footTop = 284;
}

ListWindow makeListWindow(const std::string& name, const std::string& caption, const std::string& gridName)
{
    auto window = tk::createOwnedForm<tk::TForm>();
    window->setName(name);
    window->setCaption(caption);
    window->setBorderStyle(tk::TFormBorderStyle::bsDialog);
    window->setPosition(tk::TPosition::poScreenCenter);
    window->setClientWidth(640);
    window->setClientHeight(320);
    auto* query = new db::TADOQuery(window.get());
    auto* source = new tk::TDataSource(window.get());
    source->setDataSet(query);
    auto* grid = tk::placeControl<tk::TDBGrid>(window.get(), window.get(), gridName, 8, 8, 624, 264);
    grid->setDataSource(source);
    grid->setColumnsFitContent(true);
    auto* close = tk::placeControl<tk::TButton>(window.get(), window.get(), "btnClose", 552, footTop, 80, 25);
    close->setCaption("Bezár");
    close->setModalResult(tk::mrOk);
    close->setCancel(true);
    return {std::move(window), query, grid, close};
}

tk::TButton* addFootButton(ListWindow& list, const std::string& name, const std::string& caption, int left, int width)
{
    auto* b = tk::placeControl<tk::TButton>(list.window.get(), list.window.get(), name, left, footTop, width, 25);
    b->setCaption(caption);
    return b;
}

}  // namespace velmora
