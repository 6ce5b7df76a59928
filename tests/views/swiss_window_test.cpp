#include "app/application.h"
#include "app/shell.h"
#include "exchange/trf.h"
#include "players/completion_dialog.h"
#include "reports/round_robin_reports.h"
#include "reports/swiss_reports.h"
#include "support/test_support.h"
#include "support/window_test_util.h"
#include "swiss/swiss_window_test_util.h"
#include "ui/fake_platform.h"
#include "ui/keyboard.h"
#include "views/pairing_dialog.h"
#include "views/swiss_creation_window.h"
#include "views/swiss_window.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;
using test::button;
using test::child;
using test::list;
using test::statusLine;

namespace {

class SwissWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        QDir(start.path()).mkdir("TOURNAMENT");
        test::writeBytes(app.playersPath(), test::swissPlayersFile());
        ASSERT_TRUE(app.startUp().isEmpty());
    }
    void TearDown() override {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A saved tournament of the first `players` database players, created as the
    // creation window creates it, with `rounds` paired and played (the last one unplayed
    // when `lastUnplayed`): board b of round r pairs numbers b and b + N/2, colours
    // alternating, White winning.
    QString newTournament(int players, int rounds = 0, bool lastUnplayed = false) {
        SwissCreationController creation;
        for (int i = 1; i <= players; ++i) {
            const QStringList f = app.players().record(i).split(u'|');
            EXPECT_TRUE(creation.addPlayer(QStringList{"", f[0], f[1], f[2], f[3]}.join(u'\n')));
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
        auto w = std::make_unique<SwissWindow>(app, platform, std::move(*opened));
        w->show();
        return w;
    }

    static QByteArray reportBytes(const html::HtmlReport& report) {
        QTemporaryDir dir;
        EXPECT_TRUE(writeReportFile(dir.path(), report));
        return test::readBytes(dir.filePath("file.html"));
    }

    QTemporaryDir start;
    Application app{start.path()};
    test::FakePlatform platform;
};

} // namespace

