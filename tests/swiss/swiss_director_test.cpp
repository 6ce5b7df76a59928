#include "swiss/swiss_controller.h"
#include "swiss/swiss_test_util.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;
using test::makeSwiss;

namespace {

// Six players, round 1 played; in round 2 P1 takes a half-point bye and P2 has
// withdrawn, so the four others sit on two boards and the third is a spare.
SwissTournament secondRoundWithAbsences(bool played) {
    const QString w = played ? "1" : "", b = played ? "0" : "";
    SwissTournament t = makeSwiss(
        {"2000", "1900", "1800", "1700", "1600", "1500"},
        {{"1|4|1|0", "2|5|1|0", "3|6|0|1"}, {"3|6|" + w + "|" + b, "4|5|" + w + "|" + b, "0|0||"}});
    t.extras.byes = {{1, 2, Absence::HalfBye}};
    t.extras.withdrawals = {{2, 2, 0}};
    return t;
}

class SwissDirector : public ::testing::Test {
protected:
    QTemporaryDir dir;

    SwissWindowController on(SwissTournament t) {
        t.state.path = dir.filePath("Кубок_(05.12.2026).swz");
        EXPECT_TRUE(saveSwiss(t));
        return SwissWindowController(std::move(t));
    }
};

} // namespace

TEST_F(SwissDirector, TheGameListShowsRealBoardsThenWhoSitsOut) {
    SwissWindowController c = on(secondRoundWithAbsences(false));
    ASSERT_EQ(c.gameRowCount(), 4);
    EXPECT_EQ(c.gameRow(1), (QStringList{"2", "P4", "P5", ""}));
    EXPECT_EQ(c.gameRow(2), (QStringList{"", "P1", "бай ½", "½"}));
    EXPECT_EQ(c.gameRow(3), (QStringList{"", "P2", "выбыл", "0"}));
    EXPECT_EQ(c.unplayedCount(), 2); // the spare board is no game
    EXPECT_EQ(c.selectedRow(), 0);
    // A row of who sits out takes no result.
    c.clickGameRow(2);
    EXPECT_EQ(c.selectedRow(), -1);
    EXPECT_FALSE(c.writeEnabled());
    for (int row : {0, 1}) {
        c.clickGameRow(row);
        c.chooseEntry("%");
        ASSERT_TRUE(c.writeResult());
    }
    EXPECT_TRUE(c.pairingEnabled()); // the spare board waits for no result
    // Round 1 had no one sitting out.
    c.selectRound("1");
    EXPECT_EQ(c.gameRowCount(), 3);
}

TEST_F(SwissDirector, PlannedRoundsShowTheProgressAndEndThePairing) {
    const struct {
        int planned;
        QString progress;
        bool pairing;
    } cases[] = {
        {0, "", true}, // a file from before: the window as it was
        {5, "Тур 2 из 5", true},
        {3, "Тур 2 из 3", true},
        {2, "Тур 2 из 2", false},
    };
    for (const auto& k : cases) {
        SwissTournament t = secondRoundWithAbsences(true);
        t.extras.plannedRounds = k.planned;
        const SwissWindowController c = on(t);
        EXPECT_EQ(c.roundProgress(), k.progress) << k.planned;
        EXPECT_EQ(c.pairingEnabled(), k.pairing) << k.planned;
        EXPECT_EQ(c.pairingToolTip().isEmpty(), k.pairing) << k.planned;
    }
}

TEST_F(SwissDirector, AnEarlierResultIsCorrectedAfterAQuestionAndNeverCleared) {
    SwissWindowController c = on(secondRoundWithAbsences(true));
    const double before = c.standings().of(6).points;
    c.selectRound("1");
    c.clickGameRow(2); // P3 - P6, 0-1
    ASSERT_TRUE(c.writeEnabled());
    c.chooseEntry("1");
    const std::optional<Message> question = c.replaceQuestion();
    ASSERT_TRUE(question);
    EXPECT_TRUE(question->text.contains("тура 1")) << question->text.toStdString();
    ASSERT_TRUE(c.writeResult());
    EXPECT_EQ(c.tournament().game(1, 3), (SwissGame{3, 6, "1", "0"}));
    EXPECT_EQ(c.standings().of(6).points, before - 1);
    EXPECT_EQ(swissFileBytes(*loadSwiss(c.tournament().state.path)),
              swissFileBytes(c.tournament()));
    EXPECT_EQ(c.tournament().rounds[1], secondRoundWithAbsences(true).rounds[1]);
    c.chooseEntry("");
    EXPECT_FALSE(c.writeResult());
    EXPECT_EQ(c.tournament().game(1, 3).whiteResult, "1");
}

TEST_F(SwissDirector, TheActionsAreEnabledWhenTheyCanBeDone) {
    const struct {
        const char* what;
        bool played; // round 2's results
        int planned;
        QString endDate;
        int standingsRow; // −1: none chosen
        bool participant, lateEntry, undo, plannedRounds;
    } cases[] = {
        {"nothing chosen", false, 0, "", -1, false, true, true, true},
        {"a player chosen", false, 0, "", 0, true, true, true, true},
        {"results entered", true, 0, "", 0, true, true, false, true},
        {"every planned round paired", true, 2, "", 0, true, false, false, true},
        {"finished", true, 0, "07.12.2026", 0, false, false, false, false},
    };
    for (const auto& k : cases) {
        SwissTournament t = secondRoundWithAbsences(k.played);
        t.extras.plannedRounds = k.planned;
        t.state.endDate = k.endDate;
        SwissWindowController c = on(t);
        c.clickStandings(k.standingsRow);
        EXPECT_EQ(c.participantEnabled(), k.participant) << k.what;
        EXPECT_EQ(c.lateEntryEnabled(), k.lateEntry) << k.what;
        EXPECT_EQ(c.undoPairingEnabled(), k.undo) << k.what;
        EXPECT_EQ(c.plannedRoundsEnabled(), k.plannedRounds) << k.what;
    }
}

