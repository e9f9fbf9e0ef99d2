// Page controls, date pickers, data grids, speed buttons, context menus,
// hint windows and timers, driven through the input API.
#include "Fixture.h"

#include <gmock/gmock.h>

#include "toolkit/core/Errors.h"
#include "toolkit/core/PropertyAccess.h"
#include "toolkit/core/PropertyTable.h"
#include "toolkit/data/DBGrid.h"
#include "toolkit/text/Locale.h"
#include "toolkit/widgets/Buttons.h"
#include "toolkit/widgets/DateTimePicker.h"
#include "toolkit/widgets/Edit.h"
#include "toolkit/widgets/PageControl.h"
#include "toolkit/windows/HintWindow.h"
#include "toolkit/windows/Menus.h"
#include "toolkit/windows/Timer.h"

using namespace tk;

namespace {

// Rows of user groups held in memory.
class TMemoryDataSet : public TDataSet {
    TK_CLASS(TMemoryDataSet)
public:
    explicit TMemoryDataSet(TComponent* owner) : TDataSet(owner) {}
    std::vector<std::string> fields{"UserGroupID", "UserGroupName"};
    std::vector<std::vector<std::string>> rows;
    std::vector<bool> visible{false, true};
    int current = 0;

    bool active() const override { return true; }
    int fieldCount() const override { return static_cast<int>(fields.size()); }
    std::string fieldName(int f) const override { return fields[f]; }
    std::string displayLabel(int f) const override { return f == 1 ? "Felhasználói csoport" : fields[f]; }
    bool fieldVisible(int f) const override { return visible[f]; }
    int displayWidth(int) const override { return 20; }
    int recordCount() const override { return static_cast<int>(rows.size()); }
    int recNo() const override { return rows.empty() ? -1 : current; }
    void moveTo(int row) override
    {
        current = row;
        dataChanged();
    }
    std::string displayText(int row, int f) const override { return rows[row][f]; }
};
TK_DEFINE_CLASS(TMemoryDataSet, TDataSet) {}

}  // namespace

TEST_F(ToolkitTest, PageControlShowsOnePageAndTheUserSwitchesWithTheTabs)
{
    auto* pc = make<TPageControl>("pcData", 0, 0, 392, 273);
    pc->setStyle(TTabStyle::tsFlatButtons);
    auto* edit = new TTabSheet(form);
    edit->setName("tsEdit");
    edit->setCaption("Felvitel");
    edit->setPageControl(pc);
    auto* search = new TTabSheet(form);
    search->setName("tsSearch");
    search->setCaption("Keresés");
    search->setPageControl(pc);
    EXPECT_EQ(pc->activePage(), edit);
    pc->setActivePage(search);
    EXPECT_TRUE(search->visible());
    EXPECT_FALSE(edit->visible());
    EXPECT_EQ(edit->parent(), pc);

    auto* box = make<TEdit>("TZEDit1", 10, 10, 100, 21, edit);
    pc->OnChanging = Handler::changing([&](TObject*, bool& allow) {
        log.push_back("changing");
        allow = !log.empty() && log.size() < 3;
    });
    pc->OnChange = logNotify("change");
    form->show();
    auto tabs = pc->tabs();
    ASSERT_EQ(tabs.size(), 2u);
    EXPECT_EQ(tabs[0].page, edit);
    app.click(pc, {tabs[0].rect.left + 2, tabs[0].rect.top + 2});
    EXPECT_EQ(pc->activePage(), edit);
    EXPECT_TRUE(box->isShowing());
    // The sheet stands in the display area and hit testing reaches its controls.
    EXPECT_EQ(pc->controlAt({edit->left() + 15, edit->top() + 15}), box);
    app.click(pc, {tabs[1].rect.left + 2, tabs[1].rect.top + 2});
    EXPECT_EQ(pc->activePage(), edit);  // refused by OnChanging
    EXPECT_EQ(log, (std::vector<std::string>{"changing", "change", "changing"}));
    EXPECT_FALSE(getPropText(*edit, "Caption").empty());
    EXPECT_EQ(getPropText(*pc, "ActivePage"), "tsEdit");
}

