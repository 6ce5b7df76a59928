#include "common/tournament_creation.h"
#include "roundrobin/round_robin_creation.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;

namespace {

using Pairs = QVector<QVector<std::pair<int, int>>>;

QString row(int number, const QString& name, const QString& city, const QString& category,
            const QString& rating) {
    return QStringList{QString::number(number), name, city, category, rating}.join('\n');
}

const QDate Today(2026, 12, 6);

} // namespace

TEST(BergerSchedule, FourAndSixPlayers) {
    EXPECT_EQ(bergerPairings(4), (Pairs{{{1, 4}, {2, 3}}, {{4, 3}, {1, 2}}, {{2, 4}, {3, 1}}}));
    EXPECT_EQ(bergerPairings(6), (Pairs{{{1, 6}, {2, 5}, {3, 4}},
                                        {{6, 4}, {5, 3}, {1, 2}},
                                        {{2, 6}, {3, 1}, {4, 5}},
                                        {{6, 5}, {1, 4}, {2, 3}},
                                        {{3, 6}, {4, 2}, {5, 1}}}));
}

TEST(BergerSchedule, EveryPairMeetsOnceAndNobodyTwiceInARound) {
    for (int n = 2; n <= Limits::RoundRobinRows; n += 2) {
        const Pairs rounds = bergerPairings(n);
        ASSERT_EQ(rounds.size(), n - 1) << n;
        QSet<int> pairs;
        for (const auto& round : rounds) {
            ASSERT_EQ(round.size(), n / 2) << n;
            QSet<int> seen;
            for (const auto& [w, b] : round) {
                ASSERT_TRUE(w >= 1 && w <= n && b >= 1 && b <= n && w != b) << n;
                seen << w << b;
                pairs << std::min(w, b) * 100 + std::max(w, b);
            }
            EXPECT_EQ(seen.size(), n) << n;
        }
        EXPECT_EQ(pairs.size(), n * (n - 1) / 2) << n;
    }
}

TEST(BergerSchedule, SecondCycleExchangesColours) {
    QVector<Participant> players;
    for (int k = 1; k <= 4; ++k)
        players.append({QString::number(k), QStringLiteral("P%1").arg(k), "1", "1500", "К"});
    const auto games = buildBergerSchedule(players, true);
    ASSERT_EQ(games.size(), 6);
    for (int r = 0; r < 3; ++r) {
        for (int b = 0; b < 2; ++b) {
            EXPECT_EQ(games[r + 3][b].white, games[r][b].black);
            EXPECT_EQ(games[r + 3][b].black, games[r][b].white);
            EXPECT_TRUE(games[r][b].result.isEmpty());
        }
    }
    EXPECT_EQ(games[1][0].white, "P4");
    EXPECT_EQ(games[1][0].black, "P3");
}

