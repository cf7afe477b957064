// The recurrence pattern object of an item: defaults, ends, and the kinds in the store.
#include "tests/support/PimTestStore.h"
#include "pim/IRecurrencePattern.h"

#include <gtest/gtest.h>

namespace {

class Pattern : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetTestZoneAndPattern("EST5EDT,M3.2.0,M11.1.0", "M/d/yy");
        ASSERT_TRUE(m_store.IsOpen());
        m_store.App().CreateItem(olAppointmentItem, &m_pAppt);
        m_pAppt->put_Subject("p");
        m_pAppt->put_Start(Dt(2008, 1, 9, 18));  // a Wednesday
        m_pAppt->put_End(Dt(2008, 1, 9, 19));
        m_pAppt->GetRecurrencePattern(&m_pPattern);
    }

    QVector<DATE> Starts(const QString& strRestriction)
    {
        QVector<DATE> out;
        for (const auto& f : m_store.FindAppts(strRestriction))
            out << f.second;
        return out;
    }

    CTestStore m_store;
    std::unique_ptr<IAppointment> m_pAppt;
    std::unique_ptr<IRecurrencePattern> m_pPattern;
};

}  // namespace

TEST_F(Pattern, DefaultsFollowTheStartAndRecurOnlyOnceSet)
{
    int32_t nType = -1, nMask = 0, nDay = 0, nMonth = 0;
    VARIANT_BOOL bNoEnd = VARIANT_FALSE;
    BOOL bRecurring = TRUE;
    m_pPattern->get_RecurrenceType(&nType);
    m_pPattern->get_DayOfWeekMask(&nMask);
    m_pPattern->get_DayOfMonth(&nDay);
    m_pPattern->get_MonthOfYear(&nMonth);
    m_pPattern->get_NoEndDate(&bNoEnd);
    m_pAppt->get_IsRecurring(&bRecurring);
    EXPECT_EQ(nType, olRecursWeekly);
    EXPECT_EQ(nMask, olWednesday);
    EXPECT_EQ(nDay, 9);
    EXPECT_EQ(nMonth, 1);
    EXPECT_EQ(bNoEnd, VARIANT_TRUE);
    EXPECT_FALSE(bRecurring);
    ASSERT_EQ(m_pPattern->put_Interval(2), S_OK);
    m_pAppt->get_IsRecurring(&bRecurring);
    EXPECT_TRUE(bRecurring);
    EXPECT_EQ(m_pPattern->put_Interval(0), E_INVALIDARG);
    EXPECT_EQ(m_pPattern->put_RecurrenceType(4), E_INVALIDARG);
}

TEST_F(Pattern, EndsByCountOrDate)
{
    m_pPattern->put_RecurrenceType(olRecursDaily);
    m_pPattern->put_Occurrences(3);
    VARIANT_BOOL bNoEnd = VARIANT_TRUE;
    m_pPattern->get_NoEndDate(&bNoEnd);
    EXPECT_EQ(bNoEnd, VARIANT_FALSE);
    ASSERT_EQ(m_pAppt->Save(), S_OK);
    EXPECT_EQ(Starts("[Start] >= 1/1/08"), (QVector<DATE>{Dt(2008, 1, 9, 18), Dt(2008, 1, 10, 18), Dt(2008, 1, 11, 18)}));
    m_pPattern->put_PatternEndDate(Dt(2008, 1, 10));
    int32_t nCount = -1;
    m_pPattern->get_Occurrences(&nCount);
    EXPECT_EQ(nCount, 0);
    ASSERT_EQ(m_pAppt->Save(), S_OK);
    EXPECT_EQ(Starts("[Start] >= 1/1/08"), (QVector<DATE>{Dt(2008, 1, 9, 18), Dt(2008, 1, 10, 18)}));
    DATE dt = 0;
    m_pPattern->get_PatternStartDate(&dt);
    EXPECT_EQ(dt, Dt(2008, 1, 9));
    m_pPattern->get_PatternEndDate(&dt);
    EXPECT_EQ(dt, Dt(2008, 1, 10));
}

TEST_F(Pattern, MonthlyAndYearlyOnTheNthWeekday)
{
    m_pPattern->put_RecurrenceType(olRecursMonthNth);
    m_pPattern->put_DayOfWeekMask(olWednesday);
    m_pPattern->put_Instance(5);  // the last Wednesday: the series moves to 30 January
    m_pPattern->put_Occurrences(3);
    ASSERT_EQ(m_pAppt->Save(), S_OK);
    DATE dt = 0;
    m_pAppt->get_Start(&dt);
    EXPECT_EQ(dt, Dt(2008, 1, 30, 18));
    EXPECT_EQ(Starts("[Start] >= 1/1/08"), (QVector<DATE>{Dt(2008, 1, 30, 18), Dt(2008, 2, 27, 18), Dt(2008, 3, 26, 18)}));
    m_pPattern->put_RecurrenceType(olRecursYearNth);
    m_pPattern->put_MonthOfYear(11);
    m_pPattern->put_DayOfWeekMask(olThursday);
    m_pPattern->put_Instance(4);  // Thanksgiving
    ASSERT_EQ(m_pAppt->Save(), S_OK);
    EXPECT_EQ(Starts("[Start] >= 1/1/08"), (QVector<DATE>{Dt(2008, 11, 27, 18), Dt(2009, 11, 26, 18), Dt(2010, 11, 25, 18)}));
}

TEST_F(Pattern, YearlyOnADayThatSomeYearsLack)
{
    m_pAppt->put_Start(Dt(2008, 2, 29, 8));
    m_pAppt->put_End(Dt(2008, 2, 29, 9));
    m_pPattern->put_RecurrenceType(olRecursYearly);
    m_pPattern->put_MonthOfYear(2);
    m_pPattern->put_DayOfMonth(29);
    m_pPattern->put_PatternEndDate(Dt(2016, 12, 31));
    ASSERT_EQ(m_pAppt->Save(), S_OK);
    EXPECT_EQ(Starts("[Start] >= 1/1/08"), (QVector<DATE>{Dt(2008, 2, 29, 8), Dt(2012, 2, 29, 8), Dt(2016, 2, 29, 8)}));
}

TEST_F(Pattern, APatternWithoutAnyOccurrenceIsNotSaved)
{
    m_pPattern->put_RecurrenceType(olRecursDaily);
    m_pPattern->put_PatternEndDate(Dt(2007, 1, 1));
    EXPECT_EQ(m_pAppt->Save(), E_INVALIDARG);
    int32_t nOid = -1;
    m_pAppt->get_Oid(&nOid);
    EXPECT_EQ(nOid, 0);
}

TEST_F(Pattern, ClearingMakesTheItemSingleAgain)
{
    m_pPattern->put_RecurrenceType(olRecursDaily);
    ASSERT_EQ(m_pAppt->Save(), S_OK);
    ASSERT_EQ(m_pAppt->ClearRecurrencePattern(), S_OK);
    ASSERT_EQ(m_pAppt->Save(), S_OK);
    EXPECT_EQ(Starts("[Start] >= 1/1/08"), (QVector<DATE>{Dt(2008, 1, 9, 18)}));
}
