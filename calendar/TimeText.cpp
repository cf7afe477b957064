#include "calendar/TimeText.h"

QString FormatTime(const SYSTEMTIME& st, bool bUse24Hour)
{
    const QString minutes = QStringLiteral("%1").arg(st.wMinute, 2, 10, QLatin1Char('0'));
    if (bUse24Hour)
        return QStringLiteral("%1:%2").arg(st.wHour).arg(minutes);
    const int nHour = st.wHour % 12 == 0 ? 12 : st.wHour % 12;
    const QLatin1Char suffix(st.wHour < 12 ? 'a' : 'p');
    return QStringLiteral("%1:%2%3").arg(nHour).arg(minutes).arg(suffix);
}

DateTime GetToday()
{
    struct tm now;
    DateTime::GetCurrentTime().GetLocalTm(&now);
    return DateTime(now.tm_year + 1900, now.tm_mon + 1, now.tm_mday, 0, 0, 0, -1);
}
