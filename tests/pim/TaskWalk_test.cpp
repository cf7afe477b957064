// Tasks walked in the store's own order: exactly the tasks the restriction matches, open
// ones first, then by start date, due date, importance, completion day and OID.
#include "tests/support/PimTestStore.h"
#include "pim/CItemTable.h"
#include "pim/CRestriction.h"
#include "pim/WallTime.h"
#include "platform/Clock.h"
#include "platform/ShortDate.h"

#include <QDate>
#include <algorithm>
#include <gtest/gtest.h>
#include <tuple>

namespace {

class TaskWalk : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetTestZoneAndPattern("EST5EDT,M3.2.0,M11.1.0", "M/d/yy");
        ASSERT_TRUE(m_store.IsOpen());
        // Start dates around the week of Monday 24 December 2007; every start with no due
        // date, the same due date and a later one, open and done (done on two days), at
        // every importance.
        const DATE starts[] = {kNoDate, Dt(2007, 12, 1), Dt(2007, 12, 24), Dt(2007, 12, 30), Dt(2007, 12, 31),
                               Dt(2008, 1, 20)};
        const int dueDays[] = {-1, 0, 3};
        int i = 0;
        for (DATE start : starts) {
            for (int nDue : dueDays) {
                for (int nState = 0; nState < 3; ++nState, ++i) {
                    const DATE due = nDue < 0 ? (i % 2 ? kNoDate : Dt(2007, 12, 26)) : (start == kNoDate ? kNoDate : start + nDue);
                    SetDoneDay(nState == 1 ? 27 : 10);
                    m_store.AddTask(QStringLiteral("task %1").arg(i), start, due, nState != 0, i % 3);
                    m_store.AddTask(QStringLiteral("twin %1").arg(i), start, due, nState != 0, i % 3);
                }
            }
        }
        SetFixedLocalTime(std::nullopt);
    }

    static void SetDoneDay(int nDay)
    {
        SYSTEMTIME st;
        st.wYear = 2007, st.wMonth = 12, st.wDay = uint16_t(nDay), st.wHour = 12;
        SetFixedLocalTime(st);
    }

    // Every task, as full records.
    QVector<CItemRecord> AllTasks()
    {
        QVector<CItemRecord> all;
        const auto pStore = m_store.App().GetStore();
        for (int32_t nOid : m_store.FindTasks(QString())) {
            CItemRecord r;
            EXPECT_TRUE(CItemTable::Load(*pStore, nOid, &r));
            all.push_back(r);
        }
        return all;
    }

    // What a walk must give: the matching tasks in the order of the index items_task.
    QVector<int32_t> Expected(const QString& strRestriction)
    {
        CRestriction restriction;
        EXPECT_EQ(restriction.Parse(strRestriction, GetShortDatePattern(), olTaskItem), S_OK);
        QVector<CItemRecord> found;
        for (const CItemRecord& r : AllTasks()) {
            if (restriction.Matches(r))
                found.push_back(r);
        }
        std::sort(found.begin(), found.end(), [](const CItemRecord& a, const CItemRecord& b) {
            return std::tie(a.bComplete, a.nStart, a.nEnd, a.nImportance, a.nDateCompleted, a.nOid)
                 < std::tie(b.bComplete, b.nStart, b.nEnd, b.nImportance, b.nDateCompleted, b.nOid);
        });
        QVector<int32_t> oids;
        for (const CItemRecord& r : found)
            oids.push_back(r.nOid);
        return oids;
    }

    CTestStore m_store;
};

}  // namespace

