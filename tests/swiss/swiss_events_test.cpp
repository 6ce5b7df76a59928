#include "swiss/swiss_events.h"
#include "swiss/swiss_test_util.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>

using namespace ladya;
using test::makeSwiss;

namespace {

// Seven players and the bye participant, two rounds played, the third not paired.
SwissTournament sevenPlayers() {
    return makeSwiss({"2000", "1900", "1800", "1700", "1600", "1500", "1400", "**"},
                     {{"1|5|1|0", "2|6|%|%", "3|7|0|1", "4|8|+|-"},
                      {"7|1|0|1", "5|2|1|0", "6|3|%|%", "8|4|-|+"}});
}

// Every game as the names of its two sides and its codes: what must survive a
// renumbering.
QStringList gamesByName(const SwissTournament& t) {
    QStringList games;
    for (int r = 1; r <= t.roundCount(); ++r) {
        for (const SwissGame& g : t.rounds[r - 1]) {
            if (!g.isEmpty())
                games << QStringLiteral("%1:%2-%3:%4%5")
                             .arg(QString::number(r), t.nameOf(g.white), t.nameOf(g.black),
                                  g.whiteResult, g.blackResult);
        }
    }
    games.sort();
    return games;
}

} // namespace

TEST(SwissEvents, RefusalsNameWhatIsWrongAndChangeNothing) {
    using Setup = std::function<void(SwissTournament&)>;
    using Action = std::function<Result<>(SwissTournament&)>;
    const Setup none = [](SwissTournament&) {};
    const struct {
        const char* what;
        Setup setup;
        Action action;
        QString expected; // part of the refusal
    } cases[] = {
        {"bye for a round already played", none,
         [](SwissTournament& t) { return requestBye(t, 1, 2, Absence::HalfBye); },
         "тур 2 уже разыгран"},
        {"absence for round 1", none,
         [](SwissTournament& t) { return requestBye(t, 3, 1, Absence::ZeroBye); },
         "тур 1 уже разыгран"},
        {"full-point bye", none,
         [](SwissTournament& t) { return requestBye(t, 3, 3, Absence::FullBye); }, "пол-очка"},
        {"bye for the bye participant", none,
         [](SwissTournament& t) { return requestBye(t, 8, 3, Absence::HalfBye); }, "номером 8"},
        {"bye beyond the planned rounds", [](SwissTournament& t) { t.extras.plannedRounds = 5; },
         [](SwissTournament& t) { return requestBye(t, 1, 6, Absence::HalfBye); }, "5 туров"},
        {"second bye in one round",
         [](SwissTournament& t) {
             t.extras.byes.append({1, 3, Absence::HalfBye});
         },
         [](SwissTournament& t) { return requestBye(t, 1, 3, Absence::ZeroBye); },
         "уже есть бай в туре 3"},
        {"bye of a withdrawn player",
         [](SwissTournament& t) {
             t.extras.withdrawals.append({2, 3, 0});
         },
         [](SwissTournament& t) { return requestBye(t, 2, 4, Absence::HalfBye); }, "выбыл"},
        {"cancel a bye never asked", none, [](SwissTournament& t) { return cancelBye(t, 1, 3); },
         "нет бая в туре 3"},
        {"withdrawal from a played round", none,
         [](SwissTournament& t) { return withdrawParticipant(t, 4, 2); }, "тур 2 уже разыгран"},
        {"second withdrawal",
         [](SwissTournament& t) {
             t.extras.withdrawals.append({4, 5, 0});
         },
         [](SwissTournament& t) { return withdrawParticipant(t, 4, 3); }, "уже выбыл с тура 5"},
        {"return without withdrawal", none,
         [](SwissTournament& t) { return returnParticipant(t, 4, 3); }, "не выбывал"},
        {"return before the withdrawal",
         [](SwissTournament& t) {
             t.extras.withdrawals.append({4, 5, 0});
         },
         [](SwissTournament& t) { return returnParticipant(t, 4, 4); }, "выбыл только с тура 5"},
        {"planned rounds below the paired", none,
         [](SwissTournament& t) { return setPlannedRounds(t, 1); }, "разыграно 2"},
        {"planned rounds beyond 20", none,
         [](SwissTournament& t) { return setPlannedRounds(t, 21); }, "от 1 до 20"},
        {"pair with oneself", none, [](SwissTournament& t) { return forbidPair(t, 3, 3); },
         "сам с собой"},
        {"forbidden range reversed", none,
         [](SwissTournament& t) { return forbidPair(t, 1, 2, 5, 4); }, "с 5 по 4"},
        {"allow a pair never forbidden", none,
         [](SwissTournament& t) { return allowPair(t, 1, 2); }, "не запрещена"},
        {"undo with a result entered", none, [](SwissTournament& t) { return undoLastPairing(t); },
         "на доске 1 уже есть результат"},
        {"clear a result of an earlier round", none,
         [](SwissTournament& t) { return correctResult(t, 1, 2, ""); }, "тура 1 нельзя стереть"},
        {"correct an empty board", [](SwissTournament& t) { t.rounds[0][3] = SwissGame{}; },
         [](SwissTournament& t) { return correctResult(t, 1, 4, "1"); }, "нет доски 4"},
        {"late entry when every round is played",
         [](SwissTournament& t) { t.extras.plannedRounds = 2; },
         [](SwissTournament& t) {
             const Result<int> added =
                 addLateEntry(t, {"", "NEW", "", "1500", "C"}, Absence::ZeroBye);
             return added ? Result<>() : Result<>(added.failure());
         },
         "уже разыграны"},
        {"anything in a finished tournament",
         [](SwissTournament& t) { t.state.endDate = "07.12.2026"; },
         [](SwissTournament& t) { return requestBye(t, 1, 3, Absence::HalfBye); }, "завершён"},
    };
    for (const auto& c : cases) {
        SwissTournament t = sevenPlayers();
        c.setup(t);
        const SwissTournament before = t;
        const Result<> refused = c.action(t);
        ASSERT_FALSE(refused) << c.what;
        EXPECT_TRUE(refused.failure().text.contains(c.expected))
            << c.what << ": " << refused.failure().text.toStdString();
        EXPECT_EQ(swissFileBytes(t), swissFileBytes(before)) << c.what;
        EXPECT_EQ(t.extras, before.extras) << c.what;
    }
}

