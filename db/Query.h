// TADOQuery: an SQL text with named parameters whose result is read whole
// when opened (or a page at a time, see setPaging); the first row is current. Columns by position and name,
// navigation, locate, edit and post of the current row, blob streams. It is
// a data set, so a data source can show it in a grid.
#pragma once

#include "db/Field.h"
#include "db/Parameters.h"
#include "db/ResultCache.h"
#include "toolkit/data/DataSet.h"

#include <memory>
#include <string>
#include <vector>

namespace db {

class TADOConnection;
class BlobStream;

using LocateOptions = unsigned;
constexpr LocateOptions loCaseInsensitive = 1, loPartialKey = 2;

// Read: the column's bytes. ReadWrite: the bytes, overwritten from the
// start (a shorter write keeps the old tail). Write: starts empty, so what
// is written is the whole new value.
enum class BlobMode { Read, ReadWrite, Write };
enum class DataSetState { Inactive, Browse, Edit };

// The order a paged result is read in.
struct PageOrder {
    std::string column;  // a column of the result; empty: the key, descending
    bool descending = false;
    // A text in the order a reader expects: on SQLite as vplain gives it
    // (letter case and accents aside, "Árajánlat" among the A's), then as
    // stored; on PostgreSQL by the database's collation, which the office's
    // locale sets (folding every row there takes seconds at 100,000 rows).
    bool asText = false;
};

class TADOQuery : public tk::TDataSet {
    TK_CLASS(TADOQuery)
public:
    explicit TADOQuery(tk::TComponent* owner);
    ~TADOQuery() override;

    TADOConnection* connection() const;
    void setConnection(TADOConnection* c);
    // Replacing the text closes the query and parses its parameters anew.
    const std::string& sqlText() const { return sql_; }
    void setSqlText(const std::string& sql);
    TParameters& parameters() { return params_; }
    // Reads the result `rows` rows at a time instead of whole, in
    // descending order of the unique column `key`, which the text returns
    // and does not order by itself, or in the order `order` names.
    // open() counts the rows and reads the first page; later pages are read
    // when a row of theirs is first reached, each by a statement of its own
    // that continues after the last row read, so nothing stays open in the
    // database between pages. Rows deleted meanwhile shorten the count;
    // rows added are not seen. A paged result cannot be edited. 0 rows
    // reads whole again.
    void setPaging(const std::string& key, int rows, PageOrder order = {});
    // A paged result counts its rows only up to `rows` + 1: a broad search
    // is not kept waiting for a count of the whole table. Beyond the count,
    // the result grows by a row past those read until its end is reached.
    // 0, the default, counts them all. Holds until changed.
    void setCountLimit(int rows);
    // Whether the result has more rows than were counted, its end not yet
    // read: recordCount() is then a lower bound.
    bool countIsLowerBound() const { return paging_.beyondCount && !paging_.ended; }
    // Reads every row of a paged result, for a list or an export.
    void readAll() const;

    void open();
    void close();
    bool active() const override { return state_ != DataSetState::Inactive; }
    void setActive(bool v);
    DataSetState state() const { return state_; }

    int fieldCount() const override { return static_cast<int>(fields_.size()); }
    TField* field(int i) const;
    // Raises "Field '%s' not found".
    TField* fieldByName(const std::string& name) const;
    TField* findField(const std::string& name) const;

    int recordCount() const override { return rowCount_; }
    int recNo() const override { return rowCount_ == 0 ? -1 : current_; }
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    void first();
    void last();
    void next();
    void prior();
    // Moves by n rows, stopping at the first or the last; returns the rows moved.
    int moveBy(int n);
    void moveTo(int row) override;
    // Finds the first row whose column equals `value` (or starts with it,
    // with loPartialKey), ignoring case with loCaseInsensitive.
    bool locate(const std::string& fieldName, const tk::Value& value, LocateOptions options);

    // Edit the current row; post writes the change to the database.
    void edit();
    void post();
    void cancel();
    std::unique_ptr<BlobStream> createBlobStream(TField* field, BlobMode mode);

