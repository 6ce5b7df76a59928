#include "roundrobin/round_robin_controller.h"
#include "roundrobin/round_robin_test_util.h"
#include "roundrobin/round_robin_tiebreaks.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;

namespace {

// P2 2 points; P3 and P4 1½, P4's win a forfeit, so that the program's Sonneborn-Berger
// puts P3 ahead and BPG (games played with Black) puts P4 ahead, who played two; P1 1.
RoundRobinTournament fourPlayers() {
    RoundRobinTournament t = test::makeRoundRobin(
        {{"P1", "1", "2000"}, {"P2", "1", "1900"}, {"P3", "1", "1800"}, {"P4", "1", "1700"}});
    test::setResult(t, 1, "P1", "1");
    test::setResult(t, 1, "P2", "%");
    test::setResult(t, 2, "P4", "+");
    test::setResult(t, 2, "P1", "0");
    test::setResult(t, 3, "P2", "%");
    test::setResult(t, 3, "P3", "1");
    return t;
}

const TieBreakList& bpgList() {
    static const TieBreakList list = *parseTieBreakList("BPG");
    return list;
}

} // namespace

TEST(RoundRobinTieBreakRows, StandingsAndResultsTableWithAList) {
    const RoundRobinTournament t = fourPlayers();
    const RoundRobinResults results = computeRoundRobin(t);
    ASSERT_EQ(results.standings.placeOrder, (QVector<int>{2, 3, 4, 1})); // the program's
    const TieBreakRanking ranking = rankByTieBreaks(roundRobinTieBreakField(t), bpgList());
    const QString title = tieBreakTitle(bpgList().front());
    const QString one = tieBreakValueText(bpgList().front(), 1);
    const QString two = tieBreakValueText(bpgList().front(), 2);

    QStringList titles = columnTitles(standingsColumns());
    titles.insert(5, title);
    EXPECT_EQ(columnTitles(standingsColumns(bpgList())), titles);
    const QVector<QStringList> rows = standingsRows(t, results.standings, bpgList(), ranking);
    const QVector<QStringList> expected = {{"1", "P2", "1", "1900", "2.0", one},
                                           {"2", "P4", "1", "1700", "1.5", two},
                                           {"3", "P3", "1", "1800", "1.5", one},
                                           {"4", "P1", "1", "2000", "1.0", one}};
    ASSERT_EQ(rows.size(), expected.size());
    for (int k = 0; k < rows.size(); ++k) {
        EXPECT_EQ(rows[k].mid(0, 6), expected[k]) << k;
        EXPECT_EQ(rows[k].size(), titles.size());
    }

    // The results table keeps its table order: "Место" is the list's place, its values
    // follow "Очки".
    const int n = t.participantCount();
    QStringList tableTitles = columnTitles(resultsTableColumns(n));
    tableTitles.insert(n + 6, title);
    EXPECT_EQ(columnTitles(resultsTableColumns(n, bpgList())), tableTitles);
    const QVector<QStringList> table = resultsTableRows(t, results, bpgList(), ranking);
    const QStringList places = {"4", "1", "3", "2"};
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(table[i][1], QStringLiteral("P%1").arg(i + 1));
        EXPECT_EQ(table[i][tableTitles.indexOf("Место")], places[i]) << i;
        EXPECT_EQ(table[i].size(), tableTitles.size());
    }
}

TEST(RoundRobinTieBreakRows, TheWindowRanksByTheStoredListOrAsAlwaysWithoutOne) {
    RoundRobinTournament t = fourPlayers();
    const RoundRobinController plain(t, [](const RoundRobinTournament&) { return Result<>(); });
    EXPECT_EQ(plain.standingColumns(), standingsColumns());
    EXPECT_EQ(plain.standingsRows(), standingsRows(t, computeRoundRobin(t).standings));
    EXPECT_EQ(ResultsTable::rows(t), resultsTableRows(t, computeRoundRobin(t)));

    t.tieBreaks = tieBreakListText(bpgList());
    RoundRobinController c(t, [](const RoundRobinTournament&) { return Result<>(); });
    EXPECT_EQ(c.standingColumns(), standingsColumns(bpgList()));
    EXPECT_EQ(c.standingsRows().value(1).value(1), "P4");
    c.clickStandingsRow(1);
    EXPECT_EQ(c.selectedParticipant(), 4);
    EXPECT_EQ(ResultsTable::columns(t), resultsTableColumns(t.participantCount(), bpgList()));
}

TEST(RoundRobinTieBreakRows, CreationStoresTheChosenListBesideTheFile) {
    QTemporaryDir dir;
    for (const QString& list : {QString(), tieBreakListText(bpgList())}) {
        RoundRobinCreation creation(TournamentKind::OneCycle, dir.path());
        for (const char* name : {"А", "Б", "В"})
            ASSERT_TRUE(creation.addParticipant(Participant{{}, name, "1", "1500", "ТУЛА"}));
        creation.setName(list.isEmpty() ? QStringLiteral("Без списка") : QStringLiteral("Список"));
        creation.setTieBreaks(list);
        const Result<RoundRobinTournament> created = creation.finish(QDate(2026, 12, 5));
        ASSERT_TRUE(created);
        EXPECT_EQ(created->tieBreaks, list);
        EXPECT_EQ(loadRoundRobin(created->state.path)->tieBreaks, list);
    }
}

TEST(RoundRobinTieBreakRows, TheByeRowIsNeitherRankedNorValued) {
    const RoundRobinTournament t =
        test::makeRoundRobin({{"P1", "1", "2000"}, {"P2", "1", "1900"}, {"P3", "1", "1800"}});
    const TieBreakRanking ranking = rankByTieBreaks(roundRobinTieBreakField(t), bpgList());
    const RoundRobinResults results = computeRoundRobin(t);
    EXPECT_EQ(standingsRows(t, results.standings, bpgList(), ranking).size(), 3);
    const QStringList titles = columnTitles(resultsTableColumns(4, bpgList()));
    const QStringList bye = resultsTableRows(t, results, bpgList(), ranking).value(3);
    ASSERT_EQ(bye.size(), titles.size());
    EXPECT_EQ(bye[1], "**");
    EXPECT_EQ(bye[titles.indexOf("Место")], "");
    EXPECT_EQ(bye[titles.indexOf(tieBreakTitle(bpgList().front()))], "");
}
