#pragma once
// Geometry of the week pane: Monday to Thursday in the left column, the month calendar
// and Friday to Sunday in the right column. Lists share their column by weight: the
// height of their rows, at most half the pane, plus a fixed share.
#include "platform/WinTypes.h"
#include <QString>

class IWeekHost;
struct WeekRange;

constexpr int kMinPaneSize = 100;        // below this in either direction nothing is laid out
constexpr int kListWeightBase = 30;      // share every list gets whatever its rows
constexpr int kCalendarHeight = 58;      // the month calendar at the top of the right column
constexpr int kRightColumnTop = kCalendarHeight + 1;

struct WeekLayout {
    RECT rcDays[7];   // 0 = Monday ... 6 = Sunday, right and bottom exclusive
    RECT rcCalendar;
};

// Weight of a list whose rows are nTotalHeight pixels high, in a pane of height nHeight.
int ListWeight(int nTotalHeight, int nHeight);
// False (and nothing filled) when the pane is smaller than kMinPaneSize either way.
bool ComputeWeekLayout(int nWidth, int nHeight, const int nTotalHeights[7], WeekLayout* pLayout);

// The badge text of a day list: "M 3/2" (first letter of the weekday, month, day) on
// Monday and on the first of a month, else "Tue 3".
QString CornerLabelText(int nDayIndex, int nMonth, int nDay, const QString& strShortWeekday);
// The badge text of day nIndex (0 = Monday) of the week, with the host's weekday names.
QString CornerLabelOf(const WeekRange& week, int nIndex, const IWeekHost& host);
// Badge bitmap for a weekday (1 = Sunday ... 7 = Saturday).
int CornerBadgeBitmap(int nDayOfWeek);
