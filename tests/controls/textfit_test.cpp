#include "controls/TextFit.h"
#include <gtest/gtest.h>

namespace {

// Every character is 5 pixels wide, so "..." is 15.
class FixedWidthMeasure : public ITextMeasure {
public:
    void GetExtents(const QString& strText, std::vector<int>* pExtents) const override
    {
        pExtents->clear();
        for (int i = 1; i <= strText.size(); ++i)
            pExtents->push_back(5 * i);
    }
};

struct FitCase {
    const char* pszText;
    int nWidth;
    int nIcons;
    const char* pszExpected;
};

}  // namespace

class SingleLineFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(SingleLineFit, ShortensWithEllipsisOnlyWhenMoreThanTwoCharactersFit)
{
    const FitCase& c = GetParam();
    EXPECT_EQ(FitSingleLine(FixedWidthMeasure(), QString::fromUtf8(c.pszText), c.nWidth, c.nIcons),
              QString::fromUtf8(c.pszExpected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SingleLineFit,
    ::testing::Values(FitCase{"abcdefghij", 50, 0, "abcdefghij"},    // exactly fits
                      FitCase{"abcdefghij", 40, 0, "abcde..."},      // 8 fit, 5 leave room for "..."
                      FitCase{"abcdefghij", 40, 9, "abc..."},        // the icons' room is kept
                      FitCase{"abcdefghij", 15, 0, "..."},           // 3 fit: nothing but the dots
                      FitCase{"abcdefghij", 14, 0, "abcdefghij"},    // 2 fit: drawn in full
                      FitCase{"abcdefghij", 0, 0, "abcdefghij"},     // nothing fits: in full
                      FitCase{"abcdefghij", 30, 40, "abcdefghij"},   // negative room: in full
                      FitCase{"", 40, 0, ""}));

class MultiLineFit : public ::testing::TestWithParam<FitCase> {};

TEST_P(MultiLineFit, BreaksAtTheLastSpaceThatFits)
{
    const FitCase& c = GetParam();
    EXPECT_EQ(FitMultiLine(FixedWidthMeasure(), QString::fromUtf8(c.pszText), c.nWidth, c.nIcons),
              QString::fromUtf8(c.pszExpected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MultiLineFit,
    ::testing::Values(FitCase{"aaaa bbbb cccc", 50, 0, "aaaa bbbb\ncccc"},
                      FitCase{"aaaa bbbb cccc", 100, 0, "aaaa bbbb cccc"},
                      FitCase{"aa  bb", 15, 0, "aa\nbb"},                       // leading blanks dropped
                      FitCase{"abcdefghijklmnop", 25, 0, "abcde\nfghij\nklmno\np"},  // cut inside a word
                      FitCase{"aaaa bbbb cccccccc", 50, 20, "aaaa bbbb\nccc..."},    // only the last line shortens
                      FitCase{"abc", 0, 0, "a\nb\nc"},                          // always at least one character
                      FitCase{" abcdef", 20, 0, " abc\ndef"},                   // a space at 0 is no break
                      FitCase{"", 50, 0, ""}));

TEST(TextFit, FitCountCountsCharactersWithinTheExtent)
{
    const std::vector<int> extents = {5, 10, 15};
    EXPECT_EQ(FitCount(extents, -1), 0);
    EXPECT_EQ(FitCount(extents, 4), 0);
    EXPECT_EQ(FitCount(extents, 10), 2);
    EXPECT_EQ(FitCount(extents, 100), 3);
}

TEST(TextFit, CountLinesIsLineFeedsPlusOne)
{
    EXPECT_EQ(CountLines(QString()), 1);
    EXPECT_EQ(CountLines(QStringLiteral("a")), 1);
    EXPECT_EQ(CountLines(QStringLiteral("a\nb\nc")), 3);
}