TEST_F(ToolkitTest, DatePickerShowsTheLocaleDateAndTheCalendarPicksADay)
{
    setCurrentLocale(Locale::hungarian());
    auto* dp = make<TDateTimePicker>("TZEDPicker1", 10, 10, 96, 21);
    dp->setShowCheckbox(true);
    dp->setTime(0.75);
    dp->setDate(encodeDate(2004, 2, 28) + 0.25);
    EXPECT_DOUBLE_EQ(dp->time(), 0.75);  // setting the date keeps the time
    EXPECT_EQ(dp->displayText(), "2004.02.28.");
    dp->OnDropDown = logNotify("dropdown");
    dp->OnCloseUp = logNotify("closeup");
    dp->OnChange = logNotify("change");
    form->show();
    app.click(dp, {dp->width() - 5, 10});
    ASSERT_TRUE(dp->droppedDown());
    EXPECT_EQ(dp->calendarMonth(), 2);
    // February 2004 starts on a Sunday: the first row's Monday is 26 January.
    EXPECT_EQ(dp->cellDate(0, 0), encodeDate(2004, 1, 26));
    TRect cal = dp->calendarRect();
    // Row 5 (counting the weekday names as row 0), column 6: Sunday 29 February.
    TPoint day{cal.left + 2 + 6 * TDateTimePicker::cellWidth + 3,
               cal.top + 2 + TDateTimePicker::titleHeight + 5 * TDateTimePicker::cellHeight + 3};
    app.mouseDown(TMouseButton::mbLeft, 0, day);
    app.mouseUp(TMouseButton::mbLeft, 0, day);
    EXPECT_FALSE(dp->droppedDown());
    EXPECT_EQ(dp->date(), encodeDate(2004, 2, 29));
    EXPECT_TRUE(dp->checked());
    EXPECT_EQ(log, (std::vector<std::string>{"dropdown", "closeup", "change"}));
    // The check box in front of the date.
    app.click(dp, {5, 10});
    EXPECT_FALSE(dp->checked());
}

TEST_F(ToolkitTest, LocaleFormatsAndParsesDatesAndNumbers)
{
    Locale hu = Locale::hungarian();
    auto d = hu.parseDate("2004.02.29.");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->day, 29);
    EXPECT_FALSE(hu.parseDate("2003.02.29."));
    EXPECT_FALSE(hu.parseDate(""));
    Locale iso = hu;
    iso.dateSeparator = '-';
    iso.shortDateFormat = "yyyy/mm/dd";
    EXPECT_EQ(iso.formatDate(2004, 2, 29), "2004-02-29");
    EXPECT_TRUE(iso.parseDate("2004-02-29"));
    EXPECT_EQ(hu.parseFloat("12,5"), 12.5);
    EXPECT_FALSE(hu.parseFloat("12.5"));
    Locale dot = hu;
    dot.decimalSeparator = '.';
    EXPECT_EQ(dot.parseFloat("12.5"), 12.5);
    EXPECT_FALSE(dot.parseFloat("12,5"));
    int y, m, dd;
    decodeDate(encodeDate(1899, 12, 30), y, m, dd);
    EXPECT_EQ(encodeDate(1899, 12, 30), 0);
    EXPECT_EQ(encodeDate(2026, 12, 6), 46362);
}

TEST_F(ToolkitTest, GridShowsVisibleColumnsAndMovesTheCurrentRow)
{
    auto* data = new TMemoryDataSet(form);
    data->rows = {{"1", "Budapest"}, {"2", "Bugac"}, {"3", "Szeged"}};
    auto* source = new TDataSource(form);
    source->setDataSet(data);
    auto* grid = make<TDBGrid>("dbgSearch", 0, 0, 300, 120);
    grid->setDataSource(source);
    auto cols = grid->columns();
    ASSERT_EQ(cols.size(), 1u);
    EXPECT_EQ(cols[0].title, "Felhasználói csoport");
    grid->OnDblClick = logNotify("dblclick");
    form->show();
    grid->setFocus();
    app.pressKey(vk::Down);
    EXPECT_EQ(data->recNo(), 1);
    app.pressKey(vk::Next);
    EXPECT_EQ(data->recNo(), 2);
    int y = grid->titleHeight() + grid->rowHeight() / 2;
    app.doubleClick(grid, {30, y});
    EXPECT_EQ(data->recNo(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"dblclick"}));
    // Tab belongs to the grid; a key handler may take it away.
    grid->OnKeyDown = Handler::key([](TObject*, uint16_t& key, TShiftState) {
        if (key == vk::Tab) key = 0;
    });
    std::u32string typed;
    grid->OnKeyPress = Handler::keyPress([&](TObject*, char32_t& ch) { typed += ch; });
    app.pressKey(vk::Tab);
    EXPECT_EQ(typed, U"\t");
    EXPECT_EQ(app.focusedControl(), grid);
    data->free();
    EXPECT_TRUE(grid->columns().empty());
}