TEST(RoundRobinCreation, SummaryLabelsFollowTheList) {
    RoundRobinCreation one(TournamentKind::OneCycle, "/nowhere");
    EXPECT_EQ(one.cycleLabel(), "Круговая система в 1 круг");
    EXPECT_EQ(one.participantsLabel(), "Всего участников - 0");
    EXPECT_EQ(one.roundsLabel(), "Всего туров - ");
    EXPECT_TRUE(one.addParticipant(row(1, "А", "X", "КМС", "2000")));
    EXPECT_EQ(one.participantsLabel(), "Всего участников - 1");
    EXPECT_EQ(one.roundsLabel(), "Всего туров - 0");
    EXPECT_EQ(one.gamesLabel(), "Всего партий - 0");
    EXPECT_TRUE(one.addParticipant(row(2, "Б", "X", "1*", "1999")));
    EXPECT_TRUE(one.addParticipant(row(3, "В", "X", "3", "1500")));
    EXPECT_EQ(one.participantsLabel(), "Всего участников - 3");
    EXPECT_EQ(one.roundsLabel(), "Всего туров - 3");
    EXPECT_EQ(one.gamesLabel(), "Всего партий - 6");
    EXPECT_EQ(one.coefficientLabel(), "Коэффициент турнира - 1.33");
    EXPECT_EQ(one.averageRatingLabel(), "Средний ЭЛО турнира - 1833");
    EXPECT_TRUE(one.addParticipant(row(4, "Г", "X", "2", "1500")));
    EXPECT_EQ(one.roundsLabel(), "Всего туров - 3");
    EXPECT_EQ(one.gamesLabel(), "Всего партий - 6");

    RoundRobinCreation two(TournamentKind::TwoCycles, "/nowhere");
    EXPECT_EQ(two.cycleLabel(), "Круговая система в 2 круга");
    for (int k = 1; k <= 5; ++k)
        EXPECT_TRUE(two.addParticipant(row(k, QString::number(k), "X", "1", "1600")));
    EXPECT_EQ(two.roundsLabel(), "Всего туров - 10");
    EXPECT_EQ(two.gamesLabel(), "Всего партий - 30");
    two.clickRow(4);
    two.removeSelected();
    EXPECT_EQ(two.roundsLabel(), "Всего туров - 6");
    EXPECT_EQ(two.gamesLabel(), "Всего партий - 12");

    // Emptying the list keeps the last coefficient and average.
    for (int k = 0; k < 4; ++k) {
        two.clickRow(0);
        two.removeSelected();
    }
    EXPECT_EQ(two.participantsLabel(), "Всего участников - 0");
    EXPECT_EQ(two.roundsLabel(), "Всего туров - 0");
    EXPECT_EQ(two.coefficientLabel(), "Коэффициент турнира - 1.00");
    EXPECT_EQ(two.averageRatingLabel(), "Средний ЭЛО турнира - 1600");
}

TEST(RoundRobinCreation, RefusesDuplicatesNamesakesAndTheFiftyFirst) {
    RoundRobinCreation c(TournamentKind::OneCycle, "/nowhere");
    EXPECT_TRUE(c.addParticipant(""));
    EXPECT_EQ(c.participantCount(), 0);
    EXPECT_TRUE(c.addParticipant(row(1, "ИВАНОВ", "МОСКВА", "1", "1800")));
    EXPECT_EQ(c.addParticipant(row(2, "ИВАНОВ", "МОСКВА", "1", "1800")),
              duplicateParticipantMessage());
    EXPECT_EQ(c.addParticipant(row(2, "ИВАНОВ", "ТВЕРЬ", "2", "1700")),
              RoundRobinCreation::sameNameMessage());
    EXPECT_EQ(c.participantCount(), 1);
    EXPECT_EQ(c.participantsLabel(), "Всего участников - 1");
    for (int k = 2; k <= 50; ++k)
        EXPECT_TRUE(c.addParticipant(row(k, QStringLiteral("P%1").arg(k), "X", "1", "1")));
    EXPECT_EQ(c.addParticipant(row(51, "P51", "X", "1", "1")),
              RoundRobinCreation::tooManyMessage());
    EXPECT_EQ(c.participantCount(), 50);
}

TEST(RoundRobinCreation, EnablingRemovalAndRenumbering) {
    RoundRobinCreation c(TournamentKind::OneCycle, "/nowhere");
    EXPECT_FALSE(c.removeEnabled());
    EXPECT_FALSE(c.finishEnabled());
    c.addParticipant(row(1, "А", "X", "1", "1"));
    c.addParticipant(row(2, "Б", "X", "1", "1"));
    c.setName("Кубок");
    EXPECT_FALSE(c.finishEnabled()); // two participants
    c.addParticipant(row(3, "В", "X", "1", "1"));
    EXPECT_TRUE(c.finishEnabled());
    c.setName("");
    EXPECT_FALSE(c.finishEnabled());

    c.clickRow(0);
    EXPECT_EQ(c.selectedRow(), 1);
    c.clickRow(-1); // a click beside the rows keeps the selection
    EXPECT_EQ(c.selectedRow(), 1);
    EXPECT_TRUE(c.removeEnabled());
    c.removeSelected();
    EXPECT_FALSE(c.removeEnabled());
    const QVector<QStringList> expected = {{"1", "Б", "X", "1", "1"}, {"2", "В", "X", "1", "1"}};
    EXPECT_EQ(c.participantRows(), expected);
    c.addParticipant(row(9, "Г", "Y", "2", "3"));
    EXPECT_EQ(c.participantRows().last().first(), "3");
}