TEST_F(TaskWalk, EveryRestrictionFindsTheMatchingTasksInTheStoresOrder)
{
    const QString e = QStringLiteral("12/30/07"), s = QStringLiteral("12/24/07"), n = QStringLiteral("1/1/4501");
    const QString openThisWeek = QStringLiteral("([StartDate] = %1 OR [StartDate] <= %2 23:59)").arg(n, e);
    const QString openOtherWeek = QStringLiteral(
        "(([StartDate] = %1 AND [DueDate] <= %2 23:59 AND [DueDate] >= %3 00:00) OR ([StartDate] <= %2 23:59 AND "
        "[StartDate] >= %3 00:00))").arg(n, e, s);
    QStringList texts;
    for (const QString& strOpen : {openThisWeek, openOtherWeek}) {
        texts << QStringLiteral("[Complete] = FALSE AND (([StartDate] <= %1 23:59 AND [DueDate] >= %2 00:00) OR %3)")
                     .arg(e, s, strOpen);
        texts << QStringLiteral("([StartDate] <= %1 23:59 AND [DueDate] >= %2 00:00) OR ([Complete] = FALSE AND %3)"
                                " OR ([Complete] = TRUE AND ([StartDate] = %4 AND [DueDate] = %4"
                                " AND [DateCompleted] <= %1 23:59 AND [DateCompleted] >= %2 00:00))"
                                " OR ([Complete] = TRUE AND ([StartDate] = %4 AND [DueDate] <= %1 23:59"
                                " AND [DueDate] >= %2 00:00))")
                     .arg(e, s, strOpen, n);
    }
    texts << QString() << QStringLiteral("[Complete] = TRUE") << QStringLiteral("[Complete] <> FALSE")
          << QStringLiteral("[StartDate] <> 12/24/07") << QStringLiteral("[StartDate] > 12/24/07 OR [DueDate] < 12/24/07")
          << QStringLiteral("[StartDate] >= 12/31/07 AND [StartDate] < 1/1/4501")
          << QStringLiteral("[Importance] <> 1 AND ([StartDate] = 12/1/07 OR [StartDate] = 1/20/08)")
          << QStringLiteral("[DateCompleted] >= 12/27/07 OR [Complete] = FALSE AND [DueDate] = 12/26/07")
          << QStringLiteral("[StartDate] < 12/1/07 AND [StartDate] > 12/1/07")
          << QStringLiteral("[Complete] = TRUE AND [Complete] = FALSE");
    for (const QString& strText : std::as_const(texts)) {
        HRESULT hr = E_FAIL;
        const QVector<int32_t> found = m_store.FindTasks(strText, &hr);
        EXPECT_EQ(hr, S_OK) << qPrintable(strText);
        EXPECT_EQ(found, Expected(strText)) << qPrintable(strText);
    }
}

TEST_F(TaskWalk, TasksReadLeanGiveTheValuesOfTheirRows)
{
    std::unique_ptr<IFolder> pFolder;
    std::unique_ptr<IPOutlookItemCollection> pItems;
    m_store.App().GetDefaultFolder(olFolderTasks, &pFolder);
    pFolder->get_Items(&pItems);
    const auto pStore = m_store.App().GetStore();
    const QString strText = QStringLiteral("[StartDate] <= 12/30/07");
    int nTasks = 0;
    std::unique_ptr<ITask> p;
    for (HRESULT hr = pItems->Find(strText, &p); SUCCEEDED(hr) && p;
         hr = pItems->FindNext(&p), ++nTasks) {
        int32_t nOid = 0, nImportance = 0;
        VARIANT_BOOL bComplete = VARIANT_FALSE;
        DATE dtStart = 0, dtDue = 0, dtDone = 0;
        QString strSubject;
        p->get_Oid(&nOid);
        p->get_Importance(&nImportance);
        p->get_Complete(&bComplete);
        p->get_StartDate(&dtStart);
        p->get_DueDate(&dtDue);
        p->get_DateCompleted(&dtDone);
        p->get_Subject(&strSubject);
        CItemRecord r;
        ASSERT_TRUE(CItemTable::Load(*pStore, nOid, &r));
        EXPECT_EQ(nImportance, r.nImportance);
        EXPECT_EQ(bComplete != VARIANT_FALSE, r.bComplete);
        EXPECT_EQ(dtStart, WallToDate(r.nStart));
        EXPECT_EQ(dtDue, WallToDate(r.nEnd));
        EXPECT_EQ(dtDone, WallToDate(r.nDateCompleted));
        EXPECT_EQ(strSubject, r.strSubject);
    }
    EXPECT_EQ(nTasks, Expected(strText).size());
    EXPECT_GE(nTasks, 3 * 3 * 3 * 2);  // at least the tasks of the three start dates up to 12/30
}
