#include "week/TaskOrder.h"
#include "week/WeekLayout.h"
#include "week/WeekQueries.h"
#include <gtest/gtest.h>
#include <list>
#include <vector>

namespace {

TEST(WeekQueriesTest, AppointmentQueryPutsEndTextFirst)
{
    EXPECT_EQ(AppointmentWeekQuery(QStringLiteral("3/2/15"), QStringLiteral("3/8/15")),
              "[Start] <= 3/8/15 23:59 AND [End] >= 3/2/15 00:00");
}

TEST(WeekQueriesTest, TaskQueriesFollowShowCompleteTask)
{
    const QString S = QStringLiteral("S"), E = QStringLiteral("E"), N = QStringLiteral("N");
    EXPECT_EQ(TaskWeekQuery(FALSE, S, E, N),
              "[Complete] = FALSE AND (([StartDate] <= E 23:59 AND [DueDate] >= S 00:00)"
              " OR ([StartDate] = N OR [StartDate] <= E 23:59))");
    EXPECT_EQ(TaskWeekQuery(TRUE, S, E, N),
              "([StartDate] <= E 23:59 AND [DueDate] >= S 00:00)"
              " OR ([Complete] = FALSE AND ([StartDate] = N OR [StartDate] <= E 23:59))"
              " OR ([Complete] = TRUE AND ([StartDate] = N AND [DueDate] = N"
              " AND [DateCompleted] <= E 23:59 AND [DateCompleted] >= S 00:00))"
              " OR ([Complete] = TRUE AND ([StartDate] = N AND [DueDate] <= E 23:59"
              " AND [DueDate] >= S 00:00))");
}

std::vector<int> Order(const std::vector<TaskOrderRecord>& input)
{
    std::vector<TaskOrderRecord> records = input;
    SortTaskOrder(&records);
    std::vector<int> oids;
    for (const TaskOrderRecord& r : records)
        oids.push_back(r.nOid);
    return oids;
}

// The order as the week load defines it: each new record goes before the first record it
// must precede, else at the end.
bool MustPrecede(const TaskOrderRecord& a, const TaskOrderRecord& r)
{
    if (a.bComplete != r.bComplete)
        return a.bComplete == VARIANT_FALSE;
    if (a.nImportance != r.nImportance)
        return a.nImportance > r.nImportance;
    return a.dtDue < r.dtDue;
}

std::vector<int> InsertedOrder(const std::vector<TaskOrderRecord>& input)
{
    std::list<TaskOrderRecord> list;
    for (const TaskOrderRecord& record : input) {
        auto it = list.begin();
        while (it != list.end() && !MustPrecede(record, *it))
            ++it;
        list.insert(it, record);
    }
    std::vector<int> oids;
    for (const TaskOrderRecord& r : list)
        oids.push_back(r.nOid);
    return oids;
}

TEST(WeekQueriesTest, TodayOutsideTheWeekAsksOnlyForOpenTasksStartingOrDueInIt)
{
    const QString S = QStringLiteral("S"), E = QStringLiteral("E"), N = QStringLiteral("N");
    const QString strOpen = "(([StartDate] = N AND [DueDate] <= E 23:59 AND [DueDate] >= S 00:00)"
                            " OR ([StartDate] <= E 23:59 AND [StartDate] >= S 00:00))";
    EXPECT_EQ(OpenTaskClause(false, S, E, N), strOpen);
    EXPECT_EQ(TaskWeekQuery(FALSE, S, E, N, false),
              "[Complete] = FALSE AND (([StartDate] <= E 23:59 AND [DueDate] >= S 00:00) OR " + strOpen + ")");
    EXPECT_TRUE(TaskWeekQuery(TRUE, S, E, N, false).contains("OR ([Complete] = FALSE AND " + strOpen + ")"));
}

TEST(TaskOrderTest, IncompleteFirstThenImportanceThenDueDate)
{
    const std::vector<TaskOrderRecord> input = {
        {1, VARIANT_TRUE, 2, 100.0},   // complete, high
        {2, VARIANT_FALSE, 0, 200.0},  // incomplete, low
        {3, VARIANT_FALSE, 1, 150.0},
        {4, VARIANT_FALSE, 1, 120.0},
        {5, VARIANT_FALSE, 1, 949998.0},
        {6, VARIANT_FALSE, 2, 300.0},
        {7, VARIANT_TRUE, 0, 50.0},
    };
    EXPECT_EQ(Order(input), (std::vector<int>{6, 4, 3, 5, 2, 1, 7}));
}

TEST(TaskOrderTest, EqualKeysKeepTheStoreOrder)
{
    EXPECT_EQ(Order({{9, VARIANT_FALSE, 1, 10.0}, {3, VARIANT_FALSE, 1, 10.0}, {5, VARIANT_FALSE, 1, 10.0}}),
              (std::vector<int>{9, 3, 5}));
}

TEST(TaskOrderTest, SortingGivesTheInsertionOrder)
{
    std::vector<TaskOrderRecord> records;
    unsigned nSeed = 12345;
    for (int i = 0; i < 500; ++i) {
        nSeed = nSeed * 1103515245u + 12345u;
        const unsigned r = nSeed >> 8;
        records.push_back({i, (r & 1) ? VARIANT_TRUE : VARIANT_FALSE, static_cast<int32_t>(r % 3),
                           (r % 7 == 0) ? 949998.0 : 42000.0 + (r >> 4) % 20});
    }
    EXPECT_EQ(Order(records), InsertedOrder(records));
}

TEST(WeekLayoutTest, EqualListsShareTheColumnEqually)
{
    const int heights[7] = {12, 12, 12, 12, 12, 12, 12};
    WeekLayout layout;
    ASSERT_TRUE(ComputeWeekLayout(240, 265, heights, &layout));
    // Left: 265 / 168 per weight unit, 42 units a list -> 66 pixels.
    EXPECT_EQ(layout.rcDays[0].top, 0);
    EXPECT_EQ(layout.rcDays[0].bottom, 66);
    EXPECT_EQ(layout.rcDays[1].top, 67);
    EXPECT_EQ(layout.rcDays[1].bottom, 133);
    EXPECT_EQ(layout.rcDays[3].bottom, 265);
    EXPECT_EQ(layout.rcDays[0].right, 120);
    // Right: from 59, (265 - 59) / 126 per unit -> 68 pixels.
    EXPECT_EQ(layout.rcDays[4].top, 59);
    EXPECT_EQ(layout.rcDays[4].bottom, 127);
    EXPECT_EQ(layout.rcDays[5].top, 128);
    EXPECT_EQ(layout.rcDays[6].bottom, 265);
    EXPECT_EQ(layout.rcDays[4].left, 121);
    EXPECT_EQ(layout.rcDays[4].right, 240);
    EXPECT_EQ(layout.rcCalendar.left, 121);
    EXPECT_EQ(layout.rcCalendar.bottom, 58);
}

TEST(WeekLayoutTest, TallListCountsAsHalfThePanePlusThirty)
{
    EXPECT_EQ(ListWeight(500, 265), 132 + 30);
    EXPECT_EQ(ListWeight(24, 265), 54);
    const int heights[7] = {500, 0, 0, 0, 0, 0, 0};
    WeekLayout layout;
    ASSERT_TRUE(ComputeWeekLayout(240, 265, heights, &layout));
    // 162 of 252 weight units.
    EXPECT_EQ(layout.rcDays[0].bottom, static_cast<int>(162.0f * (265.0f / 252.0f)));
}

TEST(WeekLayoutTest, SmallPaneIsNotLaidOut)
{
    const int heights[7] = {};
    WeekLayout layout;
    EXPECT_FALSE(ComputeWeekLayout(99, 300, heights, &layout));
    EXPECT_FALSE(ComputeWeekLayout(300, 99, heights, &layout));
}

struct LabelCase {
    int nIndex, nMonth, nDay;
    const char* pszName;
    const char* pszLabel;
};

TEST(WeekLayoutTest, CornerLabels)
{
    const LabelCase cases[] = {
        {0, 3, 2, "Mon", "M 3/2"},
        {1, 3, 3, "Tue", "Tue 3"},
        {3, 10, 1, "Thu", "T 10/1"},
        {6, 3, 8, "Sun", "Sun 8"},
        {0, 3, 2, "", " 3/2"},
    };
    for (const LabelCase& c : cases)
        EXPECT_EQ(CornerLabelText(c.nIndex, c.nMonth, c.nDay, QString::fromUtf8(c.pszName)), c.pszLabel);
    EXPECT_EQ(CornerBadgeBitmap(1), 159);
    EXPECT_EQ(CornerBadgeBitmap(7), 156);
    EXPECT_EQ(CornerBadgeBitmap(2), 155);
}

}  // namespace
