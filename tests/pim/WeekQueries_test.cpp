// The week queries of the week load against a fixture store, for every short-date
// pattern: appointments of the week of Monday 24 December 2007, and the two task queries.
#include "tests/support/PimTestStore.h"
#include "pim/IAppointment.h"
#include "pim/IRecurrencePattern.h"
#include "platform/Clock.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

void SetToday(int y, int m, int d)
{
    SYSTEMTIME st;
    st.wYear = uint16_t(y), st.wMonth = uint16_t(m), st.wDay = uint16_t(d), st.wHour = 12;
    SetFixedLocalTime(st);
}

class WeekQueries : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override
    {
        SetTestZoneAndPattern("EST5EDT,M3.2.0,M11.1.0", GetParam());
        ASSERT_TRUE(m_store.IsOpen());
        AddAppointments();
        AddTasks();
        SetFixedLocalTime(std::nullopt);
    }

    void AddAppointments()
    {
        m_in << m_store.AddAppt("inside", Dt(2007, 12, 26, 9), Dt(2007, 12, 26, 10, 30));
        m_in << m_store.AddAppt("from last week", Dt(2007, 12, 21, 10), Dt(2007, 12, 24, 2));
        m_in << m_store.AddAppt("ends at Monday 0:00", Dt(2007, 12, 23, 23), Dt(2007, 12, 24, 0));
        m_in << m_store.AddAppt("Sunday 23:59", Dt(2007, 12, 30, 23, 59), Dt(2007, 12, 31, 0, 30));
        m_in << m_store.AddAppt("a whole day to Monday 1:00", Dt(2007, 12, 23, 1), Dt(2007, 12, 24, 1));
        m_in << m_store.AddAppt("all day Thursday", Dt(2007, 12, 27), Dt(2007, 12, 27), true);
        m_in << m_store.AddAppt("all day to Monday", Dt(2007, 12, 20), Dt(2007, 12, 24), true);
        m_in << m_store.AddAppt("whole week and more", Dt(2007, 12, 1, 8), Dt(2008, 1, 15, 8));
        m_out << m_store.AddAppt("next Monday", Dt(2007, 12, 31), Dt(2007, 12, 31, 1));
        m_out << m_store.AddAppt("all day next Monday", Dt(2007, 12, 31), Dt(2007, 12, 31), true);
        m_out << m_store.AddAppt("ends before", Dt(2007, 12, 23, 9), Dt(2007, 12, 23, 23, 59));
        m_out << m_store.AddAppt("a century later", Dt(2107, 12, 26, 9), Dt(2107, 12, 26, 10));
    }

    void AddTasks()
    {
        const DATE none = kNoDate;
        m_open << m_store.AddTask("no dates", none, none);
        m_open << m_store.AddTask("runs through the week", Dt(2007, 12, 20), Dt(2007, 12, 28));
        m_open << m_store.AddTask("due only, later", none, Dt(2008, 2, 1));
        m_open << m_store.AddTask("old and overdue", Dt(2007, 1, 1), Dt(2007, 2, 1));
        m_never << m_store.AddTask("starts later", Dt(2008, 1, 5), Dt(2008, 1, 10));
        m_doneShown << m_store.AddTask("done, in the week", Dt(2007, 12, 24), Dt(2007, 12, 26), true);
        m_doneShown << m_store.AddTask("done, due in the week", none, Dt(2007, 12, 28), true);
        SetToday(2007, 12, 27);
        m_doneShown << m_store.AddTask("done without dates this week", none, none, true);
        SetToday(2007, 12, 1);
        m_never << m_store.AddTask("done without dates earlier", none, none, true);
        m_never << m_store.AddTask("done, due long ago", none, Dt(2007, 11, 1), true);
    }

    QSet<int32_t> Oids(const QVector<std::pair<int32_t, DATE>>& found)
    {
        QSet<int32_t> s;
        for (const auto& f : found)
            s.insert(f.first);
        return s;
    }

    CTestStore m_store;
    QVector<int32_t> m_in, m_out, m_open, m_never, m_doneShown;
};

}  // namespace

TEST_P(WeekQueries, AppointmentsOfTheWeekInStartOrder)
{
    HRESULT hr = E_FAIL;
    const auto found = m_store.FindAppts(WeekApptRestriction(GetParam(), 2007, 12, 24), &hr);
    ASSERT_EQ(hr, S_OK);
    EXPECT_EQ(Oids(found), QSet<int32_t>(m_in.begin(), m_in.end()));
    EXPECT_EQ(found.size(), m_in.size());
    for (int i = 1; i < found.size(); ++i)
        EXPECT_LE(found[i - 1].second, found[i].second);
}

