// Series in queries: expanded occurrences in start order, GetOccurrence, changed and
// deleted occurrences (exceptions of the series).
#include "tests/support/PimTestStore.h"
#include "pim/IRecurrencePattern.h"

#include <gtest/gtest.h>

namespace {

class Occurrences : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetTestZoneAndPattern("EST5EDT,M3.2.0,M11.1.0", "M/d/yy");
        ASSERT_TRUE(m_store.IsOpen());
        // Every Tuesday and Thursday at 9:00 for an hour, from 6 November 2007, no end.
        m_nSeries = AddSeries("standup", Dt(2007, 11, 6, 9), Dt(2007, 11, 6, 10), olTuesday | olThursday);
        m_nSingle = m_store.AddAppt("single", Dt(2007, 12, 27, 8), Dt(2007, 12, 27, 9));
    }

    int32_t AddSeries(const QString& strSubject, DATE dtStart, DATE dtEnd, int nMask)
    {
        std::unique_ptr<IAppointment> p;
        m_store.App().CreateItem(olAppointmentItem, &p);
        p->put_Subject(strSubject);
        p->put_Start(dtStart);
        p->put_End(dtEnd);
        std::unique_ptr<IRecurrencePattern> pPattern;
        p->GetRecurrencePattern(&pPattern);
        pPattern->put_RecurrenceType(olRecursWeekly);
        pPattern->put_DayOfWeekMask(nMask);
        int32_t nOid = 0;
        return SUCCEEDED(p->Save()) && SUCCEEDED(p->get_Oid(&nOid)) ? nOid : 0;
    }

    std::unique_ptr<IAppointment> Occurrence(DATE dtStart, HRESULT* pHr = nullptr)
    {
        std::unique_ptr<IAppointment> pSeries, pOcc;
        std::unique_ptr<IRecurrencePattern> pPattern;
        m_store.App().GetItemFromOid(m_nSeries, &pSeries);
        pSeries->GetRecurrencePattern(&pPattern);
        const HRESULT hr = pPattern->GetOccurrence(dtStart, &pOcc);
        if (pHr)
            *pHr = hr;
        return pOcc;
    }

    QVector<std::pair<int32_t, DATE>> Week()
    {
        return m_store.FindAppts(WeekApptRestriction("M/d/yy", 2007, 12, 24));
    }

    CTestStore m_store;
    int32_t m_nSeries = 0;
    int32_t m_nSingle = 0;
};

}  // namespace

TEST_F(Occurrences, SeriesAndSinglesMergeInStartOrder)
{
    const auto week = Week();
    const QVector<std::pair<int32_t, DATE>> expected = {
        {m_nSeries, Dt(2007, 12, 25, 9)}, {m_nSingle, Dt(2007, 12, 27, 8)}, {m_nSeries, Dt(2007, 12, 27, 9)}};
    EXPECT_EQ(week, expected);
}

TEST_F(Occurrences, OccurrencesCarryTheSeriesValues)
{
    std::unique_ptr<IFolder> pFolder;
    std::unique_ptr<IPOutlookItemCollection> pItems;
    m_store.App().GetDefaultFolder(olFolderCalendar, &pFolder);
    pFolder->get_Items(&pItems);
    pItems->Sort("[Start]", VARIANT_FALSE);
    pItems->put_IncludeRecurrences(VARIANT_TRUE);
    std::unique_ptr<IAppointment> p;
    ASSERT_EQ(pItems->Find("[Start] <= 12/25/07 23:59 AND [End] >= 12/25/07 00:00", &p), S_OK);
    ASSERT_TRUE(p);
    QString strSubject;
    BOOL bRecurring = FALSE;
    DATE dtEnd = 0;
    p->get_Subject(&strSubject);
    p->get_IsRecurring(&bRecurring);
    p->get_End(&dtEnd);
    EXPECT_EQ(strSubject, "standup");
    EXPECT_TRUE(bRecurring);
    EXPECT_EQ(dtEnd, Dt(2007, 12, 25, 10));
    EXPECT_TRUE(p->IsOccurrence());
    ASSERT_EQ(pItems->FindNext(&p), S_OK);
    EXPECT_FALSE(p);
}

TEST_F(Occurrences, WithoutRecurrencesTheSeriesComesOnceAsItself)
{
    std::unique_ptr<IFolder> pFolder;
    std::unique_ptr<IPOutlookItemCollection> pItems;
    m_store.App().GetDefaultFolder(olFolderCalendar, &pFolder);
    pFolder->get_Items(&pItems);
    pItems->Sort("[Start]", VARIANT_FALSE);
    std::unique_ptr<IAppointment> p;
    QVector<int32_t> oids;
    for (HRESULT hr = pItems->Find("", &p); SUCCEEDED(hr) && p; hr = pItems->FindNext(&p)) {
        int32_t n = 0;
        p->get_Oid(&n);
        oids << n;
        EXPECT_FALSE(p->IsOccurrence());
    }
    EXPECT_EQ(oids, (QVector<int32_t>{m_nSeries, m_nSingle}));
}

