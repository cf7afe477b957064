// Taking an action back: after each kind of action and its undo, every row of the store
// (items, notes, spans, server links) is as it was before.
#include "tests/support/PimTestStore.h"
#include "pim/CPimStore.h"
#include "pim/CSqlStatement.h"
#include "pim/CUndoStep.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>
#include <functional>
#include <string>

namespace {

// Public, for the table of actions in the test below.
class Undo : public ::testing::Test {
public:
    void SetUp() override
    {
        SetTestZoneAndPattern("EST5EDT,M3.2.0,M11.1.0", "M/d/yy");
        ASSERT_TRUE(m_store.IsOpen());
        SYSTEMTIME st;
        st.wYear = 2007, st.wMonth = 12, st.wDay = 26, st.wHour = 15;
        SetFixedLocalTime(st);
        m_nMeeting = m_store.AddAppt("meeting", Dt(2007, 12, 27, 10), Dt(2007, 12, 27, 11));
        Appt(m_nMeeting)->put_BodyInk(QByteArray("meeting ink"));
        Appt(m_nMeeting)->Save();
        m_nSeries = AddWeekly(olAppointmentItem, "standup");
        // One occurrence moved, one deleted: the series has two exception rows.
        auto pMoved = Occurrence(Dt(2007, 12, 31, 9));
        pMoved->put_Start(Dt(2007, 12, 31, 14));
        pMoved->put_End(Dt(2007, 12, 31, 15));
        pMoved->Save();
        Occurrence(Dt(2008, 1, 7, 9))->Delete();
        m_nTask = m_store.AddTask("milk", Dt(2007, 12, 26), Dt(2007, 12, 26));
        m_nDone = m_store.AddTask("done", Dt(2007, 12, 20), Dt(2007, 12, 21), true);
        m_nWeeklyTask = AddWeekly(olTaskItem, "report");
    }
    void TearDown() override { SetFixedLocalTime(std::nullopt); }

    // Weekly on Mondays from Monday 24 December 2007 (appointments at 9:00 for an hour).
    int32_t AddWeekly(int nType, const QString& strSubject)
    {
        std::unique_ptr<IPOutlookItem> p;
        std::unique_ptr<IRecurrencePattern> pPattern;
        if (nType == olAppointmentItem) {
            std::unique_ptr<IAppointment> pAppt;
            m_store.App().CreateItem(olAppointmentItem, &pAppt);
            pAppt->put_Start(Dt(2007, 12, 24, 9));
            pAppt->put_End(Dt(2007, 12, 24, 10));
            pAppt->GetRecurrencePattern(&pPattern);
            p = std::move(pAppt);
        } else {
            std::unique_ptr<ITask> pTask;
            m_store.App().CreateItem(olTaskItem, &pTask);
            pTask->put_StartDate(Dt(2007, 12, 24));
            pTask->put_DueDate(Dt(2007, 12, 26));
            pTask->GetRecurrencePattern(&pPattern);
            p = std::move(pTask);
        }
        p->put_Subject(strSubject);
        p->put_BodyInk(QByteArray("ink of ") + strSubject.toUtf8());
        pPattern->put_RecurrenceType(olRecursWeekly);
        pPattern->put_DayOfWeekMask(olMonday);
        int32_t nOid = 0;
        return SUCCEEDED(p->Save()) && SUCCEEDED(p->get_Oid(&nOid)) ? nOid : 0;
    }

    std::unique_ptr<IAppointment> Appt(int32_t nOid) { return m_store.Item<IAppointment>(nOid); }
    std::unique_ptr<ITask> Task(int32_t nOid) { return m_store.Item<ITask>(nOid); }
    std::unique_ptr<IAppointment> Occurrence(DATE dtStart)
    {
        std::unique_ptr<IAppointment> pOcc;
        std::unique_ptr<IRecurrencePattern> pPattern;
        Appt(m_nSeries)->GetRecurrencePattern(&pPattern);
        pPattern->GetOccurrence(dtStart, &pOcc);
        return pOcc;
    }

    CPimStore& Store() { return *m_store.App().GetStore(); }

    std::string Dump() { return StoreRows(Store()).toStdString(); }
    QStringList Links()
    {
        QStringList rows;
        CSqlStatement st(Store().Db(), "SELECT oid,account,href,etag,dirty FROM sync_link");
        while (st.Step() == SQLITE_ROW)
            rows.append(QStringLiteral("%1 %2 %3 %4 %5").arg(st.Int(0)).arg(st.Text(1), st.Text(2), st.Text(3)).arg(st.Int(4)));
        return rows;
    }
    int Tombstones()
    {
        CSqlStatement st(Store().Db(), "SELECT count(*) FROM sync_tombstone");
        return st.Step() == SQLITE_ROW ? int(st.Int(0)) : -1;
    }

    void Exec(const char* pszSql) { ASSERT_TRUE(CSqlStatement(Store().Db(), pszSql).Exec()) << pszSql; }

    CTestStore m_store;
    int32_t m_nMeeting = 0;
    int32_t m_nSeries = 0;
    int32_t m_nTask = 0;
    int32_t m_nDone = 0;
    int32_t m_nWeeklyTask = 0;
};

}  // namespace

