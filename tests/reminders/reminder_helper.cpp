#include "tests/reminders/reminder_helper.h"

#include "ical/CICalImporter.h"
#include "pim/CLocalZone.h"
#include "pim/WallTime.h"

int64_t At(int nYear, int nMonth, int nDay, int nHour, int nMinute)
{
    return CLocalZone::UtcFromWall(WallFromFields(nYear, nMonth, nDay, nHour, nMinute));
}

QString LocalText(int64_t nUtc)
{
    return DateText(WallToDate(CLocalZone::WallFromUtc(nUtc)));
}

QStringList RingTexts(const QVector<CReminder>& reminders)
{
    QStringList out;
    for (const CReminder& r : reminders) {
        QString s = LocalText(r.nRingAt) + u' ' + r.strSubject;
        if (r.bMissed)
            s += QStringLiteral(" (missed)");
        if (r.bSnoozed)
            s += QStringLiteral(" (snoozed)");
        out << s;
    }
    return out;
}

ReminderStore::ReminderStore()
{
    EXPECT_TRUE(m_store.IsOpen());
}

std::shared_ptr<CPimStore> ReminderStore::Store()
{
    return m_store.App().GetStore();
}

int32_t ReminderStore::Appt(const QString& strSubject, DATE dtStart, DATE dtEnd, int nMinutes, bool bAllDay)
{
    const int32_t nOid = m_store.AddAppt(strSubject, dtStart, dtEnd, bAllDay);
    std::unique_ptr<IAppointment> p;
    EXPECT_TRUE(SUCCEEDED(m_store.App().GetItemFromOid(nOid, &p)));
    p->put_ReminderSet(TRUE);
    p->put_ReminderMinutesBeforeStart(nMinutes);
    EXPECT_TRUE(SUCCEEDED(p->Save()));
    return nOid;
}

int32_t ReminderStore::Daily(const QString& strSubject, DATE dtStart, DATE dtEnd, int nCount, int nMinutes)
{
    const int32_t nOid = Appt(strSubject, dtStart, dtEnd, nMinutes);
    std::unique_ptr<IAppointment> p;
    std::unique_ptr<IRecurrencePattern> pPattern;
    EXPECT_TRUE(SUCCEEDED(m_store.App().GetItemFromOid(nOid, &p)));
    p->GetRecurrencePattern(&pPattern);
    pPattern->put_RecurrenceType(olRecursDaily);
    pPattern->put_Occurrences(nCount);
    EXPECT_TRUE(SUCCEEDED(p->Save()));
    return nOid;
}

namespace {

std::unique_ptr<IAppointment> Occurrence(IPOutlookApp& app, int32_t nSeries, DATE dtOccurrence)
{
    std::unique_ptr<IAppointment> pSeries, pOccurrence;
    std::unique_ptr<IRecurrencePattern> pPattern;
    EXPECT_TRUE(SUCCEEDED(app.GetItemFromOid(nSeries, &pSeries)));
    pSeries->GetRecurrencePattern(&pPattern);
    EXPECT_TRUE(SUCCEEDED(pPattern->GetOccurrence(dtOccurrence, &pOccurrence))) << DateText(dtOccurrence).toStdString();
    return pOccurrence;
}

}  // namespace

void ReminderStore::MoveOccurrence(int32_t nSeries, DATE dtOccurrence, DATE dtNewStart, DATE dtNewEnd)
{
    std::unique_ptr<IAppointment> p = Occurrence(m_store.App(), nSeries, dtOccurrence);
    ASSERT_TRUE(p);
    p->put_Start(dtNewStart);
    p->put_End(dtNewEnd);
    EXPECT_TRUE(SUCCEEDED(p->Save()));
}

void ReminderStore::DeleteOccurrence(int32_t nSeries, DATE dtOccurrence)
{
    std::unique_ptr<IAppointment> p = Occurrence(m_store.App(), nSeries, dtOccurrence);
    ASSERT_TRUE(p);
    EXPECT_TRUE(SUCCEEDED(p->Delete()));
}

int32_t ReminderStore::Task(const QString& strSubject, DATE dtDue, bool bReminder, bool bComplete)
{
    const int32_t nOid = m_store.AddTask(strSubject, kNoDate, dtDue, bComplete);
    std::unique_ptr<ITask> p;
    EXPECT_TRUE(SUCCEEDED(m_store.App().GetItemFromOid(nOid, &p)));
    p->put_ReminderSet(bReminder ? TRUE : FALSE);
    EXPECT_TRUE(SUCCEEDED(p->Save()));
    return nOid;
}

void ReminderStore::Import(const QByteArray& ics)
{
    CICalImporter importer(Store());
    QString strError;
    EXPECT_TRUE(importer.ImportText(ics, &strError)) << strError.toStdString();
    EXPECT_EQ(importer.Skipped(), 0) << importer.SkippedSummary().join(u'\n').toStdString();
}
