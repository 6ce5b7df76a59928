#include "round_robin_test_util.h"
#include "roundrobin/round_robin_rows.h"
#include "scoring/expected_score.h"

#include <gtest/gtest.h>

using namespace ladya;

namespace {

// Four players, one cycle: r1 А–Г, Б–В; r2 Г–В, А–Б; r3 Б–Г, В–А.
RoundRobinTournament fourPlayers() {
    auto t = test::makeRoundRobin(
        {{"А", "КМС", "2000"}, {"Б", "1", "1900"}, {"В", "2", "1800"}, {"Г", "3", "1700"}});
    test::setResult(t, 1, "А", "1");
    test::setResult(t, 1, "Б", "%");
    test::setResult(t, 2, "Г", "-"); // В wins by forfeit
    test::setResult(t, 2, "А", "0");
    test::setResult(t, 3, "Б", "1");
    test::setResult(t, 3, "В", "1");
    return t;
}

} // namespace

TEST(RoundRobinStandings, ForfeitWinCountsForOpponentsButNotForTheWinner) {
    // Б beats А by forfeit and draws В; В beats А over the board.
    auto t = test::makeRoundRobin({{"А", "1", "1"}, {"Б", "1", "1"}, {"В", "1", "1"}});
    test::setResult(t, 2, "А", "-"); // r2: ** – В, А – Б
    test::setResult(t, 3, "Б", "+"); // r3: Б – **
    test::setResult(t, 1, "Б", "%"); // r1: А – **, Б – В
    test::setResult(t, 3, "В", "1"); // r3: В – А
    const RoundRobinStandings s = computeStandings(t);
    EXPECT_EQ(s.rows[1].points, 2.5f); // Б: forfeit over А, draw, forfeit over the bye
    EXPECT_EQ(s.rows[1].forfeitWins, 2);
    EXPECT_EQ(s.rows[1].sonnebornBerger, 1.5 / 2.0); // half of В's 1.5
    EXPECT_EQ(s.rows[2].sonnebornBerger, 2.5 / 2.0); // В: half of Б's 2.5, А has 0
    EXPECT_EQ(s.rows[3].points, 0.0f);               // the bye row
}

TEST(RoundRobinStandings, DoubleForfeitScoresNothing) {
    auto t = test::makeRoundRobin({{"А", "1", "1"}, {"Б", "1", "1"}});
    test::setResult(t, 1, "А", "00");
    const RoundRobinStandings s = computeStandings(t);
    EXPECT_EQ(s.rows[0].points, 0.0f);
    EXPECT_EQ(s.rows[1].points, 0.0f);
    EXPECT_EQ(s.rows[1].forfeitWins, 0);
    EXPECT_EQ(cellText(buildCrosstable(t).at(1, 2)), "0");
    EXPECT_EQ(cellText(buildCrosstable(t).at(2, 1)), "0");
}

TEST(OrderPlaces, ExchangeProcedureWithItsUnstableTies) {
    const struct {
        const char* what;
        QVector<std::pair<float, double>> keys; // points, Sonneborn-Berger by row
        QVector<int> order;
    } cases[] = {
        {"points first", {{1, 0}, {2, 0}, {0.5f, 9}}, {2, 1, 3}},
        {"Sonneborn-Berger breaks ties", {{2, 1.5}, {2, 3.25}, {1, 0}}, {2, 1, 3}},
        // Equal in both: the exchanges move row 1 behind row 2, unlike a stable sort.
        {"full tie is not stable", {{1, 0}, {1, 0}, {2, 0}}, {3, 2, 1}},
        {"four rows", {{1, 0}, {2, 0}, {3, 0}, {3, 0}}, {3, 4, 2, 1}},
        {"empty", {}, {}},
    };
    for (const auto& c : cases) {
        RoundRobinStandings s;
        for (const auto& [points, sb] : c.keys)
            s.rows.append({points, 0, sb, 0});
        orderPlaces(s);
        EXPECT_EQ(s.placeOrder, c.order) << c.what;
        for (int k = 0; k < c.order.size(); ++k)
            EXPECT_EQ(s.of(c.order[k]).place, k + 1) << c.what;
    }
    RoundRobinStandings four = computeStandings(fourPlayers());
    orderPlaces(four);
    EXPECT_EQ(four.placeOrder, (QVector<int>{2, 3, 1, 4}));
}

TEST(CellText, ShowsTheScoreOverPlayedGames) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {88.0, "***"},  {-9.0, "1"},      {-9.5, "0.5"},  {-99.0, "1"}, {-99.5, "0.5"},
        {-110.0, "0"},  {-10.0, "0"},     {-20.0, "0"},   {-100.0, ""}, {-200.0, ""},
        {0.0, "0"},     {0.5, "0.5"},     {1.0, "1"},     {1.5, "1.5"}, {2.0, "2"},
        {-19.0, "-19"}, {-109.0, "-109"}, {-30.0, "-30"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(cellText(c.value), QString::fromUtf8(c.text)) << c.value;
}

