#include "round_robin_test_util.h"
#include "roundrobin/round_robin_controller.h"
#include "scoring/result_entry.h"
#include "support/test_support.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;

namespace {

// Three players and the bye, saved in a temporary folder.
struct Fixture {
    QTemporaryDir dir;
    RoundRobinTournament tournament;
    Fixture() {
        tournament = test::makeRoundRobin({{"ИВАНОВ И.И.", "КМС", "2150"},
                                           {"ПЕТРОВ П.П.", "1", "1980"},
                                           {"СИДОРОВ С.С.", "2", "1750"}});
        tournament.state.path = dir.filePath("Кубок_клуба_(01.12.2026).kr2");
    }
};

} // namespace

TEST(RoundRobinController, OpensOnRoundOneWithEverythingComputed) {
    Fixture f;
    RoundRobinController c(f.tournament);
    EXPECT_EQ(c.windowTitle(), "Турнир в 1 круг - Кубок_клуба_(01.12.2026)");
    EXPECT_EQ(c.roundItems(), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(c.displayedRound(), 1);
    EXPECT_EQ(c.selectedGame(), 1); // the first unplayed game, ready for a key
    EXPECT_EQ(c.gameRows(), (QVector<QStringList>{{"1", "ИВАНОВ И.И.", "**", ""},
                                                  {"2", "ПЕТРОВ П.П.", "СИДОРОВ С.С.", ""}}));
    EXPECT_EQ(c.standingsRows().size(), 4);
    EXPECT_EQ(c.statusLine(),
              "Турнир начат - 01.12.2026  окончен -     осталось несыгранных партий - 6");
    EXPECT_EQ(c.selectedPlayersText(), "Выбраны игроки:  ИВАНОВ И.И.-**");
    EXPECT_TRUE(c.writeEnabled());
    EXPECT_FALSE(c.finishEnabled());

    RoundRobinTournament two = f.tournament;
    two.state.kind = TournamentKind::TwoCycles;
    EXPECT_EQ(RoundRobinController(two).windowTitle(),
              "Турнир в 2 круга - Кубок_клуба_(01.12.2026)");
}

TEST(RoundRobinController, WritingResultsKeepsTheCountAndSavesEachTime) {
    Fixture f;
    RoundRobinController c(f.tournament);
    EXPECT_EQ(c.clickGameRow(1), QString());
    EXPECT_EQ(c.selectedGame(), 2);
    EXPECT_EQ(c.selectedPlayersText(), "Выбраны игроки:  ПЕТРОВ П.П.-СИДОРОВ С.С.");
    EXPECT_TRUE(c.writeEnabled());

    const struct {
        const char* entry;
        const char* column;
        int unplayed;
    } steps[] = {{"1", "1-0", 5}, {"%", "%-%", 5}, {"", "", 6},      {"", "", 6},
                 {"+", "+--", 5}, {"-", "--+", 5}, {"00", "---", 5}, {"0", "0-1", 5}};
    for (const auto& s : steps) {
        c.selectGame(2);
        EXPECT_TRUE(c.writeResult(QString::fromUtf8(s.entry)));
        EXPECT_EQ(c.selectedGame(), 0) << s.entry;
        EXPECT_EQ(c.gameRows()[1][3], QString::fromUtf8(s.column)) << s.entry;
        EXPECT_EQ(c.tournament().state.unplayedCount, s.unplayed) << s.entry;
        // The file always holds what is shown.
        const Result<RoundRobinTournament> saved = loadRoundRobin(f.tournament.state.path);
        ASSERT_TRUE(saved);
        EXPECT_EQ(saved->game(1, 2), c.tournament().game(1, 2)) << s.entry;
        EXPECT_EQ(saved->state.unplayedCount, s.unplayed) << s.entry;
    }
    // After writing, nothing is selected, so "Записать" is off until a game is chosen.
    EXPECT_FALSE(c.writeEnabled());
    EXPECT_EQ(c.selectedPlayersText(), "Выбраны игроки:  ");
    // Without a selected game, or with an entry the selector does not offer, nothing happens.
    EXPECT_TRUE(c.writeResult("1"));
    c.selectGame(1);
    EXPECT_TRUE(c.writeResult("2"));
    EXPECT_EQ(c.tournament().game(1, 1).result, "");
}

TEST(RoundRobinController, SelectorShowsFirstCharacterAndRoundChangeClearsSelection) {
    Fixture f;
    RoundRobinController c(f.tournament);
    c.selectRound(3);
    EXPECT_EQ(c.gameRows()[0][1], "ПЕТРОВ П.П.");
    c.clickGameRow(0);
    c.writeResult("00");
    EXPECT_EQ(c.clickGameRow(0), "00");
    c.writeResult("%");
    EXPECT_EQ(c.clickGameRow(0), "%");
    EXPECT_EQ(c.clickGameRow(-1), std::nullopt);
    EXPECT_EQ(c.clickGameRow(2), std::nullopt);
    EXPECT_EQ(c.selectedGame(), 1);
    c.selectRound(2);
    EXPECT_EQ(c.selectedGame(), 0);
    EXPECT_EQ(c.displayedRound(), 2);
    c.selectRound(4); // not a round of this tournament
    EXPECT_EQ(c.displayedRound(), 2);
}

// The tooltips say why the director is stuck.
TEST(RoundRobinController, CompletionFollowsTheUnplayedGamesAndTheEndDate) {
    Fixture f;
    RoundRobinController c(f.tournament);
    EXPECT_EQ(c.finishToolTip(), "Не сыграно партий: 6, из них против «**»: 3");
    EXPECT_TRUE(c.resultToolTip().startsWith("Партия против «**»: «+» или «-»"));
    const QString results[] = {"1", "0", "%", "+", "-", "1"};
    int k = 0;
    for (int r = 1; r <= 3; ++r) {
        c.selectRound(r);
        for (int b = 1; b <= 2; ++b) {
            EXPECT_FALSE(c.finishEnabled());
            EXPECT_EQ(*c.closeRequested(), RoundRobinController::CloseAction::ExitProgram);
            c.selectGame(b);
            c.writeResult(results[k++]);
        }
    }
    // The bye games count like any other: only now is everything played.
    EXPECT_TRUE(c.finishEnabled());
    EXPECT_EQ(*c.closeRequested(), RoundRobinController::CloseAction::OpenCompletion);
    EXPECT_EQ(c.finishToolTip(), "");
    c.selectGame(1);
    c.writeResult("");
    EXPECT_FALSE(c.finishEnabled());
    c.selectGame(1);
    c.writeResult("1");
    EXPECT_TRUE(c.finishEnabled());

    EXPECT_TRUE(c.complete("05.12.2026"));
    EXPECT_FALSE(c.finishEnabled());
    EXPECT_EQ(c.finishToolTip(), "Турнир уже завершён");
    EXPECT_EQ(*c.closeRequested(), RoundRobinController::CloseAction::ExitProgram);
    EXPECT_EQ(loadRoundRobin(f.tournament.state.path)->state.endDate, "05.12.2026");
    // A completed tournament takes no more results.
    c.selectGame(2);
    EXPECT_FALSE(c.writeEnabled());
    const RoundRobinGame before = c.tournament().game(3, 2);
    c.writeResult("0");
    EXPECT_EQ(c.tournament().game(3, 2), before);
    EXPECT_EQ(c.statusLine(),
              "Турнир начат - 01.12.2026  окончен - 05.12.2026    осталось несыгранных партий - 0");

    // Without the bye row nothing is said of it.
    RoundRobinTournament even = test::makeRoundRobin(
        {{"А", "1", "1800"}, {"Б", "1", "1800"}, {"В", "1", "1800"}, {"Г", "1", "1800"}});
    even.state.path = f.dir.filePath("Чётный_(01.12.2026).kr2");
    RoundRobinController four(even);
    EXPECT_EQ(four.resultToolTip(), "");
    EXPECT_EQ(four.finishToolTip(), "Не сыграно партий: 6");
}

TEST(RoundRobinController, FailedSaveIsReportedAndTheResultKeptInMemory) {
    Fixture f;
    bool failing = true;
    RoundRobinController c(f.tournament, [&](const RoundRobinTournament& t) {
        return failing ? Result<>(roundRobinSaveFailedMessage(t.state.path, "disk full"))
                       : saveRoundRobin(t);
    });
    c.selectGame(2);
    // Written by key: nothing stays selected, as after "Записать".
    EXPECT_EQ(c.writeResultByKey("1"),
              roundRobinSaveFailedMessage(f.tournament.state.path, "disk full"));
    EXPECT_EQ(c.selectedGame(), 0);
    EXPECT_EQ(c.tournament().game(1, 2).result, "1");
    EXPECT_EQ(c.tournament().state.unplayedCount, 5);
    // Closing with unplayed games saves, and so does "Главное меню" after a failed save;
    // when that fails too the window stays open.
    EXPECT_EQ(c.closeRequested(),
              roundRobinSaveFailedMessage(f.tournament.state.path, "disk full"));
    EXPECT_EQ(c.leaveForMainMenu(),
              roundRobinSaveFailedMessage(f.tournament.state.path, "disk full"));
    failing = false;
    EXPECT_TRUE(c.leaveForMainMenu());
    EXPECT_EQ(loadRoundRobin(f.tournament.state.path)->game(1, 2).result, "1");
    failing = true; // nothing left to save: leaving writes nothing
    EXPECT_TRUE(c.leaveForMainMenu());
    failing = false;
    EXPECT_EQ(*c.closeRequested(), RoundRobinController::CloseAction::ExitProgram);
    EXPECT_EQ(loadRoundRobin(f.tournament.state.path)->game(1, 2).result, "1");
}

TEST(RoundRobinController, FailedCompletionSaveLeavesTheTournamentUnfinished) {
    Fixture f;
    bool failing = false;
    RoundRobinController c(f.tournament, [&](const RoundRobinTournament& t) {
        return failing ? Result<>(roundRobinSaveFailedMessage(t.state.path, "disk full"))
                       : saveRoundRobin(t);
    });
    const char* results[] = {"1", "0", "%", "+", "-", "00"};
    int k = 0;
    for (int r = 1; r <= 3; ++r) {
        c.selectRound(r);
        for (int b = 1; b <= 2; ++b) {
            c.selectGame(b);
            c.writeResult(results[k++]);
        }
    }
    ASSERT_TRUE(c.finishEnabled());
    failing = true;
    EXPECT_EQ(c.complete("05.12.2026"),
              roundRobinSaveFailedMessage(f.tournament.state.path, "disk full"));
    EXPECT_EQ(c.tournament().state.endDate, "");
    EXPECT_TRUE(c.finishEnabled());
    EXPECT_EQ(*c.closeRequested(), RoundRobinController::CloseAction::OpenCompletion);
    failing = false;
    EXPECT_TRUE(c.complete("06.12.2026"));
    EXPECT_EQ(loadRoundRobin(f.tournament.state.path)->state.endDate, "06.12.2026");
}

TEST(ParticipantStatistics, ListsParticipantsAndTheSelectedOnesGames) {
    Fixture f;
    RoundRobinController c(f.tournament);
    c.selectGame(2);
    c.writeResult("%");
    ParticipantStatistics s(c.tournament(), c.results());
    EXPECT_EQ(s.participantRows()[1], (QStringList{"2", "ПЕТРОВ П.П.", "1", "1980", "0.5"}));
    EXPECT_FALSE(s.reportEnabled());
    EXPECT_TRUE(s.gameRows().isEmpty());
    s.clickParticipantRow(1);
    EXPECT_TRUE(s.reportEnabled());
    EXPECT_EQ(s.selectedParticipant(), 2);
    EXPECT_EQ(s.gameRows().size(), 3);
    EXPECT_EQ(s.gameRows()[0], (QStringList{"1", "ПЕТРОВ П.П.", "% - %", "СИДОРОВ С.С."}));
    s.clickParticipantRow(-1);
    EXPECT_EQ(s.selectedParticipant(), 2);
}

TEST(RoundRobinController, ResultKeysWriteAndMoveToTheNextUnplayedGame) {
    // Five players and the bye: three boards a round.
    QTemporaryDir dir;
    RoundRobinTournament t = test::makeRoundRobin({{"А", "1", "1800"},
                                                   {"Б", "1", "1800"},
                                                   {"В", "1", "1800"},
                                                   {"Г", "1", "1800"},
                                                   {"Д", "1", "1800"}});
    t.state.path = dir.filePath("Ключи_(01.12.2026).kr2");
    RoundRobinController c(t);
    c.selectGame(2);
    const struct {
        const char* entry;
        int selectedAfter;
        int unplayed;
        const char* shown;
    } steps[] = {{"1", 3, 14, ""},   // the next row
                 {"%", 1, 13, "+"},  // wraps to the first, the bye's game
                 {"+", 1, 12, "+"},  // none left: stays
                 {"1", 1, 12, "+"},  // a game with a result takes no key
                 {"", 1, 13, "+"},   // Delete clears and stays on the game
                 {"-", 1, 12, "-"}}; // and then the key fills it
    for (const auto& s : steps) {
        EXPECT_TRUE(c.writeResultByKey(QString::fromUtf8(s.entry))) << s.entry;
        EXPECT_EQ(c.selectedGame(), s.selectedAfter) << s.entry;
        EXPECT_EQ(c.shownEntry(), QString::fromUtf8(s.shown)) << s.entry;
        EXPECT_EQ(c.tournament().state.unplayedCount, s.unplayed) << s.entry;
    }
    // Stored exactly as "Записать" stores it.
    const Result<RoundRobinTournament> saved = loadRoundRobin(t.state.path);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->games, c.tournament().games);
    EXPECT_EQ(c.gameRows()[0][3], "--+");
    // Without a selected game nothing is written.
    c.selectRound(2);
    EXPECT_TRUE(c.writeResultByKey("1"));
    EXPECT_EQ(c.tournament().state.unplayedCount, 12);

    // A completed tournament takes no key, and "Записать" never looks enabled there.
    RoundRobinTournament done = t;
    done.state.endDate = QStringLiteral("05.12.2026");
    RoundRobinController finished(done, [](const RoundRobinTournament&) {
        ADD_FAILURE() << "a completed tournament was saved";
        return Result<>{};
    });
    EXPECT_FALSE(finished.writeEnabled());
    finished.selectGame(1);
    EXPECT_TRUE(finished.writeResultByKey("1"));
    EXPECT_EQ(finished.tournament().game(1, 1).result, "");
}

