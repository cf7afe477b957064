#pragma once
// The cell table of the week calendar's month grid: one cell per day (Monday-first
// columns of 13 pixels from x = 20, rows of 9 pixels from y = 4), then a trailing cell
// for the rest of the last row and a leading cell for the start of the first row.
#include "platform/WinTypes.h"

constexpr int WCAL_MAX_CELLS = 33;
constexpr int WCAL_CELL_WIDTH = 13;
constexpr int WCAL_ROW_HEIGHT = 9;
constexpr int WCAL_FIRST_X = 20;      // Monday's column
constexpr int WCAL_LAST_X = 98;       // Sunday's column
constexpr int WCAL_RIGHT = 111;       // end of the grid
constexpr int WCAL_FIRST_Y = 4;
constexpr int WCAL_WEEK_RIGHT = 18;   // the week-number column is x 0 to 18

struct CalendarCell {
    RECT rc;        // the tap area
    int nYear = 0;  // the date a tap picks
    int nMonth = 0;
    int nDay = 0;
    int nWeek = 0;  // ISO week number of the cell's grid row
};

constexpr int WCAL_MAX_ROWS = 6;

struct CalendarRow {
    int y = 0;          // top of the row
    int nWeek = 0;      // ISO week number of the row's Sunday
    int nFirstDay = 0;  // day of the month in the row's first drawn cell
    int nLastDay = 0;   // day of the row's Sunday (past the month's end in the last row)
};

struct CalendarGrid {
    CalendarCell cells[WCAL_MAX_CELLS];
    int nCellCount = 0;    // day cells plus the extra cells
    int nDayCount = 0;     // days of the month: cells[0 .. nDayCount-1]
    int nFirstColumn = 0;  // column of the 1st, 0 = Monday ... 6 = Sunday
    CalendarRow rows[WCAL_MAX_ROWS];
    int nRowCount = 0;
};

// Fills the grid for the month (year 1970..3000, month 1..12). Week numbers come from
// IsoWeekNumber of each row's Sunday.
void BuildCalendarGrid(int nYear, int nMonth, CalendarGrid* pGrid);
// Index of the first cell containing (x, y), days first; -1 when none does.
int HitCalendarCell(const CalendarGrid& grid, int x, int y);
