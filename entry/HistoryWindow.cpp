// The history window.
#include "entry/HistoryWindow.h"

#include "db/Connection.h"
#include "db/Query.h"
#include "db/Statement.h"
#include "entry/History.h"
#include "entry/ListWindow.h"
#include "toolkit/text/Locale.h"
#include "toolkit/widgets/Buttons.h"

namespace velmora {

void showHistoryWindow(db::TADOConnection& connection, int64_t id, const std::vector<ColumnCaption>& captions)
{
    ListWindow list = makeListWindow("frmHistory", "Előzmények: " + std::to_string(id), "dbgHistory");
    openHistory(*list.query, connection, id, captions);
    list.close->setDefault(true);
    list.window->setActiveControl(list.close);
    list.window->showModal();
}

}  // namespace velmora
