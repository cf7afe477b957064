#pragma once
// A program folder, store and registry of their own in a temporary folder, a fixed zone,
// short-date format and clock, items made through the store's own object model, and the
// main frame started on them as the program starts it.
#include "app/CAgendaApp.h"
#include "app/CMainFrame.h"
#include "app/CMainView.h"
#include "app/CWeekPrinter.h"
#include "platform/CRegistry.h"
#include "calendar/CScopedTestTime.h"
#include "pim/IPOutlookApp.h"
#include "pim/WallTime.h"
#include "platform/ProgramFolder.h"
#include "platform/RegistryFile.h"
#include "platform/StorePath.h"
#include "week/CWeekListing.h"
#include "week/CWeekPane.h"
#include "week/CWeekSources.h"
#include <QApplication>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <utility>

// Weekday short names and a title format in plain ASCII, so expected rows read easily.
inline const char* const kFixtureStrings =
    "RC_COMMON_PRODUCT_TITLE=Quillday\n"
    "RC_COMMON_FORMAT_TITLE_DATE=MM YYYY\n"
    "RC_COMMON_JANUARY=Jan\nRC_COMMON_FEBURARY=Feb\nRC_COMMON_MARCH=Mar\nRC_COMMON_APRIL=Apr\n"
    "RC_COMMON_MAY=May\nRC_COMMON_JUNE=Jun\nRC_COMMON_JULY=Jul\nRC_COMMON_AUGUST=Aug\n"
    "RC_COMMON_SEPTEMBER=Sep\nRC_COMMON_OCTOBER=Oct\nRC_COMMON_NOVEMBER=Nov\nRC_COMMON_DECEMBER=Dec\n"
    "RC_COMMON_MONDAY_SHORT=Mon\nRC_COMMON_TUESDAY_SHORT=Tue\nRC_COMMON_WEDNESDAY_SHORT=Wed\n"
    "RC_COMMON_THURSDAY_SHORT=Thu\nRC_COMMON_FRIDAY_SHORT=Fri\nRC_COMMON_SATURDAY_SHORT=Sat\n"
    "RC_COMMON_SUNDAY_SHORT=Sun\n";

struct FixtureTask {
    QString strSubject;
    int nImportance = 1;
    DATE dtStart = 949998.0;
    DATE dtDue = 949998.0;
    bool bComplete = false;
};

class CWeekFixture {
public:
    explicit CWeekFixture(const char* pszZone = "America/New_York")
        : m_time(pszZone)
    {
        qputenv("QUILLDAY_SHORTDATE", "yyyy-MM-dd");
        SetProgramFolder(m_dir.path());
        SetStorePath(m_dir.filePath(QStringLiteral("pim.sqlite")));
        SetRegistryPath(m_dir.filePath(QStringLiteral("registry.reg")));
        WriteFile(QStringLiteral("orlith.inf"), kFixtureStrings);
        WriteFile(QStringLiteral("anniversary.dat"), "# none\n");
        SetNow(2015, 3, 4);
    }

    ~CWeekFixture()
    {
        m_pStoreApp.reset();
        SetProgramFolder(QString());
        SetStorePath(QString());
        SetRegistryPath(QString());
    }

    QString Path(const QString& name) const { return m_dir.filePath(name); }
    // The store file and its write-ahead log, to show that nothing was written.
    QByteArray StoreBytes() const
    {
        QByteArray all;
        for (const char* pszName : {"pim.sqlite", "pim.sqlite-wal"}) {
            QFile file(Path(QString::fromLatin1(pszName)));
            if (file.open(QIODevice::ReadOnly))
                all += file.readAll();
        }
        return all;
    }

