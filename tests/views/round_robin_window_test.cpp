#include "app/shell.h"
#include "exchange/trf.h"
#include "players/completion_dialog.h"
#include "support/window_test_util.h"
#include "ui/keyboard.h"
#include "views/participant_statistics_window.h"
#include "views/results_table_window.h"
#include "views/round_robin_creation_window.h"
#include "views/round_robin_window.h"

#include <QFile>
#include <QSignalSpy>

using namespace ladya;
using namespace ladya::test;

namespace {

const QByteArray Players = "ИВАНОВ ИВАН|МОСКВА|КМС|2150|Новый участник|28.11.2026\r\n"
                           "ПЕТРОВ ПЁТР|ТУЛА|1|1800|Новый участник|28.11.2026\r\n"
                           "СИДОРОВ СИДОР|ОРЁЛ|2|1600|Новый участник|28.11.2026\r\n"
                           "ДАВЫДОВ ДАВИД|КАЗАНЬ|3|1500|Новый участник|02.11.2026\r\n";

// Rows 1..3 and the bye (row 4) meet by the Berger tables: round 1 1–4, 2–3;
// round 2 4–3, 1–2; round 3 2–4, 3–1. A forfeit each way, a double forfeit, a draw.
struct Step {
    int round;
    int board;
    const char* entry;
    const char* shown;
};
const Step AllResults[] = {{1, 1, "+", "+--"}, {1, 2, "1", "1-0"},  {2, 1, "-", "--+"},
                           {2, 2, "%", "%-%"}, {3, 1, "00", "---"}, {3, 2, "0", "0-1"}};

class RoundRobinWindowTest : public test::AppTest {
protected:
    void SetUp() override { startWith(Players); }

    // A tournament of the first three database players, created as the creation
    // window creates it.
    RoundRobinTournament newTournament(const QString& kind = TournamentKind::OneCycle) {
        RoundRobinCreation creation(kind, app.workingDir());
        for (int i = 1; i <= 3; ++i) {
            const QStringList f = app.players().record(i).split(u'|');
            EXPECT_TRUE(creation.addParticipant(Participant{{}, f[0], f[2], f[3], f[1]}));
        }
        creation.setName(QStringLiteral("Кубок клуба"));
        Result<RoundRobinTournament> done = creation.finish(platform.date);
        EXPECT_TRUE(done.ok());
        return *done;
    }

    static void write(QWidget* w, int round, int board, const QString& entry) {
        child<ui::DropDown>(w, "roundSelector")->setCurrentIndex(round - 1);
        test::clickRow(list(w, "gameList"), board - 1);
        child<ui::DropDown>(w, "resultSelector")
            ->setCurrentIndex(
                static_cast<int>(RoundRobinController::resultEntries().indexOf(entry)));
        QTest::mouseClick(button(w, "writeButton"), Qt::LeftButton);
    }
    static void playAll(QWidget* w) {
        for (const Step& s : AllResults)
            write(w, s.round, s.board, QString::fromUtf8(s.entry));
    }
    static QString status(QWidget* w) { return child<QLabel>(w, "statusLabel")->text(); }
};

} // namespace

