#include "controls/ListCell.h"
#include "controls/ListMetrics.h"
#include "controls/ListTags.h"
#include <gtest/gtest.h>

TEST(ListMetrics, LineHeightAddsAFifthRoundedUp)
{
    EXPECT_EQ(ListLineHeight(10), 12);
    EXPECT_EQ(3 * ListLineHeight(10), 36);
    EXPECT_EQ(ListLineHeight(8), 10);
    EXPECT_EQ(ListLineHeight(12), 15);
    EXPECT_EQ(ListLineHeight(11), 14);
}

TEST(ListMetrics, IconRoomIsTheSumOfTheSetIcons)
{
    EXPECT_EQ(IconReservedWidth(0), 0);
    EXPECT_EQ(IconReservedWidth(LCX_ICON_NOTES), 8);
    EXPECT_EQ(IconReservedWidth(LCX_ICON_ALARM), 9);
    EXPECT_EQ(IconReservedWidth(LCX_ICON_RECUR), 11);
    EXPECT_EQ(IconReservedWidth(7), 28);
    EXPECT_EQ(IconReservedWidth(8 | 16), 0);  // the owner's bits take no room
}

TEST(ListMetrics, IconOffsetCentresOnTheFirstLine)
{
    EXPECT_EQ(IconOffset(10), 1);
    EXPECT_EQ(IconOffset(8), 0);
    EXPECT_EQ(IconOffset(13), 2);
}

struct LastPageCase {
    std::vector<int> heights;
    int nClient;
    int nMaxTop;
    int nPageRows;
};

class LastPageTest : public ::testing::TestWithParam<LastPageCase> {};

TEST_P(LastPageTest, CountsRowsUpwardsFromTheLast)
{
    const LastPageCase& c = GetParam();
    const LastPage page = ComputeLastPage(c.heights, c.nClient);
    EXPECT_EQ(page.nMaxTopRow, c.nMaxTop);
    EXPECT_EQ(page.nLastPageRows, c.nPageRows);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LastPageTest,
    ::testing::Values(LastPageCase{{}, 100, 0, 0},
                      LastPageCase{{12, 12, 12}, 100, 0, 3},              // everything fits
                      LastPageCase{{12, 12, 12, 12, 12}, 36, 2, 3},       // exactly three fit
                      LastPageCase{{12, 12, 12, 12, 12}, 35, 3, 2},
                      LastPageCase{{12, 36, 12, 24}, 40, 2, 2},
                      // A last row taller than the client area still gets scrolled to.
                      LastPageCase{{12, 12, 60}, 40, 2, 1}));

struct SelCase {
    std::vector<int> heights;
    int nTop;
    int nSel;
    int nClient;
    int nExpectedTop;
};

class EnsureVisibleTest : public ::testing::TestWithParam<SelCase> {};

TEST_P(EnsureVisibleTest, MovesTheTopRowOnlyAsFarAsNeeded)
{
    const SelCase& c = GetParam();
    EXPECT_EQ(TopRowForSelection(c.heights, c.nTop, c.nSel, c.nClient), c.nExpectedTop);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EnsureVisibleTest,
    ::testing::Values(SelCase{{12, 12, 12, 12, 12}, 0, 2, 36, 0},   // already visible
                      SelCase{{12, 12, 12, 12, 12}, 0, 3, 36, 1},   // one row down
                      SelCase{{12, 12, 12, 12, 12}, 0, 4, 36, 2},
                      SelCase{{12, 12, 12, 12, 12}, 3, 1, 36, 1},   // above: becomes the top
                      SelCase{{12, 12, 12, 12, 12}, 3, 0, 36, 0},
                      SelCase{{12, 12, 12, 12, 12}, 3, -1, 36, 0},  // no selection
                      SelCase{{12, 60, 12}, 0, 1, 40, 1}));         // taller than the client

TEST(ListMetrics, StripShowsWhenScrolledOrTooTall)
{
    const std::vector<int> heights = {12, 12, 12};
    EXPECT_FALSE(ScrollStripNeeded(heights, 0, 36));
    EXPECT_TRUE(ScrollStripNeeded(heights, 0, 35));
    EXPECT_TRUE(ScrollStripNeeded(heights, 1, 100));
    EXPECT_FALSE(ScrollStripNeeded({}, 0, 10));
}

TEST(ListMetrics, ThumbFollowsTheRowsAbove)
{
    // Hc 100: track 72; total 200 gives a thumb of 100 * 72 / 200 = 36.
    RECT rc = ComputeThumbRect(80, 100, 200, 0);
    EXPECT_EQ(rc.left, 72);
    EXPECT_EQ(rc.right, 77);
    EXPECT_EQ(rc.top, 8);
    EXPECT_EQ(rc.bottom, 44);
    rc = ComputeThumbRect(80, 100, 200, 50);
    EXPECT_EQ(rc.top, 50 * 72 / 200 + 8);
}

