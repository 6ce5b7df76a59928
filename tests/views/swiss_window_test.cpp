#include "app/shell.h"
#include "exchange/trf.h"
#include "players/completion_dialog.h"
#include "support/window_test_util.h"
#include "swiss/swiss_creation.h"
#include "swiss/swiss_window_test_util.h"
#include "ui/keyboard.h"
#include "views/pairing_dialog.h"
#include "views/swiss_creation_window.h"
#include "views/swiss_window.h"

#include <QCheckBox>
#include <QFile>
#include <QSignalSpy>
#include <tuple>

using namespace ladya;
using namespace ladya::test;

namespace {

class SwissWindowTest : public test::AppTest {
protected:
    void SetUp() override { startWith(test::swissPlayersFile()); }

    // A saved tournament of the first `players` database players, created as the
    // creation window creates it, with `rounds` paired and played (the last one unplayed
    // when `lastUnplayed`): board b of round r pairs numbers b and b + N/2, colours
    // alternating, White winning.
    QString newTournament(int players, int rounds = 0, bool lastUnplayed = false) {
        SwissCreationController creation;
        for (int i = 1; i <= players; ++i) {
            const QStringList f = app.players().record(i).split(u'|');
            EXPECT_TRUE(
                creation.addParticipant(QStringList{"", f[0], f[1], f[2], f[3]}.join(u'\n')));
        }
        creation.setName(QStringLiteral("Кубок клуба"));
        creation.setStartDate(QStringLiteral("01.12.2026"));
        Result<SwissTournament> done = creation.finish(app.workingDir(), platform.date);
        EXPECT_TRUE(done.ok());
        SwissTournament t = *done;
        const int half = t.boardCount();
        for (int r = 1; r <= rounds; ++r) {
            QVector<SwissGame> round;
            for (int b = 1; b <= half; ++b) {
                const int shift = (r - 1) % half;
                const int other = half + 1 + (b - 1 + shift) % half;
                const bool played = !(lastUnplayed && r == rounds);
                const QString w = played ? QStringLiteral("1") : QString();
                const QString l = played ? QStringLiteral("0") : QString();
                round.append(r % 2 ? SwissGame{b, other, w, l} : SwissGame{other, b, w, l});
            }
            t.rounds.append(round);
        }
        t.deriveCounts();
        EXPECT_TRUE(saveSwiss(t));
        return t.state.path;
    }

    std::unique_ptr<SwissWindow> openOn(const QString& path) {
        Result<SwissWindowController> opened = openSwissWindow(path);
        EXPECT_TRUE(opened.ok());
        return shown(std::make_unique<SwissWindow>(app, platform, std::move(*opened)));
    }
};

} // namespace

TEST_F(SwissWindowTest, AFailedSaveKeepsTheResultAndTheCloseBoxWaitsForIt) {
    const QString path = newTournament(14, 1, true);
    auto w = openOn(path);
    QSignalSpy exit(w.get(), &SwissWindow::exitRequested);
    QFile::remove(path);
    ASSERT_TRUE(QDir().mkdir(path));
    test::enterResult(w.get(), 2, "%");
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages.first(),
              swissSaveFailedMessage(path, "на месте файла находится папка"));
    EXPECT_EQ(list(w.get(), "gameList")->cellText(1, 3), "%-%");
    EXPECT_TRUE(button(w.get(), "storeButton")->isEnabled()); // to save it again
    w->close();
    EXPECT_EQ(exit.count(), 0);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(platform.messages.size(), 2);

    ASSERT_TRUE(QDir().rmdir(path));
    QTest::mouseClick(button(w.get(), "storeButton"), Qt::LeftButton);
    EXPECT_EQ(platform.messages.size(), 2);
    EXPECT_EQ(loadSwiss(path)->game(1, 2).whiteResult, "%");
    w->close();
    EXPECT_EQ(exit.count(), 1);
    EXPECT_FALSE(w->isVisible());
}

