#include "scoring/result_entry.h"
#include "swiss/swiss_controller.h"
#include "swiss/swiss_test_util.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;
using test::makeSwiss;

namespace {

class SwissController : public ::testing::Test {
protected:
    QTemporaryDir dir;

    SwissWindowController openOn(SwissTournament t,
                                 const QString& name = "Кубок_(05.12.2026).swz") {
        t.state.path = dir.filePath(name);
        EXPECT_TRUE(saveSwiss(t));
        Result<SwissWindowController> opened = openSwissWindow(t.state.path);
        EXPECT_TRUE(opened) << opened.failure().text.toStdString();
        return std::move(*opened);
    }
};

const QStringList SixRatings{"2000", "1900", "1800", "1700", "1600", "1500"};

QVector<QStringList> playedRounds(int count) {
    return QVector<QStringList>(count, QStringList{"1|2|1|0", "3|4|%|%", "5|6|0|1"});
}

} // namespace

TEST_F(SwissController, OpensWithTheRulesAppliedAndTheFirstUnplayedGameSelected) {
    const struct {
        QVector<QStringList> rounds;
        int board;
        bool store, pairing, complete;
    } cases[] = {{{}, -1, false, true, false},
                 {{{"1|2||", "3|4|1|0", "5|6||"}}, 1, true, false, false},
                 {{{"1|2|1|0", "3|4||", "5|6||"}}, 2, true, false, false},
                 {playedRounds(3), -1, false, true, false},
                 {playedRounds(4), -1, false, true, true},
                 {playedRounds(19), -1, false, true, true},
                 {playedRounds(20), -1, false, false, true}}; // no pairing beyond 20 rounds
    int k = 0;
    for (const auto& c : cases) {
        const SwissWindowController w =
            openOn(makeSwiss(SixRatings, c.rounds), QString::number(++k) + ".swz");
        EXPECT_EQ(w.selectedBoard(), c.board) << k;
        EXPECT_EQ(w.writeEnabled(), c.store) << k;
        EXPECT_EQ(w.pairingEnabled(), c.pairing) << k;
        EXPECT_EQ(w.finishEnabled(), c.complete) << k;
    }
    // A new tournament, the first case: nothing paired, nothing to show.
    const SwissWindowController fresh = openOn(makeSwiss(SixRatings));
    EXPECT_EQ(fresh.windowTitle(), "Турнир - Кубок_(05.12.2026)");
    EXPECT_TRUE(fresh.roundItems().isEmpty());
    EXPECT_EQ(fresh.gameRows(),
              (QVector<QStringList>{{"1", "", "", ""}, {"2", "", "", ""}, {"3", "", "", ""}}));
    EXPECT_EQ(fresh.statusLine(),
              "Турнир начат - 05.12.2026  окончен -     не завершённых партий 0 тура - 0");
    EXPECT_EQ(fresh.selectedPairLabel(), "Выбраны игроки:  ");
}

TEST_F(SwissController, TheSelectorShowsTheSelectedGameOrProposesTheByePoint) {
    const QStringList ratings{"2000", "1900", "1800", "1700", "1600", "**"};
    SwissWindowController w = openOn(
        makeSwiss(ratings, {{"1|6|+|-", "2|3|1|0", "4|5|0|1"}, {"6|1||", "2|4||", "3|5|%|%"}}));
    const struct {
        const char* round;
        int row;
        const char* shown;
        bool hint;
    } games[] = {{"2", 0, "-", true},  // the bye on White: Black's point
                 {"2", 1, "", false},  // an ordinary unplayed game
                 {"2", 2, "%", false}, // a stored result
                 {"1", 0, "+", false}, // the bye's point stored in an earlier round
                 {"2", -1, "", false}};
    for (const auto& g : games) {
        w.selectRound(g.round);
        w.clickGameRow(g.row);
        EXPECT_EQ(w.shownEntry(), QString::fromUtf8(g.shown)) << g.round << g.row;
        EXPECT_EQ(!w.entryHint().isEmpty(), g.hint) << g.round << g.row;
    }
    // The bye on Black, as the pairing puts it: White's point.
    SwissWindowController black =
        openOn(makeSwiss(ratings, {{"1|2||", "3|6||", "4|5||"}}), "black.swz");
    black.clickGameRow(1);
    EXPECT_EQ(black.shownEntry(), "+");
    EXPECT_EQ(black.entryHint(), "Свободный тур: «+» даёт участнику очко без партии");

    // A choice holds for the selected game only; the question before a replacement.
    w.selectRound("2");
    w.clickGameRow(2);
    w.chooseEntry("1");
    EXPECT_EQ(w.shownEntry(), "1");
    EXPECT_EQ(w.replaceQuestion(), replaceResultQuestion("P3", "P5", "%", "1"));
    w.keepStoredResult(); // answered no
    EXPECT_EQ(w.shownEntry(), "%");
    w.clickGameRow(1);
    w.chooseEntry("1");
    EXPECT_FALSE(w.replaceQuestion()); // no result yet
    w.selectRound("1");
    EXPECT_EQ(w.selectedBoard(), 0);
    w.chooseEntry("1");
    EXPECT_EQ(w.shownEntry(), "");
}