TEST(ListMetrics, ThumbBottomNeverPassesTwentyAboveTheBottom)
{
    for (int nAbove = 0; nAbove <= 400; nAbove += 7) {
        const RECT rc = ComputeThumbRect(80, 100, 400, nAbove);
        EXPECT_LE(rc.bottom, 100 - 20) << nAbove;
    }
}

// Rows that fit the client area with room to spare (a list scrolled and then made taller):
// the thumb still lies within its track, below the up arrow and above the down arrow.
TEST(ListMetrics, ThumbStaysInItsTrackWhenTheRowsAreShort)
{
    for (int nAbove : {0, 12, 100, 240}) {
        const RECT rc = ComputeThumbRect(80, 300, 240, nAbove);
        EXPECT_GE(rc.top, 8) << nAbove;
        EXPECT_LE(rc.bottom, 300 - 20) << nAbove;
        EXPECT_GT(rc.bottom, rc.top) << nAbove;
    }
}

TEST(ListMetrics, ThumbDragMapsToTopRows)
{
    const std::vector<int> heights(20, 12);  // 240 pixels, Hc 100
    const LastPage page = ComputeLastPage(heights, 100);
    ASSERT_EQ(page.nMaxTopRow, 12);
    const RECT rc = ComputeThumbRect(80, 100, 240, 0);
    const int nThumb = rc.bottom - rc.top;
    EXPECT_EQ(TopRowForThumbTop(heights, 12, 240, 100, nThumb, -50), 0);
    EXPECT_EQ(TopRowForThumbTop(heights, 12, 240, 100, nThumb, 8), 0);
    EXPECT_EQ(TopRowForThumbTop(heights, 12, 240, 100, nThumb, 500), 12);
    // Row 5 starts 60 pixels down: its thumb top is 60 * 72 / 240 + 8 = 26.
    EXPECT_EQ(TopRowForThumbTop(heights, 12, 240, 100, nThumb, 26), 5);
    EXPECT_EQ(TopRowForThumbTop(heights, 12, 240, 100, nThumb, 25), 5);
    EXPECT_EQ(TopRowForThumbTop(heights, 12, 240, 100, nThumb, 27), 6);
}

TEST(ListMetrics, TapSelectsTheRowUnderThePenOrTheLast)
{
    const std::vector<int> heights = {12, 24, 12};
    EXPECT_EQ(RowAtY(heights, 0, 0), 0);
    EXPECT_EQ(RowAtY(heights, 0, 11), 0);
    EXPECT_EQ(RowAtY(heights, 0, 12), 1);
    EXPECT_EQ(RowAtY(heights, 0, 35), 1);
    EXPECT_EQ(RowAtY(heights, 0, 36), 2);
    EXPECT_EQ(RowAtY(heights, 0, 200), 2);
    EXPECT_EQ(RowAtY(heights, 1, 0), 1);
    EXPECT_EQ(RowAtY({}, 0, 5), -1);
}

TEST(ListMetrics, ArrowHitAreas)
{
    EXPECT_TRUE(InUpArrow(80, 70, 0));
    EXPECT_TRUE(InUpArrow(80, 79, 9));
    EXPECT_FALSE(InUpArrow(80, 69, 5));
    EXPECT_FALSE(InUpArrow(80, 75, 10));
    EXPECT_TRUE(InDownArrow(80, 100, 70, 78));
    EXPECT_TRUE(InDownArrow(80, 100, 70, 87));
    EXPECT_FALSE(InDownArrow(80, 100, 70, 88));
    EXPECT_FALSE(InDownArrow(80, 100, 70, 77));
}

TEST(ListTags, NineTagsMapToTheirPictures)
{
    struct { const char* pszTag; int nNormal; int nSelected; } cases[] = {
        {"(NULL)", 160, 161}, {"(E)", 154, 163}, {"<<", 176, 177},
        {"(T2)", 164, 165}, {"(T1)", 166, 167}, {"(T0)", 168, 169},
        {"(FT2)", 170, 171}, {"(FT1)", 172, 173}, {"(FT0)", 174, 175},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(IsListTag(QString::fromLatin1(c.pszTag)));
        EXPECT_EQ(TagBitmapId(QString::fromLatin1(c.pszTag), FALSE), c.nNormal);
        EXPECT_EQ(TagBitmapId(QString::fromLatin1(c.pszTag), TRUE), c.nSelected);
    }
    EXPECT_FALSE(IsListTag(QString()));
    EXPECT_FALSE(IsListTag(QStringLiteral("(e)")));
    EXPECT_FALSE(IsListTag(QStringLiteral("(E) ")));
    EXPECT_EQ(TagBitmapId(QStringLiteral("text"), TRUE), 0);
}
