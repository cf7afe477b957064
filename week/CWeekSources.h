#pragma once
// The data sources of a run: the settings, the PIM store with its record reads, the
// special days, the strings and the current date, opened in the program's fixed order,
// and what a week load needs of them. The main frame is one; --print-week uses one
// without any window.
#include "calendar/AnniversaryList.h"
#include "calendar/DateTime.h"
#include "pim/CPimDatabases.h"
#include "resources/StringTable.h"
#include "week/AgendaSettings.h"
#include "week/IWeekHost.h"
#include <memory>

class IPOutlookApp;

// The four start-up failures; each ends the program.
extern const char* const kPoomFailureText;
extern const char* const kSpecialDaysFailureText;
extern const char* const kPimDatabaseFailureText;
extern const char* const kStringsFailureText;
extern const char* const kAppTitle;  // caption of the start-up boxes

class CWeekSources : public IWeekHost {
public:
    // Reads the settings and sets the current date to today.
    CWeekSources();
    ~CWeekSources() override;

    // Opens the sources in order: a warning when the settings file was refused, then the
    // store, the special days, the record reads, the language and the strings. The first
    // failure shows its box and gives FALSE.
    BOOL OpenSources();
    // Logs off the store, then closes the record reads.
    void CloseSources();

    // IWeekHost
    const AgendaSettings& GetSettings() const override { return m_settings; }
    const SpecialDayList& GetSpecialDays() const override { return m_specialDays; }
    IPOutlookApp* GetOutlookApp() const override { return m_pOutlookApp.get(); }
    const CPimDatabases& GetPimDatabases() const override { return m_pimDatabases; }
    DateTime GetCurrentDate() const override { return m_currentDate; }
    void SetCurrentDate(const DateTime& date) override { m_currentDate = date; }
    DateTime GetToday() const override;
    QString FormatTime(const SYSTEMTIME& st) const override;
    QString GetWeekdayShortName(int nDay) const override;
    // Keeps the reason for GetLoadFailure.
    void OnWeekLoadFailed(const QString& strReason) override { m_strLoadFailure = strReason; }

    // The reason of the last failed week load; empty when every load succeeded.
    const QString& GetLoadFailure() const { return m_strLoadFailure; }
    AgendaSettings& GetSettings() { return m_settings; }
    const StringTable& GetStrings() const { return m_strings; }

protected:
    // Start-up steps that a window or a test extends or makes fail.
    virtual BOOL ConnectOutlook();
    virtual BOOL LoadSpecialDayFile();
    virtual BOOL OpenPimDatabases();
    virtual BOOL LoadStrings();

    std::unique_ptr<IPOutlookApp> m_pOutlookApp;
    StringTable m_strings;
    SpecialDayList m_specialDays;
    CPimDatabases m_pimDatabases;  // the record reads and the change notifications
    DateTime m_currentDate;
    AgendaSettings m_settings;
    QString m_strLoadFailure;

private:
    BOOL Fail(const char* pszText, unsigned nType);

    QString m_strConnectFailure;  // said with the store's start-up box when not empty
};
