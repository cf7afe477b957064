// Recurring tasks: skipping an occurrence, completing one, and the last occurrence; the
// task date rules applied on Save.
#include "tests/support/PimTestStore.h"
#include "platform/Clock.h"

#include <gtest/gtest.h>

namespace {

class TaskRecurrence : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetTestZoneAndPattern("EST5EDT,M3.2.0,M11.1.0", "M/d/yy");
        ASSERT_TRUE(m_store.IsOpen());
        SYSTEMTIME st;
        st.wYear = 2007, st.wMonth = 12, st.wDay = 26, st.wHour = 15;
        SetFixedLocalTime(st);
    }
    void TearDown() override { SetFixedLocalTime(std::nullopt); }

    // Weekly on Mondays from Monday 24 December 2007, due two days after each start.
    int32_t AddWeeklyTask(int nOccurrences)
    {
        std::unique_ptr<ITask> p;
        m_store.App().CreateItem(olTaskItem, &p);
        p->put_Subject("report");
        p->put_StartDate(Dt(2007, 12, 24));
        p->put_DueDate(Dt(2007, 12, 26));
        p->put_BodyInk(QByteArray("ink"));
        std::unique_ptr<IRecurrencePattern> pPattern;
        p->GetRecurrencePattern(&pPattern);
        pPattern->put_RecurrenceType(olRecursWeekly);
        pPattern->put_DayOfWeekMask(olMonday);
        if (nOccurrences > 0)
            pPattern->put_Occurrences(nOccurrences);
        int32_t nOid = 0;
        return SUCCEEDED(p->Save()) && SUCCEEDED(p->get_Oid(&nOid)) ? nOid : 0;
    }

    std::unique_ptr<ITask> Task(int32_t nOid)
    {
        std::unique_ptr<ITask> p;
        m_store.App().GetItemFromOid(nOid, &p);
        return p;
    }

    void ExpectDates(ITask* p, DATE dtStart, DATE dtDue)
    {
        DATE s = 0, d = 0;
        p->get_StartDate(&s);
        p->get_DueDate(&d);
        EXPECT_EQ(s, dtStart);
        EXPECT_EQ(d, dtDue);
    }

    QVector<int32_t> AllTasks() { return m_store.FindTasks(""); }

    CTestStore m_store;
};

}  // namespace

TEST_F(TaskRecurrence, SkipMovesStartAndDueTogether)
{
    const int32_t nOid = AddWeeklyTask(0);
    auto p = Task(nOid);
    ASSERT_EQ(p->SkipRecurrence(), S_OK);
    ExpectDates(p.get(), Dt(2007, 12, 31), Dt(2008, 1, 2));
    ExpectDates(Task(nOid).get(), Dt(2007, 12, 31), Dt(2008, 1, 2));
    EXPECT_EQ(AllTasks().size(), 1);
}

TEST_F(TaskRecurrence, CompletingKeepsACompletedCopyAndMovesOn)
{
    const int32_t nOid = AddWeeklyTask(0);
    auto p = Task(nOid);
    p->put_Complete(VARIANT_TRUE);
    ASSERT_EQ(p->Save(), S_OK);
    auto pTask = Task(nOid);
    VARIANT_BOOL bComplete = VARIANT_TRUE;
    pTask->get_Complete(&bComplete);
    EXPECT_EQ(bComplete, VARIANT_FALSE);
    ExpectDates(pTask.get(), Dt(2007, 12, 31), Dt(2008, 1, 2));
    const auto all = AllTasks();
    ASSERT_EQ(all.size(), 2);
    const int32_t nCopy = all[0] == nOid ? all[1] : all[0];
    EXPECT_GT(nCopy, nOid);
    auto pCopy = Task(nCopy);
    BOOL bRecurring = TRUE;
    DATE dtDone = 0;
    QString strSubject;
    QByteArray notes;
    pCopy->get_Complete(&bComplete);
    pCopy->get_IsRecurring(&bRecurring);
    pCopy->get_DateCompleted(&dtDone);
    pCopy->get_Subject(&strSubject);
    pCopy->get_BodyInk(&notes);
    EXPECT_EQ(bComplete, VARIANT_TRUE);
    EXPECT_FALSE(bRecurring);
    EXPECT_EQ(dtDone, Dt(2007, 12, 26));
    EXPECT_EQ(strSubject, "report");
    EXPECT_EQ(notes, QByteArray("ink"));
    ExpectDates(pCopy.get(), Dt(2007, 12, 24), Dt(2007, 12, 26));
}

TEST_F(TaskRecurrence, TheLastOccurrenceCompletesTheTaskItself)
{
    const int32_t nOid = AddWeeklyTask(2);
    for (int i = 0; i < 2; ++i) {
        auto p = Task(nOid);
        p->put_Complete(VARIANT_TRUE);
        ASSERT_EQ(p->Save(), S_OK);
    }
    auto p = Task(nOid);
    VARIANT_BOOL bComplete = VARIANT_FALSE;
    p->get_Complete(&bComplete);
    EXPECT_EQ(bComplete, VARIANT_TRUE);
    ExpectDates(p.get(), Dt(2007, 12, 31), Dt(2008, 1, 2));
    EXPECT_EQ(AllTasks().size(), 2);  // one copy, and the task itself
}

