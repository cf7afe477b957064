#include "week/EntryBuilder.h"

namespace {

DateTime ToMinute(const SYSTEMTIME& st)
{
    return DateTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, 0);
}

AgendaEntry ApptEntryBase(const ApptData& appt)
{
    AgendaEntry e;
    e.nImportance = -1;
    e.bHasNotes = appt.bHasNotes;
    e.bReminder = appt.bReminderSet ? TRUE : FALSE;
    e.bRecurring = appt.bIsRecurring ? TRUE : FALSE;
    e.dtItem = appt.dtStart;
    e.nKind = kEntryAppointment;
    e.nOid = appt.nOid;
    e.crText = 0;
    return e;
}

void AddAllDayRows(const EntryContext& ctx, const ApptData& appt, const DateTime& start,
                   const DateTime& end, std::vector<AgendaEntry>* pEntries)
{
    for (int i = 0; i < 7; ++i) {
        const DateTime& d = ctx.week.dayStart[i];
        if (d < start || end < d)
            continue;
        AgendaEntry e = ApptEntryBase(appt);
        const bool bFirst = d == start;
        e.nDayOfWeek = d.GetDayOfWeek();
        e.strLabel = bFirst ? QStringLiteral("(E)") : QStringLiteral("<<");
        e.strText = SubjectAndPlace(appt.strSubject, appt.strLocation);
        e.bBold = (ctx.bBoldAllDayEvent && bFirst) ? TRUE : FALSE;
        pEntries->push_back(e);
    }
}

void AddSpanningRows(const EntryContext& ctx, const ApptData& appt, const DateTime& start,
                     const DateTime& end, std::vector<AgendaEntry>* pEntries)
{
    const QString t1 = ctx.formatTime(appt.stStart);
    const QString t2 = ctx.formatTime(appt.stEnd);
    for (int i = 0; i < 7; ++i) {
        const DateTime& d = ctx.week.dayStart[i];
        AgendaEntry e = ApptEntryBase(appt);
        e.nDayOfWeek = d.GetDayOfWeek();
        e.strLabelExtra = t1 + QLatin1Char('-') + t2;
        if (IsSameDay(d, start)) {
            e.strLabel = t1;
            e.strText = JoinedPlace(appt.strSubject, appt.strLocation);
        } else if (IsSameDay(d, end)) {
            e.strLabel = QStringLiteral("<<");
            e.strText = appt.strSubject + QStringLiteral(" (~") + t2 + QLatin1Char(')');
            e.strTextExtra = SubjectAndPlace(appt.strSubject, appt.strLocation);
        } else if (start <= d && d <= end) {
            e.strLabel = QStringLiteral("<<");
            e.strText = appt.strSubject;
            e.strTextExtra = SubjectAndPlace(appt.strSubject, appt.strLocation);
        } else {
            continue;
        }
        pEntries->push_back(e);
    }
}

}  // namespace

QString SubjectAndPlace(const QString& strSubject, const QString& strLocation)
{
    if (strLocation.isEmpty())
        return strSubject;
    return strSubject + QStringLiteral(" (") + strLocation + QLatin1Char(')');
}

QString JoinedPlace(const QString& strSubject, const QString& strLocation)
{
    if (strLocation.isEmpty())
        return strSubject;
    return strSubject + QLatin1Char('(') + strLocation + QLatin1Char(')');
}

void AddAppointmentEntries(const EntryContext& ctx, const ApptData& appt,
                           std::vector<AgendaEntry>* pEntries)
{
    const DateTime start = ToMinute(appt.stStart);
    const DateTime end = ToMinute(appt.stEnd);
    if (appt.bAllDayEvent) {
        AddAllDayRows(ctx, appt, start, end, pEntries);
        return;
    }
    if (IsSameDay(start, end)) {
        if (ctx.week.DayIndexOf(start) < 0)
            return;  // the store matched it by its bounds; it lies outside the week
        AgendaEntry e = ApptEntryBase(appt);
        const QString t1 = ctx.formatTime(appt.stStart);
        e.nDayOfWeek = start.GetDayOfWeek();
        e.strLabel = t1;
        e.strLabelExtra = t1 + QLatin1Char('-') + ctx.formatTime(appt.stEnd);
        e.strText = SubjectAndPlace(appt.strSubject, appt.strLocation);
        pEntries->push_back(e);
        return;
    }
    AddSpanningRows(ctx, appt, start, end, pEntries);
}

