// A read view spans the reads of a week load and leaves the store writable afterwards.
#include "tests/support/PimTestStore.h"
#include "pim/CPimReadView.h"
#include "pim/CPimStore.h"
#include "pim/IAppointment.h"
#include <gtest/gtest.h>

namespace {

class ReadView : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetTestZoneAndPattern("EST5EDT,M3.2.0,M11.1.0", "M/d/yy");
        ASSERT_TRUE(m_store.IsOpen());
    }
    CTestStore m_store;
};

TEST_F(ReadView, ReadsInsideAndWritesAfterIt)
{
    const int32_t nOid = m_store.AddAppt("Dentist", Dt(2015, 6, 2, 9), Dt(2015, 6, 2, 10));
    {
        const CPimReadView view(&m_store.App());
        EXPECT_TRUE(m_store.App().GetStore()->InTransaction());
        EXPECT_EQ(m_store.FindAppts(WeekApptRestriction("M/d/yy", 2015, 6, 1)).size(), 1);
    }
    EXPECT_FALSE(m_store.App().GetStore()->InTransaction());
    std::unique_ptr<IAppointment> pAppt;
    ASSERT_EQ(m_store.App().GetItemFromOid(nOid, &pAppt), S_OK);
    pAppt->put_Subject(QStringLiteral("Dentist moved"));
    EXPECT_EQ(pAppt->Save(), S_OK);
}

TEST_F(ReadView, LeavesARunningTransactionAlone)
{
    CPimStore& store = *m_store.App().GetStore();
    ASSERT_TRUE(store.Begin());
    { const CPimReadView view(&m_store.App()); }
    EXPECT_TRUE(store.InTransaction());  // still the caller's, not ended by the view
    store.Rollback();
    const CPimReadView closed(nullptr);  // no store: nothing to do
}

}  // namespace
