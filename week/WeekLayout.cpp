#include "week/WeekLayout.h"
#include "week/IWeekHost.h"
#include "week/WeekRange.h"
#include <algorithm>

namespace {

constexpr int kBadgeWeekday = 155;
constexpr int kBadgeSaturday = 156;
constexpr int kBadgeSunday = 159;

// Stacks the buckets nFirst..nLast from nTop down to nBottom, by weight.
void LayoutColumn(int nFirst, int nLast, int nTop, int nBottom, int nLeft, int nRight,
                  const int nWeights[7], WeekLayout* pLayout)
{
    int nSum = 0;
    for (int i = nFirst; i <= nLast; ++i)
        nSum += nWeights[i];
    const float fScale = static_cast<float>(nBottom - nTop) / static_cast<float>(nSum);
    int nY = nTop;
    for (int i = nFirst; i <= nLast; ++i) {
        RECT& rc = pLayout->rcDays[i];
        rc.left = nLeft;
        rc.right = nRight;
        rc.top = nY;
        rc.bottom = (i == nLast) ? nBottom : nY + static_cast<int>(static_cast<float>(nWeights[i]) * fScale);
        nY = rc.bottom + 1;
    }
}

}  // namespace

int ListWeight(int nTotalHeight, int nHeight)
{
    return std::min(nTotalHeight, nHeight / 2) + kListWeightBase;
}

bool ComputeWeekLayout(int nWidth, int nHeight, const int nTotalHeights[7], WeekLayout* pLayout)
{
    if (nWidth < kMinPaneSize || nHeight < kMinPaneSize)
        return false;
    int nWeights[7];
    for (int i = 0; i < 7; ++i)
        nWeights[i] = ListWeight(nTotalHeights[i], nHeight);
    const int nHalf = nWidth / 2;
    LayoutColumn(0, 3, 0, nHeight, 0, nHalf, nWeights, pLayout);
    LayoutColumn(4, 6, kRightColumnTop, nHeight, nHalf + 1, nWidth, nWeights, pLayout);
    pLayout->rcCalendar = RECT{nHalf + 1, 0, nWidth, kCalendarHeight};
    return true;
}

QString CornerLabelText(int nDayIndex, int nMonth, int nDay, const QString& strShortWeekday)
{
    if (nDayIndex == 0 || nDay == 1)
        return QStringLiteral("%1 %2/%3").arg(strShortWeekday.left(1), QString::number(nMonth), QString::number(nDay));
    return QStringLiteral("%1 %2").arg(strShortWeekday, QString::number(nDay));
}

QString CornerLabelOf(const WeekRange& week, int nIndex, const IWeekHost& host)
{
    const DateTime& day = week.dayStart[nIndex];
    return CornerLabelText(nIndex, day.GetMonth(), day.GetDay(), host.GetWeekdayShortName(nIndex + 1));
}

int CornerBadgeBitmap(int nDayOfWeek)
{
    if (nDayOfWeek == 7)
        return kBadgeSaturday;
    if (nDayOfWeek == 1)
        return kBadgeSunday;
    return kBadgeWeekday;
}
