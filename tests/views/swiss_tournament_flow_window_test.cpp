// A whole Swiss tournament played through the windows alone, from the main menu to the
// close box: creation, four rounds paired in the pairing dialog, every result entered
// in the Swiss window and both reports. What the windows show is checked against
// ladya-cli reading the same file. Pairing by hand is driven in the pairing dialog
// tests, the completion in SwissWindowTest.
#include "app/shell.h"
#include "swiss/swiss_window_test_util.h"
#include "ui/keyboard.h"
#include "views/pair_dialog_test_util.h"
#include "views/swiss_creation_window.h"
#include "views/swiss_window.h"

#include <QSignalSpy>

using namespace ladya;
using namespace ladya::test;

using SwissTournamentFlow = test::AppTest;

TEST_F(SwissTournamentFlow, FifteenPlayersFourRoundsFromTheMenuToTheCloseBox) {
    startWith(test::swissPlayersFile());
    Shell shell(app, platform);
    shell.start();

    // Fifteen of the sixteen database players (one chosen twice and refused), five rounds
    // planned; a name no file may carry is refused and the window stays as it was.
    QTest::mouseClick(button(shell.mainMenu(), "swissButton"), Qt::LeftButton);
    SwissCreationWindow* creation = shell.swissCreation();
    ASSERT_NE(creation, nullptr);
    test::typeText(child<QLineEdit>(creation, "nameEdit"), QStringLiteral("Кубок/клуба"));
    auto add = [&](int row) {
        test::chooseInSelectionDialog(row);
        QTest::mouseClick(button(creation, "addButton"), Qt::LeftButton);
    };
    for (int row = 0; row < 14; ++row)
        add(row);
    auto* plannedRounds = child<ui::DropDown>(creation, "roundsSelector");
    plannedRounds->setCurrentIndex(plannedRounds->findText("5"));
    // Down to 13 the rounds are cleared and cannot be chosen.
    test::clickRow(list(creation, "participantList"), 2);
    QTest::mouseClick(button(creation, "removeButton"), Qt::LeftButton);
    EXPECT_EQ(plannedRounds->text(), "");
    EXPECT_FALSE(plannedRounds->isEnabled());
    for (int row : {2, 14, 0})
        add(row);
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages.first().title, "Повторный ввод участника");
    EXPECT_EQ(child<QLabel>(creation, "countLabel")->text(), "Всего участников - 15");
    EXPECT_EQ(child<QLabel>(creation, "missingLabel")->text(), "Не хватает: количества туров");
    EXPECT_FALSE(button(creation, "finishButton")->isEnabled());
    plannedRounds->setCurrentIndex(plannedRounds->findText("5"));
    EXPECT_EQ(child<QLabel>(creation, "missingLabel")->text(), "");
    QTest::mouseClick(button(creation, "finishButton"), Qt::LeftButton);
    EXPECT_EQ(platform.messages.size(), 2);
    EXPECT_TRUE(creation->isVisible());
    child<QLineEdit>(creation, "nameEdit")->setText("Кубок клуба");
    QTest::mouseClick(button(creation, "finishButton"), Qt::LeftButton);
    SwissWindow* w = shell.swissWindow();
    ASSERT_NE(w, nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(shell.swissCreation(), nullptr);
    const QString path = app.workingDir() + "/Кубок_клуба_(06.12.2026).swz";
    ASSERT_EQ(app.state().path, path);
    ASSERT_EQ(w->controller().tournament().participant(16).name, "**");
    EXPECT_TRUE(button(w, "pairingButton")->isEnabled()); // the rules hold from the opening
    platform.messages.clear();

    // Each round proposed whole by the automatic pairing and committed.
    auto pairRound = [&] {
        auto* p = test::openWindow<PairingWindow>("pairingDialog");
        ASSERT_NE(p, nullptr);
        EXPECT_FALSE(w->isVisible());
        QTest::mouseClick(button(p, "autoPairButton"), Qt::LeftButton);
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
        test::whenModalOpens(pairRound);
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

    // Both reports, the statistics of the third placed.
    const QString report = app.filePath(FileNames::Report);
    QTest::mouseClick(button(w, "reportButton"), Qt::LeftButton);
    EXPECT_EQ(test::readBytes(report), test::cliListing({"report", "crosstable", path}));
    clickRow(list(w, "standingsList"), 2);
    QTest::mouseClick(button(w, "statisticsButton"), Qt::LeftButton);
    const QString third = QString::number(w->controller().standings().participantAt(3));
    EXPECT_EQ(test::readBytes(report), test::cliListing({"report", "stats", path, third}));
    EXPECT_TRUE(platform.messages.isEmpty());

    QSignalSpy exit(&shell, &Shell::exitRequested);
    w->close();
    EXPECT_EQ(exit.count(), 1);
}
