// Checking a window's model for text that does not fit, children outside
// their parents and dates in a form other than the Hungarian one.
#include "app/ScreenCheck.h"

#include "toolkit/data/DBGrid.h"
#include "toolkit/widgets/Buttons.h"
#include "toolkit/widgets/CheckBox.h"
#include "toolkit/widgets/DateTimePicker.h"
#include "toolkit/widgets/Edit.h"
#include "toolkit/widgets/Labels.h"
#include "toolkit/widgets/StatusBar.h"
#include "toolkit/windows/Form.h"

#include <regex>

namespace velmora {

namespace {

class Checker {
public:
    std::vector<std::string> problems;

    void check(tk::TControl& c)
    {
        if (!c.visible()) return;
        checkText(c);
        if (auto* parent = tk::as<tk::TWinControl>(&c))
            for (tk::TControl* child : parent->controls()) {
                if (!child->visible()) continue;
                tk::TRect area = parent->clientRect();
                if (child->left() < area.left || child->top() < area.top ||
                    child->left() + child->width() > area.right || child->top() + child->height() > area.bottom)
                    say(*child, "lies outside " + nameOf(*parent) + "'s client area");
                check(*child);
            }
    }

private:
    static std::string nameOf(const tk::TControl& c) { return c.name().empty() ? c.className() : c.name(); }
    void say(const tk::TControl& c, const std::string& what) { problems.push_back(nameOf(c) + ": " + what); }

    // A text in `room` pixels of `c`'s font; a date in it must be Hungarian.
    void fits(const tk::TControl& c, const std::string& text, int room)
    {
        dates(c, text);
        if (c.textWidth(text) > room)
            say(c, "\"" + text + "\" is " + std::to_string(c.textWidth(text)) + " pixels wide in " +
                       std::to_string(room));
    }

    void dates(const tk::TControl& c, const std::string& text)
    {
        static const std::regex dateLike(R"(\d+[./-]\s?\d+[./-]\s?\d+\.?)");
        static const std::regex hungarian(R"(\d{4}\.\d{2}\.\d{2}\.)");
        for (std::sregex_iterator m(text.begin(), text.end(), dateLike), end; m != end; ++m)
            if (!std::regex_match(m->str(), hungarian)) say(c, "shows the date " + m->str() + ", not in the form 2026.11.16.");
    }

    void checkText(tk::TControl& c)
    {
        if (auto* grid = tk::as<tk::TDBGrid>(&c)) return checkGrid(*grid);
        if (auto* picker = tk::as<tk::TDateTimePicker>(&c)) {
            dates(c, picker->displayText());
            if (picker->width() < picker->fittingWidth())
                say(c, "is " + std::to_string(picker->width()) + " pixels wide, its dates need " +
                           std::to_string(picker->fittingWidth()));
            return;
        }
        if (auto* label = tk::as<tk::TLabel>(&c)) {
            if (!label->wordWrap()) fits(c, label->displayText(), label->width());
            return;
        }
        if (auto* box = tk::as<tk::TCheckBox>(&c)) {
            if (!box->wordWrap()) fits(c, tk::stripAccelerator(box->caption()), box->width() - 17);
            return;
        }
        if (auto* button = tk::as<tk::TButton>(&c)) {
            int glyph = 0;
            if (auto* bit = tk::as<tk::TBitBtn>(&c); bit && (bit->kind() != tk::TBitBtnKind::bkCustom ||
                                                             !bit->glyph()->empty()))
                glyph = 16 + 4;
            if (!button->wordWrap()) fits(c, tk::stripAccelerator(button->caption()), button->width() - 8 - glyph);
            return;
        }
        if (auto* bar = tk::as<tk::TStatusBar>(&c)) {
            if (bar->simplePanel()) fits(c, bar->simpleText(), bar->width() - 8);
            return;
        }
        if (auto* edit = tk::as<tk::TCustomEdit>(&c)) dates(c, edit->text());
    }

    void checkGrid(tk::TDBGrid& grid)
    {
        tk::TDataSet* set = grid.dataSet();
        std::vector<tk::TDBGrid::Column> columns = grid.columns();
        for (const tk::TDBGrid::Column& column : columns)
            if (column.shown && grid.titleWidth(column.title) > column.width - 2 * tk::TDBGrid::titlePadding)
                say(grid, "the title \"" + column.title + "\" is wider than its column");
        if (!set) return;
        int rows = std::min(grid.visibleRows(), set->recordCount() - grid.topRow());
        for (int i = 0; i < rows; ++i) {
            int row = grid.topRow() + i;
            for (const tk::TDBGrid::Column& column : columns) {
                if (!column.shown) continue;
                std::string whole = set->displayText(row, column.field), shown = grid.shownText(row, column);
                dates(grid, whole);
                if (grid.textWidth(shown) > column.width - 2 * tk::TDBGrid::cellPadding)
                    say(grid, "\"" + shown + "\" is wider than its column");
                tk::TPoint middle{column.left + column.width / 2,
                                  grid.titleHeight() + i * grid.rowHeight() + grid.rowHeight() / 2};
                if (shown != whole && grid.toolTipAt(middle) != whole)
                    say(grid, "\"" + shown + "\" is cut short without its whole as a tool tip");
            }
        }
    }
};

}  // namespace

std::vector<std::string> screenProblems(tk::TCustomForm& window)
{
    Checker checker;
    checker.check(window);
    return checker.problems;
}

}  // namespace velmora
