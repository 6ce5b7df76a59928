#include "app/shell.h"
#include "club/club_list_window.h"
#include "club/rating_change_window.h"
#include "support/window_test_util.h"

#include <QSignalSpy>

using namespace ladya;
using namespace ladya::test;

namespace {

// Selection dialog rows are the database in index order.
const QByteArray Players =
    "ИВАНОВ И.И.|МОСКВА|КМС|2163|Кубок_(01.12.2026)|01.12.2026-05.12.2026\r\n"
    "ПЕТРОВ П.П.|ТУЛА|1|999|Новый участник|28.11.2026\r\n"
    "СИДОРОВ & <С>|ОРЁЛ|2|1000|Новый участник|29.11.2026\r\n";
const QByteArray History =
    "ИВАНОВ И.И.|МОСКВА|1|2100|Осень_(01.09.2026)|01.09.2026-03.09.2026\r\n"
    "ИВАНОВ И.И.|МОСКВА|КМС|2140|Кубок_(01.12.2026)|01.12.2026-05.12.2026\r\n";

class ClubListWindowTest : public AppTest {
protected:
    void SetUp() override {
        QDir(start.path()).mkdir("TOURNAMENT");
        writeBytes(app.historyPath(), History);
        writeBytes(clubPath(), "ПЕТРОВ П.П.|ТУЛА\r\nУШЁЛ|ТУЛА\r\n");
        startWith(Players);
    }
    QString clubPath() const { return app.filePath(FileNames::Club); }
    QByteArray report() const { return readBytes(app.filePath(FileNames::Report)); }

    std::unique_ptr<ClubListWindow> open() {
        auto window = shown(std::make_unique<ClubListWindow>(app, platform));
        window->loadList();
        return window;
    }
};

} // namespace

TEST_F(ClubListWindowTest, AddRemoveAndBothReportsAsLadyaCliWritesThem) {
    auto w = open();
    expectEveryControlNamed(w.get());
    EXPECT_EQ(w->windowTitle(), "Рейтинг лист клубных игроков");
    ui::MultiColumnList* members = list(w.get(), "clubList");
    QPushButton* remove = button(w.get(), "removeMemberButton");
    QPushButton* ratingChange = button(w.get(), "ratingChangeButton");
    EXPECT_FALSE(remove->isEnabled());
    EXPECT_FALSE(ratingChange->isEnabled());

    // Add two members from the selection dialog; the second time ИВАНОВ is a duplicate,
    // and a dialog closed without a choice adds nothing.
    for (const int row : {0, 2, 0, -1}) {
        chooseInSelectionDialog(row);
        QTest::mouseClick(button(w.get(), "addMemberButton"), Qt::LeftButton);
        EXPECT_EQ(app.state().participantCount, 0);
    }
    EXPECT_EQ(platform.messages,
              (QVector<Message>{{"Повторение", "Этот участник уже занесен в список"}}));
    EXPECT_EQ(readBytes(clubPath()),
              "ПЕТРОВ П.П.|ТУЛА\r\nУШЁЛ|ТУЛА\r\nИВАНОВ И.И.|МОСКВА\r\nСИДОРОВ & <С>|ОРЁЛ\r\n");
    EXPECT_EQ(listing(members), cliListing({"club", app.workingDir()}));
    EXPECT_EQ(members->cellText(0, 1), "ИВАНОВ И.И.");

    // The page written, the director chooses to print it.
    platform.answers = {1};
    QTest::mouseClick(button(w.get(), "clubReportButton"), Qt::LeftButton);
    EXPECT_EQ(report(), cliListing({"report", "club", app.workingDir(), "--date", "06.12.2026"}));
    ASSERT_EQ(platform.questions.size(), 1);
    ASSERT_EQ(platform.printed.size(), 1);
    EXPECT_EQ(platform.printed.at(0).header, "Клубный рейтинг-лист на 06.12.2026");
    EXPECT_EQ(platform.printed.at(0).html.toUtf8() + "\r\n", report());

    clickRow(members, 0);
    ASSERT_TRUE(ratingChange->isEnabled());
    QByteArray ratingPage;
    QVector<QStringList> ratingRows;
    whenModalOpens([&] {
        auto* changes = openWindow<RatingChangeWindow>("ratingChangeWindow");
        ASSERT_NE(changes, nullptr);
        expectEveryControlNamed(changes);
        EXPECT_EQ(changes->windowTitle(), "Изменение рейтинга: ИВАНОВ И.И., МОСКВА");
        EXPECT_FALSE(w->isEnabled());
        ratingRows = changes->rows();
        platform.answers = {0}; // and opens this one in the browser
        QTest::mouseClick(button(changes, "ratingChangeReportButton"), Qt::LeftButton);
        ratingPage = report();
        changes->close();
    });
    QTest::mouseClick(ratingChange, Qt::LeftButton);
    EXPECT_TRUE(w->isEnabled());
    EXPECT_EQ(ratingRows.size(), 3); // the rows are ClubListRows.RatingChanges...'s
    EXPECT_EQ(ratingPage,
              cliListing({"report", "rating-change", app.workingDir(), "ИВАНОВ И.И.", "МОСКВА"}));
    EXPECT_EQ(platform.questions.size(), 2);
    EXPECT_EQ(platform.openedUrls,
              QVector<QUrl>{QUrl::fromLocalFile(app.filePath(FileNames::Report))});

    // Removing asks first; "No" keeps the member.
    clickRow(members, 0);
    const QByteArray members3 = readBytes(clubPath());
    platform.confirmAnswers = {false, true};
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_EQ(platform.confirmations,
              (QVector<Message>{
                  {"Удаление из списка", "Удалить из клубного списка: ИВАНОВ И.И., МОСКВА?"}}));
    EXPECT_EQ(readBytes(clubPath()), members3);
    // Removing ИВАНОВ keeps УШЁЛ, who has no row, in the file.
    QTest::mouseClick(remove, Qt::LeftButton);
    EXPECT_EQ(readBytes(clubPath()), "ПЕТРОВ П.П.|ТУЛА\nУШЁЛ|ТУЛА\nСИДОРОВ & <С>|ОРЁЛ\n");
    EXPECT_EQ(listing(members), cliListing({"club", app.workingDir()}));
    EXPECT_EQ(members->rowCount(), 2);
    EXPECT_FALSE(remove->isEnabled());
    EXPECT_EQ(platform.messages.size(), 1);
}

