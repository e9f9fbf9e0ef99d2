// Queries: open, navigate, locate, edit and post, blob streams.
#include "db/Query.h"

#include "db/Connection.h"
#include "db/DatabaseError.h"
#include "db/Engine.h"
#include "toolkit/core/PropertyTable.h"
#include "toolkit/text/Text.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace db {

TK_DEFINE_CLASS(TADOQuery, tk::TDataSet)
{
    t.component<TADOConnection>("Connection", &TADOQuery::connection, &TADOQuery::setConnection);
    t.string("SQL", &TADOQuery::sqlText, &TADOQuery::setSqlText);
    t.boolean("Active", &TADOQuery::active, &TADOQuery::setActive, false).notStored();
}

TADOQuery::TADOQuery(tk::TComponent* owner) : tk::TDataSet(owner) {}

TADOQuery::~TADOQuery() = default;

TADOConnection* TADOQuery::connection() const
{
    return connection_.get();
}

void TADOQuery::setConnection(TADOConnection* c)
{
    close();
    connection_ = c;
}

void TADOQuery::setSqlText(const std::string& sql)
{
    close();
    sql_ = sql;
    params_.parse(sql);
}

void TADOQuery::setActive(bool v)
{
    if (v) open();
    else close();
}

void TADOQuery::checkActive() const
{
    if (!active()) throw EDatabaseError(name() + ": Cannot perform this operation on a closed dataset");
}

namespace {

// Whether fields made for one result serve another: the same columns, by
// name, kind and origin, in the same order.
bool fieldsMatch(const std::vector<std::unique_ptr<TField>>& fields, const ResultColumns& columns)
{
    if (fields.size() != columns.size()) return false;
    for (size_t c = 0; c < columns.size(); ++c) {
        const TField& f = *fields[c];
        const ResultColumn& col = columns[c];
        if (f.kind() != col.kind || f.fieldName() != col.name || f.tableName() != col.table ||
            f.originName() != col.origin)
            return false;
    }
    return true;
}

}  // namespace

void TADOQuery::open()
{
    if (active()) return;
    if (!connection_) throw EDatabaseError(name() + ": Missing Connection or ConnectionString");
    Engine& engine = connection_->engine();
    std::string text = params_.parse(sql_);
    ResultCache& cache = connection_->resultCache();
    bool paged = paging_.rows > 0;
    bool cacheable = !paged && params_.count() == 0;
    std::optional<uint64_t> stamp = cacheable ? cache.stamp(engine) : std::nullopt;
    std::shared_ptr<const CachedResult> kept = cacheable ? cache.find(text, stamp) : nullptr;
    ResultRows rows;
    if (!kept) {
        std::vector<Cell> values = params_.boundValues();
        // The cells go into the block the last result left (the query is
        // used again and again), so a long result is not allocated anew.
        rows.cells = &cells_;
        if (paged) openPaged(engine, text, rows);
        else engine.query(text, values, rows);
    }
    std::shared_ptr<const ResultColumns> shape = kept ? kept->columns : rows.columns;
    const ResultColumns& columns = *shape;
    std::vector<std::unique_ptr<TField>> fields;
    // Fields left by an earlier result with the same columns are taken back
    // as they were made; a query opened again and again on a wide table
    // (the column checks of a design's save) then makes none.
    auto spare = std::find_if(spares_.begin(), spares_.end(), [&](const SpareFields& s) {
        return s.result == kept && (s.shape == shape || fieldsMatch(s.fields, columns));
    });
    if (spare != spares_.end()) {
        fields = std::move(spare->fields);
        spares_.erase(spare);
        for (auto& f : fields) {
            f->setDisplayLabel("");
            f->setVisible(true);
            f->setShownAs(nullptr);
        }
    } else {
        for (size_t c = 0; c < columns.size(); ++c) {
            const ResultColumn& col = columns[c];
            fields.push_back(
                std::make_unique<TField>(*this, static_cast<int>(c), col.name, col.kind, col.table, col.origin));
        }
    }
    fields_ = std::move(fields);
    shape_ = std::move(shape);
    if (kept) {
        cells_.clear();
        shared_ = kept;
        rowCount_ = kept->rowCount;
    } else {
        shared_.reset();
        rowCount_ = rows.rowCount;
        if (cacheable && rows.readOnly) {
            auto result = std::make_shared<CachedResult>();
            result->columns = std::move(rows.columns);
            result->cells = cells_;
            result->rowCount = rowCount_;
            cache.store(text, stamp, std::move(result));
        }
    }
    state_ = DataSetState::Browse;
    current_ = 0;
    bof_ = true;
    eof_ = rowCount_ == 0;
    dataChanged();
}

