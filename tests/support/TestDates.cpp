#include "tests/support/TestDates.h"
#include "pim/PimTypes.h"
#include "pim/VariantTime.h"
#include "pim/WallTime.h"

DATE Dt(int nYear, int nMonth, int nDay, int nHour, int nMinute)
{
    return WallToDate(WallFromFields(nYear, nMonth, nDay, nHour, nMinute));
}

QString DateText(DATE dt)
{
    if (dt == kNoDate)
        return QStringLiteral("none");
    SYSTEMTIME st;
    if (!VariantTimeToSystemTime(dt, &st))
        return QStringLiteral("invalid");
    return QStringLiteral("%1-%2-%3 %4:%5")
        .arg(st.wYear)
        .arg(st.wMonth, 2, 10, QLatin1Char('0'))
        .arg(st.wDay, 2, 10, QLatin1Char('0'))
        .arg(st.wHour, 2, 10, QLatin1Char('0'))
        .arg(st.wMinute, 2, 10, QLatin1Char('0'));
}
