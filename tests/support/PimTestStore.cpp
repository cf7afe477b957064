#include "tests/support/PimTestStore.h"

#include "calendar/ZoneRules.h"
#include "pim/CPimStore.h"
#include "pim/CSqlStatement.h"
#include "pim/WallTime.h"
#include <QDir>
#include <QFile>
#include <QLocale>
#include <cstdlib>
#include <ctime>

void SetTestZoneAndPattern(const char* pszTz, const char* pszPattern)
{
    setenv("TZ", pszTz, 1);
    tzset();
    ResetTimeZoneCache();
    qputenv("QUILLDAY_SHORTDATE", pszPattern);
}

QString StoreRows(CPimStore& store)
{
    QStringList rows;
    for (const char* pszTable : {"items", "notes", "appt_span", "series_span", "sync_tombstone"}) {
        rows.append(QString::fromLatin1(pszTable));
        CSqlStatement st(store.Db(), QByteArray("SELECT * FROM ") + pszTable + " ORDER BY 1");
        while (st.Step() == SQLITE_ROW) {
            QStringList values;
            for (int i = 0; i < st.ColumnCount(); ++i)
                values.append(st.Value(i).toString() + QLatin1Char(':') + QString::number(st.Value(i).typeId()));
            rows.append(values.join(QLatin1Char('|')));
        }
    }
    return rows.join(QLatin1Char('\n'));
}

QString StoreSqlValue(const QString& strPath, const char* pszSql)
{
    sqlite3* pDb = nullptr;
    QString strValue;
    if (sqlite3_open(QFile::encodeName(strPath).constData(), &pDb) == SQLITE_OK) {
        CSqlStatement st(pDb, pszSql);
        if (st.Step() == SQLITE_ROW)
            strValue = st.Value(0).toString();
    }
    sqlite3_close(pDb);
    return strValue;
}

