#pragma once
// What the week pane needs of the main frame: the settings, the data sources, the shown
// date and the frame's text operations. The main frame implements it; the pane keeps a
// pointer to it for its whole life.
#include "calendar/DateTime.h"
#include "platform/WinTypes.h"
#include <QString>

struct AgendaSettings;
class CPimDatabases;
class IPOutlookApp;
class SpecialDayList;

class IWeekHost {
public:
    virtual ~IWeekHost() = default;

    virtual const AgendaSettings& GetSettings() const = 0;
    virtual const SpecialDayList& GetSpecialDays() const = 0;
    // Null when the store is not connected.
    virtual IPOutlookApp* GetOutlookApp() const = 0;
    virtual const CPimDatabases& GetPimDatabases() const = 0;

    // The date whose week is shown.
    virtual DateTime GetCurrentDate() const = 0;
    virtual void SetCurrentDate(const DateTime& date) = 0;
    // Today at 00:00:00, from the clock.
    virtual DateTime GetToday() const = 0;

    // The time text of the day lists (hour and minute of st).
    virtual QString FormatTime(const SYSTEMTIME& st) const = 0;
    // The short name of day 1..7 (1 = Monday).
    virtual QString GetWeekdayShortName(int nDay) const = 0;

    // A week load could not read the store; the lists show what was read before. The
    // reason names the store and SQLite's own text.
    virtual void OnWeekLoadFailed(const QString& strReason) { (void)strReason; }
};
