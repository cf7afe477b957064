#include "reminders/ReminderText.h"

#include "calendar/TimeText.h"
#include "pim/PimTypes.h"
#include "pim/WallTime.h"
#include "platform/ShortDate.h"
#include "resources/StringTable.h"

namespace {

// "Tue 3/10": the weekday (1 = Monday in the strings) and the short date.
QString DayText(int64_t nWall, const StringTable& strings)
{
    const SYSTEMTIME st = SystemTimeOfWall(nWall);
    const QString strDay = GetWeekdayShortName(strings, st.wDayOfWeek == 0 ? 7 : st.wDayOfWeek);
    const QString strDate = FormatShortDate(st);
    return strDay.isEmpty() ? strDate : strDay + u' ' + strDate;
}

QString TimeOf(int64_t nWall, bool bUse24Hour)
{
    return FormatTime(SystemTimeOfWall(nWall), bUse24Hour);
}

QString SpanText(const CReminder& r, const StringTable& strings, bool bUse24Hour)
{
    const bool bOneDay = WallDayStart(r.nStart) == WallDayStart(r.nEnd);
    if (r.bAllDay) {
        const QString strDays = bOneDay ? DayText(r.nStart, strings)
                                        : DayText(r.nStart, strings) + QStringLiteral(" – ") + DayText(r.nEnd, strings);
        return strDays + QStringLiteral(", ") + GetResourceString(strings, QStringLiteral("RC_REMINDER_ALLDAY"));
    }
    if (bOneDay) {
        return DayText(r.nStart, strings) + u' ' + TimeOf(r.nStart, bUse24Hour) + QStringLiteral("–")
               + TimeOf(r.nEnd, bUse24Hour);
    }
    return DayText(r.nStart, strings) + u' ' + TimeOf(r.nStart, bUse24Hour) + QStringLiteral(" – ")
           + DayText(r.nEnd, strings) + u' ' + TimeOf(r.nEnd, bUse24Hour);
}

}  // namespace

ReminderTexts MakeReminderTexts(const CReminder& r, const StringTable& strings, bool bUse24Hour)
{
    ReminderTexts texts;
    const QString strSubject = r.strSubject.trimmed().isEmpty()
                                   ? GetResourceString(strings, QStringLiteral("RC_REMINDER_NOSUBJECT"))
                                   : r.strSubject;
    texts.strTitle = r.bMissed ? GetResourceString(strings, QStringLiteral("RC_REMINDER_MISSED")).arg(strSubject)
                               : strSubject;
    if (r.nItemType == olTaskItem)
        texts.strBody = GetResourceString(strings, QStringLiteral("RC_REMINDER_DUE")).arg(DayText(r.nStart, strings));
    else
        texts.strBody = SpanText(r, strings, bUse24Hour);
    if (!r.strLocation.trimmed().isEmpty())
        texts.strBody += u'\n' + r.strLocation.trimmed();
    return texts;
}

QString MissedCountText(int nCount, const StringTable& strings)
{
    return GetResourceString(strings, QStringLiteral("RC_REMINDER_MISSED_COUNT")).arg(nCount);
}

QString OpenText(const StringTable& strings)
{
    return GetResourceString(strings, QStringLiteral("RC_REMINDER_OPEN"));
}

QString DismissText(const StringTable& strings)
{
    return GetResourceString(strings, QStringLiteral("RC_REMINDER_DISMISS"));
}

QString SnoozeText(int nMinutes, const StringTable& strings)
{
    return GetResourceString(strings, QStringLiteral("RC_REMINDER_SNOOZE")).arg(nMinutes);
}
