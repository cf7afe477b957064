#include "week/WeekQueries.h"

QString AppointmentWeekQuery(const QString& strStart, const QString& strEnd)
{
    return QStringLiteral("[Start] <= %1 23:59 AND [End] >= %2 00:00").arg(strEnd, strStart);
}

QString TaskWeekQuery(BOOL bShowComplete, const QString& strStart, const QString& strEnd,
                      const QString& strNoDate)
{
    const QString& S = strStart;
    const QString& E = strEnd;
    const QString& N = strNoDate;
    if (!bShowComplete) {
        return QStringLiteral("[Complete] = FALSE AND (([StartDate] <= %1 23:59 AND [DueDate] >= %2 00:00)"
                              " OR ([StartDate] = %3 OR [StartDate] <= %4 23:59))")
            .arg(E, S, N, E);
    }
    return QStringLiteral("([StartDate] <= %1 23:59 AND [DueDate] >= %2 00:00)"
                          " OR ([Complete] = FALSE AND ([StartDate] = %3 OR [StartDate] <= %4 23:59))"
                          " OR ([Complete] = TRUE AND ([StartDate] = %5 AND [DueDate] = %6"
                          " AND [DateCompleted] <= %7 23:59 AND [DateCompleted] >= %8 00:00))"
                          " OR ([Complete] = TRUE AND ([StartDate] = %9 AND [DueDate] <= %10 23:59"
                          " AND [DueDate] >= %11 00:00))")
        .arg(E, S, N, E, N, N, E, S, N, E, S);
}
