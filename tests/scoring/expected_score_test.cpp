#include "scoring/expected_score.h"

#include <climits>
#include <gtest/gtest.h>

namespace ladya {
namespace {

TEST(ExpectedScoreTable, EveryBandBoundaryGivesItsPercentage) {
    struct Band {
        int low, high, percent;
    };
    const Band bands[] = {
        {0, 3, 50},     {4, 10, 51},    {11, 17, 52},   {18, 25, 53},   {26, 32, 54},
        {33, 39, 55},   {40, 46, 56},   {47, 53, 57},   {54, 61, 58},   {62, 68, 59},
        {69, 76, 60},   {77, 83, 61},   {84, 91, 62},   {92, 98, 63},   {99, 106, 64},
        {107, 113, 65}, {114, 121, 66}, {122, 129, 67}, {130, 137, 68}, {138, 145, 69},
        {146, 153, 70}, {154, 162, 71}, {163, 170, 72}, {171, 179, 73}, {180, 188, 74},
        {189, 197, 75}, {198, 206, 76}, {207, 215, 77}, {216, 225, 78}, {226, 235, 79},
        {236, 245, 80}, {246, 256, 81}, {257, 267, 82}, {268, 278, 83}, {279, 290, 84},
        {291, 302, 85}, {303, 315, 86}, {316, 328, 87}, {329, 344, 88}, {345, 357, 89},
        {358, 374, 90}, {375, 391, 91}};
    int expectedNextLow = 0;
    for (const Band& band : bands) {
        EXPECT_EQ(band.low, expectedNextLow) << "bands must be contiguous";
        expectedNextLow = band.high + 1;
        for (const int d : {band.low, band.high}) {
            EXPECT_EQ(higherRatedPercentage(d), band.percent) << d;
            EXPECT_EQ(higherRatedPercentage(-d), band.percent) << -d;
            if (d > 0) {
                EXPECT_EQ(expectedPercentage(d), band.percent) << d;
                EXPECT_EQ(expectedPercentage(-d), 100 - band.percent) << -d;
            }
        }
    }
    for (const long long d : {392LL, 1000LL, 5000000000LL}) {
        EXPECT_EQ(expectedPercentage(d), 92);
        EXPECT_EQ(expectedPercentage(-d), 8);
    }
}

// The band table above leaves out a difference of 0: it takes the "otherwise" side,
// 100 − 50.
TEST(ExpectedScoreTable, EqualRatingsExpectHalf) {
    EXPECT_EQ(expectedPercentage(0), 50);
    EXPECT_EQ(expectedScore(10, 0), 5.0);
}

TEST(ExpectedScore, NineGamesTenAboveTheAverage) {
    const double expected = expectedScore(9, 10);
    EXPECT_DOUBLE_EQ(expected, 4.59);
    EXPECT_EQ(expected, (9.0 / 100.0) * 51); // bit-exact order of operations
    EXPECT_EQ(newRating(2000, 5.0, 0, expected, 10), 2004);
    EXPECT_EQ(expectedScore(0, 250), 0.0);
}

TEST(NewRating, ForfeitWinsBringNoRatingPoints) {
    // 3 points of which 1 by forfeit, expecting 2: no change.
    EXPECT_EQ(newRating(1800, 3.0, 1, 2.0, 10), 1800);
    EXPECT_EQ(newRating(1800, 3.0, 0, 2.0, 10), 1810);
    // A field without counted games: only the points over the board count.
    EXPECT_EQ(newRating(0, 1.5, 0, 0.0, 10), 15);
}

TEST(RoundHalfEven, TiesGoToTheEvenNeighbour) {
    const struct {
        double value;
        int rounded;
    } cases[] = {{0.5, 0},        {1.5, 2},        {2.5, 2},       {3.5, 4},       {-0.5, 0},
                 {-1.5, -2},      {-2.5, -2},      {2004.1, 2004}, {2004.5, 2004}, {2005.5, 2006},
                 {1999.49, 1999}, {1999.51, 2000}, {-3.2, -3},     {-3.7, -4},     {0.0, 0},
                 {1e12, INT_MAX}, {-1e12, INT_MIN}};
    for (const auto& c : cases)
        EXPECT_EQ(roundHalfEven(c.value), c.rounded) << c.value;
}

TEST(NumericValues, CategoriesAndRatingsReadTheirLeadingNumber) {
    const struct {
        const char16_t* category;
        int value;
    } categories[] = {{u"ГМ", 0}, {u"МС", 0}, {u"КМС", 0}, {u"1**", 1}, {u"1*", 1}, {u"1", 1},
                      {u"2", 2},  {u"3", 3},  {u"4", 4},   {u"5", 5},   {u"**", 0}, {u"", 0}};
    for (const auto& c : categories)
        EXPECT_EQ(categoryValue(QStringView(c.category)), c.value);
    EXPECT_EQ(ratingValue(u"2150"), 2150);
    EXPECT_EQ(ratingValue(u" -30x"), -30);
    EXPECT_EQ(ratingValue(u"**"), 0);
}

} // namespace
} // namespace ladya
