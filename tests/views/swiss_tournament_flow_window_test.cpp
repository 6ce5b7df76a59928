// A whole Swiss tournament played through the windows alone, from the main menu to the
// close box: creation, four rounds paired in the pairing dialog, every result entered
// in the Swiss window, both reports and the completion. What the windows show is
// checked against ladya-cli reading the same file.
#include "app/application.h"
#include "app/shell.h"
#include "players/completion_dialog.h"
#include "support/test_support.h"
#include "swiss/swiss_window_test_util.h"
#include "ui/fake_platform.h"
#include "ui/keyboard.h"
#include "views/pair_dialog_test_util.h"
#include "views/swiss_creation_window.h"
#include "views/swiss_window.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;
using test::button;
using test::child;
using test::clickRow;
using test::list;
using test::listing;

TEST(SwissTournamentFlow, FifteenPlayersFourRoundsFromTheMenuToTheCloseBox) {
    QTemporaryDir start;
    QDir(start.path()).mkdir("TOURNAMENT");
    Application app(start.path());
    test::writeBytes(app.playersPath(), test::swissPlayersFile());
    ASSERT_TRUE(app.startUp().isEmpty());
    test::FakePlatform platform;
    Shell shell(app, platform);
    shell.start();

    // Fifteen of the sixteen database players, five rounds planned.
    QTest::mouseClick(button(shell.mainMenu(), "swissButton"), Qt::LeftButton);
    SwissCreationWindow* creation = shell.swissCreation();
    ASSERT_NE(creation, nullptr);
    test::typeText(child<QLineEdit>(creation, "nameEdit"), QStringLiteral("Кубок клуба"));
    for (int row = 0; row < 15; ++row) {
        test::chooseInSelectionDialog(row);
        QTest::mouseClick(button(creation, "addButton"), Qt::LeftButton);
    }
    auto* plannedRounds = child<ui::DropDown>(creation, "roundsSelector");
    plannedRounds->setCurrentIndex(plannedRounds->findText("5"));
    QTest::mouseClick(button(creation, "finishButton"), Qt::LeftButton);
    SwissWindow* w = shell.swissWindow();
    ASSERT_NE(w, nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const QString path = app.workingDir() + "/Кубок_клуба_(06.12.2026).swz";
    ASSERT_EQ(app.state().path, path);
    ASSERT_EQ(w->controller().tournament().participant(16).name, "**");
    EXPECT_TRUE(button(w, "pairingButton")->isEnabled()); // the rules hold from the opening

    int allowanceSteps = 0, forced = 0, edited = 0, deleted = 0, byes = 0;
    bool comparedWithCli = false;

    // One pair: the first unpaired player against the best candidate, the allowance
    // raised while nobody suits and forced when even that finds nobody.
    auto makePair = [&](PairingWindow* p, bool force) {
        ui::MultiColumnList* players = list(p, "playerList");
        ui::MultiColumnList* candidates = list(p, "candidateList");
        clickRow(players, 0);
        const QString first = players->cellText(0, 0);
        if (!comparedWithCli && !p->controller().workbench().pairList().isEmpty() &&
            w->controller().tournament().roundCount() > 0) {
            comparedWithCli = true;
            const QString pairs = test::pairsArgument(*p);
            EXPECT_EQ(listing(players), test::cliListing({"unpaired", path, "--pairs", pairs}));
            EXPECT_EQ(listing(candidates),
                      test::cliListing({"candidates", path, first, "--pairs", pairs}));
        }
        while (candidates->rowCount() == 0 && button(p, "allowanceButton")->isEnabled() &&
               allowanceSteps < 50) {
            QTest::mouseClick(button(p, "allowanceButton"), Qt::LeftButton);
            ++allowanceSteps;
        }
        if (force || candidates->rowCount() == 0) {
            QTest::mouseClick(button(p, "forceButton"), Qt::LeftButton);
            ++forced;
        }
        ASSERT_GT(candidates->rowCount(), 0) << "nobody left for " << first.toStdString();
        clickRow(candidates, 0);
        byes += candidates->cellText(0, 1) == "**";
        test::whenPairDialogOpens(test::confirmAfterSwaps(0));
        QTest::mouseClick(button(p, "createButton"), Qt::LeftButton);
    };
    // Round 2 also edits a pair with swapped colours and deletes one; round 3 forces
    // its first pair.
    auto pairRound = [&](int round) {
        auto* p = test::openWindow<PairingWindow>("pairingDialog");
        ASSERT_NE(p, nullptr);
        EXPECT_FALSE(w->isVisible());
        ui::MultiColumnList* pairs = list(p, "pairList");
        for (int step = 0; list(p, "playerList")->rowCount() > 0 && step < 20 &&
                           !::testing::Test::HasFatalFailure();
             ++step) {
            makePair(p, round == 3 && step == 0);
            if (round == 2 && step == 1) {
                const QStringList firstPair = pairs->rowsModel()->rows().value(0);
                clickRow(pairs, 0);
                test::whenPairDialogOpens(test::confirmAfterSwaps(1));
                QTest::mouseClick(button(p, "editButton"), Qt::LeftButton);
                EXPECT_EQ(
                    pairs->rowsModel()->rows().value(1),
                    (QStringList{firstPair.value(5), firstPair.value(4), firstPair.value(3),
                                 firstPair.value(2), firstPair.value(1), firstPair.value(0)}));
                edited += pairs->rowCount() == 2;
                clickRow(pairs, 0);
                test::whenPairDialogOpens(
                    [](PairDialog* d) { button(d, "deleteButton")->click(); });
                QTest::mouseClick(button(p, "editButton"), Qt::LeftButton);
                deleted += pairs->rowCount() == 1;
            }
        }
        // The last search is cleared by a click in the emptied player list.
        QTest::mouseClick(list(p, "playerList")->viewport(), Qt::LeftButton);
        EXPECT_TRUE(button(p, "finishButton")->isEnabled());
        QTest::mouseClick(button(p, "finishButton"), Qt::LeftButton);
        if (p->isVisible())
            p->close(); // after a failure: end the dialog rather than wait for the time-out
    };

    // White's entry per board; the bye board is overridden with the real player's win.
    const QStringList entries[4] = {{"1", "0", "%", "+", "-", "00", "1", "0"},
                                    {"%", "1", "0", "1", "%", "0", "1", "0"},
                                    {"0", "%", "1", "1", "0", "%", "0", "1"},
                                    {"1", "1", "%", "0", "1", "0", "%", "1"}};
    for (int round = 1; round <= 4; ++round) {
        SCOPED_TRACE(round);
        const QString r = QString::number(round);
        ASSERT_TRUE(button(w, "pairingButton")->isEnabled());
        test::whenModalOpens([&] { pairRound(round); });
        QTest::mouseClick(button(w, "pairingButton"), Qt::LeftButton);
        ASSERT_TRUE(w->isVisible());
        ASSERT_EQ(w->controller().tournament().roundCount(), round);
        EXPECT_EQ(child<ui::DropDown>(w, "roundSelector")->text(), r);
        EXPECT_TRUE(test::statusLine(w).endsWith("не завершённых партий " + r + " тура - 8"));

        ui::MultiColumnList* games = list(w, "gameList");
        ASSERT_EQ(games->rowCount(), 8);
        // The result keys go to the new round's first game, not to the round chooser.
        EXPECT_EQ(w->focusWidget(), games);
        EXPECT_EQ(games->selectedRow(), 0);
        for (int board = 1; board <= 8; ++board) {
            QString entry = entries[round - 1][board - 1];
            if (games->cellText(board - 1, 1) == "**")
                entry = "-";
            else if (games->cellText(board - 1, 2) == "**")
                entry = "+";
            test::enterResult(w, board, entry);
        }
        EXPECT_TRUE(test::statusLine(w).endsWith(" тура - 0"));
        EXPECT_EQ(listing(games), test::cliListing({"games", path, r}));
        EXPECT_EQ(listing(list(w, "standingsList")), test::cliListing({"standings", path}));
    }

    EXPECT_GT(allowanceSteps, 0);
    EXPECT_GT(forced, 0);
    EXPECT_EQ(edited, 1);
    EXPECT_EQ(deleted, 1);
    EXPECT_EQ(byes, 4);
    EXPECT_TRUE(comparedWithCli);

    // Both reports, the statistics of the third placed.
    const QString report = app.filePath(FileNames::Report);
    QTest::mouseClick(button(w, "reportButton"), Qt::LeftButton);
    EXPECT_EQ(test::readBytes(report), test::cliListing({"report", "crosstable", path}));
    clickRow(list(w, "standingsList"), 2);
    QTest::mouseClick(button(w, "statisticsButton"), Qt::LeftButton);
    const QString third = QString::number(w->controller().standings().participantAt(3));
    EXPECT_EQ(test::readBytes(report), test::cliListing({"report", "stats", path, third}));

    // Completed (what completion writes into the player files is checked on its own in
    // the Swiss window tests).
    ASSERT_TRUE(button(w, "completeButton")->isEnabled());
    test::whenModalOpens([] {
        auto* d = test::openWindow<CompletionDialog>("completionDialog");
        ASSERT_NE(d, nullptr);
        button(d, "completeButton")->click();
    });
    QTest::mouseClick(button(w, "completeButton"), Qt::LeftButton);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(loadSwiss(path)->state.endDate, "06.12.2026");
    EXPECT_EQ(test::readBytes(app.historyPath()).count("\r\n"), 15);
    clickRow(list(w, "gameList"), 0);
    for (const char* b : {"storeButton", "pairingButton", "completeButton"})
        EXPECT_FALSE(button(w, b)->isEnabled()) << b;
    EXPECT_TRUE(platform.messages.isEmpty());

    QSignalSpy exit(&shell, &Shell::exitRequested);
    w->close();
    EXPECT_EQ(exit.count(), 1);
}
