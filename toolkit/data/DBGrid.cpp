// Data grids.
#include "toolkit/data/DBGrid.h"

#include "toolkit/widgets/StdProps.h"
#include "toolkit/windows/Application.h"
#include "toolkit/windows/Menus.h"

#include <algorithm>

namespace tk {

TK_DEFINE_CLASS(TDBGrid, TWinControl)
{
    using namespace published;
    tabStop(t);
    align(t);
    anchors(t);
    bidi(t);
    t.enumeration("BorderStyle", types::borderStyle(), &TDBGrid::borderStyle, &TDBGrid::setBorderStyle,
                  TBorderStyle::bsSingle);
    color(t, clWindow);
    constraints(t);
    ctl3D(t);
    t.component<TDataSource>("DataSource", &TDBGrid::dataSource, &TDBGrid::setDataSource);
    t.boolean("DefaultDrawing", &TDBGrid::defaultDrawing, &TDBGrid::setDefaultDrawing, true);
    drag(t);
    enabled(t);
    t.integer("FixedColor", &TDBGrid::fixedColor, &TDBGrid::setFixedColor, clBtnFace).constants(types::colors());
    font(t);
    ime(t);
    t.set("Options", types::dbGridOptions(), &TDBGrid::options, &TDBGrid::setOptions,
          dgEditing | dgTitles | dgIndicator | dgColumnResize | dgColLines | dgRowLines | dgTabs | dgConfirmDelete |
              dgCancelOnExit);
    parentBidi(t);
    parentColor(t, false);
    parentCtl3D(t);
    parentFont(t);
    parentShowHint(t);
    popupMenu(t);
    t.boolean("ReadOnly", &TDBGrid::readOnly, &TDBGrid::setReadOnly, false);
    showHint(t);
    tabOrder(t);
    t.object<TFont>("TitleFont", &TDBGrid::titleFont);
    visible(t);
    t.event("OnCellClick", EventKind::Other, &TDBGrid::OnCellClick);
    keptEvents(t, {"OnColEnter", "OnColExit", "OnColumnMoved", "OnDrawDataCell", "OnDrawColumnCell"});
    dblClick(t);
    keptEvents(t, {"OnDragDrop", "OnDragOver", "OnEditButtonClick", "OnEndDock", "OnEndDrag"});
    focusEvents(t);
    keyEvents(t);
    mouseEvents(t);
    keptEvents(t, {"OnStartDock", "OnStartDrag"});
    t.event("OnTitleClick", EventKind::Other, &TDBGrid::OnTitleClick);
}

TDBGrid::TDBGrid(TComponent* owner) : TWinControl(owner), titleFont_(std::make_unique<TFont>())
{
    setTabStop(true);
    setColor(clWindow);
    setBoundsRaw(0, 0, 320, 120);
    titleFont_->onChange = [this] { invalidate(); };
}

TDBGrid::~TDBGrid()
{
    if (dataSource_) dataSource_->removeLink(this);
}

void TDBGrid::setDataSource(TDataSource* ds)
{
    if (dataSource_) dataSource_->removeLink(this);
    dataSource_ = ds;
    if (ds) ds->addLink(this);
    topRow_ = 0;
    dataChanged();
}

TDataSet* TDBGrid::dataSet() const
{
    TDataSource* ds = dataSource_.get();
    if (!ds || !ds->enabled()) return nullptr;
    TDataSet* set = ds->dataSet();
    return set && set->active() ? set : nullptr;
}

std::vector<TDBGrid::Column> TDBGrid::columns() const
{
    std::vector<Column> out;
    TDataSet* set = dataSet();
    if (!set) return out;
    int charW = std::max(1, textWidth("0"));
    int left = indicatorWidth();
    for (int f = 0; f < set->fieldCount(); ++f) {
        if (!set->fieldVisible(f)) continue;
        std::string title = set->displayLabel(f);
        SortMark mark = f == sortedField_ ? sortMark_ : SortMark::None;
        // Room beside the title for the order's arrow.
        int marked = titleWidth(title) + 2 * titlePadding + (mark == SortMark::None ? 0 : 2 * charW);
        out.push_back({f, title, fittedWidth(f, marked), mark});
    }
    int first = std::clamp(leftColumn_, 0, std::max(0, static_cast<int>(out.size()) - 1));
    for (int i = 0; i < static_cast<int>(out.size()); ++i) {
        Column& c = out[static_cast<size_t>(i)];
        c.shown = i >= first;
        if (!c.shown) continue;
        c.left = left;
        left += c.width + 1;
    }
    return out;
}

int TDBGrid::fittedWidth(int field, int title) const
{
    TDataSet* set = dataSet();
    int charW = std::max(1, textWidth("0"));
    if (!fitContent_)
        return std::min(std::max(set->displayWidth(field) * charW + 2 * cellPadding, title), 64 * charW);
    // The rows a list window shows are few; a long result is measured by
    // its first screenfuls.
    auto [known, isNew] = widestText_.try_emplace(field, 0);
    if (isNew)
        for (int row = 0, measured = std::min(set->recordCount(), 200); row < measured; ++row)
            known->second = std::max(known->second, textWidth(set->displayText(row, field)));
    int widest = std::max(title, known->second + 2 * cellPadding);
    int share = std::max(clientWidth() * 2 / 5, 8 * charW);
    return std::min(widest, std::max(share, title));
}

std::string TDBGrid::shownText(int row, const Column& column) const
{
    TDataSet* set = dataSet();
    if (!set) return {};
    return elidedText(set->displayText(row, column.field), column.width - 2 * cellPadding);
}

std::string TDBGrid::toolTipAt(TPoint p) const
{
    TDataSet* set = dataSet();
    int row = rowAt(p);
    if (!set || row < 0) return {};
    for (const Column& c : columns()) {
        if (!c.shown || p.x < c.left || p.x >= c.left + c.width) continue;
        std::string whole = set->displayText(row, c.field);
        return shownText(row, c) == whole ? std::string() : whole;
    }
    return {};
}

int TDBGrid::titleWidth(const std::string& title) const
{
    return Application ? Application->platform().textWidth(*titleFont_, title) : 0;
}

int TDBGrid::titleHeight() const
{
    if (!(options_ & dgTitles)) return 0;
    return (Application ? Application->platform().textHeight(*titleFont_) : 13) + 4;
}

bool TDBGrid::scrollsSideways() const
{
    return lastLeftColumn() > 0 || leftColumn_ > 0;
}

int TDBGrid::lastLeftColumn() const
{
    std::vector<Column> cols = columns();
    int room = clientWidth() - 4 - indicatorWidth(), used = 0;
    for (int i = static_cast<int>(cols.size()) - 1; i >= 0; --i) {
        used += cols[static_cast<size_t>(i)].width + 1;
        if (used > room) return std::min(i + 1, static_cast<int>(cols.size()) - 1);
    }
    return 0;
}

TRect TDBGrid::sideBarRect() const
{
    return {2, clientHeight() - 2 - sideBarHeight, clientWidth() - 2, clientHeight() - 2};
}

int TDBGrid::visibleRows() const
{
    int bar = scrollsSideways() ? sideBarHeight : 0;
    return std::max(1, (clientHeight() - titleHeight() - bar) / std::max(1, rowHeight()));
}

void TDBGrid::setSortMark(int field, SortMark mark)
{
    sortedField_ = mark == SortMark::None ? -1 : field;
    sortMark_ = mark;
    invalidate();
}

int TDBGrid::rowAt(TPoint p) const
{
    TDataSet* set = dataSet();
    if (!set || p.y < titleHeight()) return -1;
    int row = topRow_ + (p.y - titleHeight()) / std::max(1, rowHeight());
    return row < set->recordCount() ? row : -1;
}

void TDBGrid::scrollToCurrent()
{
    TDataSet* set = dataSet();
    if (!set) {
        topRow_ = 0;
        return;
    }
    int cur = set->recNo();
    if (cur < 0) return;
    if (cur < topRow_) topRow_ = cur;
    if (cur >= topRow_ + visibleRows()) topRow_ = cur - visibleRows() + 1;
    topRow_ = std::max(0, std::min(topRow_, std::max(0, set->recordCount() - 1)));
}

void TDBGrid::selectColumn(int column)
{
    selectedColumn_ = std::clamp(column, 0, std::max(0, static_cast<int>(columns().size()) - 1));
    scrollToSelectedColumn();
    invalidate();
}

void TDBGrid::scrollToSelectedColumn()
{
    if (selectedColumn_ < leftColumn_) leftColumn_ = selectedColumn_;
    // Scrolls right a column at a time until the selected one's right edge shows.
    for (;;) {
        std::vector<Column> cols = columns();
        if (selectedColumn_ >= static_cast<int>(cols.size()) || leftColumn_ >= selectedColumn_) return;
        const Column& c = cols[static_cast<size_t>(selectedColumn_)];
        if (c.left + c.width <= clientWidth()) return;
        ++leftColumn_;
    }
}

void TDBGrid::dataChanged()
{
    widestText_.clear();
    scrollToCurrent();
    invalidate();
}

void TDBGrid::moveBy(int rows)
{
    TDataSet* set = dataSet();
    if (!set || set->recordCount() == 0) return;
    set->moveTo(std::clamp(set->recNo() + rows, 0, set->recordCount() - 1));
}

bool TDBGrid::wantsKey(uint16_t key, TShiftState shift) const
{
    // Tab walks the columns; past the last (or before the first) it leaves
    // the grid, so that the keyboard is never shut in.
    if (key == vk::Tab && (options_ & dgTabs) && !(shift & ssCtrl)) {
        // An empty grid has no cell to walk to: Tab goes on at once.
        TDataSet* set = dataSet();
        if (!set || set->recordCount() == 0) return false;
        int last = static_cast<int>(columns().size()) - 1;
        return (shift & ssShift) ? selectedColumn_ > 0 : selectedColumn_ < last;
    }
    return TWinControl::wantsKey(key, shift);
}

bool TDBGrid::handle(InputEvent& e)
{
    TDataSet* set = dataSet();
    switch (e.type) {
    case InputType::MouseDown: {
        if (e.button != TMouseButton::mbLeft) break;
        if (TRect bar = sideBarRect(); scrollsSideways() && e.y >= bar.top) {
            int last = lastLeftColumn();
            int thumb = bar.left + sideBarHeight +
                        (bar.width() - 3 * sideBarHeight) * std::min(leftColumn_, last) / std::max(1, last) +
                        sideBarHeight / 2;
            leftColumn_ = std::clamp(leftColumn_ + (e.x < thumb ? -1 : 1), 0, last);
            invalidate();
            return true;
        }
        int row = rowAt({e.x, e.y});
        if (set && row >= 0) set->moveTo(row);
        int i = 0;
        bool onColumn = false;
        for (const Column& c : columns()) {
            if (c.shown && e.x >= c.left && e.x < c.left + c.width) {
                selectedColumn_ = i;
                onColumn = true;
            }
            ++i;
        }
        if (row >= 0) fire(OnCellClick);
        else if (onColumn && e.y >= 0 && e.y < titleHeight()) fire(OnTitleClick);
        invalidate();
        return true;
    }
    case InputType::KeyDown: {
        int cols = static_cast<int>(columns().size());
        switch (e.key) {
        case vk::Up: moveBy(-1); return true;
        case vk::Down: moveBy(1); return true;
        case vk::Prior: moveBy(-visibleRows()); return true;
        case vk::Next: moveBy(visibleRows()); return true;
        case vk::Home:
            if (e.shift & ssCtrl) moveBy(-(set ? set->recordCount() : 0));
            else selectColumn(0);
            return true;
        case vk::End:
            if (e.shift & ssCtrl) moveBy(set ? set->recordCount() : 0);
            else selectColumn(cols - 1);
            return true;
        case vk::Left: selectColumn(selectedColumn_ - 1); return true;
        case vk::Right: selectColumn(selectedColumn_ + 1); return true;
        case vk::Tab: selectColumn(selectedColumn_ + ((e.shift & ssShift) ? -1 : 1)); return true;
        default: return false;
        }
    }
    default: break;
    }
    return TWinControl::handle(e);
}

}  // namespace tk