TEST(ResultEntry, KeysAndLegend) {
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        std::optional<QString> entry;
    } keys[] = {{Qt::Key_1, Qt::NoModifier, "1"},
                {Qt::Key_0, Qt::KeypadModifier, "0"},
                {Qt::Key_Equal, Qt::NoModifier, "%"},
                {Qt::Key_Plus, Qt::ShiftModifier, "+"},
                {Qt::Key_Minus, Qt::KeypadModifier, "-"},
                {Qt::Key_Delete, Qt::NoModifier, QString()},
                {Qt::Key_1, Qt::ControlModifier, std::nullopt},
                {Qt::Key_2, Qt::NoModifier, std::nullopt},
                {Qt::Key_Space, Qt::NoModifier, std::nullopt}};
    for (const auto& k : keys)
        EXPECT_EQ(resultEntryForKey(k.key, k.modifiers), k.entry) << k.key;
    EXPECT_EQ(resultEntryLabels(RoundRobinController::resultEntries()),
              (QStringList{"", "1 — победа белых", "0 — победа чёрных", "% — ничья",
                           "+ — неявка чёрных", "- — неявка белых", "00 — неявка обоих"}));
}

TEST(RoundRobinController, OpensOnTheFirstUnplayedGameOfTheRoundInPlay) {
    Fixture f;
    RoundRobinTournament t = f.tournament;
    // Results added one step after another; what the window then opens on.
    const struct {
        int round;
        const char* white;
        const char* result;
        int openRound, openBoard;
        bool finishEnabled;
    } steps[] = {{1, "ИВАНОВ И.И.", "+", 1, 2, false}, {1, "ПЕТРОВ П.П.", "1", 2, 1, false},
                 {2, "**", "-", 2, 2, false}, // round 2 still has a game
                 {2, "ИВАНОВ И.И.", "%", 3, 1, false}, {3, "ПЕТРОВ П.П.", "0", 3, 2, false},
                 {3, "СИДОРОВ С.С.", "1", 3, 0, true}}; // all played: the last round
    for (const auto& s : steps) {
        test::setResult(t, s.round, QString::fromUtf8(s.white), QString::fromUtf8(s.result));
        const RoundRobinController c(t);
        EXPECT_EQ(c.displayedRound(), s.openRound) << s.white;
        EXPECT_EQ(c.selectedGame(), s.openBoard) << s.white;
        EXPECT_EQ(c.writeEnabled(), s.openBoard > 0) << s.white;
        EXPECT_EQ(c.finishEnabled(), s.finishEnabled) << s.white;
    }
}