QString FormatWithPattern(const QString& strPattern, int nYear, int nMonth, int nDay, bool bFullYear)
{
    QString out;
    for (int i = 0; i < strPattern.size();) {
        const QChar c = strPattern[i];
        int n = 1;
        while (i + n < strPattern.size() && strPattern[i + n] == c)
            ++n;
        if (c == u'y')
            out += (n == 4 || bFullYear) ? QString::number(nYear) : QString::number(nYear % 100).rightJustified(2, u'0');
        else if (c == u'M' && n >= 3)
            out += QLocale::system().monthName(nMonth, n == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
        else if (c == u'M')
            out += n == 2 ? QString::number(nMonth).rightJustified(2, u'0') : QString::number(nMonth);
        else if (c == u'd')
            out += n == 2 ? QString::number(nDay).rightJustified(2, u'0') : QString::number(nDay);
        else
            out += QString(n, c);
        i += n;
    }
    return out;
}

QString NoDateText(const QString& strPattern)
{
    return FormatWithPattern(strPattern, 4501, 1, 1, true);
}

namespace {

void WeekTexts(const QString& strPattern, int nYear, int nMonth, int nDay, QString* pStart, QString* pEnd)
{
    const QDate monday(nYear, nMonth, nDay);
    const QDate sunday = monday.addDays(6);
    *pStart = FormatWithPattern(strPattern, monday.year(), monday.month(), monday.day());
    *pEnd = FormatWithPattern(strPattern, sunday.year(), sunday.month(), sunday.day());
}

}  // namespace

QString WeekApptRestriction(const QString& strPattern, int nYear, int nMonth, int nDay)
{
    QString s, e;
    WeekTexts(strPattern, nYear, nMonth, nDay, &s, &e);
    return QStringLiteral("[Start] <= %1 23:59 AND [End] >= %2 00:00").arg(e, s);
}

QString WeekTaskRestriction(const QString& strPattern, int nYear, int nMonth, int nDay, bool bShowComplete)
{
    QString s, e;
    WeekTexts(strPattern, nYear, nMonth, nDay, &s, &e);
    const QString n = NoDateText(strPattern);
    if (!bShowComplete)
        return QStringLiteral("[Complete] = FALSE AND (([StartDate] <= %1 23:59 AND [DueDate] >= %2 00:00) OR "
                              "([StartDate] = %3 OR [StartDate] <= %4 23:59))")
            .arg(e, s, n, e);
    return QStringLiteral(
               "([StartDate] <= %1 23:59 AND [DueDate] >= %2 00:00) OR ([Complete] = FALSE AND ([StartDate] = %3 "
               "OR [StartDate] <= %4 23:59)) OR ([Complete] = TRUE AND ([StartDate] = %5 AND [DueDate] = %6 AND "
               "[DateCompleted] <= %7 23:59 AND [DateCompleted] >= %8 00:00)) OR ([Complete] = TRUE AND "
               "([StartDate] = %9 AND [DueDate] <= %10 23:59 AND [DueDate] >= %11 00:00))")
        .arg(e, s, n, e, n, n, e, s, n)
        .arg(e, s);
}

CTestStore::CTestStore()
{
    m_strPath = m_dir.filePath(QStringLiteral("store/pim.sqlite"));
    m_bOpen = m_dir.isValid() && SUCCEEDED(m_app.Logon(m_strPath));
}

int32_t CTestStore::AddAppt(const QString& strSubject, DATE dtStart, DATE dtEnd, bool bAllDay)
{
    std::unique_ptr<IAppointment> p;
    int32_t nOid = 0;
    if (FAILED(m_app.CreateItem(olAppointmentItem, &p)))
        return 0;
    p->put_Subject(strSubject);
    p->put_AllDayEvent(bAllDay);
    p->put_Start(dtStart);
    p->put_End(dtEnd);
    return SUCCEEDED(p->Save()) && SUCCEEDED(p->get_Oid(&nOid)) ? nOid : 0;
}

int32_t CTestStore::AddTask(const QString& strSubject, DATE dtStart, DATE dtDue, bool bComplete, int nImportance)
{
    std::unique_ptr<ITask> p;
    int32_t nOid = 0;
    if (FAILED(m_app.CreateItem(olTaskItem, &p)))
        return 0;
    p->put_Subject(strSubject);
    p->put_StartDate(dtStart);
    p->put_DueDate(dtDue);
    p->put_Importance(nImportance);
    p->put_Complete(bComplete ? VARIANT_TRUE : VARIANT_FALSE);
    return SUCCEEDED(p->Save()) && SUCCEEDED(p->get_Oid(&nOid)) ? nOid : 0;
}

QVector<std::pair<int32_t, DATE>> CTestStore::FindAppts(const QString& strRestriction, HRESULT* pHr)
{
    QVector<std::pair<int32_t, DATE>> out;
    std::unique_ptr<IFolder> pFolder;
    std::unique_ptr<IPOutlookItemCollection> pItems;
    m_app.GetDefaultFolder(olFolderCalendar, &pFolder);
    pFolder->get_Items(&pItems);
    pItems->Sort(QStringLiteral("[Start]"), VARIANT_FALSE);
    pItems->put_IncludeRecurrences(VARIANT_TRUE);
    std::unique_ptr<IAppointment> p;
    HRESULT hr = pItems->Find(strRestriction, &p);
    for (; SUCCEEDED(hr) && p; hr = pItems->FindNext(&p)) {
        int32_t nOid = 0;
        DATE dt = 0;
        p->get_Oid(&nOid);
        p->get_Start(&dt);
        out.push_back({nOid, dt});
    }
    if (pHr)
        *pHr = hr;
    return out;
}

QVector<int32_t> CTestStore::FindTasks(const QString& strRestriction, HRESULT* pHr)
{
    QVector<int32_t> out;
    std::unique_ptr<IFolder> pFolder;
    std::unique_ptr<IPOutlookItemCollection> pItems;
    m_app.GetDefaultFolder(olFolderTasks, &pFolder);
    pFolder->get_Items(&pItems);
    std::unique_ptr<ITask> p;
    HRESULT hr = pItems->Find(strRestriction, &p);
    for (; SUCCEEDED(hr) && p; hr = pItems->FindNext(&p)) {
        int32_t nOid = 0;
        p->get_Oid(&nOid);
        out.push_back(nOid);
    }
    if (pHr)
        *pHr = hr;
    return out;
}
