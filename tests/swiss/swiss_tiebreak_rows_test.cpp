#include "swiss/swiss_controller.h"
#include "swiss/swiss_creation.h"
#include "swiss/swiss_rows.h"
#include "swiss/swiss_test_util.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;

namespace {

// Five players and the bye participant 6, two rounds: P1 and P4 end on 1½ (P4's second
// point the bye's), P2, P3 and P5 on 1, and only P1 and P2 won a game over the board.
SwissTournament fiveAndTheBye() {
    return test::makeSwiss({"2000", "1900", "1800", "1700", "1600", "**"},
                           {{"1|2|1|0", "3|4|%|%", "5|6|+|-"}, {"1|3|%|%", "2|5|1|0", "4|6|+|-"}});
}

TieBreak won() {
    return parseTieBreakList("WON")->front();
}

} // namespace

TEST(SwissTieBreakRows, TheListRanksTheRowsWithItsColumnsAfterThePoints) {
    const SwissTournament t = fiveAndTheBye();
    const SwissStandings own = computeSwissStandings(t);
    const SwissRankedStandings ranked = rankSwissStandings(t, own, {won()});

    const QStringList titles = columnTitles(swissStandingsColumns(ranked.list));
    QStringList expected = columnTitles(swissStandingsColumns());
    expected.insert(5, tieBreakTitle(won()));
    EXPECT_EQ(titles, expected);

    // The bye participant is not ranked; P3 and P5 are equal on both and share 4–5.
    struct Row {
        QString place, name, won, opponents;
    };
    const QString one = tieBreakValueText(won(), 1), none = tieBreakValueText(won(), 0);
    const Row rows[] = {{"1", "P1", one, "3,4"},
                        {"2", "P4", none, "4,0"},
                        {"3", "P2", one, "1,5"},
                        {"4–5", "P3", none, "2,1"},
                        {"4–5", "P5", none, "0,3"}};
    ASSERT_EQ(ranked.standings.order.size(), std::size(rows));
    for (int place = 1; place <= int(std::size(rows)); ++place) {
        const Row& r = rows[place - 1];
        const QStringList row = swissStandingsRow(t, ranked, place);
        ASSERT_EQ(row.size(), titles.size());
        EXPECT_EQ(row[0], r.place) << place;
        EXPECT_EQ(row[1], r.name) << place;
        EXPECT_EQ(row[4], pointsText(own.of(ranked.standings.participantAt(place)).points));
        EXPECT_EQ(row[5], r.won) << place;
        // "Соперники" names the places of the list's order.
        EXPECT_EQ(row[titles.indexOf("Соперники")], r.opponents) << place;
    }
}

TEST(SwissTieBreakRows, WithoutAListEverythingStaysAsItWas) {
    const SwissTournament t = fiveAndTheBye();
    const SwissStandings own = computeSwissStandings(t);
    const SwissRankedStandings ranked = rankSwissStandings(t, own, {});
    EXPECT_EQ(swissStandingsColumns(ranked.list), swissStandingsColumns());
    ASSERT_EQ(ranked.standings.order, own.order);
    for (int place = 1; place <= own.order.size(); ++place)
        EXPECT_EQ(swissStandingsRow(t, ranked, place), swissStandingsRow(t, own, place));
}

TEST(SwissTieBreakRows, TheWindowRanksAndChoosesByTheStoredList) {
    SwissTournament t = fiveAndTheBye();
    t.extras.tieBreaks = tieBreakListText({won()});
    SwissWindowController c(t);
    EXPECT_EQ(c.standingsColumns(), swissStandingsColumns({won()}));
    ASSERT_EQ(c.standingsRowCount(), 5);
    EXPECT_EQ(c.standingsRow(1).value(1), "P4");
    c.clickStandings(1);
    EXPECT_EQ(c.statsParticipant(), 4);
    // A list it cannot read ranks as the program does.
    t.extras.tieBreaks = QStringLiteral("XYZ");
    EXPECT_EQ(SwissWindowController(t).standingsRows(),
              swissStandingsRows(t, computeSwissStandings(t)));
}

TEST(SwissTieBreakRows, CreationStoresTheChosenList) {
    QTemporaryDir dir;
    SwissCreationController creation;
    for (int i = 1; i <= 14; ++i)
        ASSERT_TRUE(creation.addParticipant(QStringLiteral("0\nИГРОК %1\nТУЛА\n1\n1500").arg(i)));
    creation.setName(QStringLiteral("Кубок клуба"));
    creation.setRoundsText(QStringLiteral("7"));
    creation.setTieBreaks(tieBreakListText({won()}));
    const Result<SwissTournament> created = creation.finish(dir.path(), QDate(2026, 12, 5));
    ASSERT_TRUE(created);
    EXPECT_EQ(loadSwiss(created->state.path)->extras.tieBreaks, tieBreakListText({won()}));
}
