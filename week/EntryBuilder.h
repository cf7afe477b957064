#pragma once
// The entry builders: on which days of the shown week an appointment or a task gets a
// row, and each row's label, text, long forms, colour, bold and icons. They work on plain
// values read from the store, so they run without a store or a window.
#include "calendar/DateTime.h"
#include "platform/WinTypes.h"
#include "week/AgendaEntry.h"
#include "week/WeekRange.h"
#include <QString>
#include <functional>
#include <vector>

struct EntryContext {
    WeekRange week;
    DateTime today;  // local date at 00:00:00; set with SetToday
    // Today's local day number and weekday, worked out once: thousands of task rows may
    // fall on today.
    int64_t nTodayNumber = 0;
    int nTodayDayOfWeek = 1;  // 1 = Sunday ... 7 = Saturday
    void SetToday(const DateTime& t)
    {
        today = t;
        nTodayNumber = LocalDayNumber(t);
        nTodayDayOfWeek = t.GetDayOfWeek();
    }
    BOOL bBoldAllDayEvent = FALSE;
    BOOL bBoldImportantTask = FALSE;
    BOOL bShowTaskStart = FALSE;
    // The time text of the frame (hour and minute only are read).
    std::function<QString(const SYSTEMTIME&)> formatTime;
};

// An appointment occurrence as read from the store.
struct ApptData {
    QString strSubject;
    QString strLocation;
    BOOL bAllDayEvent = FALSE;
    BOOL bReminderSet = FALSE;
    BOOL bIsRecurring = FALSE;
    BOOL bHasNotes = FALSE;
    int nOid = 0;
    DATE dtStart = 0.0;     // as read: kept in the row to find the occurrence again
    SYSTEMTIME stStart;     // local fields of Start and End
    SYSTEMTIME stEnd;
};

// A task as read from the store. Dates are local dates at 00:00:00.
struct TaskData {
    QString strSubject;
    BOOL bReminderSet = FALSE;
    BOOL bIsRecurring = FALSE;
    BOOL bHasNotes = FALSE;
    int nImportance = 1;
    int nOid = 0;
    BOOL bComplete = FALSE;
    DATE dtStartDate = 0.0;  // as read (949998.0 when not set)
    DATE dtDueDate = 0.0;    // as read (949998.0 when not set)
    bool bHasStart = false;
    DateTime start;
    bool bHasDue = false;
    DateTime due;
    bool bHasDone = false;  // only for a complete task with a completion date
    DateTime done;
};

void AddAppointmentEntries(const EntryContext& ctx, const ApptData& appt,
                           std::vector<AgendaEntry>* pEntries);
void AddTaskEntries(const EntryContext& ctx, const TaskData& task,
                    std::vector<AgendaEntry>* pEntries);

// Text forms.
QString SubjectAndPlace(const QString& strSubject, const QString& strLocation);
QString JoinedPlace(const QString& strSubject, const QString& strLocation);