// A list window's grid: each column as wide as its title and texts, at
// most two fifths of the grid; a longer text ends in "…" with its whole as
// the tool tip; columns wider together than the grid scroll sideways by
// clicks on the bar along its bottom.
TEST_F(ToolkitTest, AListGridFitsItsColumnsCutsLongTextsWithATipAndScrollsSideways)
{
    auto* data = new TMemoryDataSet(form);
    data->fields = {"Idő", "Mező", "Régi érték", "Új érték"};
    data->visible = {true, true, true, true};
    const std::string whole = "Panasz a szállítás miatt, amelyet a raktár kétszer is visszaküldött";
    data->rows = {{"2026.11.16. 10:00", "Tárgy", "Panasz", whole}, {"2026.11.17. 09:30", "Tárgy", "", "Rövid"}};
    auto* source = new TDataSource(form);
    source->setDataSet(data);
    auto* grid = make<TDBGrid>("dbgHistory", 0, 0, 300, 120);
    grid->setDataSource(source);
    grid->setColumnsFitContent(true);
    form->show();
    auto cols = grid->columns();
    ASSERT_EQ(cols.size(), 4u);
    EXPECT_EQ(cols[0].width, grid->textWidth("2026.11.16. 10:00") + 2 * TDBGrid::cellPadding);
    EXPECT_EQ(cols[3].width, 300 * 2 / 5);
    std::string shown = grid->shownText(0, cols[3]);
    EXPECT_THAT(shown, testing::EndsWith("…"));
    EXPECT_TRUE(whole.starts_with(shown.substr(0, shown.size() - std::string("…").size())));
    EXPECT_LE(grid->textWidth(shown), cols[3].width - 2 * TDBGrid::cellPadding);
    EXPECT_EQ(grid->shownText(1, cols[3]), "Rövid");

    // The last column lies past the right edge: the bar scrolls to it.
    ASSERT_TRUE(grid->scrollsSideways());
    int rowsWithBar = grid->visibleRows();
    TRect bar = grid->sideBarRect();
    EXPECT_GT(grid->columns()[3].left + grid->columns()[3].width, grid->clientWidth());
    for (int i = 0; i < 4; ++i) app.click(grid, {bar.right - 4, bar.top + 4});  // stops at the last
    EXPECT_EQ(grid->leftColumn(), grid->lastLeftColumn());
    cols = grid->columns();
    ASSERT_TRUE(cols[3].shown);
    EXPECT_LE(cols[3].left + cols[3].width, grid->clientWidth());
    int y = grid->titleHeight() + grid->rowHeight() / 2;
    EXPECT_EQ(grid->toolTipAt({cols[3].left + cols[3].width / 2, y}), whole);
    EXPECT_EQ(grid->toolTipAt({cols[3].left + cols[3].width / 2, y + grid->rowHeight()}), "");
    app.click(grid, {bar.left + 4, bar.top + 4});
    EXPECT_EQ(grid->leftColumn(), grid->lastLeftColumn() - 1);
    EXPECT_EQ(data->recNo(), 0);  // a click on the bar moves no row

    // A grid wide enough for every column has no bar and a row more.
    grid->setWidth(900);
    app.click(grid, {4, grid->titleHeight() + 2});
    grid->setFocus();
    app.pressKey(vk::Home);
    EXPECT_FALSE(grid->scrollsSideways());
    EXPECT_GT(grid->visibleRows(), rowsWithBar);
}