TEST_F(Occurrences, GetOccurrenceNeedsTheExactStartMinute)
{
    HRESULT hr = E_FAIL;
    auto p = Occurrence(Dt(2007, 12, 25, 9), &hr);
    EXPECT_EQ(hr, S_OK);
    ASSERT_TRUE(p);
    DATE dt = 0;
    p->get_Start(&dt);
    EXPECT_EQ(dt, Dt(2007, 12, 25, 9));
    const DATE misses[] = {Dt(2007, 12, 25, 9, 1), Dt(2007, 12, 26, 9), Dt(2007, 10, 30, 9), Dt(2007, 12, 25)};
    for (DATE d : misses) {
        EXPECT_FALSE(Occurrence(d, &hr)) << d;
        EXPECT_TRUE(FAILED(hr)) << d;
    }
}

TEST_F(Occurrences, DeletingAnOccurrenceRemovesThatOneOnly)
{
    auto p = Occurrence(Dt(2007, 12, 25, 9));
    ASSERT_TRUE(p);
    ASSERT_EQ(p->Delete(), S_OK);
    const QVector<std::pair<int32_t, DATE>> expected = {{m_nSingle, Dt(2007, 12, 27, 8)}, {m_nSeries, Dt(2007, 12, 27, 9)}};
    EXPECT_EQ(Week(), expected);
    HRESULT hr = S_OK;
    EXPECT_FALSE(Occurrence(Dt(2007, 12, 25, 9), &hr));
    EXPECT_EQ(hr, E_PIM_NOTFOUND);
    std::unique_ptr<IPOutlookItem> pSeries;
    EXPECT_EQ(m_store.App().GetItemFromOid(m_nSeries, &pSeries), S_OK);
}

TEST_F(Occurrences, ASavedChangeStaysWithThatOccurrence)
{
    auto p = Occurrence(Dt(2007, 12, 27, 9));
    ASSERT_TRUE(p);
    p->put_Subject("moved standup");
    p->put_Start(Dt(2007, 12, 28, 11));
    p->put_End(Dt(2007, 12, 28, 12));
    ASSERT_EQ(p->Save(), S_OK);
    const QVector<std::pair<int32_t, DATE>> expected = {
        {m_nSeries, Dt(2007, 12, 25, 9)}, {m_nSingle, Dt(2007, 12, 27, 8)}, {m_nSeries, Dt(2007, 12, 28, 11)}};
    EXPECT_EQ(Week(), expected);
    // Found again by its new start; the rule's own slot is gone.
    auto pMoved = Occurrence(Dt(2007, 12, 28, 11));
    ASSERT_TRUE(pMoved);
    QString strSubject;
    pMoved->get_Subject(&strSubject);
    EXPECT_EQ(strSubject, "moved standup");
    EXPECT_FALSE(Occurrence(Dt(2007, 12, 27, 9)));
    // The series and its other occurrences keep their values.
    std::unique_ptr<IAppointment> pSeries;
    m_store.App().GetItemFromOid(m_nSeries, &pSeries);
    pSeries->get_Subject(&strSubject);
    EXPECT_EQ(strSubject, "standup");
    auto pOther = Occurrence(Dt(2008, 1, 3, 9));
    ASSERT_TRUE(pOther);
    pOther->get_Subject(&strSubject);
    EXPECT_EQ(strSubject, "standup");
    // Deleting the changed occurrence deletes it for good.
    ASSERT_EQ(pMoved->Delete(), S_OK);
    EXPECT_EQ(Week().size(), 2);
}

TEST_F(Occurrences, ChangingTheSeriesPatternDropsOnlyExceptionsOffThePattern)
{
    ASSERT_EQ(Occurrence(Dt(2007, 12, 25, 9))->Delete(), S_OK);
    ASSERT_EQ(Occurrence(Dt(2007, 12, 27, 9))->Delete(), S_OK);
    std::unique_ptr<IAppointment> pSeries;
    std::unique_ptr<IRecurrencePattern> pPattern;
    m_store.App().GetItemFromOid(m_nSeries, &pSeries);
    pSeries->GetRecurrencePattern(&pPattern);
    pPattern->put_DayOfWeekMask(olTuesday);
    int32_t nDropped = -1;
    ASSERT_EQ(pSeries->CountDroppedExceptions(&nDropped), S_OK);
    EXPECT_EQ(nDropped, 1);  // Thursday's; Tuesday 25 December is still an occurrence
    ASSERT_EQ(pSeries->Save(), S_OK);
    const QVector<std::pair<int32_t, DATE>> expected = {{m_nSingle, Dt(2007, 12, 27, 8)}};
    EXPECT_EQ(Week(), expected);
    // Thursdays back: the 27th comes back, the 25th stays deleted.
    pPattern->put_DayOfWeekMask(olTuesday | olThursday);
    ASSERT_EQ(pSeries->CountDroppedExceptions(&nDropped), S_OK);
    EXPECT_EQ(nDropped, 0);
    ASSERT_EQ(pSeries->Save(), S_OK);
    const QVector<std::pair<int32_t, DATE>> back = {{m_nSingle, Dt(2007, 12, 27, 8)}, {m_nSeries, Dt(2007, 12, 27, 9)}};
    EXPECT_EQ(Week(), back);
}

