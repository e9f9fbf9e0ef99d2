// The columns of the Document table as the catalogue gives them: name, kind
// and declared length. The clerk's program converts and checks each field's
// value by its column, never by the field's own type code.
#pragma once

#include "db/FieldKind.h"

#include <string>
#include <string_view>
#include <vector>

namespace db {
class TADOQuery;
}

namespace velmora {

struct DocumentColumn {
    std::string name;
    db::FieldKind kind;
    int size = 0;  // the length of a varchar(n), or 0
};

class DocumentColumns {
public:
    // Reads the catalogue through `query`, which is left closed.
    static DocumentColumns read(db::TADOQuery& query);
    // The column of that name, letter case aside; none when there is none.
    const DocumentColumn* find(std::string_view name) const;
    const std::vector<DocumentColumn>& all() const { return columns_; }

private:
    std::vector<DocumentColumn> columns_;
};

}  // namespace velmora