TEST(SwissEvents, RequestsForFutureRoundsAreKeptAndWithdrawn) {
    SwissTournament t = sevenPlayers();
    ASSERT_TRUE(setPlannedRounds(t, 7));
    ASSERT_TRUE(requestBye(t, 1, 3, Absence::HalfBye));
    ASSERT_TRUE(requestBye(t, 2, 5, Absence::ZeroBye));
    ASSERT_TRUE(requestBye(t, 2, 6, Absence::HalfBye));
    // The withdrawal drops the requests of the rounds it covers.
    ASSERT_TRUE(withdrawParticipant(t, 2, 6));
    ASSERT_TRUE(returnParticipant(t, 2, 7));
    ASSERT_TRUE(withdrawParticipant(t, 5, 3));
    ASSERT_TRUE(returnParticipant(t, 5, 3)); // back for the same round: no withdrawal at all
    ASSERT_TRUE(forbidPair(t, 6, 4, 3, 5));
    ASSERT_TRUE(cancelBye(t, 1, 3));
    EXPECT_EQ(t.extras.plannedRounds, 7);
    EXPECT_EQ(t.extras.byes, (QVector<RequestedBye>{{2, 5, Absence::ZeroBye}}));
    EXPECT_EQ(t.extras.withdrawals, (QVector<Withdrawal>{{2, 6, 7}}));
    EXPECT_EQ(t.extras.forbidden, (QVector<ForbiddenPair>{{4, 6, 3, 5}}));
    ASSERT_TRUE(allowPair(t, 4, 6));
    EXPECT_TRUE(t.extras.forbidden.isEmpty());
}

