#include "PimTestStore.h"

#include <gtest/gtest.h>

TEST(StoreSmoke, SaveFindAndReload)
{
    SetTestZoneAndPattern("EST5EDT,M3.2.0,M11.1.0", "M/d/yy");
    CTestStore store;
    ASSERT_TRUE(store.IsOpen());
    const int32_t a = store.AddAppt("A", Dt(2007, 12, 26, 9, 0), Dt(2007, 12, 26, 10, 30));
    const int32_t t = store.AddTask("T", Dt(2007, 12, 24), Dt(2007, 12, 27));
    ASSERT_GT(a, 0);
    ASSERT_GT(t, a);
    HRESULT hr = E_FAIL;
    auto appts = store.FindAppts(WeekApptRestriction("M/d/yy", 2007, 12, 24), &hr);
    EXPECT_EQ(hr, S_OK);
    ASSERT_EQ(appts.size(), 1);
    EXPECT_EQ(appts[0].first, a);
    auto tasks = store.FindTasks(WeekTaskRestriction("M/d/yy", 2007, 12, 24, false), &hr);
    EXPECT_EQ(hr, S_OK);
    ASSERT_EQ(tasks.size(), 1);
    EXPECT_EQ(tasks[0], t);
}
