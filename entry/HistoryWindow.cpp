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

void openHistory(db::TADOQuery& query, db::TADOConnection& connection, int64_t id,
                 const std::vector<ColumnCaption>& captions)
{
    // A column's caption by the form, the void's reason as "Indok", an
    // attachment as "Fájl", else the column's own name.
    std::string caption = "CASE c.ColumnName";
    db::NamedValues values = {{"DocumentID", id}};
    for (size_t i = 0; i < captions.size(); ++i) {
        std::string n = std::to_string(i);
        caption += " WHEN :c" + n + " THEN :t" + n;
        values.push_back({"c" + n, captions[i].first});
        values.push_back({"t" + n, captions[i].second});
    }
    caption += " WHEN '' THEN CASE WHEN h.Action = :VoidAction THEN 'Indok' ELSE 'Fájl' END ELSE c.ColumnName END";
    values.push_back({"VoidAction", historyVoid});
    db::open(query, connection,
             "Select h.ChangedAt as [Idő], h.RegistryNumber as [Iktatószám], h.UserLogin as [Felhasználó], h.Action as [Művelet], " + caption +
                 " as [Mező], c.OldValue as [Régi érték], c.NewValue as [Új érték] from DocumentHistory h "
                 "left join DocumentChange c on c.HistoryID = h.HistoryID where h.DocumentID = :DocumentID "
                 "order by h.HistoryID desc, c.ColumnName",
             values);
    query.field(0)->setShownAs(tk::shownDateTime);
}

void showHistoryWindow(db::TADOConnection& connection, int64_t id, const std::vector<ColumnCaption>& captions)
{
    ListWindow list = makeListWindow("frmHistory", "Előzmények: " + std::to_string(id), "dbgHistory");
    openHistory(*list.query, connection, id, captions);
    list.close->setDefault(true);
    list.window->setActiveControl(list.close);
    list.window->showModal();
}

}  // namespace velmora