TEST_F(RoundRobinWindowTest, CreatedFromTheMenuPlayedToTheEndAndReopened) {
    Shell shell(app, platform);
    shell.start();
    QTest::mouseClick(button(shell.mainMenu(), "oneCycleButton"), Qt::LeftButton);
    RoundRobinCreationWindow* creation = shell.roundRobinCreation();
    ASSERT_NE(creation, nullptr);
    EXPECT_TRUE(creation->isVisible());
    EXPECT_FALSE(shell.mainMenu()->isVisible());
    test::typeText(child<QLineEdit>(creation, "nameEdit"), QStringLiteral("Кубок клуба"));
    for (int row : {0, 1, 2}) {
        test::chooseInSelectionDialog(row);
        QTest::mouseClick(button(creation, "addButton"), Qt::LeftButton);
    }
    QTest::mouseClick(button(creation, "finishButton"), Qt::LeftButton);

    RoundRobinWindow* w = shell.roundRobinWindow();
    ASSERT_NE(w, nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(shell.mainMenu(), nullptr);
    EXPECT_EQ(shell.roundRobinCreation(), nullptr);
    EXPECT_TRUE(w->isVisible());
    const QString path = app.workingDir() + "/Кубок_клуба_(06.12.2026).kr2";
    EXPECT_TRUE(QFile::exists(path));
    EXPECT_EQ(w->windowTitle(), "Турнир в 1 круг - Кубок_клуба_(06.12.2026)");
    EXPECT_EQ(child<ui::DropDown>(w, "roundSelector")->count(), 3);
    EXPECT_EQ(list(w, "gameList")->rowCount(), 2);
    EXPECT_EQ(list(w, "standingsList")->rowCount(), 4);
    EXPECT_EQ(list(w, "standingsList")->cellText(3, 1), "**");
    EXPECT_EQ(status(w),
              "Турнир начат - 06.12.2026  окончен -     осталось несыгранных партий - 6");
    EXPECT_TRUE(button(w, "writeButton")->isEnabled()); // the first game is selected
    EXPECT_FALSE(button(w, "finishButton")->isEnabled());

    int unplayed = 6;
    for (const Step& s : AllResults) {
        write(w, s.round, s.board, QString::fromUtf8(s.entry));
        --unplayed;
        EXPECT_EQ(list(w, "gameList")->cellText(s.board - 1, 3), QString::fromUtf8(s.shown));
        EXPECT_TRUE(status(w).endsWith(" - " + QString::number(unplayed)));
        // Writing clears the selection: "Записать" waits for the next game.
        EXPECT_FALSE(button(w, "writeButton")->isEnabled());
    }
    EXPECT_TRUE(button(w, "finishButton")->isEnabled());
    EXPECT_TRUE(platform.messages.isEmpty());

    // ИВАНОВ: forfeit win, draw, win with Black; ПЕТРОВ: win, draw, double forfeit.
    EXPECT_EQ(list(w, "standingsList")->rowsModel()->rows().at(0),
              (QStringList{"1", "ИВАНОВ ИВАН", "КМС", "2150", "2.5", "1.75"}));
    EXPECT_EQ(list(w, "standingsList")->cellText(1, 4), "1.5");
    // Selecting the double forfeit shows it as stored.
    child<ui::DropDown>(w, "roundSelector")->setCurrentIndex(2);
    test::clickRow(list(w, "gameList"), 0);
    EXPECT_EQ(child<ui::DropDown>(w, "resultSelector")->text(), "00");
    EXPECT_EQ(child<QLabel>(w, "selectedPlayersLabel")->text(), "Выбраны игроки:  ПЕТРОВ ПЁТР-**");
    EXPECT_TRUE(button(w, "writeButton")->isEnabled());

    // The lists show what ladya-cli prints for the file.
    EXPECT_EQ(test::listing(list(w, "standingsList")), test::cliListing({"standings", path}));
    for (int r = 1; r <= 3; ++r) {
        child<ui::DropDown>(w, "roundSelector")->setCurrentIndex(r - 1);
        EXPECT_EQ(test::listing(list(w, "gameList")),
                  test::cliListing({"games", path, QString::number(r)}))
            << r;
    }
    const QByteArray standings = test::listing(list(w, "standingsList"));
    const QString statusLine = status(w);

    // Back to a fresh main menu; the database stays.
    QTest::mouseClick(button(w, "mainMenuButton"), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(shell.roundRobinWindow(), nullptr);
    ASSERT_NE(shell.mainMenu(), nullptr);
    EXPECT_TRUE(shell.mainMenu()->isVisible());
    EXPECT_EQ(app.state().path, "");
    EXPECT_EQ(app.state().participantCount, 0);
    EXPECT_EQ(app.players().count(), 4);

    // Opening the file finds the same state.
    platform.fileAnswers = {path};
    QTest::mouseClick(button(shell.mainMenu(), "openButton"), Qt::LeftButton);
    RoundRobinWindow* again = shell.roundRobinWindow();
    ASSERT_NE(again, nullptr);
    EXPECT_TRUE(again->isVisible());
    EXPECT_EQ(test::listing(list(again, "standingsList")), standings);
    EXPECT_EQ(status(again), statusLine);
    EXPECT_TRUE(button(again, "finishButton")->isEnabled());
    EXPECT_EQ(app.state().path, path);
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(RoundRobinWindowTest, TieBreakListChosenByKeysRanksTheStandingsAndIsSaved) {
    const RoundRobinTournament t = newTournament();
    auto w = shown(std::make_unique<RoundRobinWindow>(app, platform, t));
    playAll(w.get());
    QPushButton* open = button(w.get(), "tieBreaksButton");
    button(w.get(), "mainMenuButton")->setFocus();
    QTest::keyClick(w->focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(w->focusWidget(), open);
    test::typeTieBreaksInEditor("won");
    QTest::keyClick(open, Qt::Key_Space);
    const TieBreakList chosen = *parseTieBreakList("WON");
    EXPECT_EQ(loadRoundRobin(t.state.path)->tieBreaks, tieBreakListText(chosen));
    auto* standings = list(w.get(), "standingsList");
    EXPECT_EQ(standings->rowsModel()->titles(), columnTitles(standingsColumns(chosen)));
    EXPECT_EQ(standings->rowsModel()->rows(), w->controller().standingsRows());
    EXPECT_LE(w->width(), 1366);
}

TEST_F(RoundRobinWindowTest, CloseBoxWithUnplayedGamesSavesAndEndsTheProgram) {
    RoundRobinWindow w(app, platform, newTournament());
    w.show();
    const QString path = w.controller().tournament().state.path;
    write(&w, 1, 2, "%");
    // While the file cannot be written the window stays, and says so.
    QFile::remove(path);
    ASSERT_TRUE(QDir().mkdir(path));
    write(&w, 2, 2, "1");
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages.first(),
              roundRobinSaveFailedMessage(path, "на месте файла находится папка"));
    EXPECT_EQ(list(&w, "gameList")->cellText(1, 3), "1-0"); // kept in memory
    QSignalSpy exit(&w, &RoundRobinWindow::exitRequested);
    w.close();
    EXPECT_EQ(exit.count(), 0);
    EXPECT_TRUE(w.isVisible());
    ASSERT_EQ(platform.messages.size(), 2);
    EXPECT_EQ(platform.messages.last(),
              roundRobinSaveFailedMessage(path, "на месте файла находится папка"));
    ASSERT_TRUE(QDir().rmdir(path));
    w.close();
    EXPECT_EQ(exit.count(), 1);
    EXPECT_FALSE(w.isVisible());
    // Nothing written while the file was out of reach is lost.
    EXPECT_EQ(loadRoundRobin(path)->game(1, 2).result, "%");
    EXPECT_EQ(loadRoundRobin(path)->game(2, 2).result, "1");
}

// When all is played the close box opens the completion, as "Завершить турнир" does. A
// failed completion keeps the dialog for another try and the window unfinished; the
// one that succeeds writes the player files once and ends result entry.
TEST_F(RoundRobinWindowTest, CompletionFromTheCloseBoxOrTheButtonWritesThePlayerFilesOnce) {
    RoundRobinWindow w(app, platform, newTournament());
    w.show();
    playAll(&w);
    const QString path = w.controller().tournament().state.path;
    const QByteArray players = test::readBytes(app.playersPath());
    QFile::remove(app.playersPath());
    QSignalSpy exit(&w, &RoundRobinWindow::exitRequested);
    bool opened = false;
    test::whenModalOpens([&] {
        auto* dialog = test::openWindow<CompletionDialog>("completionDialog");
        ASSERT_NE(dialog, nullptr);
        opened = true;
        EXPECT_FALSE(w.isEnabled());
        w.close(); // the disabled window ignores its close box meanwhile
        button(dialog, "completeButton")->click();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(platform.messages.size(), 1);
        button(dialog, "backButton")->click();
    });
    w.close();
    EXPECT_TRUE(opened);
    EXPECT_EQ(exit.count(), 0);
    EXPECT_TRUE(w.isVisible());
    EXPECT_TRUE(w.isEnabled());
    EXPECT_TRUE(button(&w, "finishButton")->isEnabled());
    EXPECT_EQ(loadRoundRobin(path)->state.endDate, "");
    EXPECT_FALSE(QFile::exists(app.historyPath()));

    test::writeBytes(app.playersPath(), players);
    const int newRating = w.controller().results().ratings[2].newRating;
    test::whenModalOpens([&] {
        auto* dialog = test::openWindow<CompletionDialog>("completionDialog");
        ASSERT_NE(dialog, nullptr);
        button(dialog, "completeButton")->click();
    });
    QTest::mouseClick(button(&w, "finishButton"), Qt::LeftButton);
    EXPECT_EQ(platform.messages.size(), 1);
    EXPECT_FALSE(button(&w, "finishButton")->isEnabled());
    EXPECT_TRUE(status(&w).contains("окончен - 06.12.2026"));
    EXPECT_EQ(loadRoundRobin(path)->state.endDate, "06.12.2026");
    // What completion writes is Completion's test; here the window's ratings reach it.
    const QByteArray history = test::readBytes(app.historyPath());
    EXPECT_EQ(history.count("\r\n"), 4);
    EXPECT_TRUE(test::readBytes(app.playersPath())
                    .contains(("СИДОРОВ СИДОР|ОРЁЛ|2|" + QString::number(newRating) +
                               "|Кубок_клуба_(06.12.2026)|06.12.2026-06.12.2026")
                                  .toUtf8()));

    // No result and no second completion afterwards; the close box ends the program.
    test::clickRow(list(&w, "gameList"), 0);
    EXPECT_FALSE(button(&w, "writeButton")->isEnabled());
    EXPECT_EQ(w.completeWith("07.12.2026"), std::nullopt);
    EXPECT_EQ(test::readBytes(app.historyPath()), history);
    w.close();
    EXPECT_EQ(exit.count(), 1);
}

TEST_F(RoundRobinWindowTest, ResultsTableAndStatisticsShowTheCoreRowsAndWriteTheirReports) {
    RoundRobinWindow w(app, platform, newTournament());
    w.show();
    playAll(&w);
    const QString path = w.controller().tournament().state.path;
    const QString report = app.filePath(FileNames::Report);

    bool opened = false;
    test::whenModalOpens([&] {
        auto* table = test::openWindow<ResultsTableWindow>("resultsTableWindow");
        ASSERT_NE(table, nullptr);
        opened = true;
        EXPECT_FALSE(w.isEnabled());
        EXPECT_EQ(table->windowTitle(), "Таблица результатов участников");
        test::expectEveryControlNamed(table);
        EXPECT_EQ(test::listing(list(table, "resultsTableList")),
                  test::cliListing({"table", path}));
        EXPECT_EQ(list(table, "resultsTableList")->columnWidth(4), 30);
        EXPECT_EQ(button(table, "crosstableReportButton")->text(), "Сохранить в файл (file.html)");
        QTest::mouseClick(button(table, "crosstableReportButton"), Qt::LeftButton);
        EXPECT_EQ(test::readBytes(report), test::cliListing({"report", "crosstable", path}));
        table->close();
    });
    QTest::mouseClick(button(&w, "tableButton"), Qt::LeftButton);
    EXPECT_TRUE(opened);
    EXPECT_TRUE(w.isEnabled());
    QFile::remove(report);

    opened = false;
    test::whenModalOpens([&] {
        auto* stats = test::openWindow<ParticipantStatisticsWindow>("participantStatisticsWindow");
        ASSERT_NE(stats, nullptr);
        opened = true;
        EXPECT_FALSE(w.isEnabled());
        EXPECT_EQ(stats->windowTitle(), "Статистика результатов участников");
        test::expectEveryControlNamed(stats);
        EXPECT_EQ(list(stats, "participantList")->rowCount(), 4);
        EXPECT_FALSE(button(stats, "statisticsReportButton")->isEnabled());
        for (int row : {0, 3}) {
            test::clickRow(list(stats, "participantList"), row);
            EXPECT_EQ(test::listing(list(stats, "participantGameList")),
                      test::cliListing({"player-games", path, QString::number(row + 1)}));
        }
        EXPECT_TRUE(button(stats, "statisticsReportButton")->isEnabled());
        QTest::mouseClick(button(stats, "statisticsReportButton"), Qt::LeftButton);
        EXPECT_EQ(test::readBytes(report), test::cliListing({"report", "stats", path, "4"}));
        stats->close();
    });
    QTest::mouseClick(button(&w, "statisticsButton"), Qt::LeftButton);
    EXPECT_TRUE(opened);
    EXPECT_TRUE(w.isEnabled());
    QFile::remove(report);

    QTest::mouseClick(button(&w, "scheduleReportButton"), Qt::LeftButton);
    EXPECT_EQ(test::readBytes(report), test::cliListing({"report", "schedule", path}));
    child<ui::DropDown>(&w, "roundSelector")->setCurrentIndex(1);
    QTest::mouseClick(button(&w, "pairingSheetButton"), Qt::LeftButton);
    EXPECT_EQ(test::readBytes(report), test::cliListing({"report", "pairings", path, "2"}));
    EXPECT_TRUE(platform.messages.isEmpty());
    // A report that cannot be written says so.
    QFile::remove(report);
    ASSERT_TRUE(QDir().mkdir(report));
    QTest::mouseClick(button(&w, "scheduleReportButton"), Qt::LeftButton);
    EXPECT_EQ(platform.messages.size(), 1);
}

// The withdrawal button acts on the standings' selection and asks first: "no" leaves
// the file alone, "yes" writes the forfeits.
TEST_F(RoundRobinWindowTest, WithdrawalAsksAndWritesTheForfeits) {
    RoundRobinWindow w(app, platform, newTournament());
    w.show();
    const QString path = w.controller().tournament().state.path;
    const QByteArray before = test::readBytes(path);
    auto* withdraw = button(&w, "withdrawButton");
    EXPECT_FALSE(withdraw->isEnabled());
    test::clickRow(list(&w, "standingsList"), 0);
    ASSERT_TRUE(withdraw->isEnabled());
    platform.confirmAnswers = {false};
    QTest::mouseClick(withdraw, Qt::LeftButton);
    EXPECT_EQ(test::readBytes(path), before);
    QTest::mouseClick(withdraw, Qt::LeftButton);
    ASSERT_EQ(platform.confirmations.size(), 2);
    EXPECT_EQ(platform.confirmations.first().title, "Выбытие участника");
    EXPECT_EQ(w.controller().tournament().state.unplayedCount, 3);
    EXPECT_EQ(test::readBytes(path), roundRobinFileBytes(w.controller().tournament()));
}

TEST_F(RoundRobinWindowTest, TrfExportIsWrittenBesideTheTournamentAndSaysWhere) {
    const RoundRobinTournament t = newTournament();
    RoundRobinWindow w(app, platform, t);
    w.show();
    QTest::mouseClick(button(&w, "trfExportButton"), Qt::LeftButton);
    const QString trf = app.filePath("Кубок_клуба_(06.12.2026).trf");
    EXPECT_EQ(test::readBytes(trf), trfExport(t));
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.messages.first().text.contains(QDir::toNativeSeparators(trf)));
}

// The columns are the controller's (the listings are compared with ladya-cli in the
// flow above); here the window's own texts.
TEST_F(RoundRobinWindowTest, ControlsAreNamedAndCarryTheirTexts) {
    RoundRobinWindow w(app, platform, newTournament(TournamentKind::TwoCycles));
    w.show();
    EXPECT_EQ(list(&w, "gameList")->columnWidth(3), 100);
    EXPECT_GE(list(&w, "gameList")->columnWidth(1), 140);
    EXPECT_GE(w.width(), 1010);
    EXPECT_GE(w.height(), 730);
    const char* texts[][2] = {{"writeButton", "Записать"},
                              {"scheduleReportButton", "Сохранить расписание в файл file.html"},
                              {"finishButton", "Завершить турнир"},
                              {"tableButton", "Таблица"},
                              {"statisticsButton", "Статистика"},
                              {"mainMenuButton", "Главное меню"},
                              {"trfExportButton", "Экспорт TRF"}};
    for (const auto& t : texts)
        EXPECT_EQ(button(&w, t[0])->text(), QString::fromUtf8(t[1]));
    EXPECT_EQ(child<QLabel>(&w, "roundLabel")->text(), "Список партий тура №");
    EXPECT_EQ(child<QLabel>(&w, "resultLabel")->text(), "Результат белых -");
    test::expectEveryControlNamed(&w);
}

TEST_F(RoundRobinWindowTest, OpensReadyForKeysAndAsksBeforeReplacingAResult) {
    RoundRobinWindow w(app, platform, newTournament());
    w.show();
    ui::MultiColumnList* games = list(&w, "gameList");
    auto* result = child<ui::DropDown>(&w, "resultSelector");
    auto* hint = child<QLabel>(&w, "resultHintLabel");
    // Round 1 opens on ИВАНОВ–**, the bye's point proposed.
    EXPECT_EQ(w.focusWidget(), games);
    EXPECT_EQ(games->selectedRow(), 0);
    EXPECT_EQ(result->text(), "+");
    EXPECT_EQ(result->currentText(), "+ — неявка чёрных"); // the legend item of the bare code
    EXPECT_FALSE(hint->text().isEmpty());

    QTest::keyClick(games, Qt::Key_Plus);
    EXPECT_EQ(games->cellText(0, 3), "+--");
    EXPECT_EQ(games->selectedRow(), 1);
    EXPECT_EQ(result->text(), "");
    EXPECT_TRUE(hint->text().isEmpty());
    QTest::keyClick(games, Qt::Key_0);
    QTest::keyClick(games, Qt::Key_Equal); // a stray key on a game with a result
    EXPECT_EQ(games->cellText(1, 3), "0-1");

    result->setText("%");
    platform.confirmAnswers = {false};
    QTest::mouseClick(button(&w, "writeButton"), Qt::LeftButton);
    ASSERT_EQ(platform.confirmations.size(), 1);
    EXPECT_EQ(games->cellText(1, 3), "0-1");
    EXPECT_EQ(result->text(), "0");
    // Another round shows no stale entry.
    child<ui::DropDown>(&w, "roundSelector")->setCurrentIndex(1);
    EXPECT_EQ(result->text(), "");
}