void TADOQuery::setPaging(const std::string& key, int rows, PageOrder order)
{
    close();
    paging_ = Paging{};
    paging_.key = key;
    paging_.rows = std::max(0, rows);
    if (tk::sameName(order.column, key)) order.column.clear();
    else if (order.column.empty()) order.descending = true;
    paging_.order = std::move(order);
}

std::string TADOQuery::nextPageStatement(std::vector<Cell>& values) const
{
    values = paging_.values;
    auto param = [&](const Cell& c) {
        values.push_back(c);
        return "?" + std::to_string(values.size());
    };
    const PageOrder& order = paging_.order;
    const char* direction = order.descending ? " desc" : "";
    const char* beyond = order.descending ? " < " : " > ";
    const Cell* lastKey = nullptr;
    const Cell* lastValue = nullptr;
    if (paging_.partRead > 0) {
        size_t last = static_cast<size_t>(paging_.read - 1) * paging_.width;
        lastKey = &cells_[last + static_cast<size_t>(paging_.keyField)];
        if (paging_.orderField >= 0) lastValue = &cells_[last + static_cast<size_t>(paging_.orderField)];
    }
    // What the rows are ordered by, each with the last row's value: the
    // order's column while its part is read, the key last.
    std::vector<std::pair<std::string, Cell>> keys;
    std::vector<std::string> where;
    if (!order.column.empty()) {
        std::string column = quoteIdentifier(order.column);
        if (paging_.inNulls) {
            where.push_back(column + " is null");
        } else {
            where.push_back(column + " is not null");
            Cell value = lastValue ? *lastValue : Cell{};
            if (paging_.plained)
                keys.emplace_back("vplain(" + column + ")",
                                  Cell::text(value.type == Cell::Type::Text ? plainedText(value.s) : ""));
            keys.emplace_back(column, value);
        }
    }
    keys.emplace_back(quoteIdentifier(paging_.key), lastKey ? *lastKey : Cell{});
    if (lastKey) {
        // After the last row: a range of the first key, which an index can
        // follow, then the rows beyond it key by key.
        std::vector<std::string> named;
        for (const auto& k : keys) named.push_back(param(k.second));
        std::string beyondLast = keys.back().first + beyond + named.back();
        for (size_t i = keys.size() - 1; i-- > 0;)
            beyondLast = "(" + keys[i].first + beyond + named[i] + " or (" + keys[i].first + " = " + named[i] +
                         " and " + beyondLast + "))";
        if (keys.size() > 1) where.push_back(keys.front().first + (order.descending ? " <= " : " >= ") + named.front());
        where.push_back(beyondLast);
    }
    std::string orderBy;
    for (const auto& k : keys) orderBy += (orderBy.empty() ? "" : ", ") + k.first + direction;
    std::string sql = "select * from (" + paging_.text + ") as paged";
    for (size_t i = 0; i < where.size(); ++i) sql += (i ? " and " : " where ") + where[i];
    return sql + " order by " + orderBy + " limit " + std::to_string(paging_.rows);
}

void TADOQuery::tookPage(int rows) const
{
    paging_.read += rows;
    paging_.partRead += rows;
    if (rows == paging_.rows) return;
    if (!paging_.order.column.empty() && !paging_.inNulls) {
        paging_.inNulls = true;
        paging_.partRead = 0;
    } else {
        paging_.ended = true;
    }
}

void TADOQuery::openPaged(Engine& engine, const std::string& text, ResultRows& rows)
{
    paging_.text = text;
    paging_.values = params_.boundValues();
    paging_.read = paging_.partRead = 0;
    paging_.inNulls = paging_.ended = false;
    paging_.plained = paging_.order.asText && !engine.isPostgres();
    std::vector<Cell> counted;
    ResultRows count;
    count.cells = &counted;
    std::string counting = "select count(*) from (" + text + ") as counted";
    if (countLimit_ > 0)
        counting = "select count(*) from (select 1 as one from (" + text + ") as counted limit " +
                   std::to_string(countLimit_ + 1) + ") as limited";
    engine.query(counting, paging_.values, count);
    int64_t total = counted.empty() ? 0 : counted.front().type == Cell::Type::Integer ? counted.front().i : 0;
    paging_.beyondCount = countLimit_ > 0 && total > countLimit_;
    std::vector<Cell> values;
    std::string first = nextPageStatement(values);
    engine.query(first, values, rows);
    auto columnOf = [&](const std::string& name) {
        for (size_t c = 0; c < rows.columns->size(); ++c)
            if (tk::sameName((*rows.columns)[c].name, name)) return static_cast<int>(c);
        throw EDatabaseError(this->name() + ": the result has no column " + name + " to page by");
    };
    paging_.keyField = columnOf(paging_.key);
    paging_.orderField = paging_.order.column.empty() ? -1 : columnOf(paging_.order.column);
    paging_.width = rows.columns->size();
    tookPage(rows.rowCount);
    // The first page is whole even when the rows with a value end in it.
    rowCount_ = paging_.ended ? paging_.read : static_cast<int>(std::max<int64_t>(total, paging_.read));
    readThrough(paging_.rows - 1);
    // A result that ended before the count is whatever was committed
    // between the count and its pages.
    rows.rowCount = rowCount_;
}

