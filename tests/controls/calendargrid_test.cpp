#include "calendar/CScopedTestTime.h"
#include "controls/CalendarGrid.h"
#include <gtest/gtest.h>

namespace {

class CalendarGridTest : public ::testing::Test {
protected:
    CScopedTestTime m_time{"EST5EDT,M3.2.0,M11.1.0"};
};

struct MonthCase {
    int nYear;
    int nMonth;
    int nRows;
    int nCells;          // days plus extra cells
    int nFirstWeek;      // week number of the first row
    int nLastWeek;       // week number of the last row
};

class CalendarMonths : public CalendarGridTest, public ::testing::WithParamInterface<MonthCase> {};

}  // namespace

TEST_P(CalendarMonths, RowsCellsAndWeekNumbers)
{
    const MonthCase& c = GetParam();
    CalendarGrid grid;
    BuildCalendarGrid(c.nYear, c.nMonth, &grid);
    EXPECT_EQ(grid.nRowCount, c.nRows);
    EXPECT_EQ(grid.nCellCount, c.nCells);
    EXPECT_EQ(grid.rows[0].nWeek, c.nFirstWeek);
    EXPECT_EQ(grid.rows[grid.nRowCount - 1].nWeek, c.nLastWeek);
    EXPECT_EQ(grid.cells[0].nWeek, c.nFirstWeek);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CalendarMonths,
    ::testing::Values(MonthCase{2010, 2, 4, 28, 5, 8},      // Monday 1st to Sunday 28th: no extra cells
                      MonthCase{2015, 2, 5, 30, 5, 9},      // starts on Sunday: leading and trailing cell
                      MonthCase{2010, 8, 6, 33, 30, 35},    // Sunday 1st, 31 days: six rows
                      MonthCase{2005, 1, 6, 33, 53, 5},     // 1 January 2005 lies in week 53 of 2004
                      MonthCase{2011, 1, 6, 33, 52, 5},     // 1 January 2011 lies in week 52 of 2010
                      MonthCase{2007, 1, 5, 32, 1, 5},      // starts on Monday: trailing cell only
                      MonthCase{2008, 12, 5, 32, 49, 1}));  // last row ends on Sunday 4 January 2009

TEST_F(CalendarGridTest, DayCellsFollowTheMondayFirstColumns)
{
    CalendarGrid grid;
    BuildCalendarGrid(2010, 8, &grid);  // 1 August 2010 is a Sunday
    EXPECT_EQ(grid.nFirstColumn, 6);
    const CalendarCell& first = grid.cells[0];
    EXPECT_EQ(first.rc.left, 98);
    EXPECT_EQ(first.rc.top, 4);
    EXPECT_EQ(first.rc.right, 111);
    EXPECT_EQ(first.rc.bottom, 13);
    const CalendarCell& second = grid.cells[1];  // Monday 2nd starts the second row
    EXPECT_EQ(second.rc.left, 20);
    EXPECT_EQ(second.rc.top, 13);
    const CalendarCell& last = grid.cells[30];   // Tuesday 31st
    EXPECT_EQ(last.rc.left, 33);
    EXPECT_EQ(last.rc.top, 4 + 5 * 9);
}

TEST_F(CalendarGridTest, ExtraCellsPickTheNeighbouringMonths)
{
    CalendarGrid grid;
    BuildCalendarGrid(2015, 2, &grid);  // Sunday 1st, Saturday 28th
    ASSERT_EQ(grid.nCellCount, 30);
    const CalendarCell& trailing = grid.cells[28];
    EXPECT_EQ(trailing.rc.left, 98);
    EXPECT_EQ(trailing.rc.right, 111);
    EXPECT_EQ(trailing.rc.top, grid.cells[27].rc.top);
    EXPECT_EQ(trailing.nYear, 2015);
    EXPECT_EQ(trailing.nMonth, 3);
    EXPECT_EQ(trailing.nDay, 1);
    EXPECT_EQ(trailing.nWeek, grid.cells[27].nWeek);
    const CalendarCell& leading = grid.cells[29];
    EXPECT_EQ(leading.rc.left, 20);
    EXPECT_EQ(leading.rc.right, 98);
    EXPECT_EQ(leading.rc.top, 4);
    EXPECT_EQ(leading.nYear, 2015);
    EXPECT_EQ(leading.nMonth, 1);
    EXPECT_EQ(leading.nDay, 31);
    EXPECT_EQ(leading.nWeek, 5);
}

TEST_F(CalendarGridTest, ExtraCellsCrossTheYear)
{
    CalendarGrid grid;
    BuildCalendarGrid(2009, 1, &grid);  // Thursday 1st, Saturday 31st
    const CalendarCell& trailing = grid.cells[31];
    EXPECT_EQ(trailing.nYear, 2009);
    EXPECT_EQ(trailing.nMonth, 2);
    EXPECT_EQ(trailing.nDay, 1);
    const CalendarCell& leading = grid.cells[32];
    EXPECT_EQ(leading.nYear, 2008);
    EXPECT_EQ(leading.nMonth, 12);
    EXPECT_EQ(leading.nDay, 31);
    EXPECT_EQ(leading.nWeek, 1);  // the row of 1 January 2009 is week 1
}

TEST_F(CalendarGridTest, HitTestPrefersDaysThenTrailingThenLeading)
{
    CalendarGrid grid;
    BuildCalendarGrid(2015, 2, &grid);
    EXPECT_EQ(HitCalendarCell(grid, 98, 4), 0);     // Sunday 1st
    EXPECT_EQ(HitCalendarCell(grid, 110, 12), 0);
    EXPECT_EQ(HitCalendarCell(grid, 111, 5), -1);   // right and bottom edges are outside
    EXPECT_EQ(HitCalendarCell(grid, 50, 5), 29);    // leading cell
    EXPECT_EQ(HitCalendarCell(grid, 100, 4 + 4 * 9), 28);  // trailing cell
    EXPECT_EQ(HitCalendarCell(grid, 10, 5), -1);    // week-number column
    EXPECT_EQ(HitCalendarCell(grid, 50, 3), -1);    // above the grid
}
