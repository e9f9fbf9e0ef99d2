// The result grid as a table a reader walks: the column titles as headers,
// each row's cells with the texts the grid shows, the current row as the
// selected one. A grid of one column (the lookup list) is a list of its
// rows. Cells are made when asked for and dropped when the rows change.
#pragma once

#include "gui/AccessibleControl.h"

#include <map>

namespace tk {
class TDBGrid;
}

namespace gui {

class AccessibleGrid : public AccessibleControl, public QAccessibleTableInterface {
public:
    explicit AccessibleGrid(tk::TDBGrid& grid);
    tk::TDBGrid* grid() const;

    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* focusChild() const override;
    // The grid's focus is its current cell's: the grid itself claims it
    // only while it has no rows.
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    bool isList() const;
    // A cell, or a column's title at row -1.
    QAccessibleInterface* cell(int row, int column) const;
    // Takes the cells made so far, for the registry to drop.
    std::vector<QAccessible::Id> takeCells();
    std::vector<QAccessible::Id> takeParts() override { return takeCells(); }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface*> selectedCells() const override;
    QString columnDescription(int column) const override;
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override;
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    // Selecting a row makes it the current one, as a click on it does.
    bool selectRow(int row) override;
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent*) override {}

private:
    int headerRows() const { return isList() ? 0 : 1; }
    mutable std::map<std::pair<int, int>, QAccessible::Id> cells_;
};

}  // namespace gui
