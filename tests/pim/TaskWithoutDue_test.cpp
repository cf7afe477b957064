// A task with a start date and no due date keeps "no due date" through the store and the
// week queries.
#include "tests/support/PimTestStore.h"

#include <gtest/gtest.h>

namespace {

class TaskWithoutDue : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetTestZoneAndPattern("EST5EDT,M3.2.0,M11.1.0", "M/d/yy");
        ASSERT_TRUE(m_store.IsOpen());
    }

    DATE DueOf(int32_t nOid)
    {
        std::unique_ptr<ITask> p;
        DATE dt = 0;
        if (FAILED(m_store.App().GetItemFromOid(nOid, &p)) || FAILED(p->get_DueDate(&dt)))
            return -1;
        return dt;
    }

    CTestStore m_store;
};

}  // namespace

TEST_F(TaskWithoutDue, StaysWithoutDueDateInTheStoreAndTheWeekQueries)
{
    const int32_t nOid = m_store.AddTask("Start only", Dt(2015, 6, 3), kNoDate);
    ASSERT_GT(nOid, 0);
    EXPECT_EQ(DueOf(nOid), kNoDate);
    std::unique_ptr<ITask> pTask;
    ASSERT_EQ(m_store.App().GetItemFromOid(nOid, &pTask), S_OK);
    DATE dtStart = 0;
    pTask->get_StartDate(&dtStart);
    EXPECT_EQ(dtStart, Dt(2015, 6, 3));
    // Saved again, it still has none.
    pTask->put_Subject("Start only, renamed");
    ASSERT_EQ(pTask->Save(), S_OK);
    EXPECT_EQ(DueOf(nOid), kNoDate);
    // Found by the week of its start and by every later week, not by the week before.
    for (const bool bShowComplete : {false, true}) {
        EXPECT_EQ(m_store.FindTasks(WeekTaskRestriction("M/d/yy", 2015, 6, 1, bShowComplete)), QVector<int32_t>{nOid});
        EXPECT_EQ(m_store.FindTasks(WeekTaskRestriction("M/d/yy", 2015, 8, 3, bShowComplete)), QVector<int32_t>{nOid});
        EXPECT_TRUE(m_store.FindTasks(WeekTaskRestriction("M/d/yy", 2015, 5, 25, bShowComplete)).isEmpty());
    }
}