TEST_F(SwissController, ResultEntryRoundTripsThroughTheFile) {
    SwissWindowController w = openOn(makeSwiss(SixRatings, {{"1|2||", "3|4||", "5|6||"}}));
    EXPECT_EQ(w.unplayedCount(), 3);
    w.clickGameRow(1);
    EXPECT_EQ(w.selectedBoard(), 2);
    EXPECT_TRUE(w.writeEnabled());
    EXPECT_EQ(w.selectedPairLabel(), "Выбраны игроки:  P3 - P4");
    EXPECT_FALSE(w.pairingEnabled());

    struct Case {
        QString entry, white, black, shown, reselected;
    };
    for (const Case& c : {Case{"00", "-", "-", "---", "00"}, Case{"1", "1", "0", "1-0", "1"},
                          Case{"-", "-", "+", "--+", "-"}, Case{"%", "%", "%", "%-%", "%"},
                          Case{"", "", "", "", ""}}) {
        w.clickGameRow(1);
        w.chooseEntry(c.entry);
        EXPECT_TRUE(w.writeResult());
        const SwissTournament onDisk = *loadSwiss(w.tournament().state.path);
        EXPECT_EQ(onDisk.game(1, 2), (SwissGame{3, 4, c.white, c.black})) << c.entry.toStdString();
        EXPECT_EQ(w.gameRows()[1][3], c.shown);
        w.clickGameRow(1);
        EXPECT_EQ(w.shownEntry(), c.reselected);
    }
    EXPECT_EQ(w.unplayedCount(), 3);
    for (int row = 0; row < 3; ++row) {
        w.clickGameRow(row);
        w.chooseEntry("1");
        w.writeResult();
    }
    EXPECT_EQ(w.unplayedCount(), 0);
    EXPECT_TRUE(w.pairingEnabled());
    EXPECT_EQ(w.standingsRows()[0][4], "1.0");
}

// The rows themselves are SwissCli.GoldenListings' (worked.standings.txt is this
// tournament); a click on a row chooses the participant of the statistics.
TEST_F(SwissController, AStandingsRowChoosesTheStatisticsParticipant) {
    SwissWindowController w = openOn(makeSwiss({"2000", "1900", "1800", "1700"},
                                               {{"1|3|1|0", "4|2|%|%"}, {"2|1|0|1", "3|4|+|-"}}));
    w.clickStandings(1);
    EXPECT_EQ(w.statsParticipant(), 3);
    EXPECT_TRUE(w.statsEnabled());
    EXPECT_EQ(w.statsCaption(), "Статистика игрока - P3");
    w.clickStandings(-1);
    EXPECT_EQ(w.statsParticipant(), 3);
}

// A game of an earlier round takes a correction through "Записать" (which asks first,
// SwissDirector's tests), never through a result key.
TEST_F(SwissController, EarlierRoundTakesNoKeyAndKeepsTheCountOfTheLast) {
    SwissWindowController w = openOn(
        makeSwiss(SixRatings, {{"1|2|1|0", "3|4|%|%", "5|6|0|1"}, {"2|3||", "4|5|1|0", "6|1||"}}));
    EXPECT_EQ(w.roundItems(), (QStringList{"1", "2"}));
    w.selectRound("1");
    EXPECT_FALSE(w.writeEnabled());
    w.clickGameRow(0);
    EXPECT_TRUE(w.writeEnabled());
    EXPECT_EQ(w.gameRows()[0], (QStringList{"1", "P1", "P2", "1-0"}));
    EXPECT_TRUE(w.statusLine().endsWith("не завершённых партий 2 тура - 2"));
    EXPECT_EQ(w.selectedPairLabel(), "Выбраны игроки:  P1 - P2");
    EXPECT_TRUE(w.writeResultByKey("0")); // no result key
    EXPECT_EQ(w.tournament().game(1, 1).whiteResult, "1");
    w.selectRound("2");
    w.clickGameRow(-1);
    EXPECT_TRUE(w.writeResultByKey("1")); // no game selected
    EXPECT_EQ(w.unplayedCount(), 2);
}

