// The result grid's table interface and its cells.
#include "gui/AccessibleGrid.h"

#include "gui/Accessibility.h"
#include "gui/AccessibleNames.h"
#include "gui/QtPlatform.h"
#include "toolkit/data/DBGrid.h"
#include "toolkit/windows/Application.h"

namespace gui {

namespace {

class AccessibleGridCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
public:
    AccessibleGridCell(tk::TDBGrid& grid, int row, int column) : grid_(&grid), row_(row), column_(column) {}

    bool isValid() const override { return grid_ && row_ < rows() && column_ < columns(); }
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override { return table(); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override
    {
        if (!isValid() || (t != QAccessible::Name && t != QAccessible::Value)) return {};
        std::vector<tk::TDBGrid::Column> cols = grid_->columns();
        if (row_ < 0) return QString::fromStdString(cols[column_].title);
        tk::TDataSet* data = grid_->dataSet();
        return data ? QString::fromStdString(data->displayText(row_, cols[column_].field)) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override
    {
        if (!isValid()) return {};
        tk::TDBGrid::Column col = grid_->columns()[column_];
        int visibleRow = row_ - grid_->topRow();
        if (!col.shown || (row_ >= 0 && (visibleRow < 0 || visibleRow >= grid_->visibleRows()))) return {};
        int top = row_ < 0 ? 0 : grid_->titleHeight() + visibleRow * grid_->rowHeight();
        return screenRectOf(*grid_,
                            QRect(col.left, top, col.width, row_ < 0 ? grid_->titleHeight() : grid_->rowHeight()));
    }
    QAccessible::Role role() const override
    {
        if (row_ < 0) return QAccessible::ColumnHeader;
        auto* t = dynamic_cast<AccessibleGrid*>(table());
        return t && t->isList() ? QAccessible::ListItem : QAccessible::Cell;
    }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        s.selectable = row_ >= 0;
        s.selected = isSelected();
        // One cell has the focus: the current row's, in the selected column.
        s.focusable = row_ >= 0;
        s.focused = s.selected && column_ == grid_->selectedColumn() && tk::Application &&
                    tk::Application->focusedControl() == grid_.get();
        s.readOnly = true;
        s.invisible = rect().isEmpty();
        return s;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::TableCellInterface ? static_cast<QAccessibleTableCellInterface*>(this) : nullptr;
    }

    bool isSelected() const override
    {
        tk::TDataSet* data = grid_ ? grid_->dataSet() : nullptr;
        return data && row_ >= 0 && data->recNo() == row_;
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override
    {
        auto* t = dynamic_cast<AccessibleGrid*>(table());
        if (!t || t->isList() || row_ < 0) return {};
        return {t->cell(-1, column_)};
    }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return column_; }
    int rowIndex() const override { return row_; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override
    {
        Accessibility* a = Accessibility::current();
        return a && grid_ ? a->interfaceOf(grid_.get()) : nullptr;
    }

private:
    int rows() const
    {
        tk::TDataSet* data = grid_ ? grid_->dataSet() : nullptr;
        return data && data->active() ? data->recordCount() : 0;
    }
    int columns() const { return grid_ ? static_cast<int>(grid_->columns().size()) : 0; }

    tk::ComponentRef<tk::TDBGrid> grid_;
    int row_, column_;
};

}  // namespace

AccessibleGrid::AccessibleGrid(tk::TDBGrid& grid) : AccessibleControl(grid) {}

tk::TDBGrid* AccessibleGrid::grid() const
{
    return static_cast<tk::TDBGrid*>(control_.get());
}

bool AccessibleGrid::isList() const
{
    return role() == QAccessible::List;
}

int AccessibleGrid::rowCount() const
{
    tk::TDataSet* data = grid() ? grid()->dataSet() : nullptr;
    return data && data->active() ? data->recordCount() : 0;
}

int AccessibleGrid::columnCount() const
{
    return grid() ? static_cast<int>(grid()->columns().size()) : 0;
}

QAccessibleInterface* AccessibleGrid::cell(int row, int column) const
{
    if (!grid() || row < -1 || row >= rowCount() || column < 0 || column >= columnCount()) return nullptr;
    auto& id = cells_[{row, column}];
    if (!id) id = QAccessible::registerAccessibleInterface(new AccessibleGridCell(*grid(), row, column));
    return QAccessible::accessibleInterface(id);
}

std::vector<QAccessible::Id> AccessibleGrid::takeCells()
{
    std::vector<QAccessible::Id> ids;
    for (auto& [where, id] : cells_) ids.push_back(id);
    cells_.clear();
    return ids;
}

QAccessibleInterface* AccessibleGrid::cellAt(int row, int column) const
{
    return row < 0 ? nullptr : cell(row, column);
}

int AccessibleGrid::childCount() const
{
    return (rowCount() + headerRows()) * columnCount();
}

QAccessibleInterface* AccessibleGrid::child(int index) const
{
    int columns = columnCount();
    if (index < 0 || columns == 0) return nullptr;
    return cell(index / columns - headerRows(), index % columns);
}

int AccessibleGrid::indexOfChild(const QAccessibleInterface* child) const
{
    auto* c = dynamic_cast<const AccessibleGridCell*>(child);
    if (!c || c->table() != this) return -1;
    return (c->rowIndex() + headerRows()) * columnCount() + c->columnIndex();
}

QAccessibleInterface* AccessibleGrid::childAt(int x, int y) const
{
    tk::TDBGrid* g = grid();
    if (!g) return nullptr;
    QRect r = rect();
    tk::TPoint client{x - r.left(), y - r.top()};
    int row = client.y < g->titleHeight() ? -1 : g->rowAt(client);
    if (row < 0 && (isList() || client.y >= g->titleHeight())) return nullptr;
    std::vector<tk::TDBGrid::Column> cols = g->columns();
    for (int i = 0; i < static_cast<int>(cols.size()); ++i)
        if (cols[i].shown && client.x >= cols[i].left && client.x < cols[i].left + cols[i].width) return cell(row, i);
    return nullptr;
}

QAccessibleInterface* AccessibleGrid::focusChild() const
{
    tk::TDataSet* data = grid() ? grid()->dataSet() : nullptr;
    if (!data || data->recNo() < 0) return nullptr;
    return cell(data->recNo(), std::min(grid()->selectedColumn(), std::max(0, columnCount() - 1)));
}

QAccessible::State AccessibleGrid::state() const
{
    QAccessible::State s = AccessibleControl::state();
    if (s.focused && focusChild()) s.focused = false;
    return s;
}

QString AccessibleGrid::text(QAccessible::Text t) const
{
    // A list's value is its current row's text.
    if (t == QAccessible::Value && isList())
        if (QAccessibleInterface* current = focusChild()) return current->text(QAccessible::Name);
    return AccessibleControl::text(t);
}

void* AccessibleGrid::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return AccessibleControl::interface_cast(type);
}

int AccessibleGrid::selectedCellCount() const
{
    return selectedRowCount() * columnCount();
}

QList<QAccessibleInterface*> AccessibleGrid::selectedCells() const
{
    QList<QAccessibleInterface*> found;
    for (int row : selectedRows())
        for (int c = 0; c < columnCount(); ++c) found.append(cell(row, c));
    return found;
}

QString AccessibleGrid::columnDescription(int column) const
{
    if (!grid() || column < 0 || column >= columnCount()) return {};
    return QString::fromStdString(grid()->columns()[column].title);
}

QString AccessibleGrid::rowDescription(int) const
{
    return {};
}

int AccessibleGrid::selectedRowCount() const
{
    return static_cast<int>(selectedRows().size());
}

QList<int> AccessibleGrid::selectedRows() const
{
    tk::TDataSet* data = grid() ? grid()->dataSet() : nullptr;
    if (!data || data->recNo() < 0 || data->recNo() >= rowCount()) return {};
    return {data->recNo()};
}

bool AccessibleGrid::isRowSelected(int row) const
{
    return selectedRows().contains(row);
}

bool AccessibleGrid::selectRow(int row)
{
    tk::TDataSet* data = grid() ? grid()->dataSet() : nullptr;
    if (!data || row < 0 || row >= rowCount()) return false;
    data->moveTo(row);
    if (Accessibility* a = Accessibility::current()) a->platform().sync();
    return true;
}

}  // namespace gui
