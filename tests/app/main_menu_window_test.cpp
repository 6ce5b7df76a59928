#include "app/main_menu_window.h"
#include "app/shell.h"
#include "common/text_file.h"
#include "common/tournament_creation.h"
#include "exchange/trf.h"
#include "support/window_test_util.h"

#include <QLockFile>
#include <QSignalSpy>

using namespace ladya;

// The shell starts the program itself on this database.
class MainMenuWindowTest : public test::AppTest {
protected:
    void SetUp() override {
        QDir(start.path()).mkdir("TOURNAMENT");
        test::writeBytes(start.filePath("TOURNAMENT/players.dat"), "A|X|1|1500|t|d\r\n");
    }
    QPushButton* button(const char* name) { return test::button(shell.mainMenu(), name); }

    Shell shell{app, platform};
};

TEST_F(MainMenuWindowTest, ShowsItsControlsWithTheirTexts) {
    shell.start();
    MainMenuWindow* menu = shell.mainMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(menu->windowTitle(), "Открыть или создать турнир");
    EXPECT_EQ(button("openButton")->text(), "Открыть турнир");
    EXPECT_EQ(button("oneCycleButton")->text(), "Круговая система в 1 круг");
    EXPECT_EQ(button("twoCyclesButton")->text(), "Круговая система в 2 круга");
    EXPECT_EQ(button("swissButton")->text(), "Швейцарская система");
    EXPECT_EQ(button("clubButton")->text(), "Клубный рейтинг-лист");
    EXPECT_EQ(menu->findChild<QLabel*>("createLabel")->text(), "Создать турнир");
    EXPECT_GE(menu->width(), 320);
    EXPECT_GE(menu->height(), 260);
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(MainMenuWindowTest, CancelledOpenDialogReturnsToAVisibleMenu) {
    shell.start();
    QTest::mouseClick(button("openButton"), Qt::LeftButton);
    EXPECT_EQ(platform.fileDialogTitles, QStringList{"Открыть турнир"});
    EXPECT_EQ(platform.lastStartDir, app.workingDir());
    EXPECT_EQ(platform.lastFilter, "Файлы турниров ( kr2, swz, trf )|*.kr2;*.swz;*.trf");
    EXPECT_TRUE(shell.mainMenu()->isVisible());
    EXPECT_TRUE(platform.messages.isEmpty());
    EXPECT_EQ(app.state().path, "");
}

TEST_F(MainMenuWindowTest, UnknownExtensionIsReportedAndTheMenuComesBack) {
    shell.start();
    platform.fileAnswers = {start.filePath("TOURNAMENT/notes.txt")};
    QTest::mouseClick(button("openButton"), Qt::LeftButton);
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages.first().title, "Ошибка");
    EXPECT_TRUE(platform.messages.first().text.contains("notes.txt"));
    EXPECT_TRUE(shell.mainMenu()->isVisible());
}

TEST_F(MainMenuWindowTest, ATrfFileBecomesANewSwissTournamentNeverReplacingOne) {
    shell.start();
    const QString trf = test::dataPath("trf/example16.swz.trf");
    const QString swz = app.filePath("example16_(" + formatDate(platform.date) + ").swz");
    platform.fileAnswers = {trf};
    QTest::mouseClick(button("openButton"), Qt::LeftButton);
    EXPECT_TRUE(platform.messages.isEmpty());
    ASSERT_NE(shell.swissWindow(), nullptr);
    EXPECT_EQ(shell.swissWindow()->controller().tournament().state.path, swz);
    EXPECT_EQ(trfExport(*loadSwiss(swz)), test::readBytes(trf));

    // The same file again would replace the tournament just made: another name is asked
    // for; given up, the menu comes back.
    shell.swissWindow()->hide();
    shell.showMainMenu();
    const QByteArray before = test::readBytes(swz);
    platform.fileAnswers = {trf};
    QTest::mouseClick(button("openButton"), Qt::LeftButton);
    ASSERT_EQ(platform.textQuestions.size(), 1);
    EXPECT_TRUE(
        platform.textQuestions.first().message.text.startsWith(tournamentExistsMessage(swz).text));
    EXPECT_EQ(platform.textQuestions.first().text, "example16");
    EXPECT_TRUE(platform.messages.isEmpty());
    EXPECT_TRUE(shell.mainMenu()->isVisible());
    EXPECT_EQ(test::readBytes(swz), before);

    // Given another name, the import opens under it.
    platform.fileAnswers = {trf};
    platform.textAnswers = {QStringLiteral("Кубок")};
    QTest::mouseClick(button("openButton"), Qt::LeftButton);
    ASSERT_NE(shell.swissWindow(), nullptr);
    EXPECT_EQ(shell.swissWindow()->controller().tournament().state.path,
              app.filePath("Кубок_(" + formatDate(platform.date) + ").swz"));
    EXPECT_EQ(test::readBytes(swz), before);
}

