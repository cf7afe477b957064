#pragma once
// Shared helpers of the store tests: a store in a temporary folder, a fixed zone and
// short-date pattern, dates, restriction texts and item makers.
#include "pim/IPOutlookApp.h"
#include "tests/support/TestDates.h"
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVector>
#include <memory>
#include <utility>

// TZ and the short-date pattern for the whole test program (set before any store use).
void SetTestZoneAndPattern(const char* pszTz, const char* pszPattern);

// A date written with a short-date pattern; bFullYear writes a four-digit year even
// where the pattern has two digits (the no-date text "1/1/4501").
QString FormatWithPattern(const QString& strPattern, int nYear, int nMonth, int nDay, bool bFullYear = false);
QString NoDateText(const QString& strPattern);

// The week restrictions of the week load, for the week starting on the given Monday.
QString WeekApptRestriction(const QString& strPattern, int nYear, int nMonth, int nDay);
QString WeekTaskRestriction(const QString& strPattern, int nYear, int nMonth, int nDay, bool bShowComplete);

class CPimStore;

// Every row of the store's item tables (items, notes, spans, server tombstones), a line
// a row with each value's type, to compare a store with itself at another time.
QString StoreRows(CPimStore& store);
// The first value an SQL statement gives on a connection of its own to the store file, as
// text (empty when it gives none): a count, or the names of the store's indexes.
QString StoreSqlValue(const QString& strPath, const char* pszSql);

class CTestStore {
public:
    CTestStore();
    bool IsOpen() const { return m_bOpen; }
    QString Path() const { return m_strPath; }
    IPOutlookApp& App() { return m_app; }
    // The stored item of that OID (IAppointment or ITask), null when there is none.
    template <class TItem>
    std::unique_ptr<TItem> Item(int32_t nOid)
    {
        std::unique_ptr<TItem> p;
        m_app.GetItemFromOid(nOid, &p);
        return p;
    }

    int32_t AddAppt(const QString& strSubject, DATE dtStart, DATE dtEnd, bool bAllDay = false);
    int32_t AddTask(const QString& strSubject, DATE dtStart, DATE dtDue, bool bComplete = false,
                    int nImportance = olImportanceNormal);
    // (OID, start) of every appointment the restriction finds, with recurrences, by start.
    QVector<std::pair<int32_t, DATE>> FindAppts(const QString& strRestriction, HRESULT* pHr = nullptr);
    QVector<int32_t> FindTasks(const QString& strRestriction, HRESULT* pHr = nullptr);

private:
    QTemporaryDir m_dir;
    QString m_strPath;
    IPOutlookApp m_app;
    bool m_bOpen = false;
};
