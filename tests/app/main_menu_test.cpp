#include "app/application.h"
#include "app/cli.h"
#include "app/main_menu.h"
#include "support/test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;
using MainMenu::FileKind;

TEST(OpenDecision, TheLastThreeCharactersDecideExactly) {
    EXPECT_EQ(MainMenu::decideOpen("").kind, FileKind::None);
    EXPECT_EQ(MainMenu::decideOpen("/t/Кубок.kr2").kind, FileKind::RoundRobin);
    EXPECT_EQ(MainMenu::decideOpen("/t/Кубок.swz").kind, FileKind::Swiss);
    EXPECT_EQ(MainMenu::decideOpen("/t/xkr2").kind, FileKind::RoundRobin);
    EXPECT_EQ(MainMenu::decideOpen("/t/Кубок.trf").kind, FileKind::Trf);
    for (const char* unknown : {"/t/a.KR2", "/t/a.txt", "/t/a.kr", "kr"}) {
        const auto d = MainMenu::decideOpen(QString::fromUtf8(unknown));
        EXPECT_EQ(d.kind, FileKind::Unknown) << unknown;
        ASSERT_TRUE(d.message.has_value());
        EXPECT_EQ(d.message->title, "Ошибка");
    }
}

TEST(ApplicationStartUp, CreatesTheWorkingFolderAndReportsAMissingDatabaseOnce) {
    QTemporaryDir start;
    Application app(start.path());
    EXPECT_EQ(app.workingDir(), QDir(start.path()).filePath("TOURNAMENT"));
    const QVector<Message> messages = app.startUp();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages.first(), playersLoadFailedMessage());
    EXPECT_TRUE(QDir(app.workingDir()).exists());
    EXPECT_EQ(app.players().count(), 0);
    EXPECT_EQ(app.state().ratingCoefficient, 10);
}

TEST(ApplicationStartUp, LoadsTheDatabaseAndResetKeepsIt) {
    QTemporaryDir start;
    QDir(start.path()).mkdir("TOURNAMENT");
    test::writeBytes(start.filePath("TOURNAMENT/players.dat"), "A|X|1|1500|t|d\r\n");
    Application app(start.path());
    EXPECT_TRUE(app.startUp().isEmpty());
    EXPECT_EQ(app.players().count(), 1);
    app.state().kind = "1_krug";
    app.state().participantCount = 7;
    app.resetTournament();
    EXPECT_EQ(app.state().kind, "");
    EXPECT_EQ(app.state().participantCount, 0);
    EXPECT_EQ(app.players().count(), 1);
}

TEST(ApplicationStartUp, FromTheDesktopMenuWorksInTheUsersOwnFolderCreatedWhenMissing) {
    struct Case {
        const char* value;
        const char* home;
        const char* expected;
    };
    // Only the desktop entry's exact "1" moves the program; a shell start stays put.
    for (const Case& c :
         {Case{"1", "/home/u", "/home/u/Ladya"}, Case{"", "/home/u", "/work"},
          Case{"0", "/home/u", "/work"}, Case{"yes", "/home/u", "/work"}, Case{"1", "", "/work"}})
        EXPECT_EQ(startFolder(c.value, "/work", c.home), c.expected) << c.value << " " << c.home;

    QTemporaryDir home;
    Application app(startFolder("1", "/nonexistent", home.path()));
    app.startUp();
    EXPECT_EQ(app.workingDir(), QDir(home.path()).filePath("Ladya/TOURNAMENT"));
    EXPECT_TRUE(QDir(app.workingDir()).exists());
}

// Each command's help, unknown commands and the exit statuses of the real program are
// tested in cli_help_test; the wrong arguments of each command with it.
TEST(Cli, HelpVersionAndNoCommand) {
    const CliOutput help = runCli({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.out.contains("standings FILE"));
    EXPECT_EQ(runCli({"--version"}).status, 0);
    const CliOutput none = runCli({});
    EXPECT_EQ(none.status, 2);
    EXPECT_TRUE(none.out.isEmpty());
    EXPECT_FALSE(none.err.isEmpty());
}