TEST_F(Undo, EachActionIsTakenBackRowForRow)
{
    const struct {
        const char* pszName;
        int32_t Undo::*pnOid;  // null: the action makes a new item
        std::function<void(Undo&)> action;
    } cases[] = {
        {"tick a task", &Undo::m_nTask,
         [](Undo& t) {
             auto p = t.Task(t.m_nTask);
             p->put_Complete(VARIANT_TRUE);
             p->Save();
         }},
        {"untick a task", &Undo::m_nDone,
         [](Undo& t) {
             auto p = t.Task(t.m_nDone);
             p->put_Complete(VARIANT_FALSE);
             p->Save();
         }},
        {"tick a recurring task: a completed copy, the series moved on", &Undo::m_nWeeklyTask,
         [](Undo& t) {
             auto p = t.Task(t.m_nWeeklyTask);
             p->put_Complete(VARIANT_TRUE);
             p->Save();
         }},
        {"skip a recurring task's occurrence", &Undo::m_nWeeklyTask,
         [](Undo& t) { t.Task(t.m_nWeeklyTask)->SkipRecurrence(); }},
        {"delete an appointment with notes", &Undo::m_nMeeting, [](Undo& t) { t.Appt(t.m_nMeeting)->Delete(); }},
        {"delete a task", &Undo::m_nTask, [](Undo& t) { t.Task(t.m_nTask)->Delete(); }},
        {"delete a series with its exceptions", &Undo::m_nSeries, [](Undo& t) { t.Appt(t.m_nSeries)->Delete(); }},
        {"delete one occurrence", &Undo::m_nSeries, [](Undo& t) { t.Occurrence(Dt(2008, 1, 14, 9))->Delete(); }},
        {"change one occurrence", &Undo::m_nSeries,
         [](Undo& t) {
             auto p = t.Occurrence(Dt(2008, 1, 21, 9));
             p->put_Subject("standup, longer");
             p->put_End(Dt(2008, 1, 21, 11));
             p->Save();
         }},
        {"change the series' pattern, which drops its exceptions", &Undo::m_nSeries,
         [](Undo& t) {
             auto p = t.Appt(t.m_nSeries);
             std::unique_ptr<IRecurrencePattern> pPattern;
             p->GetRecurrencePattern(&pPattern);
             pPattern->put_DayOfWeekMask(olTuesday);
             p->Save();
         }},
        {"move an appointment and change its notes", &Undo::m_nMeeting,
         [](Undo& t) {
             auto p = t.Appt(t.m_nMeeting);
             p->put_Start(Dt(2008, 3, 3, 8));
             p->put_End(Dt(2008, 3, 3, 9));
             p->put_BodyInk(QByteArray("other ink"));
             p->Save();
         }},
        {"a new appointment", nullptr,
         [](Undo& t) { t.m_store.AddAppt("new", Dt(2007, 12, 28, 8), Dt(2007, 12, 28, 9)); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszName);
        const std::string before = Dump();
        CUndoStep step;
        ASSERT_TRUE(step.Begin(Store(), c.pnOid ? this->*c.pnOid : -1));
        c.action(*this);
        ASSERT_NE(Dump(), before);
        ASSERT_TRUE(step.Finish(Store()));
        QString strReason;
        ASSERT_EQ(step.Undo(Store(), &strReason), CUndoStep::EResult::Done) << strReason.toStdString();
        EXPECT_EQ(Dump(), before);
    }
}

// Saving stamps the row with the time; a save that changes nothing else leaves nothing to
// undo, also when the clock has moved on since the item's last save.
TEST_F(Undo, NothingChangedLeavesNothingToUndo)
{
    const QByteArray sql = "UPDATE items SET stamp='20000101T000000Z' WHERE oid=" + QByteArray::number(m_nTask);
    Exec(sql.constData());
    CUndoStep step;
    ASSERT_TRUE(step.Begin(Store(), m_nTask));
    Task(m_nTask)->Save();
    EXPECT_FALSE(step.Finish(Store()));
}

TEST_F(Undo, ARowChangedSinceIsLeftAlone)
{
    CUndoStep step;
    ASSERT_TRUE(step.Begin(Store(), m_nTask));
    auto p = Task(m_nTask);
    p->put_Complete(VARIANT_TRUE);
    p->Save();
    ASSERT_TRUE(step.Finish(Store()));
    p = Task(m_nTask);
    p->put_Subject("oat milk");
    p->Save();
    const std::string changed = Dump();
    QString strReason;
    EXPECT_EQ(step.Undo(Store(), &strReason), CUndoStep::EResult::ChangedSince);
    EXPECT_EQ(Dump(), changed);
}

// An item on a calendar server: its link comes back, to be sent again, and the server is
// not told to delete it.
TEST_F(Undo, ADeletedServerItemIsLinkedAgain)
{
    QByteArray sql = "INSERT INTO sync_link(oid,account,href,etag,dirty) VALUES("
                     + QByteArray::number(m_nMeeting) + ",'acct','/cal/meeting.ics','\"e1\"',0)";
    Exec(sql.constData());
    const std::string before = Dump();
    CUndoStep step;
    ASSERT_TRUE(step.Begin(Store(), m_nMeeting));
    Appt(m_nMeeting)->Delete();
    ASSERT_EQ(Tombstones(), 1);
    ASSERT_TRUE(step.Finish(Store()));
    QString strReason;
    ASSERT_EQ(step.Undo(Store(), &strReason), CUndoStep::EResult::Done);
    EXPECT_EQ(Dump(), before);
    EXPECT_EQ(Tombstones(), 0);
    EXPECT_EQ(Links(), QStringList(QString::number(m_nMeeting) + " acct /cal/meeting.ics \"e1\" 1"));
}