TEST(RoundRobinCreation, FinishingAddsTheByeAndSavesTheSchedule) {
    QTemporaryDir dir;
    RoundRobinCreation c(TournamentKind::OneCycle, dir.path());
    c.addParticipant(row(1, "ИВАНОВ И.И.", "МОСКВА", "КМС", "2150"));
    c.addParticipant(row(2, "ПЕТРОВ П.П.", "ТВЕРЬ", "1", "1980"));
    c.addParticipant(row(3, "СИДОРОВ С.С.", "КЛИН", "2", "1750"));
    c.setName("Кубок клуба");
    c.setStartDate("01.12.2026");
    const Result<RoundRobinTournament> done = c.finish(Today);
    ASSERT_TRUE(done) << done.failure().text.toStdString();
    const RoundRobinTournament& t = *done;
    EXPECT_EQ(QFileInfo(t.state.path).fileName(), "Кубок_клуба_(06.12.2026).kr2");
    EXPECT_EQ(t.state.startDate, "01.12.2026");
    EXPECT_EQ(t.participantCount(), 4);
    EXPECT_EQ(t.participant(4), makeByeRow(4));
    EXPECT_EQ(t.roundCount(), 3);
    EXPECT_EQ(t.boardCount(), 2);
    EXPECT_EQ(t.state.unplayedCount, 6);
    EXPECT_EQ(t.game(2, 1).white, "**");
    EXPECT_EQ(t.game(2, 1).black, "СИДОРОВ С.С.");
    const QByteArray bytes = test::readBytes(t.state.path);
    EXPECT_EQ(bytes.count("\r\n"), 44);

    // The same name on the same day would overwrite the first tournament.
    const Result<RoundRobinTournament> again = c.finish(Today);
    ASSERT_FALSE(again);
    EXPECT_EQ(again.failure().title, "Ошибка создания файла");
    EXPECT_EQ(test::readBytes(t.state.path), bytes);
}

TEST(RoundRobinCreation, NamesNoFileCanHoldAndFailedSavesKeepTheWindowState) {
    QTemporaryDir dir;
    RoundRobinCreation c(TournamentKind::TwoCycles, dir.path());
    for (int k = 1; k <= 4; ++k)
        c.addParticipant(row(k, QStringLiteral("P%1").arg(k), "X", "1", "1500"));
    const QVector<QStringList> rowsBefore = c.participantRows();
    for (const QString name :
         {"a/b", "..\\up", "к:1", "a*", "что?", "\"q\"", "<", ">", "a|b", "tab\there"}) {
        c.setName(name);
        EXPECT_EQ(c.finish(Today), Result<RoundRobinTournament>(fileNameCheck(name).failure()))
            << name.toStdString();
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());

    RoundRobinCreation failing(TournamentKind::TwoCycles, dir.path(),
                               [](const RoundRobinTournament& t) {
                                   return Result<>(roundRobinSaveFailedMessage(t.state.path, "x"));
                               });
    for (int k = 1; k <= 4; ++k)
        failing.addParticipant(row(k, QStringLiteral("P%1").arg(k), "X", "1", "1500"));
    failing.setName("Турнир");
    const Result<RoundRobinTournament> failed = failing.finish(Today);
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.failure().title, roundRobinSaveFailedMessage().title);
    EXPECT_TRUE(failed.failure().text.startsWith(roundRobinSaveFailedMessage().text));
    EXPECT_TRUE(failed.failure().text.endsWith("Турнир_(06.12.2026).kr2\nПричина: x"))
        << failed.failure().text.toStdString();
    EXPECT_EQ(failing.participantRows(), rowsBefore);
    EXPECT_EQ(failing.participantsLabel(), "Всего участников - 4");

    c.setName("Блиц 2026");
    const auto done = c.finish(Today);
    ASSERT_TRUE(done);
    EXPECT_EQ(done->roundCount(), 6);
    EXPECT_EQ(done->state.kind, TournamentKind::TwoCycles);
    EXPECT_EQ(QFileInfo(done->state.path).fileName(), "Блиц_2026_(06.12.2026).kr2");
}
