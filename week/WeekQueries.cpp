#include "week/WeekQueries.h"

QString AppointmentWeekQuery(const QString& strStart, const QString& strEnd)
{
    return QStringLiteral("[Start] <= %1 23:59 AND [End] >= %2 00:00").arg(strEnd, strStart);
}

QString OpenTaskClause(bool bTodayInWeek, const QString& S, const QString& E, const QString& N)
{
    if (bTodayInWeek)
        return QStringLiteral("([StartDate] = %1 OR [StartDate] <= %2 23:59)").arg(N, E);
    return QStringLiteral("(([StartDate] = %1 AND [DueDate] <= %2 23:59 AND [DueDate] >= %3 00:00)"
                          " OR ([StartDate] <= %2 23:59 AND [StartDate] >= %3 00:00))")
        .arg(N, E, S);
}

QString TaskWeekQuery(BOOL bShowComplete, const QString& strStart, const QString& strEnd,
                      const QString& strNoDate, bool bTodayInWeek)
{
    const QString& S = strStart;
    const QString& E = strEnd;
    const QString& N = strNoDate;
    const QString strOpen = OpenTaskClause(bTodayInWeek, S, E, N);
    if (!bShowComplete) {
        return QStringLiteral("[Complete] = FALSE AND (([StartDate] <= %1 23:59 AND [DueDate] >= %2 00:00) OR %3)")
            .arg(E, S, strOpen);
    }
    return QStringLiteral("([StartDate] <= %1 23:59 AND [DueDate] >= %2 00:00)"
                          " OR ([Complete] = FALSE AND %3)"
                          " OR ([Complete] = TRUE AND ([StartDate] = %4 AND [DueDate] = %4"
                          " AND [DateCompleted] <= %1 23:59 AND [DateCompleted] >= %2 00:00))"
                          " OR ([Complete] = TRUE AND ([StartDate] = %4 AND [DueDate] <= %1 23:59"
                          " AND [DueDate] >= %2 00:00))")
        .arg(E, S, strOpen, N);
}