TEST(RoundRobinController, TheSelectorShowsTheSelectedGameOrProposesTheByePoint) {
    Fixture f;
    RoundRobinTournament t = f.tournament;
    test::setResult(t, 3, "ПЕТРОВ П.П.", "0");
    RoundRobinController c(t);
    // Round 1: ИВАНОВ–**, ПЕТРОВ–СИДОРОВ; round 2: **–СИДОРОВ; round 3: ПЕТРОВ–** played.
    const struct {
        int round, board;
        const char* shown;
        bool hint;
    } games[] = {{1, 1, "+", true},  // the bye on Black: White's point
                 {1, 2, "", false},  // an ordinary unplayed game
                 {2, 1, "-", true},  // the bye on White: Black's point
                 {3, 1, "0", false}, // a stored result, whoever the opponent
                 {3, 0, "", false}}; // no game
    for (const auto& g : games) {
        c.selectRound(g.round);
        c.selectGame(g.board);
        EXPECT_EQ(c.shownEntry(), QString::fromUtf8(g.shown)) << g.round << g.board;
        EXPECT_EQ(!c.entryHint().isEmpty(), g.hint) << g.round << g.board;
    }
    // A choice holds for the selected game only; the question before a replacement.
    c.selectGame(1);
    c.chooseEntry("%");
    EXPECT_EQ(c.shownEntry(), "%");
    EXPECT_FALSE(c.replaceQuestion("0")); // the result it has
    EXPECT_EQ(c.replaceQuestion("1"), replaceResultQuestion("ПЕТРОВ П.П.", "**", "0", "1"));
    c.selectRound(2);
    c.chooseEntry("1");
    EXPECT_EQ(c.shownEntry(), "");
}

