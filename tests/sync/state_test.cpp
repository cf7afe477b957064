#include "pim/CPimStore.h"
#include "pim/IAppointment.h"
#include "pim/IPOutlookItem.h"
#include "sync/CSyncState.h"
#include "tests/support/PimTestStore.h"
#include "tests/support/TestDates.h"

#include <gtest/gtest.h>

namespace {

const QString kAccount = QStringLiteral("http://127.0.0.1:1/alice/cal/");

class SyncStateTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SetTestZoneAndPattern("EST5EDT,M3.2.0,M11.1.0", "M/d/yy");
        ASSERT_TRUE(m_store.IsOpen());
        ASSERT_TRUE(SUCCEEDED(CPimStore::Open(m_store.Path(), &m_pStore)));
        m_nOid = m_store.AddAppt("Lunch", Dt(2026, 12, 14, 12), Dt(2026, 12, 14, 13));
        m_nOther = m_store.AddAppt("Other", Dt(2026, 12, 15, 12), Dt(2026, 12, 15, 13));
        m_state = CSyncState(m_pStore, kAccount);
        ASSERT_TRUE(m_state.SetLink(m_nOid, "/alice/cal/lunch.ics", "\"e1\"", false));
    }

    std::unique_ptr<IPOutlookItem> Item(int32_t nOid)
    {
        std::unique_ptr<IPOutlookItem> pItem;
        m_store.App().GetItemFromOid(nOid, &pItem);
        return pItem;
    }

    CTestStore m_store;
    std::shared_ptr<CPimStore> m_pStore;
    CSyncState m_state{nullptr, kAccount};
    int32_t m_nOid = 0;
    int32_t m_nOther = 0;
};

TEST_F(SyncStateTest, ChangesMarkTheLinkAndNewItemsAreUnlinked)
{
    EXPECT_TRUE(m_state.DirtyLinks().isEmpty());
    EXPECT_EQ(m_state.Unlinked(), QList<int64_t>({m_nOther}));

    auto pItem = Item(m_nOid);
    ASSERT_TRUE(pItem);
    ASSERT_TRUE(SUCCEEDED(pItem->put_Subject("Lunch moved")));
    ASSERT_TRUE(SUCCEEDED(pItem->Save()));
    const QList<SyncLink> dirty = m_state.DirtyLinks();
    ASSERT_EQ(dirty.size(), 1);
    EXPECT_EQ(dirty[0].nOid, m_nOid);
    EXPECT_EQ(dirty[0].strEtag, "\"e1\"");

    SyncLink link;
    ASSERT_TRUE(m_state.LinkByHref("/alice/cal/lunch.ics", &link));
    EXPECT_TRUE(link.bDirty);
    EXPECT_FALSE(m_state.LinkByHref("/alice/cal/other.ics", &link));
}

TEST_F(SyncStateTest, DeletingALinkedItemLeavesATombstoneUntilDropped)
{
    ASSERT_TRUE(SUCCEEDED(Item(m_nOid)->Delete()));
    ASSERT_TRUE(SUCCEEDED(Item(m_nOther)->Delete()));   // never on the server: no tombstone
    const QList<SyncTombstone> stones = m_state.Tombstones();
    ASSERT_EQ(stones.size(), 1);
    EXPECT_EQ(stones[0].strHref, "/alice/cal/lunch.ics");
    EXPECT_EQ(stones[0].strEtag, "\"e1\"");
    EXPECT_TRUE(m_state.Links().isEmpty());
    EXPECT_TRUE(m_state.DropTombstone("/alice/cal/lunch.ics"));
    EXPECT_TRUE(m_state.Tombstones().isEmpty());
}

TEST_F(SyncStateTest, ForgetUnlinksEverythingOfTheAccount)
{
    ASSERT_TRUE(m_state.SetToken("tok"));
    ASSERT_TRUE(m_state.Forget());
    EXPECT_TRUE(m_state.Links().isEmpty());
    EXPECT_EQ(m_state.Token(), QString());
    EXPECT_EQ(m_state.Unlinked().size(), 2);
}

} // namespace