TEST_F(SwissWindowTest, CreatedFromTheMenuWithAnOddFieldAndReopenedOnceARoundIsPaired) {
    Shell shell(app, platform);
    shell.start();
    QTest::mouseClick(button(shell.mainMenu(), "swissButton"), Qt::LeftButton);
    EXPECT_EQ(app.state().kind, "shweiz");
    SwissCreationWindow* creation = shell.swissCreation();
    ASSERT_NE(creation, nullptr);
    EXPECT_TRUE(creation->isVisible());
    EXPECT_FALSE(shell.mainMenu()->isVisible());
    EXPECT_EQ(creation->windowTitle(), "Создание нового турнира (швейцарская система)");
    test::expectEveryControlNamed(creation);
    test::typeText(child<QLineEdit>(creation, "nameEdit"), QStringLiteral("Кубок клуба"));
    auto* rounds = child<ui::DropDown>(creation, "roundsSelector");
    for (int row = 0; row < 14; ++row) {
        EXPECT_FALSE(rounds->isEnabled()) << row;
        EXPECT_FALSE(button(creation, "finishButton")->isEnabled());
        test::chooseInSelectionDialog(row);
        QTest::mouseClick(button(creation, "addButton"), Qt::LeftButton);
    }
    EXPECT_TRUE(rounds->isEnabled());
    EXPECT_FALSE(button(creation, "finishButton")->isEnabled());
    // The grey button says what it waits for.
    auto* missing = child<QLabel>(creation, "missingLabel");
    EXPECT_EQ(missing->text(), "Не хватает: количества туров");
    rounds->setCurrentIndex(rounds->findText("7"));
    EXPECT_TRUE(button(creation, "finishButton")->isEnabled());
    EXPECT_EQ(missing->text(), "");

    // Removing the third of 14 clears the rounds; adding it back restores the count.
    test::clickRow(list(creation, "participantList"), 2);
    QTest::mouseClick(button(creation, "removeButton"), Qt::LeftButton);
    EXPECT_EQ(list(creation, "participantList")->cellText(2, 0), "3");
    EXPECT_EQ(rounds->text(), "");
    EXPECT_FALSE(rounds->isEnabled());
    EXPECT_FALSE(button(creation, "removeButton")->isEnabled());
    for (int row : {2, 14}) {
        test::chooseInSelectionDialog(row);
        QTest::mouseClick(button(creation, "addButton"), Qt::LeftButton);
    }
    // A duplicate is refused and the count stays.
    test::chooseInSelectionDialog(0);
    QTest::mouseClick(button(creation, "addButton"), Qt::LeftButton);
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages.first().title, "Повторный ввод участника");
    EXPECT_EQ(child<QLabel>(creation, "countLabel")->text(), "Всего участников - 15");
    rounds->setCurrentIndex(rounds->findText("9"));
    // A name no file may carry is refused and the window stays as it was.
    child<QLineEdit>(creation, "nameEdit")->setText("Кубок/клуба");
    QTest::mouseClick(button(creation, "finishButton"), Qt::LeftButton);
    EXPECT_EQ(platform.messages.size(), 2);
    EXPECT_TRUE(creation->isVisible());
    child<QLineEdit>(creation, "nameEdit")->setText("Кубок клуба");
    QTest::mouseClick(button(creation, "finishButton"), Qt::LeftButton);

    SwissWindow* w = shell.swissWindow();
    ASSERT_NE(w, nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(shell.mainMenu(), nullptr);
    EXPECT_EQ(shell.swissCreation(), nullptr);
    EXPECT_TRUE(w->isVisible());
    const QString path = app.workingDir() + "/Кубок_клуба_(06.12.2026).swz";
    EXPECT_EQ(app.state().path, path);
    EXPECT_EQ(w->windowTitle(), "Турнир - Кубок_клуба_(06.12.2026)");
    test::expectEveryControlNamed(w);
    // Numbered by rating, the bye participant last.
    const SwissTournament& t = w->controller().tournament();
    ASSERT_EQ(t.participantCount(), 16);
    EXPECT_EQ(t.participant(1).name, "ИГРОК 01");
    EXPECT_EQ(t.participant(15).name, "ИГРОК 15");
    EXPECT_EQ(t.participant(16).name, "**");
    EXPECT_EQ(list(w, "gameList")->rowCount(), 8);
    EXPECT_EQ(list(w, "gameList")->cellText(7, 0), "8");
    EXPECT_EQ(list(w, "standingsList")->rowCount(), 16);
    EXPECT_EQ(child<ui::DropDown>(w, "roundSelector")->count(), 0);
    EXPECT_TRUE(statusLine(w).endsWith("    не завершённых партий 0 тура - 0"));

    // The pairing dialog closed without a commit leaves round 0; the window returns.
    test::clickRow(list(w, "gameList"), 0);
    EXPECT_TRUE(button(w, "pairingButton")->isEnabled());
    EXPECT_FALSE(button(w, "storeButton")->isEnabled());
    bool hiddenMeanwhile = false;
    test::whenModalOpens([&] {
        hiddenMeanwhile = !w->isVisible();
        auto* pairing = test::openWindow<PairingWindow>("pairingDialog");
        ASSERT_NE(pairing, nullptr);
        pairing->close();
    });
    QTest::mouseClick(button(w, "pairingButton"), Qt::LeftButton);
    EXPECT_TRUE(hiddenMeanwhile);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->controller().tournament().roundCount(), 0);

    // Round 1 paired by the command line once the window has let the file go; the file
    // opened again from a new menu.
    QSignalSpy exit(&shell, &Shell::exitRequested);
    w->close();
    EXPECT_EQ(exit.count(), 1);
    test::cliListing({"commit", path, "--pairs", "1-9,10-2,3-11,12-4,5-13,14-6,7-15,16-8"});
    shell.showMainMenu();
    platform.fileAnswers = {path};
    QTest::mouseClick(button(shell.mainMenu(), "openButton"), Qt::LeftButton);
    SwissWindow* again = shell.swissWindow();
    ASSERT_NE(again, nullptr);
    EXPECT_NE(again, w);
    EXPECT_EQ(child<ui::DropDown>(again, "roundSelector")->text(), "1");
    EXPECT_EQ(list(again, "gameList")->cellText(7, 1), "**");
    EXPECT_TRUE(statusLine(again).endsWith("не завершённых партий 1 тура - 8"));
    EXPECT_EQ(platform.messages.size(), 2);
}

TEST_F(SwissWindowTest, AnUnreadableFileIsReportedAndTheMenuComesBack) {
    Shell shell(app, platform);
    shell.start();
    platform.fileAnswers = {app.workingDir() + "/missing.swz"};
    QTest::mouseClick(button(shell.mainMenu(), "openButton"), Qt::LeftButton);
    EXPECT_EQ(shell.swissWindow(), nullptr);
    EXPECT_EQ(platform.messages.size(), 1);
    ASSERT_NE(shell.mainMenu(), nullptr);
    EXPECT_TRUE(shell.mainMenu()->isVisible());
    EXPECT_EQ(app.state().path, "");
}

