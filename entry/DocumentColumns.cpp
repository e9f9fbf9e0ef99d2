// Reading Document's columns from the catalogue.
#include "entry/DocumentColumns.h"

#include "db/Query.h"
#include "startup/Schema.h"
#include "toolkit/text/Text.h"

namespace velmora {

DocumentColumns DocumentColumns::read(db::TADOQuery& query)
{
    query.close();
    query.setSqlText(sql::documentColumns);
    query.open();
    DocumentColumns result;
    for (int i = 0; i < query.fieldCount(); ++i) {
        db::TField* f = query.field(i);
        result.columns_.push_back({f->fieldName(), f->kind(), f->size()});
    }
    query.close();
    return result;
}

const DocumentColumn* DocumentColumns::find(std::string_view name) const
{
    for (const DocumentColumn& c : columns_)
        if (tk::sameName(c.name, name)) return &c;
    return nullptr;
}

}  // namespace velmora