TEST(SwissEvents, LateEntryTakesItsRatingPlaceAndKeepsEveryGame) {
    const struct {
        const char* what;
        SwissTournament before;
        QString rating;
        int number;       // the late entry's
        int participants; // after, the bye participant included
        bool byeRow;
    } cases[] = {
        // Seven players and a used bye participant: eight, the bye row stays last.
        {"odd field, strongest", sevenPlayers(), "2100", 1, 9, true},
        {"odd field, in the middle", sevenPlayers(), "1650", 5, 9, true},
        {"odd field, equal rating goes after", sevenPlayers(), "1800", 4, 9, true},
        // Six players: the seventh brings the bye participant, the rounds a spare board.
        {"even field",
         makeSwiss({"2000", "1900", "1800", "1700", "1600", "1500"},
                   {{"1|4|1|0", "2|5|1|0", "3|6|1|0"}}),
         "1000", 7, 8, true},
    };
    for (const auto& c : cases) {
        SwissTournament t = c.before;
        t.extras.forbidden.append({2, 3, 1, 0});
        t.extras.byes.append({3, t.roundCount() + 1, Absence::HalfBye});
        const QString second = t.nameOf(2), third = t.nameOf(3);
        const Result<int> number =
            addLateEntry(t, Participant{"", "NEW", "1", c.rating, "CITY"}, Absence::HalfBye);
        ASSERT_TRUE(number) << c.what;
        EXPECT_EQ(*number, c.number) << c.what;
        EXPECT_EQ(t.nameOf(*number), "NEW") << c.what;
        EXPECT_EQ(t.participantCount(), c.participants) << c.what;
        EXPECT_EQ(t.byeNumber, c.byeRow ? c.participants : 0) << c.what;
        for (int n = 1; n <= t.participantCount(); ++n)
            EXPECT_EQ(t.participant(n).number, QString::number(n)) << c.what;
        EXPECT_EQ(gamesByName(t), gamesByName(c.before)) << c.what;
        for (const QVector<SwissGame>& round : t.rounds)
            EXPECT_EQ(round.size(), t.boardCount()) << c.what;
        // The records follow their players.
        const ForbiddenPair& f = t.extras.forbidden.first();
        EXPECT_EQ(QStringList({t.nameOf(f.first), t.nameOf(f.second)}),
                  QStringList({second, third}))
            << c.what;
        EXPECT_EQ(t.nameOf(t.extras.byes.first().participant), third) << c.what;
        EXPECT_EQ(t.extras.lateEntries,
                  (QVector<LateEntry>{{*number, t.roundCount() + 1, Absence::HalfBye}}))
            << c.what;
        // The tournament reads back as it is written.
        EXPECT_TRUE(swissFileText(t).readsBack) << c.what;
    }
    SwissTournament t = sevenPlayers();
    EXPECT_FALSE(addLateEntry(t, t.participant(3), Absence::ZeroBye)); // already in
}

TEST(SwissEvents, UndoingThePairingGivesTheTournamentBeforeIt) {
    // Six players, one of them on a half-point bye in round 2: the pairing brought the
    // bye participant and round 1 its spare board.
    SwissTournament before = makeSwiss({"2000", "1900", "1800", "1700", "1600", "1500"},
                                       {{"1|4|1|0", "2|5|1|0", "3|6|1|0"}});
    before.extras.byes.append({1, 2, Absence::HalfBye});
    SwissTournament paired = before;
    paired.participants.append(makeByeRow(7));
    paired.rounds.append(
        {SwissGame{2, 7, "", ""}, SwissGame{3, 5, "", ""}, SwissGame{4, 6, "", ""}});
    paired.deriveCounts();

    SwissTournament undone = paired;
    ASSERT_TRUE(undoLastPairing(undone));
    EXPECT_EQ(swissFileBytes(undone), swissFileBytes(before));
    EXPECT_EQ(undone.extras, before.extras);

    // A bye participant that earlier rounds used stays.
    SwissTournament seven = sevenPlayers();
    seven.rounds.append({SwissGame{1, 2, "", ""}, SwissGame{3, 4, "", ""}, SwissGame{5, 6, "", ""},
                         SwissGame{7, 8, "", ""}});
    seven.deriveCounts();
    ASSERT_TRUE(undoLastPairing(seven));
    EXPECT_EQ(swissFileBytes(seven), swissFileBytes(sevenPlayers()));
}

TEST(SwissEvents, CorrectingAnEarlierResultKeepsTheLaterRounds) {
    SwissTournament t = sevenPlayers();
    const QVector<SwissGame> second = t.rounds[1];
    ASSERT_TRUE(correctResult(t, 1, 2, "0"));
    EXPECT_EQ(t.game(1, 2), (SwissGame{2, 6, "0", "1"}));
    EXPECT_EQ(t.rounds[1], second);
    ASSERT_TRUE(correctResult(t, 2, 3, "")); // the last round's may be cleared
    EXPECT_TRUE(t.game(2, 3).whiteResult.isEmpty());
    EXPECT_TRUE(correctionQuestion(t, 1, 2, "1").text.contains("тура 1"));
}