void TADOQuery::readThrough(int row) const
{
    if (paging_.rows == 0 || row < paging_.read || paging_.ended) return;
    if (!connection_) throw EDatabaseError(name() + ": Missing Connection or ConnectionString");
    Engine& engine = connection_->engine();
    // Room for the pages up to `row` at once, so that reading a long
    // result does not move the rows read so far again and again.
    size_t needed = static_cast<size_t>(std::min(row / paging_.rows + 1, rowCount_ / paging_.rows + 1)) *
                    static_cast<size_t>(paging_.rows) * paging_.width;
    if (needed > cells_.capacity()) cells_.reserve(std::max(needed, cells_.capacity() * 2));
    while (row >= paging_.read && !paging_.ended) {
        std::vector<Cell> values, page;
        std::string statement = nextPageStatement(values);
        ResultRows rows;
        rows.cells = &page;
        engine.query(statement, values, rows);
        cells_.insert(cells_.end(), std::make_move_iterator(page.begin()), std::make_move_iterator(page.end()));
        tookPage(rows.rowCount);
    }
    // Rows deleted since the count end the result early; past a limited
    // count there is one more row to reach until the end is read.
    rowCount_ = paging_.ended ? paging_.read : std::max(rowCount_, paging_.read + (paging_.beyondCount ? 1 : 0));
}

void TADOQuery::setCountLimit(int rows)
{
    countLimit_ = std::max(0, rows);
}

void TADOQuery::readAll() const
{
    readThrough(std::numeric_limits<int>::max());
}

void TADOQuery::close()
{
    if (!active()) return;
    state_ = DataSetState::Inactive;
    paging_.read = paging_.partRead = 0;
    paging_.values.clear();
    constexpr size_t sparesKept = 4;
    if (spares_.size() == sparesKept) spares_.erase(spares_.begin());
    spares_.push_back({shared_, std::move(shape_), std::move(fields_)});
    fields_.clear();
    cells_.clear();
    shared_.reset();
    rowCount_ = 0;
    original_.clear();
    current_ = 0;
    eof_ = bof_ = true;
    dataChanged();
}

TField* TADOQuery::field(int i) const
{
    if (i < 0 || i >= fieldCount()) throw EDatabaseError(name() + ": Field index out of range");
    return fields_[i].get();
}

TField* TADOQuery::findField(const std::string& name) const
{
    for (const auto& f : fields_)
        if (tk::sameName(f->fieldName(), name)) return f.get();
    return nullptr;
}

TField* TADOQuery::fieldByName(const std::string& name) const
{
    if (TField* f = findField(name)) return f;
    throw EDatabaseError("Field '" + name + "' not found");
}

void TADOQuery::takeOwnCells()
{
    if (!shared_) return;
    cells_ = shared_->cells;
    shared_.reset();
}

Cell& TADOQuery::cellAt(int row, int field)
{
    takeOwnCells();
    if (field < 0 || field >= fieldCount() || row < 0 || row >= rowCount_) throw std::out_of_range("cell");
    return cells_[static_cast<size_t>(row) * fields_.size() + static_cast<size_t>(field)];
}

const Cell& TADOQuery::cellAt(int row, int field) const
{
    readThrough(row);
    if (field < 0 || field >= fieldCount() || row < 0 || row >= rowCount_) throw std::out_of_range("cell");
    const std::vector<Cell>& cells = shared_ ? shared_->cells : cells_;
    return cells[static_cast<size_t>(row) * fields_.size() + static_cast<size_t>(field)];
}

