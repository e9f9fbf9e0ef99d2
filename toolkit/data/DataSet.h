// What a data grid needs of a data set, and TDataSource which binds grids
// to one. The data-access layer's queries implement TDataSet.
#pragma once

#include "toolkit/core/Component.h"

#include <string>
#include <vector>

namespace tk {

class TDataSource;

// A result set with a current row, seen as display texts.
class TDataSet : public TComponent {
    TK_CLASS(TDataSet)
public:
    explicit TDataSet(TComponent* owner) : TComponent(owner) {}
    ~TDataSet() override;

    virtual bool active() const = 0;
    virtual int fieldCount() const = 0;
    virtual std::string fieldName(int field) const = 0;
    virtual std::string displayLabel(int field) const = 0;
    virtual bool fieldVisible(int field) const = 0;
    // Width in characters that a grid gives the column.
    virtual int displayWidth(int field) const = 0;
    virtual int recordCount() const = 0;
    // The current row counting from 0, or -1 without rows.
    virtual int recNo() const = 0;
    virtual void moveTo(int row) = 0;
    // The text a grid shows for a cell of any row (null shows as empty).
    virtual std::string displayText(int row, int field) const = 0;

    // Tells every bound data source (and so every grid) that rows, columns
    // or the current row changed.
    void dataChanged();

private:
    friend class TDataSource;
    std::vector<TDataSource*> sources_;
};

// Something that shows a data source's data (a grid).
class DataLink {
public:
    virtual ~DataLink() = default;
    virtual void dataChanged() = 0;
};

class TDataSource : public TComponent {
    TK_CLASS(TDataSource)
public:
    explicit TDataSource(TComponent* owner);
    ~TDataSource() override;

    TDataSet* dataSet() const { return dataSet_.get(); }
    void setDataSet(TDataSet* ds);
    bool enabled() const { return enabled_; }
    void setEnabled(bool v);

    void addLink(DataLink* l);
    void removeLink(DataLink* l);
    void notify();

private:
    ComponentRef<TDataSet> dataSet_;
    bool enabled_ = true;
    std::vector<DataLink*> links_;
};

}  // namespace tk