    void WriteFile(const QString& name, const QByteArray& bytes)
    {
        QFile file(Path(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(bytes);
    }

    void RemoveFile(const QString& name) { QFile::remove(Path(name)); }

    void SetNow(int y, int m, int d, int h = 12, int n = 0) { m_time.SetNow(y, m, d, h, n); }

    void SetOption(const char* pszName, DWORD dwValue)
    {
        CRegistry().WriteDWORD(HKEY_LOCAL_MACHINE, QStringLiteral("SOFTWARE\\Quillday"), QString::fromLatin1(pszName),
                               dwValue);
    }

    static DATE Date(int y, int m, int d, int h = 0, int n = 0) { return WallToDate(WallFromFields(y, m, d, h, n)); }

    IPOutlookApp* Store()
    {
        if (!m_pStoreApp) {
            m_pStoreApp = std::make_unique<IPOutlookApp>();
            m_pStoreApp->Logon(Path(QStringLiteral("pim.sqlite")));
        }
        return m_pStoreApp.get();
    }

    int AddAppt(const QString& strSubject, DATE dtStart, DATE dtEnd, bool bAllDay = false,
                const QString& strLocation = QString())
    {
        std::unique_ptr<IAppointment> pAppt;
        if (FAILED(Store()->CreateItem(olAppointmentItem, &pAppt)))
            return 0;
        pAppt->put_Subject(strSubject);
        pAppt->put_Location(strLocation);
        pAppt->put_AllDayEvent(bAllDay ? TRUE : FALSE);
        pAppt->put_Start(dtStart);
        pAppt->put_End(dtEnd);
        pAppt->Save();
        int32_t nOid = 0;
        pAppt->get_Oid(&nOid);
        return nOid;
    }

    // A daily series of nCount occurrences.
    int AddDailyAppt(const QString& strSubject, DATE dtStart, DATE dtEnd, int nCount)
    {
        std::unique_ptr<IAppointment> pAppt;
        if (FAILED(Store()->CreateItem(olAppointmentItem, &pAppt)))
            return 0;
        pAppt->put_Subject(strSubject);
        pAppt->put_Start(dtStart);
        pAppt->put_End(dtEnd);
        std::unique_ptr<IRecurrencePattern> pPattern;
        pAppt->GetRecurrencePattern(&pPattern);
        pPattern->put_RecurrenceType(olRecursDaily);
        pPattern->put_Interval(1);
        pPattern->put_Occurrences(nCount);
        pAppt->Save();
        int32_t nOid = 0;
        pAppt->get_Oid(&nOid);
        return nOid;
    }

    int AddTask(const FixtureTask& task)
    {
        std::unique_ptr<ITask> pTask;
        if (FAILED(Store()->CreateItem(olTaskItem, &pTask)))
            return 0;
        pTask->put_Subject(task.strSubject);
        pTask->put_Importance(task.nImportance);
        pTask->put_StartDate(task.dtStart);
        pTask->put_DueDate(task.dtDue);
        pTask->put_Complete(task.bComplete ? VARIANT_TRUE : VARIANT_FALSE);
        pTask->Save();
        int32_t nOid = 0;
        pTask->get_Oid(&nOid);
        return nOid;
    }

    // The frame as the program starts it, 240 x 320, shown and painted once.
    std::unique_ptr<CMainFrame> Start(int y = 0, int m = 0, int d = 0)
    {
        m_pStoreApp.reset();
        auto pFrame = std::make_unique<CMainFrame>();
        if (!pFrame->Create())
            return nullptr;
        if (y != 0)
            pFrame->GetView()->GetWeekPane()->SetWeek(DateTime(y, m, d, 0, 0, 0));
        pFrame->resize(240, 320);
        pFrame->show();
        CAgendaApp::PaintOffscreen(pFrame.get());
        return pFrame;
    }

    static CWeekPane* Pane(CMainFrame* pFrame) { return pFrame->GetView()->GetWeekPane(); }

    // The printed rows of one day (without the day line).
    static QStringList DayRows(CMainFrame* pFrame, int nDay)
    {
        const QStringList lines = CWeekPrinter(Pane(pFrame), pFrame->GetToday()).ToText().split(QLatin1Char('\n'));
        QStringList rows;
        int nSeen = -1;
        for (const QString& line : lines) {
            if (!line.startsWith(QLatin1String("  "))) {
                ++nSeen;
                continue;
            }
            if (nSeen == nDay)
                rows.append(line.mid(2));
        }
        return rows;
    }

    // The week of the date as --print-week prints it, without any window: text and JSON.
    // Empty when the sources would not open or the store could not be read.
    static std::pair<QString, QByteArray> PrintedWithoutWindow(const DateTime& date)
    {
        CWeekSources sources;
        if (!sources.OpenSources())
            return {};
        CWeekListing listing(WeekRangeOf(date), sources.GetToday(), sources);
        QString strFailure;
        if (!listing.Load(&sources, &strFailure))
            return {};
        return {listing.ToText(), listing.ToJson()};
    }

private:
    CScopedTestTime m_time;
    QTemporaryDir m_dir;
    std::unique_ptr<IPOutlookApp> m_pStoreApp;
};
