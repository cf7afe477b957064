#include "controls/CalendarGrid.h"
#include "calendar/CivilDays.h"
#include "calendar/DateTime.h"

namespace {

// Noon keeps whole-day steps on the intended date across daylight-saving changes.
int WeekNumberOf(int nYear, int nMonth, int nDay, int nDaysLater)
{
    const DateTime date = DateTime(nYear, nMonth, nDay, 12, 0, 0) + DateTimeSpan(nDaysLater, 0, 0, 0);
    return IsoWeekNumber(date);
}

RECT CellRect(int x, int y)
{
    RECT rc;
    rc.left = x;
    rc.top = y;
    rc.right = x + WCAL_CELL_WIDTH;
    rc.bottom = y + WCAL_ROW_HEIGHT;
    return rc;
}

void AppendCell(CalendarGrid* pGrid, const RECT& rc, const CivilDate& date, int nWeek)
{
    CalendarCell& cell = pGrid->cells[pGrid->nCellCount++];
    cell.rc = rc;
    cell.nYear = static_cast<int>(date.y);
    cell.nMonth = date.m;
    cell.nDay = date.d;
    cell.nWeek = nWeek;
}

// The cell for the rest of the last row (the 1st of the next month) and the cell for
// the start of the first row (the last day of the previous month).
void AppendExtraCells(CalendarGrid* pGrid, int64_t nFirstDayNumber)
{
    const CalendarCell last = pGrid->cells[pGrid->nDayCount - 1];
    if (last.rc.left != WCAL_LAST_X) {
        RECT rc = last.rc;
        rc.left = last.rc.right;
        rc.right = WCAL_RIGHT;
        AppendCell(pGrid, rc, CivilFromDays(nFirstDayNumber + pGrid->nDayCount), last.nWeek);
    }
    const CalendarCell first = pGrid->cells[0];
    if (first.rc.left != WCAL_FIRST_X) {
        RECT rc = first.rc;
        rc.left = WCAL_FIRST_X;
        rc.right = first.rc.left;
        AppendCell(pGrid, rc, CivilFromDays(nFirstDayNumber - 1), first.nWeek);
    }
}

}  // namespace

void BuildCalendarGrid(int nYear, int nMonth, CalendarGrid* pGrid)
{
    *pGrid = CalendarGrid();
    const int64_t nFirstDayNumber = DaysFromCivil(nYear, nMonth, 1);
    int c = ToMondayFirst(DateTime(nYear, nMonth, 1, 12, 0, 0).GetDayOfWeek()) - 1;
    int x = c * WCAL_CELL_WIDTH + WCAL_FIRST_X;
    int y = WCAL_FIRST_Y;
    pGrid->nFirstColumn = c;
    pGrid->nDayCount = DaysInMonth(nYear, nMonth);
    int nWeek = 0;
    for (int d = 1; d <= pGrid->nDayCount; ++d) {
        if (d == 1 || c == 0) {
            nWeek = WeekNumberOf(nYear, nMonth, d, 6 - c);
            CalendarRow& row = pGrid->rows[pGrid->nRowCount++];
            row.y = y;
            row.nWeek = nWeek;
            row.nFirstDay = d;
            row.nLastDay = d + 6 - c;
        }
        AppendCell(pGrid, CellRect(x, y), CivilFromDays(nFirstDayNumber + d - 1), nWeek);
        if (++c == 7) {
            c = 0;
            x = WCAL_FIRST_X;
            y += WCAL_ROW_HEIGHT;
        } else {
            x += WCAL_CELL_WIDTH;
        }
    }
    AppendExtraCells(pGrid, nFirstDayNumber);
}

int HitCalendarCell(const CalendarGrid& grid, int x, int y)
{
    for (int i = 0; i < grid.nCellCount; ++i) {
        const RECT& rc = grid.cells[i].rc;
        if (x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom)
            return i;
    }
    return -1;
}