const Cell* TADOQuery::currentCell(int field) const
{
    if (!active()) return nullptr;
    readThrough(current_);
    if (current_ >= rowCount_) return nullptr;
    return &std::as_const(*this).cellAt(current_, field);
}

Cell& TADOQuery::editCell(int field)
{
    if (state_ != DataSetState::Edit) throw EDatabaseError(name() + ": Dataset not in edit or insert mode");
    return cellAt(current_, field);
}

void TADOQuery::first()
{
    checkActive();
    current_ = 0;
    bof_ = true;
    eof_ = rowCount_ == 0;
    dataChanged();
}

void TADOQuery::last()
{
    checkActive();
    readThrough(std::numeric_limits<int>::max());
    current_ = rowCount_ == 0 ? 0 : recordCount() - 1;
    eof_ = true;
    bof_ = rowCount_ == 0;
    dataChanged();
}

void TADOQuery::next()
{
    moveBy(1);
}

void TADOQuery::prior()
{
    moveBy(-1);
}

int TADOQuery::moveBy(int n)
{
    checkActive();
    if (state_ == DataSetState::Edit) post();
    if (rowCount_ == 0) {
        eof_ = bof_ = true;
        return 0;
    }
    int target = current_ + n;
    readThrough(target);
    int last = recordCount() - 1;
    eof_ = target > last;
    bof_ = target < 0;
    target = std::clamp(target, 0, last);
    int moved = target - current_;
    current_ = target;
    dataChanged();
    return moved;
}

void TADOQuery::moveTo(int row)
{
    checkActive();
    if (rowCount_ == 0) return;
    if (state_ == DataSetState::Edit) post();
    readThrough(row);
    current_ = std::clamp(row, 0, std::max(0, recordCount() - 1));
    eof_ = bof_ = false;
    dataChanged();
}

bool TADOQuery::locate(const std::string& fieldName, const tk::Value& value, LocateOptions options)
{
    checkActive();
    TField* f = fieldByName(fieldName);
    bool numeric = value.type() == tk::Value::Type::Integer || value.type() == tk::Value::Type::Float;
    std::string wanted = value.isNull() || value.isUnassigned() ? std::string() : value.toString();
    std::u32string folded = tk::foldText(wanted);
    for (int r = 0; r < recordCount(); ++r) {
        readThrough(r);
        if (r >= recordCount()) break;
        const Cell& c = std::as_const(*this).cellAt(r, f->index());
        bool hit;
        if (value.isNull() || value.isUnassigned()) {
            hit = c.type == Cell::Type::Null;
        } else if (c.type == Cell::Type::Null) {
            hit = false;
        } else if (numeric && (c.type == Cell::Type::Integer || c.type == Cell::Type::Float)) {
            double have = c.type == Cell::Type::Integer ? static_cast<double>(c.i) : c.d;
            hit = have == value.toFloat();
        } else {
            bool prefix = (options & loPartialKey) != 0;
            std::string converted;
            std::string_view have = c.s;
            if (c.type != Cell::Type::Text && c.type != Cell::Type::Bytes) have = converted = cellText(c);
            if (options & loCaseInsensitive) hit = tk::matchesFolded(have, folded, prefix);
            else hit = prefix ? have.substr(0, wanted.size()) == wanted : have == wanted;
        }
        if (hit) {
            if (state_ == DataSetState::Edit) post();
            current_ = r;
            eof_ = bof_ = false;
            dataChanged();
            return true;
        }
    }
    return false;
}

void TADOQuery::edit()
{
    checkActive();
    if (state_ == DataSetState::Edit) return;
    if (paging_.rows > 0) throw EDatabaseError(name() + ": a result read in pages cannot be edited");
    if (rowCount_ == 0) throw EDatabaseError(name() + ": Cannot edit: the dataset has no current row");
    const Cell* row = &cellAt(current_, 0);
    original_.assign(row, row + fieldCount());
    state_ = DataSetState::Edit;
}

void TADOQuery::cancel()
{
    if (state_ != DataSetState::Edit) return;
    std::copy(original_.begin(), original_.end(), &cellAt(current_, 0));
    state_ = DataSetState::Browse;
    dataChanged();
}

std::string TADOQuery::updateTable() const
{
    std::string table;
    for (const auto& f : fields_) {
        if (f->tableName().empty()) continue;
        if (table.empty()) table = f->tableName();
        else if (!tk::sameName(table, f->tableName()))
            throw EDatabaseError(name() + ": Cannot update: the query reads more than one table");
    }
    if (table.empty()) throw EDatabaseError(name() + ": Cannot update: the query reads no table");
    return table;
}