TEST_F(TaskRecurrence, SkippingPastTheEndCompletesTheTask)
{
    const int32_t nOid = AddWeeklyTask(1);
    auto p = Task(nOid);
    ASSERT_EQ(p->SkipRecurrence(), S_OK);
    VARIANT_BOOL bComplete = VARIANT_FALSE;
    Task(nOid)->get_Complete(&bComplete);
    EXPECT_EQ(bComplete, VARIANT_TRUE);
}

TEST_F(TaskRecurrence, ASingleTaskCannotSkip)
{
    const int32_t nOid = m_store.AddTask("once", Dt(2007, 12, 24), Dt(2007, 12, 26));
    EXPECT_EQ(Task(nOid)->SkipRecurrence(), E_FAIL);
}

TEST_F(TaskRecurrence, TheToggleOfTheMainViewWorksOnQueriedTasks)
{
    // Found by a query (the lean form), then toggled and saved: the subject survives.
    const int32_t nOid = m_store.AddTask("keep my name", Dt(2007, 12, 24), Dt(2007, 12, 26));
    std::unique_ptr<IFolder> pFolder;
    std::unique_ptr<IPOutlookItemCollection> pItems;
    m_store.App().GetDefaultFolder(olFolderTasks, &pFolder);
    pFolder->get_Items(&pItems);
    std::unique_ptr<ITask> p;
    ASSERT_EQ(pItems->Find("[Complete] = FALSE", &p), S_OK);
    ASSERT_TRUE(p);
    p->put_Complete(VARIANT_TRUE);
    ASSERT_EQ(p->Save(), S_OK);
    QString strSubject;
    Task(nOid)->get_Subject(&strSubject);
    EXPECT_EQ(strSubject, "keep my name");
}

TEST_F(TaskRecurrence, TasksFoundByAQueryAnswerEveryProperty)
{
    const int32_t nSeries = AddWeeklyTask(0);
    auto pSeries = Task(nSeries);
    pSeries->put_ReminderSet(TRUE);
    ASSERT_EQ(pSeries->Save(), S_OK);
    const int32_t nDone = m_store.AddTask("done", kNoDate, kNoDate, true);
    std::unique_ptr<IFolder> pFolder;
    std::unique_ptr<IPOutlookItemCollection> pItems;
    m_store.App().GetDefaultFolder(olFolderTasks, &pFolder);
    pFolder->get_Items(&pItems);
    std::unique_ptr<ITask> p;
    int nSeen = 0;
    for (HRESULT hr = pItems->Find("", &p); SUCCEEDED(hr) && p; hr = pItems->FindNext(&p), ++nSeen) {
        int32_t nOid = 0;
        BOOL bReminder = FALSE, bRecurring = FALSE;
        DATE dtDone = 0;
        QString strSubject;
        p->get_Oid(&nOid);
        p->get_ReminderSet(&bReminder);
        p->get_IsRecurring(&bRecurring);
        p->get_DateCompleted(&dtDone);
        p->get_Subject(&strSubject);
        EXPECT_EQ(bool(bReminder), nOid == nSeries);
        EXPECT_EQ(bool(bRecurring), nOid == nSeries);
        EXPECT_EQ(dtDone, nOid == nDone ? Dt(2007, 12, 26) : kNoDate);
        EXPECT_EQ(strSubject, nOid == nDone ? "done" : "report");
    }
    EXPECT_EQ(nSeen, 2);
}

TEST(TaskDates, SaveCompletesAndOrdersTheDates)
{
    SetTestZoneAndPattern("EST5EDT,M3.2.0,M11.1.0", "M/d/yy");
    CTestStore store;
    struct Case {
        DATE dtStart, dtDue, dtStartSaved, dtDueSaved;
    } cases[] = {
        {Dt(2007, 12, 24, 15, 30), Dt(2007, 12, 26, 8), Dt(2007, 12, 24), Dt(2007, 12, 26)},  // time dropped
        {Dt(2007, 12, 24), kNoDate, Dt(2007, 12, 24), kNoDate},  // a start alone keeps no due date
        {Dt(2007, 12, 28), Dt(2007, 12, 26), Dt(2007, 12, 26), Dt(2007, 12, 26)},  // start after due
        {kNoDate, Dt(2007, 12, 26), kNoDate, Dt(2007, 12, 26)},
        {kNoDate, kNoDate, kNoDate, kNoDate},
    };
    for (const Case& c : cases) {
        const int32_t nOid = store.AddTask("t", c.dtStart, c.dtDue);
        std::unique_ptr<ITask> p;
        ASSERT_EQ(store.App().GetItemFromOid(nOid, &p), S_OK);
        DATE s = 0, d = 0;
        p->get_StartDate(&s);
        p->get_DueDate(&d);
        EXPECT_EQ(s, c.dtStartSaved) << c.dtStart;
        EXPECT_EQ(d, c.dtDueSaved) << c.dtDue;
    }
}

TEST(TaskDates, ImportanceOutsideTheThreeValuesIsRefused)
{
    SetTestZoneAndPattern("EST5EDT,M3.2.0,M11.1.0", "M/d/yy");
    CTestStore store;
    std::unique_ptr<ITask> p;
    store.App().CreateItem(olTaskItem, &p);
    EXPECT_EQ(p->put_Importance(3), E_INVALIDARG);
    EXPECT_EQ(p->put_Importance(-1), E_INVALIDARG);
    EXPECT_EQ(p->put_Importance(olImportanceHigh), S_OK);
}