TEST(ResultEntry, ByeProposalAndReplaceQuestion) {
    EXPECT_EQ(byeProposal(false, true), "+");
    EXPECT_EQ(byeProposal(true, false), "-");
    EXPECT_EQ(byeProposal(false, false), "");
    EXPECT_EQ(byeProposalHint("+"), "Свободный тур: «+» даёт участнику очко без партии");
    EXPECT_EQ(byeProposalHint(""), "");
    const struct {
        const char* stored;
        const char* entry;
        const char* question; // "" when none
    } cases[] = {{"", "1", ""},
                 {"1", "1", ""},
                 {"00", "00", ""},
                 {"1", "%", "Партия А - %1 уже имеет результат 1-0.\nЗаменить его на %-%?"},
                 {"-", "00", "Партия А - %1 уже имеет результат --+.\nЗаменить его на ---?"},
                 {"00", "", "Удалить результат --- партии А - %1?"}};
    for (const auto& k : cases) {
        const std::optional<Message> q = replaceResultQuestion(
            "А", "%1", QString::fromUtf8(k.stored), QString::fromUtf8(k.entry));
        EXPECT_EQ(q ? q->text : QString(), QString::fromUtf8(k.question)) << k.stored << k.entry;
        EXPECT_EQ(q ? q->title : QString(), q ? "Замена результата" : "");
    }
}