// What the reports hold is compared with ladya-cli in the Swiss flow test.
TEST_F(SwissWindowTest, StatisticsButtonFollowsTheStandingsAndAFailedReportIsSaid) {
    const QString path = newTournament(15, 2);
    auto w = openOn(path);
    auto* stats = button(w.get(), "statisticsButton");
    EXPECT_FALSE(stats->isEnabled());
    test::clickRow(list(w.get(), "standingsList"), 2);
    const int third = w->controller().standings().participantAt(3);
    EXPECT_EQ(stats->text(), "Статистика игрока - " + w->controller().tournament().nameOf(third));
    // A click below the rows selects none and keeps the participant.
    auto* standings = list(w.get(), "standingsList");
    QTest::mouseClick(standings->viewport(), Qt::LeftButton, {},
                      QPoint(20, standings->viewport()->height() - 3));
    EXPECT_EQ(standings->selectedRow(), -1);
    EXPECT_TRUE(stats->isEnabled());
    const QString report = app.filePath(FileNames::Report);
    // The displayed round's pairing sheet, as ladya-cli writes it.
    QTest::mouseClick(button(w.get(), "pairingSheetButton"), Qt::LeftButton);
    EXPECT_EQ(test::readBytes(report), test::cliListing({"report", "pairings", path, "2"}));
    QFile::remove(report);
    ASSERT_TRUE(QDir().mkdir(report));
    QTest::mouseClick(button(w.get(), "reportButton"), Qt::LeftButton);
    EXPECT_EQ(platform.messages.size(), 1);
    // A stored result resets the statistics button.
    child<ui::DropDown>(w.get(), "roundSelector")->setText("2");
    test::enterResult(w.get(), 1, "0");
    EXPECT_FALSE(stats->isEnabled());
    EXPECT_EQ(stats->text(), "Статистика");
}

TEST_F(SwissWindowTest, BakuAccelerationButtonAsksAndTheProgressSaysIt) {
    std::unique_ptr<SwissWindow> w = openOn(newTournament(8));
    auto* progress = child<QLabel>(w.get(), "roundProgressLabel");
    platform.textAnswers = {QString("5")};
    QTest::mouseClick(button(w.get(), "plannedRoundsButton"), Qt::LeftButton);
    QPushButton* acceleration = button(w.get(), "accelerationButton");
    ASSERT_TRUE(acceleration->isEnabled());
    platform.confirmAnswers = {true};
    acceleration->setFocus();
    QTest::keyClick(acceleration, Qt::Key_Space);
    EXPECT_EQ(progress->text(), "Туров в турнире: 5, ускорение по Баку");
    EXPECT_TRUE(loadSwiss(w->controller().tournament().state.path)->extras.acceleration.baku);
    EXPECT_LE(w->width(), 1366);
}