TEST_F(ClubListWindowTest, KeyboardAloneSelectsShowsRatingChangesAndLeaves) {
    auto w = open();
    ui::MultiColumnList* members = list(w.get(), "clubList");
    members->setFocus();
    QTest::keyClick(members, Qt::Key_Down);
    EXPECT_TRUE(button(w.get(), "removeMemberButton")->isEnabled());
    // Enter on a member shows its rating changes; Escape leaves each window.
    bool shownAndLeft = false;
    whenModalOpens([&] {
        auto* changes = openWindow<RatingChangeWindow>("ratingChangeWindow");
        ASSERT_NE(changes, nullptr);
        QTest::keyClick(list(changes, "ratingChangeList"), Qt::Key_Escape);
        shownAndLeft = !changes->isVisible();
    });
    QTest::keyClick(members, Qt::Key_Return);
    EXPECT_TRUE(shownAndLeft);
    QSignalSpy finished(w.get(), &ClubListWindow::finished);
    QTest::keyClick(members, Qt::Key_Escape);
    EXPECT_EQ(finished.count(), 1);
    EXPECT_FALSE(w->isVisible());
}

TEST_F(ClubListWindowTest, MainMenuOpensTheListAndGetsItBackWhenItCloses) {
    QFile::remove(clubPath());
    Shell shell{app, platform};
    shell.start();
    for (int round = 0; round < 2; ++round) {
        QTest::mouseClick(shell.mainMenu()->findChild<QPushButton*>("clubButton"), Qt::LeftButton);
        ClubListWindow* club = shell.clubList();
        ASSERT_NE(club, nullptr);
        EXPECT_TRUE(club->isVisible());
        EXPECT_FALSE(shell.mainMenu()->isVisible());
        EXPECT_EQ(platform.messages.size(), round + 1);
        EXPECT_EQ(platform.messages.last().text,
                  "Не удалось открыть файл данных - players_club.dat");
        club->close();
        EXPECT_TRUE(shell.mainMenu()->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