TEST(RoundRobinRatings, TheByeCountsForPointsButNeverForRating) {
    // r1: А – **, Б – В; r2: ** – В, А – Б; r3: Б – **, В – А. А draws Б and beats В
    // over the board: 1.5 rating points against 1900 and 1801, average 1850, 70 per
    // cent of 2 games expected, 2000 + (1.5 − 1.4) × 10 = 2001, whatever the bye board
    // holds. The bye row has no rated game at all.
    const struct {
        const char* entry; // on А's bye board, as the result selector enters it
        float points;
    } cases[] = {{"", 1.5f},  {"1", 2.5f}, {"%", 2.0f}, {"0", 1.5f},
                 {"+", 2.5f}, {"-", 1.5f}, {"00", 1.5f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry);
        auto t = test::makeRoundRobin({{"А", "2", "2000"}, {"Б", "1", "1900"}, {"В", "3", "1801"}});
        test::setResult(t, 1, "Б", "1");
        test::setResult(t, 2, "А", "%");
        test::setResult(t, 3, "В", "0");
        if (*c.entry)
            test::setResult(t, 1, "А", c.entry);
        const RoundRobinStandings s = computeStandings(t);
        const QVector<RatingEntry> r = computeRatings(t, s);
        EXPECT_EQ(s.rows[0].points, c.points);
        EXPECT_EQ(r[0].averageOpponentRating, 1850);
        EXPECT_EQ(r[0].countedGames, 2);
        EXPECT_EQ(r[0].expectedScore, 0.02 * 70);
        EXPECT_EQ(r[0].newRating, 2001);
        EXPECT_EQ(r[3].countedGames, 0);
        EXPECT_EQ(r[3].averageOpponentRating, 0);
        EXPECT_EQ(r[3].expectedScore, 0.0);
        EXPECT_EQ(r[3].newRating, 0);
        // The norms depend on the field, not on what the bye board holds.
        const CoefficientAndNorms norms = computeCoefficientAndNorms(t);
        EXPECT_EQ(norms.coefficientText(), "1.50");
        EXPECT_EQ(norms.normPointsFirstText(), "1.89");
        EXPECT_EQ(norms.normPointsSecondText(), "1.20");
    }
}

TEST(RoundRobinNorms, PercentagesCategoriesAndPoints) {
    const struct {
        double coefficient;
        int n;
        bool twoCycles;
        int first, second, categoryFirst;
        const char *pointsFirst, *pointsSecond;
    } cases[] = {
        {3.00, 10, false, 75, 50, 2, "6.75", "4.50"}, {3.05, 10, false, 53, 32, 3, "4.77", "2.88"},
        {3.05, 10, true, 53, 32, 3, "9.54", "5.76"},  {4.00, 10, false, 75, 50, 3, "6.75", "4.50"},
        {4.01, 10, false, 51, 0, 4, "4.59", ""},      {4.50, 10, false, 55, 0, 4, "4.95", ""},
        {5.00, 4, false, 75, 0, 4, "2.25", ""},       {1.10, 4, false, 53, 32, 1, "1.59", "0.96"},
        {1.11, 4, false, 55, 34, 1, "1.65", "1.02"},  {2.91, 6, false, 75, 50, 2, "3.75", "2.50"},
        {2.90, 6, false, 73, 48, 2, "3.65", "2.40"},  {0.75, 4, false, 70, 46, 0, "2.10", "1.38"},
    };
    for (const auto& c : cases) {
        const CoefficientAndNorms norms = computeNorms(c.coefficient, c.n, c.twoCycles);
        EXPECT_EQ(norms.normPercentFirst, c.first) << c.coefficient;
        EXPECT_EQ(norms.normPercentSecond, c.second) << c.coefficient;
        EXPECT_EQ(norms.normCategoryFirst, c.categoryFirst) << c.coefficient;
        EXPECT_EQ(norms.normCategorySecond, c.categoryFirst + 1) << c.coefficient;
        EXPECT_EQ(norms.normPointsFirstText(), c.pointsFirst) << c.coefficient;
        EXPECT_EQ(norms.normPointsSecondText(), c.pointsSecond) << c.coefficient;
    }
}

TEST(RoundRobinNorms, CoefficientCountsTheByeRow) {
    // "КМС", "1*", "3" and the bye: 4 / 4 rows (the creation window shows 1.33).
    const auto t = test::makeRoundRobin({{"А", "КМС", "1"}, {"Б", "1*", "1"}, {"В", "3", "1"}});
    const CoefficientAndNorms c = computeCoefficientAndNorms(t);
    EXPECT_EQ(c.coefficientText(), "1.00");
    EXPECT_EQ(c.normPercentFirst, 75);
    EXPECT_EQ(c.normCategoryFirst, 0);
}

TEST(RoundRobinStandings, NamesakesOfOlderFilesShareEveryGameOfTheirName) {
    // Games name players only: both rows named А take part in every game of "А", and
    // the game А–А of round 2 is one game for each of them.
    auto t = test::makeRoundRobin(
        {{"А", "1", "2000"}, {"А", "1", "1800"}, {"Б", "1", "1600"}, {"В", "1", "1400"}});
    test::setResult(t, 1, "А", "1"); // r1: А–В and А–Б, both won by White
    t.game(1, 2).result = "1";
    t.game(1, 2).mirrorResult = "0";
    test::setResult(t, 2, "В", "%"); // r2: В–Б, А–А
    test::setResult(t, 2, "А", "%");
    test::setResult(t, 3, "А", "0"); // r3: А–В, Б–А
    test::setResult(t, 3, "Б", "1");
    const RoundRobinResults r = computeRoundRobin(t);
    for (int k : {0, 1}) {
        EXPECT_EQ(r.standings.rows[k].points, 3.0f) << k;
        EXPECT_EQ(r.ratings[k].countedGames, 5) << k;
        EXPECT_EQ(r.ratings[k].averageOpponentRating, (1400 + 1600 + 2000 + 1400 + 1600) / 5) << k;
    }
    EXPECT_EQ(r.standings.rows[2].points, 1.5f);
    EXPECT_EQ(cellText(r.crosstable.at(1, 2)), "1"); // the draw seen from both sides
    EXPECT_EQ(r.crosstable.at(1, 1), CrosstableDiagonal);
}