TEST_F(SwissWindowTest, TieBreakListChosenByKeysRanksTheStandingsAndIsSaved) {
    const QString path = newTournament(15, 2);
    auto w = openOn(path);
    QPushButton* open = button(w.get(), "tieBreaksButton");
    button(w.get(), "mainMenuButton")->setFocus();
    QTest::keyClick(w->focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(w->focusWidget(), open);
    test::typeTieBreaksInEditor("won, bpg");
    QTest::keyClick(open, Qt::Key_Space);
    const TieBreakList chosen = *parseTieBreakList("WON,BPG");
    EXPECT_EQ(loadSwiss(path)->extras.tieBreaks, tieBreakListText(chosen));
    auto* standings = list(w.get(), "standingsList");
    EXPECT_EQ(standings->rowsModel()->titles(), columnTitles(swissStandingsColumns(chosen)));
    EXPECT_EQ(standings->rowsModel()->rows(), w->controller().standingsRows());
    EXPECT_LE(w->width(), 1366);

    // Escape leaves the list as it is; the empty list brings the program's columns back.
    test::typeTieBreaksInEditor(QString());
    QTest::keyClick(open, Qt::Key_Space);
    EXPECT_EQ(loadSwiss(path)->extras.tieBreaks, tieBreakListText(chosen));
    test::typeTieBreaksInEditor("");
    QTest::keyClick(open, Qt::Key_Space);
    EXPECT_EQ(loadSwiss(path)->extras.tieBreaks, "");
    EXPECT_EQ(standings->rowsModel()->titles(), columnTitles(swissStandingsColumns()));
}

TEST_F(SwissWindowTest, CreationOffersBakuAccelerationWithTheRounds) {
    auto creation = shown(std::make_unique<SwissCreationWindow>(app, platform));
    auto* baku = child<QCheckBox>(creation.get(), "bakuCheckBox");
    EXPECT_FALSE(baku->isEnabled());
    test::typeText(child<QLineEdit>(creation.get(), "nameEdit"), QStringLiteral("Кубок клуба"));
    for (int row = 0; row < 14; ++row) {
        test::chooseInSelectionDialog(row);
        QTest::mouseClick(button(creation.get(), "addButton"), Qt::LeftButton);
    }
    auto* rounds = child<ui::DropDown>(creation.get(), "roundsSelector");
    rounds->setCurrentIndex(rounds->findText("7"));
    ASSERT_TRUE(baku->isEnabled());
    baku->setFocus();
    QTest::keyClick(baku, Qt::Key_Space);
    QTest::mouseClick(button(creation.get(), "finishButton"), Qt::LeftButton);
    const std::optional<SwissTournament> created = creation->takeTournament();
    ASSERT_TRUE(created);
    EXPECT_TRUE(loadSwiss(created->state.path)->extras.acceleration.baku);
}

TEST_F(SwissWindowTest, TrfExportIsWrittenBesideTheTournamentAndSaysWhere) {
    const QString path = newTournament(15, 2, true);
    auto w = openOn(path);
    QTest::mouseClick(button(w.get(), "trfExportButton"), Qt::LeftButton);
    const QString trf = trfPathBeside(path, app.workingDir());
    EXPECT_TRUE(trf.endsWith(".trf"));
    EXPECT_EQ(test::readBytes(trf), trfExport(w->controller().tournament()));
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages.first().text.contains(QDir::toNativeSeparators(trf)));
}

TEST_F(SwissWindowTest, CompletionAfterTheLastRoundWritesThePlayerFilesOnce) {
    const QString path = newTournament(15, 4, true);
    auto w = openOn(path);
    for (int b = 1; b <= 8; ++b) {
        EXPECT_FALSE(button(w.get(), "completeButton")->isEnabled());
        test::enterResult(w.get(), b, b == 8 ? "+" : "%");
    }
    ASSERT_TRUE(button(w.get(), "completeButton")->isEnabled());
    const QByteArray players = test::readBytes(app.playersPath());

    // Cancelled through the close box, then a failed completion that stays repeatable.
    QSignalSpy exit(w.get(), &SwissWindow::exitRequested);
    int opened = 0;
    auto inDialog = [&](const std::function<void(CompletionDialog*)>& act) {
        test::whenModalOpens([&, act] {
            auto* dialog = test::openWindow<CompletionDialog>("completionDialog");
            ASSERT_NE(dialog, nullptr);
            ++opened;
            EXPECT_FALSE(w->isVisible());
            test::expectEveryControlNamed(dialog);
            act(dialog);
        });
        QTest::mouseClick(button(w.get(), "completeButton"), Qt::LeftButton);
        EXPECT_TRUE(w->isVisible());
    };
    inDialog([&](CompletionDialog* d) {
        w->close(); // the hidden, disabled window ignores it
        d->close();
    });
    QFile::remove(app.playersPath());
    inDialog([&](CompletionDialog* d) {
        button(d, "completeButton")->click();
        EXPECT_TRUE(d->isVisible());
        button(d, "backButton")->click();
    });
    EXPECT_EQ(opened, 2);
    EXPECT_EQ(exit.count(), 0);
    EXPECT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(loadSwiss(path)->state.endDate, "");
    EXPECT_TRUE(button(w.get(), "completeButton")->isEnabled());

    test::writeBytes(app.playersPath(), players);
    const int rating = w->controller().standings().of(2).newRating;
    inDialog([&](CompletionDialog* d) { button(d, "completeButton")->click(); });
    EXPECT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(loadSwiss(path)->state.endDate, "06.12.2026");
    EXPECT_TRUE(statusLine(w.get()).contains("окончен - 06.12.2026"));
    for (const char* b : {"completeButton", "pairingButton", "storeButton"})
        EXPECT_FALSE(button(w.get(), b)->isEnabled()) << b;

    // What completion writes is Completion's test; here the window's ratings reach it,
    // and the bye participant gets no history line.
    const QByteArray history = test::readBytes(app.historyPath());
    EXPECT_EQ(history.count("\r\n"), 15);
    EXPECT_TRUE(test::readBytes(app.playersPath())
                    .contains(("ИГРОК 02|ТУЛА|1|" + QString::number(rating) +
                               "|Кубок_клуба_(06.12.2026)|01.12.2026-06.12.2026\r\n")
                                  .toUtf8()));
    EXPECT_EQ(w->completeWith("07.12.2026"), std::nullopt);
    EXPECT_EQ(test::readBytes(app.historyPath()), history);
    w->close();
    EXPECT_EQ(exit.count(), 1);
}