TEST_F(Occurrences, MovingTheSeriesTimeOrEndingItsRecurrenceDropsEveryException)
{
    ASSERT_EQ(Occurrence(Dt(2007, 12, 25, 9))->Delete(), S_OK);
    std::unique_ptr<IAppointment> pSeries;
    m_store.App().GetItemFromOid(m_nSeries, &pSeries);
    int32_t nDropped = -1;
    pSeries->put_Start(Dt(2007, 11, 6, 10));
    pSeries->put_End(Dt(2007, 11, 6, 11));
    ASSERT_EQ(pSeries->CountDroppedExceptions(&nDropped), S_OK);
    EXPECT_EQ(nDropped, 1);
    pSeries->put_Start(Dt(2007, 11, 6, 9));
    pSeries->put_End(Dt(2007, 11, 6, 10));
    ASSERT_EQ(pSeries->CountDroppedExceptions(&nDropped), S_OK);
    EXPECT_EQ(nDropped, 0);
    ASSERT_EQ(pSeries->ClearRecurrencePattern(), S_OK);
    ASSERT_EQ(pSeries->CountDroppedExceptions(&nDropped), S_OK);
    EXPECT_EQ(nDropped, 1);
    ASSERT_EQ(pSeries->Save(), S_OK);
    const QVector<std::pair<int32_t, DATE>> expected = {{m_nSingle, Dt(2007, 12, 27, 8)}};
    EXPECT_EQ(Week(), expected);
}

TEST_F(Occurrences, ChangingOnlyTheSubjectKeepsExceptions)
{
    ASSERT_EQ(Occurrence(Dt(2007, 12, 25, 9))->Delete(), S_OK);
    std::unique_ptr<IAppointment> pSeries;
    m_store.App().GetItemFromOid(m_nSeries, &pSeries);
    pSeries->put_Subject("renamed");
    ASSERT_EQ(pSeries->Save(), S_OK);
    EXPECT_EQ(Week().size(), 2);
}

TEST_F(Occurrences, DeletingTheSeriesRemovesEveryOccurrence)
{
    ASSERT_EQ(Occurrence(Dt(2007, 12, 27, 9))->Delete(), S_OK);
    std::unique_ptr<IAppointment> pSeries;
    m_store.App().GetItemFromOid(m_nSeries, &pSeries);
    ASSERT_EQ(pSeries->Delete(), S_OK);
    const QVector<std::pair<int32_t, DATE>> expected = {{m_nSingle, Dt(2007, 12, 27, 8)}};
    EXPECT_EQ(Week(), expected);
    std::unique_ptr<IPOutlookItem> pGone;
    EXPECT_EQ(m_store.App().GetItemFromOid(m_nSeries, &pGone), E_PIM_NOTFOUND);
}

TEST_F(Occurrences, AnOpenQueryNeverExpandsWithoutBound)
{
    // No date bound at all: the endless series is walked lazily; a filter that none of
    // its occurrences meets still ends (at 1 January 4501 at the latest).
    m_store.AddAppt("all day", Dt(2007, 12, 28), Dt(2007, 12, 28), true);
    HRESULT hr = E_FAIL;
    const auto found = m_store.FindAppts("[AllDayEvent] = TRUE", &hr);
    EXPECT_EQ(hr, S_OK);
    EXPECT_EQ(found.size(), 1);
    // With a lower bound only, the walk hands out occurrences one at a time.
    std::unique_ptr<IFolder> pFolder;
    std::unique_ptr<IPOutlookItemCollection> pItems;
    m_store.App().GetDefaultFolder(olFolderCalendar, &pFolder);
    pFolder->get_Items(&pItems);
    pItems->Sort("[Start]", VARIANT_FALSE);
    pItems->put_IncludeRecurrences(VARIANT_TRUE);
    std::unique_ptr<IAppointment> p;
    ASSERT_EQ(pItems->Find("[Start] >= 1/1/30", &p), S_OK);
    ASSERT_TRUE(p);
    DATE dt = 0;
    p->get_Start(&dt);
    EXPECT_EQ(dt, Dt(2030, 1, 1, 9));  // a Tuesday
}

TEST_F(Occurrences, DescendingOrOtherSortsWithRecurrencesAreRefused)
{
    std::unique_ptr<IFolder> pFolder;
    std::unique_ptr<IPOutlookItemCollection> pItems;
    m_store.App().GetDefaultFolder(olFolderCalendar, &pFolder);
    pFolder->get_Items(&pItems);
    pItems->put_IncludeRecurrences(VARIANT_TRUE);
    std::unique_ptr<IAppointment> p;
    ASSERT_EQ(pItems->Sort("[Start]", VARIANT_TRUE), S_OK);
    EXPECT_EQ(pItems->Find("", &p), E_NOTIMPL);
    EXPECT_EQ(pItems->Sort("[Nope]", VARIANT_FALSE), E_INVALIDARG);
}