// Stores of older versions kept every appointment in the span tree, all items in the
// tasks' index and no index of series rows: opening one drops the spans of items of a day
// or less, makes the indexes of this version, and the week finds the same items.
TEST_P(WeekQueries, AnUpgradedStoreFindsTheSameWeek)
{
    std::unique_ptr<IAppointment> pSeries;
    m_store.App().CreateItem(olAppointmentItem, &pSeries);
    pSeries->put_Start(Dt(2007, 11, 6, 9));  // Tuesdays
    pSeries->put_End(Dt(2007, 11, 6, 10));
    std::unique_ptr<IRecurrencePattern> pPattern;
    pSeries->GetRecurrencePattern(&pPattern);
    pPattern->put_RecurrenceType(olRecursWeekly);
    ASSERT_EQ(pSeries->Save(), S_OK);
    int32_t nSeries = 0;
    pSeries->get_Oid(&nSeries);
    pPattern.reset();
    pSeries.reset();
    const QString strPath = m_store.Path();
    ASSERT_EQ(m_store.App().Logoff(), S_OK);
    const char* const pszSpans = "SELECT count(*) FROM appt_span";
    EXPECT_EQ(StoreSqlValue(strPath, pszSpans), "3");  // the items longer than a day
    StoreSqlValue(strPath, "INSERT INTO appt_span SELECT oid, t_start, t_end FROM items"
                           " WHERE kind=1 AND rec_type<0 AND oid NOT IN (SELECT id FROM appt_span)");
    ASSERT_EQ(StoreSqlValue(strPath, pszSpans), "12");
    for (const char* pszSql : {"DROP INDEX items_series_rows", "DROP INDEX items_task",
                               "CREATE INDEX items_task ON items(kind, complete, t_start, t_end, importance,"
                               " t_completed, reminder, rec_type, series)",
                               "PRAGMA user_version=5"})
        StoreSqlValue(strPath, pszSql);
    ASSERT_EQ(m_store.App().Logon(strPath), S_OK);
    EXPECT_EQ(StoreSqlValue(strPath, pszSpans), "3");
    EXPECT_EQ(StoreSqlValue(strPath, "SELECT count(*) FROM sqlite_master WHERE name='items_series_rows'"
                                     " OR (name='items_task' AND sql LIKE '%subject) WHERE kind=3')"),
              "2");
    const auto found = m_store.FindAppts(WeekApptRestriction(GetParam(), 2007, 12, 24));
    EXPECT_EQ(Oids(found), QSet<int32_t>(m_in.begin(), m_in.end()) + QSet<int32_t>{nSeries});
    EXPECT_TRUE(found.contains({nSeries, Dt(2007, 12, 25, 9)}));
    const auto tasks = m_store.FindTasks(WeekTaskRestriction(GetParam(), 2007, 12, 24, false));
    EXPECT_EQ(QSet<int32_t>(tasks.begin(), tasks.end()), QSet<int32_t>(m_open.begin(), m_open.end()));
}

TEST_P(WeekQueries, TasksWithoutCompletedOnes)
{
    HRESULT hr = E_FAIL;
    const auto found = m_store.FindTasks(WeekTaskRestriction(GetParam(), 2007, 12, 24, false), &hr);
    ASSERT_EQ(hr, S_OK);
    EXPECT_EQ(QSet<int32_t>(found.begin(), found.end()), QSet<int32_t>(m_open.begin(), m_open.end()));
    EXPECT_EQ(found.size(), m_open.size());
}

TEST_P(WeekQueries, TasksWithCompletedOnes)
{
    HRESULT hr = E_FAIL;
    const auto found = m_store.FindTasks(WeekTaskRestriction(GetParam(), 2007, 12, 24, true), &hr);
    ASSERT_EQ(hr, S_OK);
    QSet<int32_t> expected(m_open.begin(), m_open.end());
    expected.unite(QSet<int32_t>(m_doneShown.begin(), m_doneShown.end()));
    EXPECT_EQ(QSet<int32_t>(found.begin(), found.end()), expected);
    EXPECT_EQ(found.size(), expected.size());
}

TEST_P(WeekQueries, AWeekWithNothingFindsNothing)
{
    HRESULT hr = E_FAIL;
    EXPECT_TRUE(m_store.FindAppts(WeekApptRestriction(GetParam(), 2008, 3, 3), &hr).isEmpty());
    EXPECT_EQ(hr, S_OK);
}

INSTANTIATE_TEST_SUITE_P(Patterns, WeekQueries,
                         ::testing::Values("yyyy-MM-dd", "M/d/yyyy", "M/d/yy", "dd.MM.yy", "yy. M. d.",
                                           "d MMM yyyy"));

TEST(TaskOrder, CompletedTasksKeepTheirCompletionDay)
{
    SetTestZoneAndPattern("EST5EDT,M3.2.0,M11.1.0", "M/d/yy");
    CTestStore store;
    SetToday(2007, 12, 27);
    const int32_t nOid = store.AddTask("done", kNoDate, kNoDate, true);
    SetFixedLocalTime(std::nullopt);
    std::unique_ptr<ITask> pTask;
    ASSERT_EQ(store.App().GetItemFromOid(nOid, &pTask), S_OK);
    DATE dt = 0;
    pTask->get_DateCompleted(&dt);
    EXPECT_EQ(dt, Dt(2007, 12, 27));
    // Reopening clears the completion day.
    pTask->put_Complete(VARIANT_FALSE);
    ASSERT_EQ(pTask->Save(), S_OK);
    pTask->get_DateCompleted(&dt);
    EXPECT_EQ(dt, kNoDate);
}