    // What a grid reads.
    std::string fieldName(int f) const override;
    std::string displayLabel(int f) const override;
    bool fieldVisible(int f) const override;
    int displayWidth(int f) const override;
    std::string displayText(int row, int f) const override;
    // The value's text before any TField::shownAs.
    std::string storedText(int row, int f) const;

private:
    friend class TField;
    friend class BlobStream;
    const Cell* currentCell(int field) const;
    Cell& editCell(int field);
    std::string updateTable() const;
    void checkActive() const;

    tk::ComponentRef<TADOConnection> connection_;
    std::string sql_;
    TParameters params_;
    DataSetState state_ = DataSetState::Inactive;
    std::vector<std::unique_ptr<TField>> fields_;
    // The result's cells row by row in one block (fieldCount() a row).
    Cell& cellAt(int row, int field);
    const Cell& cellAt(int row, int field) const;
    // Until the first edit a cached result is shared, not copied.
    void takeOwnCells();
    void openPaged(Engine& engine, const std::string& text, ResultRows& rows);
    // The statement of the page after the rows read, and its values.
    std::string nextPageStatement(std::vector<Cell>& values) const;
    // Counts a page just read: a short page ends its part of the result.
    void tookPage(int rows) const;
    // Reads pages until `row` is read (or the result ends).
    void readThrough(int row) const;
    // Read pages are kept: reaching a row for the first time reads it,
    // which a reader of a const result does too.
    mutable std::vector<Cell> cells_;
    std::shared_ptr<const CachedResult> shared_;
    // The columns of the last few kept results this query showed, taken
    // again when it shows one of them once more: a wide table has many,
    // and a design's save reads Document's columns between other lookups.
    struct SpareFields {
        std::shared_ptr<const CachedResult> result;
        std::shared_ptr<const ResultColumns> shape;  // the columns they were made for
        std::vector<std::unique_ptr<TField>> fields;
    };
    std::shared_ptr<const ResultColumns> shape_;  // the open result's columns
    std::vector<SpareFields> spares_;              // the newest last
    mutable int rowCount_ = 0;
    // Ordered by a column, a result is read in two parts: the rows with a
    // value in it, by the value and the key, then those without, by the
    // key. Each engine places nulls its own way, and the parts place them
    // last on both, with each part's statement still able to follow an
    // index of the column.
    struct Paging {
        std::string key;
        int rows = 0;
        PageOrder order;
        std::string text;          // the statement read in pages
        std::vector<Cell> values;  // its parameters
        int keyField = -1, orderField = -1;
        bool plained = false;  // the order's texts by vplain first
        size_t width = 0;      // cells a row
        bool inNulls = false;  // reading the rows without a value in the order's column
        int partRead = 0;      // rows read in the current part
        bool ended = false;
        int read = 0;              // rows read so far
        bool beyondCount = false;  // more rows than countLimit_
    };
    mutable Paging paging_;
    int countLimit_ = 0;          // a setting, kept when the paging is set again
    std::vector<Cell> original_;  // the current row before edit
    int current_ = 0;
    bool eof_ = true;
    bool bof_ = true;
};

// A stream over a blob column of the current row. A stream opened for
// writing hands its bytes to the column when it is released.
class BlobStream {
public:
    BlobStream(TADOQuery& query, TField& field, BlobMode mode);
    ~BlobStream();
    BlobStream(const BlobStream&) = delete;
    BlobStream& operator=(const BlobStream&) = delete;

    int64_t size() const { return static_cast<int64_t>(data_.size()); }
    const std::string& bytes() const { return data_; }
    size_t read(char* buffer, size_t count);
    void write(std::string_view bytes);
    // Hands written bytes to the column now rather than at destruction.
    void release();

private:
    TADOQuery& query_;
    TField& field_;
    BlobMode mode_;
    std::string data_;
    size_t position_ = 0;
    bool modified_ = false;
    bool released_ = false;
};

}  // namespace db