namespace {

AgendaEntry TaskEntryBase(const EntryContext& ctx, const TaskData& task)
{
    AgendaEntry e;
    e.bStrike = task.bComplete ? TRUE : FALSE;
    e.nImportance = task.nImportance;
    e.bHasNotes = task.bHasNotes;
    e.bReminder = task.bReminderSet ? TRUE : FALSE;
    e.bRecurring = task.bIsRecurring ? TRUE : FALSE;
    e.bBold = (ctx.bBoldImportantTask && task.nImportance == 2) ? TRUE : FALSE;
    e.dtItem = task.dtStartDate;
    e.nKind = kEntryTask;
    e.nOid = task.nOid;
    return e;
}

// "(T1)", or "(FT1)" for a floating row, from the task's importance; the usual ones are
// made once and shared by every row (a week with today may have thousands).
QString TaskTag(bool bFloating, int nImportance)
{
    static const QString kTags[2][3] = {
        {QStringLiteral("(T0)"), QStringLiteral("(T1)"), QStringLiteral("(T2)")},
        {QStringLiteral("(FT0)"), QStringLiteral("(FT1)"), QStringLiteral("(FT2)")}};
    if (nImportance >= 0 && nImportance <= 2)
        return kTags[bFloating ? 1 : 0][nImportance];
    return (bFloating ? QStringLiteral("(FT") : QStringLiteral("(T")) + QString::number(nImportance)
           + QLatin1Char(')');
}

void PushTaskRow(AgendaEntry e, int nDayOfWeek, bool bFloating, const QString& strText,
                 std::vector<AgendaEntry>* pEntries)
{
    const QString strTag = TaskTag(bFloating, e.nImportance);
    e.nDayOfWeek = nDayOfWeek;
    e.strLabel = strTag;
    e.strLabelExtra = strTag;
    e.strText = strText;
    e.strTextExtra = strText;
    pEntries->push_back(e);
}

// The text of a start-day row: the due date it runs to, or, for a task without one, its
// start date followed by an open end.
QString StartDayText(const TaskData& task)
{
    if (!task.bHasDue)
        return QStringLiteral("%1(%2/%3~)").arg(task.strSubject, QString::number(task.start.GetMonth()),
                                                QString::number(task.start.GetDay()));
    return QStringLiteral("%1(~%2/%3)").arg(task.strSubject, QString::number(task.due.GetMonth()),
                                            QString::number(task.due.GetDay()));
}

void AddTodayRows(const EntryContext& ctx, const TaskData& task, std::vector<AgendaEntry>* pEntries)
{
    const DateTime& today = ctx.today;
    const AgendaEntry base = TaskEntryBase(ctx, task);
    // Without a due date a task floats on today, a started one from its start day on.
    if (!task.bHasDue && (!task.bHasStart || task.start <= today))
        PushTaskRow(base, ctx.nTodayDayOfWeek, true, task.strSubject, pEntries);

    const bool bReminder = (!task.bHasStart && task.bHasDue) || (task.bHasStart && task.start <= today);
    if (!bReminder || !task.bHasDue)
        return;
    const int64_t nDaysLeft = LocalDayNumber(task.due) - ctx.nTodayNumber;
    if (nDaysLeft == 0)
        return;
    AgendaEntry e = base;
    if (task.due < today) {
        e.bOverdue = TRUE;
        PushTaskRow(e, ctx.nTodayDayOfWeek, false,
                    QStringLiteral("%1(+%2d)").arg(task.strSubject, QString::number(-nDaysLeft)), pEntries);
    } else {
        PushTaskRow(e, ctx.nTodayDayOfWeek, false,
                    QStringLiteral("%1(%2d)").arg(task.strSubject, QString::number(nDaysLeft)), pEntries);
    }
}

}  // namespace

void AddTaskEntries(const EntryContext& ctx, const TaskData& task, std::vector<AgendaEntry>* pEntries)
{
    const DateTime& today = ctx.today;
    const AgendaEntry base = TaskEntryBase(ctx, task);

    if (task.bHasStart && ctx.bShowTaskStart && ctx.week.Contains(task.start) && today < task.start)
        PushTaskRow(base, task.start.GetDayOfWeek(), false, StartDayText(task), pEntries);

    if (task.bHasDue && ctx.week.Contains(task.due)) {
        AgendaEntry e = base;
        e.bOverdue = (!task.bComplete && task.due < today) ? TRUE : FALSE;
        e.crText = (task.due == today) ? kDueTodayColor : 0;
        PushTaskRow(e, task.due.GetDayOfWeek(), false, task.strSubject, pEntries);
    }

    // A completed task without dates shows on the day it was done, when that is this week.
    if (task.bComplete && !task.bHasStart && !task.bHasDue && task.bHasDone && ctx.week.Contains(task.done))
        PushTaskRow(base, task.done.GetDayOfWeek(), true, task.strSubject, pEntries);

    if (!task.bComplete && ctx.week.Contains(today))
        AddTodayRows(ctx, task, pEntries);
}