TEST_F(SwissWindowTest, OpensReadyForKeysAsksBeforeReplacingAndLeadsBackToTheMenu) {
    const QString path = newTournament(15, 1, true); // board 8 gives 8 the bye
    Shell shell(app, platform);
    shell.start();
    platform.fileAnswers = {path};
    QTest::mouseClick(button(shell.mainMenu(), "openButton"), Qt::LeftButton);
    SwissWindow* w = shell.swissWindow();
    ASSERT_NE(w, nullptr);
    ui::MultiColumnList* games = list(w, "gameList");
    auto* result = child<ui::DropDown>(w, "resultSelector");
    auto* hint = child<QLabel>(w, "resultHintLabel");
    EXPECT_EQ(w->focusWidget(), games);
    EXPECT_EQ(games->selectedRow(), 0);
    EXPECT_TRUE(button(w, "storeButton")->isEnabled());

    // A key stores and moves on to the next unplayed game (the rules of the keys are
    // SwissController.ResultKeys...'s).
    QTest::keyClick(games, Qt::Key_1);
    EXPECT_EQ(games->cellText(0, 3), "1-0");
    EXPECT_EQ(games->selectedRow(), 1);
    EXPECT_EQ(result->text(), "");
    EXPECT_TRUE(statusLine(w).endsWith(" - 7"));
    test::clickRow(games, 0);
    QTest::keyClick(games, Qt::Key_Equal); // a stray key on a game with a result
    EXPECT_EQ(games->cellText(0, 3), "1-0");
    result->setText("0");
    platform.confirmAnswers = {false};
    QTest::mouseClick(button(w, "storeButton"), Qt::LeftButton);
    EXPECT_EQ(platform.confirmations.size(), 1);
    EXPECT_EQ(games->cellText(0, 3), "1-0");
    EXPECT_EQ(result->text(), "1");

    test::clickRow(games, 7);
    EXPECT_EQ(result->text(), "+");
    EXPECT_EQ(result->currentText(), "+ — неявка чёрных"); // the legend item of the bare code
    EXPECT_FALSE(hint->text().isEmpty());
    QTest::mouseClick(button(w, "storeButton"), Qt::LeftButton);
    EXPECT_EQ(games->cellText(7, 3), "+--");
    EXPECT_EQ(platform.confirmations.size(), 1);

    QTest::mouseClick(button(w, "mainMenuButton"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(shell.swissWindow(), nullptr);
    ASSERT_NE(shell.mainMenu(), nullptr);
    EXPECT_TRUE(shell.mainMenu()->isVisible());
    EXPECT_EQ(app.state().path, "");
    // The file is let go: it opens again.
    platform.fileAnswers = {path};
    QTest::mouseClick(button(shell.mainMenu(), "openButton"), Qt::LeftButton);
    EXPECT_NE(shell.swissWindow(), nullptr);
    EXPECT_TRUE(platform.messages.isEmpty());
}

// The director's actions reach the controller from the keyboard-free buttons and ask
// through the platform; the rules behind them are SwissDirector's.
TEST_F(SwissWindowTest, DirectorsActionsAskThroughThePlatformAndShowWhatTheyDid) {
    std::unique_ptr<SwissWindow> w = openOn(newTournament(14, 2, true));
    ui::MultiColumnList* games = list(w.get(), "gameList");
    auto* progress = child<QLabel>(w.get(), "roundProgressLabel");
    EXPECT_EQ(progress->text(), ""); // no planned rounds: the window as it was

    platform.textAnswers = {QString("7")};
    QTest::mouseClick(button(w.get(), "plannedRoundsButton"), Qt::LeftButton);
    EXPECT_EQ(progress->text(), "Тур 2 из 7");
    EXPECT_FALSE(button(w.get(), "accelerationButton")->isEnabled()); // round 1 is paired

    platform.confirmAnswers = {true};
    ASSERT_TRUE(button(w.get(), "undoPairingButton")->isEnabled());
    QTest::mouseClick(button(w.get(), "undoPairingButton"), Qt::LeftButton);
    EXPECT_EQ(progress->text(), "Тур 1 из 7");
    EXPECT_EQ(loadSwiss(w->controller().tournament().state.path)->roundCount(), 1);
    EXPECT_FALSE(button(w.get(), "undoPairingButton")->isEnabled()); // round 1 is played

    // Enter on a standings row: the participant's choices, then the round.
    ui::MultiColumnList* standings = list(w.get(), "standingsList");
    standings->setFocus();
    standings->selectRow(0);
    platform.answers = {1}; // "Бай ½ очка в туре…"
    platform.textAnswers = {QString("2")};
    QTest::keyClick(standings, Qt::Key_Return);
    ASSERT_EQ(platform.questions.size(), 1);
    EXPECT_TRUE(platform.questions[0].choices.endsWith("Отмена"));
    EXPECT_EQ(platform.textQuestions.last().text, "2"); // the next round proposed
    EXPECT_EQ(w->controller().tournament().extras.byes.size(), 1);

    // A late entry from the database, the missed round worth nothing.
    platform.answers = {0};
    test::chooseInSelectionDialog(15);
    QTest::mouseClick(button(w.get(), "lateEntryButton"), Qt::LeftButton);
    EXPECT_EQ(w->controller().tournament().participantCount(), 16);
    // Round 1 shows its seven games, not the spare board, and who missed it.
    ASSERT_EQ(games->model()->rowCount(), 8);
    EXPECT_EQ(games->cellText(7, 2), "поздний участник");
    EXPECT_TRUE(platform.messages.isEmpty());
}

// With the planned rounds known, the pairing dialog's last-round box only shows what
// they say (PairingDialog.TheLastRoundIsThePlannedOne has the rule).
TEST(PairingDialogLastRound, TheBoxShowsThePlannedRounds) {
    test::FakePlatform platform;
    SwissTournament t = *loadSwiss(test::dataPath("swiss/big.swz")); // round 7 is next
    for (const auto& [planned, checked, enabled] :
         {std::tuple{0, false, true}, std::tuple{7, true, false}, std::tuple{9, false, false}}) {
        t.extras.plannedRounds = planned;
        PairingWindow w(platform, t, computeSwissStandings(t));
        auto* box = child<QCheckBox>(&w, "lastRoundCheck");
        EXPECT_EQ(box->isChecked(), checked) << planned;
        EXPECT_EQ(box->isEnabled(), enabled) << planned;
        EXPECT_EQ(w.controller().lastRound(), checked) << planned;
    }
}