TEST_F(SwissDirector, ParticipantChoicesAreAppliedAndSaved) {
    SwissWindowController c = on(secondRoundWithAbsences(true));
    // The answer "?" takes the round the controller proposes.
    const auto choose = [&](const QString& name, ParticipantAction action, QString answer) {
        for (int row = 0; row < c.standingsRowCount(); ++row) {
            if (c.standingsRow(row)[1].section(u' ', 0, 0) == name)
                c.clickStandings(row);
        }
        for (const ParticipantChoice& choice : c.participantChoices()) {
            if (choice.action == action)
                return c.applyChoice(choice, answer == "?" ? c.choiceProposal(choice) : answer);
        }
        return Result<>(Message{"", "no such choice"});
    };
    ASSERT_TRUE(choose("P3", ParticipantAction::HalfBye, "4"));
    ASSERT_TRUE(choose("P4", ParticipantAction::Withdraw, "5"));
    // The return proposed for a withdrawal not in force yet is its first round: no
    // withdrawal at all.
    ASSERT_TRUE(choose("P4", ParticipantAction::Return, "?"));
    ASSERT_TRUE(choose("P2", ParticipantAction::Return, "4"));
    EXPECT_FALSE(choose("P4", ParticipantAction::Absence, "2")); // round 2 is paired
    EXPECT_FALSE(choose("P4", ParticipantAction::Withdraw, "три"));
    ASSERT_TRUE(choose("P5", ParticipantAction::Forbid, "1 3-4")); // place 1 in the standings
    const SwissExtras& x = c.tournament().extras;
    EXPECT_EQ(x.byes.last(), (RequestedBye{3, 4, Absence::HalfBye}));
    EXPECT_EQ(x.withdrawals, (QVector<Withdrawal>{{2, 2, 4}}));
    ASSERT_EQ(x.forbidden.size(), 1);
    EXPECT_EQ(x.forbidden[0].fromRound, 3);
    EXPECT_EQ(x.forbidden[0].toRound, 4);
    ASSERT_TRUE(choose("P3", ParticipantAction::CancelBye, ""));
    EXPECT_EQ(c.tournament().extras.byes.size(), 1);
    EXPECT_TRUE(c.participantChoiceLabels().endsWith("Отмена"));

    // A late entry joins with the rounds missed as chosen; then the last pairing goes.
    SwissWindowController fresh = on(secondRoundWithAbsences(false));
    ASSERT_TRUE(fresh.missedRoundsQuestion());
    ASSERT_TRUE(fresh.addLateEntry("7\nНОВЫЙ\nТУЛА\n1\n1950", 1));
    EXPECT_EQ(fresh.tournament().nameOf(2), "НОВЫЙ");
    EXPECT_EQ(fresh.tournament().extras.lateEntries,
              (QVector<LateEntry>{{2, 3, Absence::HalfBye}}));
    EXPECT_EQ(loadSwiss(fresh.tournament().state.path)->participantCount(), 8);
    ASSERT_TRUE(fresh.undoPairing());
    EXPECT_EQ(fresh.tournament().roundCount(), 1);
    EXPECT_EQ(fresh.displayedRound(), 1);
    EXPECT_FALSE(fresh.setPlannedRounds("0"));
    ASSERT_TRUE(fresh.setPlannedRounds("7"));
    EXPECT_EQ(fresh.roundProgress(), "Тур 1 из 7");
}

// Baku acceleration: switched only before round 1 (and with the planned rounds known),
// saved with the tournament, and said beside the progress.
TEST_F(SwissDirector, BakuAccelerationIsSwitchedBeforeRoundOneOnly) {
    SwissTournament before = makeSwiss({"2000", "1900", "1800", "1700"});
    before.extras.plannedRounds = 5;
    SwissWindowController c = on(before);
    ASSERT_TRUE(c.accelerationEnabled());
    EXPECT_TRUE(c.accelerationQuestion().text.startsWith("Включить"));
    ASSERT_TRUE(c.toggleAcceleration());
    EXPECT_EQ(c.roundProgress(), "Туров в турнире: 5, ускорение по Баку");
    EXPECT_TRUE(loadSwiss(c.tournament().state.path)->extras.acceleration.baku);
    EXPECT_TRUE(c.accelerationQuestion().text.startsWith("Выключить"));
    ASSERT_TRUE(c.toggleAcceleration());
    EXPECT_EQ(c.roundProgress(), "Туров в турнире: 5");

    before.extras.plannedRounds = 0;
    SwissWindowController unplanned = on(before);
    EXPECT_FALSE(unplanned.toggleAcceleration());

    SwissTournament running = secondRoundWithAbsences(false);
    running.extras.plannedRounds = 9;
    running.extras.acceleration = {true, 4};
    SwissWindowController paired = on(running);
    EXPECT_FALSE(paired.accelerationEnabled());
    EXPECT_EQ(paired.roundProgress(), "Тур 2 из 9, ускорение по Баку");
    EXPECT_FALSE(paired.toggleAcceleration());
}