TEST_F(SwissWindowTest, ResultsEnteredThroughTheWindowShowAsTheCommandLinePrintsThem) {
    const QString path = newTournament(15, 2, true);
    auto w = openOn(path);
    struct Step {
        int board;
        const char* entry;
        const char* shown;
    };
    const Step steps[] = {{1, "1", "1-0"}, {2, "0", "0-1"},  {3, "%", "%-%"}, {4, "+", "+--"},
                          {5, "-", "--+"}, {6, "00", "---"}, {7, "1", "1-0"}, {8, "+", "+--"}};
    int unplayed = 8;
    for (const Step& s : steps) {
        EXPECT_FALSE(button(w.get(), "pairingButton")->isEnabled());
        test::enterResult(w.get(), s.board, QString::fromUtf8(s.entry));
        EXPECT_EQ(list(w.get(), "gameList")->cellText(s.board - 1, 3), QString::fromUtf8(s.shown));
        EXPECT_TRUE(statusLine(w.get()).endsWith(" тура - " + QString::number(--unplayed)));
    }
    EXPECT_TRUE(platform.messages.isEmpty());
    EXPECT_TRUE(button(w.get(), "pairingButton")->isEnabled());
    EXPECT_FALSE(button(w.get(), "completeButton")->isEnabled()); // two rounds only
    // The double forfeit shows as stored when clicked again.
    test::clickRow(list(w.get(), "gameList"), 5);
    EXPECT_EQ(child<ui::DropDown>(w.get(), "resultSelector")->text(), "00");
    EXPECT_EQ(loadSwiss(path)->game(2, 6).blackResult, "-");

    EXPECT_EQ(test::listing(list(w.get(), "standingsList")), test::cliListing({"standings", path}));
    for (const QString round : {"2", "1"}) {
        child<ui::DropDown>(w.get(), "roundSelector")->setText(round);
        EXPECT_EQ(test::listing(list(w.get(), "gameList")),
                  test::cliListing({"games", path, round}));
    }
    // An earlier round takes no result; the information line stays on the last.
    test::clickRow(list(w.get(), "gameList"), 0);
    EXPECT_FALSE(button(w.get(), "storeButton")->isEnabled());
    EXPECT_EQ(child<QLabel>(w.get(), "selectedPairLabel")->text(), "Выбраны игроки:  ");
    EXPECT_TRUE(statusLine(w.get()).endsWith("не завершённых партий 2 тура - 0"));

    // Clearing a result counts the game again and stops the pairing.
    child<ui::DropDown>(w.get(), "roundSelector")->setText("2");
    test::enterResult(w.get(), 3, "");
    EXPECT_EQ(list(w.get(), "gameList")->cellText(2, 3), "");
    EXPECT_FALSE(button(w.get(), "pairingButton")->isEnabled());
    EXPECT_TRUE(statusLine(w.get()).endsWith(" тура - 1"));
}

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