// Withdrawal: enabled only for a selected participant with games left in a tournament
// not finished; then the remaining games become forfeits against the player, the
// played ones stay, and the file has them.
TEST(RoundRobinController, WithdrawalRecordsTheRemainingGamesAsForfeits) {
    Fixture f;
    test::setResult(f.tournament, 1, "ПЕТРОВ П.П.", "1");
    const auto select = [](RoundRobinController& c, const QString& name) {
        const QVector<QStringList> rows = c.standingsRows();
        for (int k = 0; k < rows.size(); ++k) {
            if (rows[k][1] == name)
                c.clickStandingsRow(k);
        }
    };
    struct Refusal {
        const char* name; // "" selects nobody
        bool finished;
    };
    for (const Refusal& r :
         {Refusal{"", false}, Refusal{"**", false}, Refusal{"ПЕТРОВ П.П.", true}}) {
        RoundRobinTournament t = f.tournament;
        if (r.finished)
            t.state.endDate = QStringLiteral("02.12.2026");
        RoundRobinController c(t, [](const RoundRobinTournament&) {
            ADD_FAILURE() << "a refused withdrawal was saved";
            return Result<>();
        });
        select(c, QString::fromUtf8(r.name));
        EXPECT_FALSE(c.withdrawEnabled()) << r.name;
        EXPECT_FALSE(c.withdrawQuestion()) << r.name;
        EXPECT_TRUE(c.withdrawSelected()) << r.name;
    }

    RoundRobinController c(f.tournament);
    select(c, "ПЕТРОВ П.П.");
    ASSERT_TRUE(c.withdrawEnabled());
    const std::optional<Message> question = c.withdrawQuestion();
    ASSERT_TRUE(question);
    EXPECT_EQ(question->title, "Выбытие участника");
    EXPECT_TRUE(question->text.startsWith("Участник ПЕТРОВ П.П. выбывает из турнира."));
    EXPECT_TRUE(question->text.contains("несыгранные партии (2)"));
    ASSERT_TRUE(c.withdrawSelected());
    EXPECT_FALSE(c.withdrawEnabled()); // nothing left to give up

    const Result<RoundRobinTournament> saved = loadRoundRobin(f.tournament.state.path);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->games, c.tournament().games);
    EXPECT_EQ(saved->state.unplayedCount, 3); // the games without ПЕТРОВ
    for (int r = 1; r <= 3; ++r) {
        for (int b = 1; b <= 2; ++b) {
            const RoundRobinGame& g = saved->game(r, b);
            const RoundRobinGame& before = f.tournament.game(r, b);
            if (before.isPlayed() || (g.white != "ПЕТРОВ П.П." && g.black != "ПЕТРОВ П.П."))
                EXPECT_EQ(g, before) << r << '/' << b;
            else
                EXPECT_EQ(g.white == "ПЕТРОВ П.П." ? g.result : g.mirrorResult, "-") << r;
        }
    }
    EXPECT_EQ(saved->game(1, 2).result, "1");
}