// The finish button says why it waits; a finished tournament takes nothing more.
TEST_F(SwissController, CompletionNeedsFourPlayedRoundsAndFinishedTournamentsAreReadOnly) {
    SwissWindowController odd = openOn(
        makeSwiss({"2000", "1900", "1800", "1700", "1600", "**"}, {{"1|2||", "3|4|1|0", "5|6||"}}));
    odd.clickGameRow(0);
    EXPECT_EQ(odd.finishToolTip(), "Не сыграно партий: 2, из них против «**»: 1");
    SwissWindowController three = openOn(makeSwiss(SixRatings, playedRounds(3)), "c.swz");
    three.clickGameRow(0);
    EXPECT_FALSE(three.finishEnabled());
    EXPECT_EQ(three.finishToolTip(), "Турнир можно завершить после 4-го тура");
    SwissWindowController four = openOn(makeSwiss(SixRatings, playedRounds(4)), "d.swz");
    four.clickGameRow(0);
    EXPECT_TRUE(four.finishEnabled());
    EXPECT_TRUE(four.writeEnabled());
    EXPECT_EQ(four.finishToolTip(), "");

    EXPECT_TRUE(four.complete("09.12.2026"));
    EXPECT_EQ(loadSwiss(four.tournament().state.path)->state.endDate, "09.12.2026");
    EXPECT_FALSE(four.completionInput("09.12.2026"));
    EXPECT_FALSE(four.finishEnabled());
    EXPECT_FALSE(four.writeEnabled());
    EXPECT_FALSE(four.pairingEnabled());
    EXPECT_EQ(four.finishToolTip(), "Турнир уже завершён");
    four.selectRound("4");
    EXPECT_TRUE(
        four.statusLine().startsWith("Турнир начат - 05.12.2026  окончен - 09.12.2026    "));
}

TEST_F(SwissController, FailedSaveKeepsTheResultUntilASaveSucceeds) {
    SwissWindowController w = openOn(makeSwiss(SixRatings, {{"1|2||", "3|4||", "5|6||"}}));
    const QString path = w.tournament().state.path;
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_TRUE(QDir().mkdir(path)); // the file cannot be written
    w.clickGameRow(0);
    // Stored by key: the selection stays on the game, as after "Записать".
    const Result<> message = w.writeResultByKey("1");
    ASSERT_FALSE(message);
    EXPECT_EQ(w.selectedBoard(), 1);
    EXPECT_EQ(message.failure().title, "Ошибка создания файла");
    EXPECT_EQ(w.gameRows()[0][3], "1-0");
    EXPECT_EQ(w.standingsRows()[0][4], "1.0");
    EXPECT_TRUE(w.unsaved());
    EXPECT_TRUE(w.writeEnabled());
    // The close box will not leave while the result is only in the window.
    EXPECT_FALSE(w.closeRequested());

    ASSERT_TRUE(QDir().rmdir(path));
    EXPECT_TRUE(w.writeResult());
    EXPECT_FALSE(w.unsaved());
    EXPECT_EQ(loadSwiss(path)->game(1, 1).whiteResult, "1");
    EXPECT_TRUE(w.closeRequested());
}

TEST_F(SwissController, PairingShowsTheNewRoundAndKeepsTheStandings) {
    SwissWindowController w = openOn(makeSwiss(SixRatings, {{"1|2|1|0", "3|4|%|%", "5|6|0|1"}}));
    const QVector<QStringList> before = w.standingsRows();
    w.clickStandings(0);
    w.startPairing();
    EXPECT_FALSE(w.statsEnabled());
    SwissTournament next = w.tournament();
    next.rounds.append({{1, 6, "", ""}, {2, 3, "", ""}, {4, 5, "", ""}});
    next.deriveCounts();
    w.finishPairing(next);
    EXPECT_EQ(w.displayedRound(), 2);
    EXPECT_EQ(w.roundItems(), (QStringList{"1", "2"}));
    EXPECT_EQ(w.gameRows()[0], (QStringList{"1", "P1", "P6", ""}));
    EXPECT_EQ(w.unplayedCount(), 3);
    // The new round's first game takes the result keys.
    EXPECT_EQ(w.selectedBoard(), 1);
    EXPECT_TRUE(w.writeEnabled());
    EXPECT_EQ(w.standingsRows(), before);
    EXPECT_FALSE(w.pairingEnabled());
}

TEST_F(SwissController, ResultKeysStoreAndMoveToTheNextUnplayedGame) {
    SwissWindowController w = openOn(makeSwiss(SixRatings, {{"1|2||", "3|4||", "5|6||"}}));
    w.clickGameRow(1);
    struct Step {
        QString entry;
        int selectedAfter;
        QString shownAfter;
        int unplayed;
    };
    for (const Step& s : {Step{"1", 3, "", 2},       // the next row
                          Step{"%", 1, "", 1},       // wraps to the first
                          Step{"+", 1, "+", 0},      // none left: stays
                          Step{"1", 1, "+", 0},      // a game with a result takes no key
                          Step{"", 1, "", 1},        // Delete clears and stays on the game
                          Step{"00", 1, "00", 0}}) { // and then a key fills it
        EXPECT_TRUE(w.writeResultByKey(s.entry)) << s.entry.toStdString();
        EXPECT_EQ(w.selectedBoard(), s.selectedAfter) << s.entry.toStdString();
        EXPECT_EQ(w.shownEntry(), s.shownAfter) << s.entry.toStdString();
        EXPECT_EQ(w.unplayedCount(), s.unplayed) << s.entry.toStdString();
    }
    const SwissTournament onDisk = *loadSwiss(w.tournament().state.path);
    EXPECT_EQ(onDisk.rounds, w.tournament().rounds);
    EXPECT_EQ(w.gameRows()[0][3], "---");
    EXPECT_EQ(w.gameRows()[1][3], "1-0");
}