TEST_F(ToolkitTest, SpeedButtonsOfAGroupAreExclusive)
{
    std::vector<TSpeedButton*> tools;
    for (int i = 0; i < 5; ++i) {
        auto* b = new TSpeedButton(form);
        b->setParent(form);
        b->setBounds(i == 0 ? 0 : 40 + (i - 1) * 32, 0, 33, 33);
        b->setGroupIndex(1);
        b->setTag(i - 1);
        b->OnClick = Handler::notify([&, b](TObject*) { log.push_back(std::to_string(b->tag())); });
        tools.push_back(b);
    }
    tools[0]->setDown(true);
    form->show();
    app.click(tools[2]);
    EXPECT_TRUE(tools[2]->down());
    EXPECT_FALSE(tools[0]->down());
    app.click(tools[2]);  // stays down and clicks again
    EXPECT_TRUE(tools[2]->down());
    tools[0]->setDown(true);  // from code: no click
    EXPECT_FALSE(tools[2]->down());
    EXPECT_EQ(log, (std::vector<std::string>{"1", "1"}));
}

TEST_F(ToolkitTest, TheRightButtonOpensTheContextMenuOfTheControl)
{
    auto* edit = make<TEdit>("TZEDit1", 10, 10, 100, 21);
    auto* menu = new TPopupMenu(form);
    auto* item = new TMenuItem(form);
    item->setCaption("Törlés");
    menu->items()->add(item);
    edit->setPopupMenu(menu);
    edit->OnMouseUp = Handler::mouse([&](TObject*, TMouseButton b, TShiftState, int, int) {
        log.push_back(b == TMouseButton::mbRight ? "up right" : "up left");
    });
    item->OnClick = Handler::notify([&](TObject*) {
        log.push_back("delete");
        menu->popupComponent()->free();
    });
    form->show();
    app.click(edit, {5, 5});
    EXPECT_FALSE(menu->isOpen());
    app.click(edit, {5, 5}, TMouseButton::mbRight);
    ASSERT_TRUE(menu->isOpen());
    EXPECT_EQ(menu->popupComponent(), edit);
    TRect r = menu->screenRect();
    TPoint first{r.left + 10, r.top + 2 + 5};
    app.mouseMove(0, first);
    EXPECT_EQ(menu->highlighted(), 0);
    app.mouseDown(TMouseButton::mbLeft, 0, first);
    app.mouseUp(TMouseButton::mbLeft, 0, first);
    EXPECT_FALSE(menu->isOpen());
    EXPECT_EQ(form->findComponent("TZEDit1"), nullptr);
    EXPECT_EQ(log, (std::vector<std::string>{"up left", "up right", "delete"}));
}

TEST_F(ToolkitTest, HintWindowSizesToItsTextAndTimersRunUntilStopped)
{
    auto* hint = new THintWindow(form);
    TRect r = hint->calcHintRect(60, "Az azonosító érvénytelen");
    // Wrapped into lines no wider than 60 pixels (10 characters here); a
    // longer word stands on a line of its own.
    EXPECT_EQ(r.width(), 11 * 6 + 8);
    EXPECT_EQ(r.height(), 3 * 13 + 6);
    auto* edit = make<TEdit>("edt", 10, 10, 100, 21);
    form->show();
    edit->setFocus();
    hint->activateHint({300, 300, 300 + r.width(), 300 + r.height()}, "Az azonosító érvénytelen");
    EXPECT_TRUE(hint->visible());
    EXPECT_EQ(hint->lines(), (std::vector<std::string>{"Az", "azonosító", "érvénytelen"}));
    EXPECT_EQ(app.focusedControl(), edit);  // a hint takes no focus
    EXPECT_EQ(app.activeForm(), form);

    auto* timer = new TTimer(form);
    timer->setInterval(3000);
    int ticks = 0;
    timer->OnTimer = Handler::notify([&](TObject*) {
        if (++ticks == 2) {
            hint->releaseHandle();
            timer->setEnabled(false);
        }
    });
    platform.advance(2999);
    EXPECT_EQ(ticks, 0);
    platform.advance(1);
    EXPECT_EQ(ticks, 1);
    EXPECT_TRUE(hint->visible());
    platform.advance(10000);
    EXPECT_EQ(ticks, 2);
    EXPECT_FALSE(hint->visible());
    timer->setEnabled(true);
    platform.advance(3000);
    EXPECT_EQ(ticks, 3);
    // An error in a timer handler goes to the message box; the timer goes on.
    timer->OnTimer = Handler::notify([&](TObject*) { throw EConvertError("tick failed"); });
    platform.advance(6000);
    EXPECT_EQ(app.errorMessages().size(), 2u);
}