TEST_F(MainMenuWindowTest, MissingDatabaseIsReportedOnceAtStart) {
    QFile::remove(start.filePath("TOURNAMENT/players.dat"));
    shell.start();
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages.first(), playersLoadFailedMessage());
    EXPECT_TRUE(shell.mainMenu()->isVisible());
    EXPECT_EQ(app.players().count(), 0);
}

TEST_F(MainMenuWindowTest, CloseBoxAsksTheProgramToEnd) {
    shell.start();
    QSignalSpy exit(&shell, &Shell::exitRequested);
    shell.mainMenu()->close();
    EXPECT_EQ(exit.count(), 1);
}

TEST_F(MainMenuWindowTest, CreationButtonsSetTheKind) {
    shell.start();
    // Only the menu's own part is under test here, not where the shell goes next.
    QObject::disconnect(shell.mainMenu(), &MainMenuWindow::roundRobinCreationRequested, nullptr,
                        nullptr);
    QSignalSpy rr(shell.mainMenu(), &MainMenuWindow::roundRobinCreationRequested);
    QTest::mouseClick(button("twoCyclesButton"), Qt::LeftButton);
    EXPECT_EQ(rr.count(), 1);
    EXPECT_EQ(app.state().kind, "2_kruga");
}

TEST(OpenDialog, FilterBecomesAQtNameFilter) {
    EXPECT_EQ(ui::toQtNameFilter(MainMenu::OpenDialogFilter),
              "Файлы турниров ( kr2, swz, trf ) (*.kr2 *.swz *.trf)");
}

TEST_F(MainMenuWindowTest, EnterPressesTheFocusedButton) {
    shell.start();
    QSignalSpy club(shell.mainMenu(), &MainMenuWindow::clubListRequested);
    QTest::keyClick(button("clubButton"), Qt::Key_Return);
    EXPECT_EQ(club.count(), 1);
    EXPECT_FALSE(shell.mainMenu()->isVisible());
}

// The message quotes the file's text as it stands: a "%4" in it is no placeholder.
TEST_F(MainMenuWindowTest, DamagedFileIsReportedQuotingItsTextAndTheMenuComesBack) {
    QStringList lines =
        splitLines(test::readBytes(test::dataPath("roundrobin/example_three_players.kr2")));
    lines[6 + 20 + 5] = "%4";
    const QString path = start.filePath("TOURNAMENT/Кубок_%1.kr2");
    test::writeBytes(path, joinLinesCrLf(lines));
    shell.start();
    platform.fileAnswers = {path};
    QTest::mouseClick(button("openButton"), Qt::LeftButton);
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages.first().text,
              "Не удалось открыть турнир из файла Кубок_%1.kr2\n"
              "Строка 32: неизвестный результат партии \"%4\" (тур 1, доска 2).");
    EXPECT_TRUE(shell.mainMenu()->isVisible());
}

TEST_F(MainMenuWindowTest, TournamentOpenInAnotherCopyIsNotOpenedAgain) {
    const QString path = start.filePath("TOURNAMENT/new_five.swz");
    test::writeBytes(path, test::readBytes(test::dataPath("reports/swiss/new_five.swz")));
    shell.start();
    auto other = std::make_unique<QLockFile>(path + ".lock");
    ASSERT_TRUE(other->tryLock(0));

    platform.fileAnswers = {path};
    QTest::mouseClick(button("openButton"), Qt::LeftButton);
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(
        platform.messages.first().text.startsWith("Турнир уже открыт в другой копии программы"));
    EXPECT_EQ(shell.swissWindow(), nullptr);
    EXPECT_TRUE(shell.mainMenu()->isVisible());

    // Once the other copy has closed it, this one opens it and holds it in turn.
    other.reset();
    platform.fileAnswers = {path};
    QTest::mouseClick(button("openButton"), Qt::LeftButton);
    ASSERT_NE(shell.swissWindow(), nullptr);
    QLockFile third(path + ".lock");
    EXPECT_FALSE(third.tryLock(0));
}