TEST_F(SwissWindowTest, ReportButtonsWriteTheReportsOfTheShownStandings) {
    const QString path = newTournament(15, 2);
    auto w = openOn(path);
    const QString report = app.filePath(FileNames::Report);
    auto* stats = button(w.get(), "statisticsButton");
    EXPECT_FALSE(stats->isEnabled());
    test::clickRow(list(w.get(), "standingsList"), 2);
    const int third = w->controller().standings().participantAt(3);
    EXPECT_EQ(w->controller().statsParticipant(), third);
    EXPECT_EQ(stats->text(), "Статистика игрока - " + w->controller().tournament().nameOf(third));
    // A click below the rows selects none and keeps the participant.
    auto* standings = list(w.get(), "standingsList");
    QTest::mouseClick(standings->viewport(), Qt::LeftButton, {},
                      QPoint(20, standings->viewport()->height() - 3));
    EXPECT_EQ(standings->selectedRow(), -1);
    EXPECT_TRUE(stats->isEnabled());
    QTest::mouseClick(stats, Qt::LeftButton);
    const SwissTournament& t = w->controller().tournament();
    const SwissStandings& s = w->controller().standings();
    EXPECT_EQ(test::readBytes(report), reportBytes(swissStatisticsReport(t, s, third)));
    QTest::mouseClick(button(w.get(), "reportButton"), Qt::LeftButton);
    EXPECT_EQ(test::readBytes(report), reportBytes(swissCrosstableReport(t, s)));
    EXPECT_TRUE(platform.messages.isEmpty());
    QFile::remove(report);
    ASSERT_TRUE(QDir().mkdir(report));
    QTest::mouseClick(button(w.get(), "reportButton"), Qt::LeftButton);
    EXPECT_EQ(platform.messages.size(), 1);
    // A stored result resets the statistics button.
    test::clickRow(list(w.get(), "standingsList"), 0);
    child<ui::DropDown>(w.get(), "roundSelector")->setText("2");
    test::enterResult(w.get(), 1, "0");
    EXPECT_FALSE(stats->isEnabled());
    EXPECT_EQ(stats->text(), "Статистика");
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
    QVector<int> ratings;
    for (int n = 1; n <= 16; ++n)
        ratings << w->controller().standings().of(n).newRating;
    inDialog([&](CompletionDialog* d) { button(d, "completeButton")->click(); });
    EXPECT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(loadSwiss(path)->state.endDate, "06.12.2026");
    EXPECT_TRUE(statusLine(w.get()).contains("окончен - 06.12.2026"));
    for (const char* b : {"completeButton", "pairingButton", "storeButton"})
        EXPECT_FALSE(button(w.get(), b)->isEnabled()) << b;

    const QByteArray history = test::readBytes(app.historyPath());
    EXPECT_EQ(history.count("\r\n"), 15); // no line for the bye participant
    EXPECT_FALSE(history.contains("**"));
    EXPECT_TRUE(history.startsWith("ИГРОК 01|МОСКВА|1|2150|Кубок_клуба_(06.12.2026)|01.12.2026-"
                                   "06.12.2026\r\n"));
    EXPECT_TRUE(test::readBytes(app.playersPath())
                    .contains(("ИГРОК 02|ТУЛА|1|" + QString::number(ratings[1]) +
                               "|Кубок_клуба_(06.12.2026)|01.12.2026-06.12.2026\r\n")
                                  .toUtf8()));
    EXPECT_TRUE(test::readBytes(app.playersPath())
                    .endsWith("ИГРОК 16|ТУЛА|1|1400|Новый участник|01.11.2026\r\n"));
    EXPECT_EQ(w->completeWith("07.12.2026"), std::nullopt);
    EXPECT_EQ(test::readBytes(app.historyPath()), history);
    w->close();
    EXPECT_EQ(exit.count(), 1);
}

TEST_F(SwissWindowTest, ResultKeysInTheGameListStoreAndMoveOn) {
    const QString path = newTournament(6, 1, true);
    auto w = openOn(path);
    ui::MultiColumnList* games = list(w.get(), "gameList");
    auto* result = child<ui::DropDown>(w.get(), "resultSelector");
    test::clickRow(games, 1);
    QTest::keyClick(games, Qt::Key_Plus, Qt::KeypadModifier);
    EXPECT_EQ(games->cellText(1, 3), "+--");
    EXPECT_EQ(games->selectedRow(), 2);
    EXPECT_EQ(result->text(), "");
    EXPECT_TRUE(test::statusLine(w.get()).endsWith(" - 2"));
    EXPECT_EQ(loadSwiss(path)->game(1, 2).whiteResult, "+");
    // The selector shows the legend and stands for the bare code.
    test::clickRow(games, 1);
    EXPECT_EQ(result->currentText(), "+ — неявка чёрных");
    EXPECT_EQ(result->text(), "+");

    // A failed save: the message, the result kept, the selection where it was.
    QFile::remove(path);
    ASSERT_TRUE(QDir().mkdir(path));
    test::clickRow(games, 0);
    QTest::keyClick(games, Qt::Key_0);
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages.first(),
              swissSaveFailedMessage(path, "на месте файла находится папка"));
    EXPECT_EQ(games->cellText(0, 3), "0-1");
    EXPECT_EQ(games->selectedRow(), 0);
    EXPECT_TRUE(button(w.get(), "storeButton")->isEnabled());
    ASSERT_TRUE(QDir().rmdir(path));
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

    QTest::keyClick(games, Qt::Key_1);
    EXPECT_EQ(games->cellText(0, 3), "1-0");
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
