// The history window.
#include "entry/HistoryWindow.h"

#include "db/Connection.h"
#include "db/Query.h"
#include "db/Statement.h"
#include "toolkit/data/DBGrid.h"
#include "toolkit/data/DataSet.h"
#include "toolkit/widgets/Buttons.h"
#include "toolkit/widgets/PlaceControl.h"
#include "toolkit/windows/Form.h"

namespace velmora {

void openHistory(db::TADOQuery& query, db::TADOConnection& connection, int64_t id,
                 const std::vector<ColumnCaption>& captions)
{
    // A column's caption by the form, the void's reason as "Indok", else
    // the column's own name.
    std::string caption = "CASE c.ColumnName";
    db::NamedValues values = {{"DocumentID", id}};
    for (size_t i = 0; i < captions.size(); ++i) {
        std::string n = std::to_string(i);
        caption += " WHEN :c" + n + " THEN :t" + n;
        values.push_back({"c" + n, captions[i].first});
        values.push_back({"t" + n, captions[i].second});
    }
    caption += " WHEN '' THEN 'Indok' ELSE c.ColumnName END";
    db::open(query, connection,
             "Select h.ChangedAt as [Idő], h.UserLogin as [Felhasználó], h.Action as [Művelet], " + caption +
                 " as [Mező], c.OldValue as [Régi érték], c.NewValue as [Új érték] from DocumentHistory h "
                 "left join DocumentChange c on c.HistoryID = h.HistoryID where h.DocumentID = :DocumentID "
                 "order by h.HistoryID desc, c.ColumnName",
             values);
}

void showHistoryWindow(db::TADOConnection& connection, int64_t id, const std::vector<ColumnCaption>& captions)
{
    auto window = tk::createOwnedForm<tk::TForm>();
    window->setName("frmHistory");
    window->setCaption("Előzmények: " + std::to_string(id));
    window->setBorderStyle(tk::TFormBorderStyle::bsDialog);
    window->setPosition(tk::TPosition::poScreenCenter);
    window->setClientWidth(640);
    window->setClientHeight(320);
    auto* query = new db::TADOQuery(window.get());
    openHistory(*query, connection, id, captions);
    auto* source = new tk::TDataSource(window.get());
    source->setDataSet(query);
    auto* grid = tk::placeControl<tk::TDBGrid>(window.get(), window.get(), "dbgHistory", 8, 8, 624, 264);
    grid->setDataSource(source);
    auto* close = tk::placeControl<tk::TButton>(window.get(), window.get(), "btnClose", 552, 284, 80, 25);
    close->setCaption("Bezár");
    close->setModalResult(tk::mrOk);
    close->setDefault(true);
    close->setCancel(true);
    window->setActiveControl(close);
    window->showModal();
}

}  // namespace velmora
