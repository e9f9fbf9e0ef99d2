// TDBGrid: shows the visible columns of its data source's data set, titled
// by their display labels, and follows and moves the current row.
#pragma once

#include "toolkit/data/DataSet.h"
#include "toolkit/widgets/WinControl.h"

#include <map>
#include <memory>

namespace tk {

class TDBGrid : public TWinControl, public DataLink {
    TK_CLASS(TDBGrid)
public:
    explicit TDBGrid(TComponent* owner);
    ~TDBGrid() override;

    TDataSource* dataSource() const { return dataSource_.get(); }
    void setDataSource(TDataSource* ds);
    TDataSet* dataSet() const;
    TDBGridOptions options() const { return options_; }
    void setOptions(TDBGridOptions v)
    {
        options_ = v;
        invalidate();
    }
    bool readOnly() const { return readOnly_; }
    void setReadOnly(bool v) { readOnly_ = v; }
    TFont* titleFont() const { return titleFont_.get(); }
    TColor fixedColor() const { return fixedColor_; }
    void setFixedColor(TColor v)
    {
        fixedColor_ = v;
        invalidate();
    }
    TBorderStyle borderStyle() const { return borderStyle_; }
    void setBorderStyle(TBorderStyle v)
    {
        borderStyle_ = v;
        invalidate();
    }
    bool defaultDrawing() const { return defaultDrawing_; }
    void setDefaultDrawing(bool v) { defaultDrawing_ = v; }
    // Columns as wide as their titles and the widest of their first rows'
    // texts, each at most a share of the grid, instead of by the fields'
    // display widths: for lists whose every column should be seen at once.
    bool columnsFitContent() const { return fitContent_; }
    void setColumnsFitContent(bool v)
    {
        fitContent_ = v;
        widestText_.clear();
        invalidate();
    }

    // Layout: visible columns with their field index and width.
    enum class SortMark { None, Ascending, Descending };
    // `left` is the column's left edge in the client area; a column
    // scrolled off to the left has none (`shown` false).
    struct Column {
        int field;
        std::string title;
        int width;
        SortMark sort = SortMark::None;
        int left = 0;
        bool shown = true;
    };
    std::vector<Column> columns() const;
    // The first column shown: the grid scrolls sideways to keep the
    // selected column in view.
    int leftColumn() const { return leftColumn_; }
    int rowHeight() const { return textHeight() + 4; }
    int titleHeight() const;
    int indicatorWidth() const { return (options_ & dgIndicator) ? 11 : 0; }
    // Columns wider together than the grid are scrolled sideways by a bar
    // along its bottom (and by the keys that select a column): a click left
    // of the bar's thumb shows the column before, right of it the one after.
    bool scrollsSideways() const;
    static constexpr int sideBarHeight = 16;
    TRect sideBarRect() const;
    // The last first column worth scrolling to: from it on, every column shows.
    int lastLeftColumn() const;
    // Rows that fit, the first shown row, and the selected column.
    int visibleRows() const;
    int topRow() const { return topRow_; }
    int selectedColumn() const { return selectedColumn_; }
    // The data row under a client point, or -1.
    int rowAt(TPoint client) const;
    // A cell's text as it is drawn in its column: cut short with "…" when
    // wider; its whole is the cell's tool tip.
    std::string shownText(int row, const Column& column) const;
    std::string toolTipAt(TPoint client) const override;
    // Pixels between a column's edge and its text, on either side, in a
    // cell and in the title.
    static constexpr int cellPadding = 2, titlePadding = 4;
    // A title's width in the title font.
    int titleWidth(const std::string& title) const;
    // The field whose title shows the data set's order (the grid does not
    // order anything itself: OnTitleClick's handler does, by the selected
    // column); -1 for none.
    void setSortMark(int field, SortMark mark);

    void dataChanged() override;
    bool handle(InputEvent& e) override;
    bool wantsKey(uint16_t key, TShiftState shift) const override;
    bool focusOnClick() const override { return true; }

    Handler OnCellClick, OnTitleClick;

private:
    // A column's width as the data set's display width has it, or by its
    // content; `title` is the title's width with its order mark.
    int fittedWidth(int field, int title) const;
    void scrollToCurrent();
    void scrollToSelectedColumn();
    void selectColumn(int column);
    void moveBy(int rows);

    ComponentRef<TDataSource> dataSource_;
    TDBGridOptions options_ = dgEditing | dgTitles | dgIndicator | dgColumnResize | dgColLines | dgRowLines | dgTabs |
                              dgConfirmDelete | dgCancelOnExit;
    bool readOnly_ = false;
    std::unique_ptr<TFont> titleFont_;
    TColor fixedColor_ = clBtnFace;
    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
    bool defaultDrawing_ = true;
    bool fitContent_ = false;
    // The widest text of each field's measured rows, by field, until the
    // data changes.
    mutable std::map<int, int> widestText_;
    int topRow_ = 0;
    int selectedColumn_ = 0;
    int leftColumn_ = 0;
    int sortedField_ = -1;
    SortMark sortMark_ = SortMark::None;
};

}  // namespace tk