void TADOQuery::post()
{
    if (state_ != DataSetState::Edit) return;
    const Cell* now = &cellAt(current_, 0);
    std::vector<int> changed;
    for (int f = 0; f < fieldCount(); ++f)
        if (!(now[f] == original_[f])) changed.push_back(f);
    if (changed.empty()) {
        state_ = DataSetState::Browse;
        return;
    }
    RowUpdate update;
    update.table = updateTable();
    Engine& engine = connection_->engine();

    // The row is found by its primary key when the result holds it, else by
    // all the values it had when read.
    std::vector<std::string> keys = engine.primaryKey(update.table);
    std::vector<int> where;
    for (const std::string& k : keys)
        for (const auto& f : fields_)
            if (tk::sameName(f->originName(), k) && tk::sameName(f->tableName(), update.table))
                where.push_back(f->index());
    update.byKey = !keys.empty() && where.size() == keys.size();
    if (!update.byKey) {
        where.clear();
        for (const auto& f : fields_)
            if (tk::sameName(f->tableName(), update.table)) where.push_back(f->index());
    }
    for (int f : changed) {
        update.setColumns.push_back(fields_[f]->originName());
        update.values.push_back(&now[f]);
    }
    for (int f : where) {
        update.whereColumns.push_back(fields_[f]->originName());
        update.oldValues.push_back(&original_[f]);
    }
    connection_->resultCache().written();
    if (engine.updateRow(update) == 0)
        throw EDatabaseError(name() + ": The row to update was not found; it was changed or deleted meanwhile");
    original_.assign(now, now + fieldCount());
    state_ = DataSetState::Browse;
    dataChanged();
}

std::unique_ptr<BlobStream> TADOQuery::createBlobStream(TField* field, BlobMode mode)
{
    checkActive();
    if (!field) throw EDatabaseError(name() + ": No field for the blob stream");
    if (mode != BlobMode::Read && state_ != DataSetState::Edit)
        throw EDatabaseError(name() + ": Dataset not in edit or insert mode");
    return std::make_unique<BlobStream>(*this, *field, mode);
}

std::string TADOQuery::fieldName(int f) const
{
    return field(f)->fieldName();
}

std::string TADOQuery::displayLabel(int f) const
{
    return field(f)->displayLabel();
}

bool TADOQuery::fieldVisible(int f) const
{
    return field(f)->visible();
}

int TADOQuery::displayWidth(int f) const
{
    return field(f)->displayWidth();
}

std::string TADOQuery::displayText(int row, int f) const
{
    std::string text = storedText(row, f);
    if (text.empty()) return text;
    const auto& shown = fields_[static_cast<size_t>(f)]->shownAs();
    return shown ? shown(text) : text;
}

std::string TADOQuery::storedText(int row, int f) const
{
    if (row < 0 || row >= recordCount() || f < 0 || f >= fieldCount()) return {};
    readThrough(row);
    if (row >= recordCount()) return {};
    const Cell& c = cellAt(row, f);
    if (c.type == Cell::Type::Bytes) return "(BLOB)";
    return cellText(c);
}

BlobStream::BlobStream(TADOQuery& query, TField& field, BlobMode mode) : query_(query), field_(field), mode_(mode)
{
    const Cell& c = field.cell();
    if (mode == BlobMode::Write) {
        modified_ = true;  // even an empty write replaces the value
        return;
    }
    if (c.type != Cell::Type::Null)
        data_ = c.type == Cell::Type::Text || c.type == Cell::Type::Bytes ? c.s : cellText(c);
}

BlobStream::~BlobStream()
{
    try {
        release();
    } catch (...) {
        // The query was closed meanwhile: the bytes have nowhere to go.
    }
}

size_t BlobStream::read(char* buffer, size_t count)
{
    size_t n = std::min(count, data_.size() - std::min(position_, data_.size()));
    std::copy_n(data_.data() + position_, n, buffer);
    position_ += n;
    return n;
}

void BlobStream::write(std::string_view bytes)
{
    if (mode_ == BlobMode::Read) throw EDatabaseError("The blob stream was opened for reading only");
    if (position_ > data_.size()) data_.resize(position_);
    data_.replace(position_, std::min(bytes.size(), data_.size() - position_), bytes);
    position_ += bytes.size();
    modified_ = true;
}

void BlobStream::release()
{
    if (released_) return;
    released_ = true;
    if (mode_ != BlobMode::Read && modified_) field_.setBytes(data_);
}

}  // namespace db
