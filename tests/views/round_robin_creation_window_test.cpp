#include "app/application.h"
#include "app/shell.h"
#include "common/tournament_creation.h"
#include "support/test_support.h"
#include "support/window_test_util.h"
#include "ui/fake_platform.h"
#include "ui/keyboard.h"
#include "views/round_robin_creation_window.h"
#include "views/swiss_creation_window.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;
using test::button;
using test::child;
using test::list;

namespace {

const QByteArray Players = "ИВАНОВ ИВАН|МОСКВА|КМС|2150|Новый участник|28.11.2026\r\n"
                           "ПЕТРОВ ПЁТР|ТУЛА|1|1800|Новый участник|28.11.2026\r\n"
                           "СИДОРОВ СИДОР|ОРЁЛ|2|1600|Новый участник|28.11.2026\r\n"
                           "ИВАНОВ ИВАН|КАЗАНЬ|3|1500|Новый участник|02.11.2026\r\n";

class RoundRobinCreationWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        QDir(start.path()).mkdir("TOURNAMENT");
        test::writeBytes(app.playersPath(), Players);
        ASSERT_TRUE(app.startUp().isEmpty());
    }
    void TearDown() override {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    std::unique_ptr<RoundRobinCreationWindow> open(const QString& kind = TournamentKind::OneCycle) {
        app.state().kind = kind;
        auto w = std::make_unique<RoundRobinCreationWindow>(app, platform);
        w->show();
        return w;
    }
    static void add(QWidget* w, int databaseRow) {
        test::chooseInSelectionDialog(databaseRow);
        QTest::mouseClick(button(w, "addButton"), Qt::LeftButton);
    }
    static QString label(QWidget* w, const char* name) { return child<QLabel>(w, name)->text(); }
    static QStringList shown(QWidget* w) {
        QStringList out;
        for (const QStringList& row : list(w, "participantList")->rowsModel()->rows())
            out.append(row.join(u'|'));
        return out;
    }

    QTemporaryDir start;
    Application app{start.path()};
    test::FakePlatform platform;
};

} // namespace

TEST_F(RoundRobinCreationWindowTest, OpensEmptyWithItsTextsAndNothingToRemoveOrFinish) {
    auto w = open();
    EXPECT_EQ(w->windowTitle(), "Создание нового турнира (круговая система)");
    EXPECT_GE(w->width(), 560);
    EXPECT_GE(w->height(), 700);
    EXPECT_EQ(label(w.get(), "nameLabel"), "Название турнира");
    EXPECT_EQ(label(w.get(), "dateLabel"), "Дата");
    EXPECT_EQ(child<ui::DatePicker>(w.get(), "startDatePicker")->dateText(), "06.12.2026");
    EXPECT_EQ(label(w.get(), "cycleLabel"), "Круговая система в 1 круг");
    EXPECT_EQ(label(w.get(), "coefficientLabel"), "Коэффициент турнира - ");
    EXPECT_EQ(label(w.get(), "averageRatingLabel"), "Средний ЭЛО турнира - ");
    EXPECT_EQ(label(w.get(), "participantsLabel"), "Всего участников - 0");
    EXPECT_EQ(label(w.get(), "roundsLabel"), "Всего туров - ");
    EXPECT_EQ(label(w.get(), "gamesLabel"), "Всего партий - ");
    EXPECT_EQ(button(w.get(), "addButton")->text(), "Добавить участника");
    EXPECT_EQ(button(w.get(), "removeButton")->text(), "Удалить участника");
    EXPECT_EQ(button(w.get(), "finishButton")->text(), "Завершить");
    EXPECT_TRUE(button(w.get(), "addButton")->isEnabled());
    EXPECT_FALSE(button(w.get(), "removeButton")->isEnabled());
    EXPECT_FALSE(button(w.get(), "finishButton")->isEnabled());
    const QStringList titles = {"№", "Ф.И.О участника", "Страна/Город", "Разряд", "Рейтинг"};
    const int widths[] = {30, 190, 150, 70, 70};
    ui::MultiColumnList* l = list(w.get(), "participantList");
    for (int c = 0; c < titles.size(); ++c) {
        EXPECT_EQ(l->cellText(-1, c), titles[c]);
        EXPECT_GE(l->columnWidth(c), widths[c]) << c;
    }
    // Every column shows side by side.
    int allColumns = 0;
    for (int c = 0; c < titles.size(); ++c)
        allColumns += l->columnWidth(c);
    EXPECT_GE(l->viewport()->width(), allColumns);
    test::expectEveryControlNamed(w.get());
}

TEST_F(RoundRobinCreationWindowTest, FinishNeedsThreeRowsAndAName) {
    auto w = open();
    add(w.get(), 0);
    add(w.get(), 1);
    test::typeText(child<QLineEdit>(w.get(), "nameEdit"), QStringLiteral("Кубок"));
    EXPECT_FALSE(button(w.get(), "finishButton")->isEnabled());
    add(w.get(), 2);
    EXPECT_TRUE(button(w.get(), "finishButton")->isEnabled());
    EXPECT_EQ(label(w.get(), "participantsLabel"), "Всего участников - 3");
    EXPECT_EQ(label(w.get(), "roundsLabel"), "Всего туров - 3");
    EXPECT_EQ(label(w.get(), "gamesLabel"), "Всего партий - 6");
    EXPECT_EQ(label(w.get(), "coefficientLabel"), "Коэффициент турнира - 1.00");
    EXPECT_EQ(label(w.get(), "averageRatingLabel"), "Средний ЭЛО турнира - 1850");
    child<QLineEdit>(w.get(), "nameEdit")->clear();
    EXPECT_FALSE(button(w.get(), "finishButton")->isEnabled());
    EXPECT_TRUE(platform.messages.isEmpty());
}

TEST_F(RoundRobinCreationWindowTest, RefusedAndCancelledChoicesLeaveTheListAndCount) {
    auto w = open();
    add(w.get(), 0);
    add(w.get(), 0); // the same player again
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0].title, "Повторный ввод участника");
    EXPECT_EQ(platform.messages[0].text, "Этот участник уже занесен в список турнира");
    add(w.get(), 3); // the same name from another city
    ASSERT_EQ(platform.messages.size(), 2);
    EXPECT_EQ(platform.messages[1].title, "Повторный ввод участника");
    add(w.get(), -1); // the dialog closed without a choice
    EXPECT_EQ(shown(w.get()), QStringList{"1|ИВАНОВ ИВАН|МОСКВА|КМС|2150"});
    EXPECT_EQ(app.state().participantCount, 1);
    EXPECT_EQ(label(w.get(), "participantsLabel"), "Всего участников - 1");
    EXPECT_TRUE(w->isEnabled());
}

TEST_F(RoundRobinCreationWindowTest, RemovingTheSelectedRowRenumbers) {
    auto w = open(TournamentKind::TwoCycles);
    for (int row : {0, 1, 2})
        add(w.get(), row);
    EXPECT_EQ(label(w.get(), "cycleLabel"), "Круговая система в 2 круга");
    EXPECT_EQ(label(w.get(), "roundsLabel"), "Всего туров - 6");
    EXPECT_EQ(label(w.get(), "gamesLabel"), "Всего партий - 12");
    EXPECT_FALSE(button(w.get(), "removeButton")->isEnabled());
    test::clickRow(list(w.get(), "participantList"), 0);
    EXPECT_TRUE(button(w.get(), "removeButton")->isEnabled());
    QTest::mouseClick(button(w.get(), "removeButton"), Qt::LeftButton);
    EXPECT_EQ(shown(w.get()),
              (QStringList{"1|ПЕТРОВ ПЁТР|ТУЛА|1|1800", "2|СИДОРОВ СИДОР|ОРЁЛ|2|1600"}));
    EXPECT_FALSE(button(w.get(), "removeButton")->isEnabled());
    EXPECT_EQ(app.state().participantCount, 2);
    EXPECT_EQ(label(w.get(), "participantsLabel"), "Всего участников - 2");
    EXPECT_EQ(label(w.get(), "roundsLabel"), "Всего туров - 2");
    EXPECT_EQ(label(w.get(), "averageRatingLabel"), "Средний ЭЛО турнира - 1700");
    // The next player is numbered after the rows left.
    add(w.get(), 0);
    EXPECT_EQ(shown(w.get()).last(), "3|ИВАНОВ ИВАН|МОСКВА|КМС|2150");
}

TEST_F(RoundRobinCreationWindowTest, AFailedSaveKeepsTheWindowAndItsList) {
    auto w = open();
    for (int row : {0, 1, 2})
        add(w.get(), row);
    QSignalSpy created(w.get(), &RoundRobinCreationWindow::created);
    test::typeText(child<QLineEdit>(w.get(), "nameEdit"), QStringLiteral("Кубок/клуба"));
    QTest::mouseClick(button(w.get(), "finishButton"), Qt::LeftButton);
    EXPECT_EQ(created.count(), 0);
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0], fileNameCheck(QStringLiteral("Кубок/клуба")));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(shown(w.get()).size(), 3);
    EXPECT_EQ(app.state().participantCount, 3);

    child<QLineEdit>(w.get(), "nameEdit")->clear();
    test::typeText(child<QLineEdit>(w.get(), "nameEdit"), QStringLiteral("Кубок клуба"));
    child<ui::DatePicker>(w.get(), "startDatePicker")->setDate(QDate(2026, 12, 1));
    QTest::mouseClick(button(w.get(), "finishButton"), Qt::LeftButton);
    EXPECT_EQ(created.count(), 1);
    EXPECT_FALSE(w->isVisible());
    std::optional<RoundRobinTournament> t = w->takeTournament();
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(t->participantCount(), 4);
    EXPECT_EQ(t->participant(4).name, "**");
    EXPECT_EQ(t->state.startDate, "01.12.2026");
    EXPECT_TRUE(t->state.path.endsWith("/Кубок_клуба_(06.12.2026).kr2"));
    EXPECT_EQ(*t, *loadRoundRobin(t->state.path));
}

TEST_F(RoundRobinCreationWindowTest, ClosingReturnsToTheMenuForAnotherCreation) {
    Shell shell(app, platform);
    shell.start();
    QTest::mouseClick(button(shell.mainMenu(), "twoCyclesButton"), Qt::LeftButton);
    RoundRobinCreationWindow* first = shell.roundRobinCreation();
    ASSERT_NE(first, nullptr);
    add(first, 0);
    first->close();
    EXPECT_FALSE(first->isVisible());
    ASSERT_NE(shell.mainMenu(), nullptr);
    EXPECT_TRUE(shell.mainMenu()->isVisible());
    EXPECT_EQ(app.state().participantCount, 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(shell.roundRobinCreation(), nullptr);

    QTest::mouseClick(button(shell.mainMenu(), "oneCycleButton"), Qt::LeftButton);
    RoundRobinCreationWindow* second = shell.roundRobinCreation();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(label(second, "cycleLabel"), "Круговая система в 1 круг");
    EXPECT_TRUE(shown(second).isEmpty());
    EXPECT_FALSE(QDir(app.workingDir()).entryList({"*.kr2"}).size());
}

// Both creation windows: the close box and Escape drop the chosen participants only
// once the director says so; with none chosen there is nothing to ask.
TEST_F(RoundRobinCreationWindowTest, ClosingWithParticipantsChosenAsksFirstInBothKinds) {
    using Open = std::function<std::unique_ptr<ui::Window>(int& cancelled)>;
    const std::pair<const char*, Open> kinds[] = {
        {"round-robin",
         [this](int& cancelled) {
             auto w = open();
             QObject::connect(w.get(), &RoundRobinCreationWindow::cancelled,
                              [&cancelled] { ++cancelled; });
             return std::unique_ptr<ui::Window>(std::move(w));
         }},
        {"swiss",
         [this](int& cancelled) {
             app.state().kind = TournamentKind::Swiss;
             auto w = std::make_unique<SwissCreationWindow>(app, platform);
             QObject::connect(w.get(), &SwissCreationWindow::cancelled,
                              [&cancelled] { ++cancelled; });
             w->show();
             return std::unique_ptr<ui::Window>(std::move(w));
         }},
    };
    const Message question{"Закрытие окна",
                           "Выбрано участников: 2. Турнир ещё не создан, и при закрытии окна "
                           "список участников пропадёт.\nЗакрыть окно?"};
    for (const auto& [kind, openKind] : kinds) {
        SCOPED_TRACE(kind);
        platform.confirmations.clear();
        int cancelled = 0;
        auto empty = openKind(cancelled);
        // Enter in the name goes on to the participants.
        bool selectionOpened = false;
        test::whenModalOpens([&] {
            auto* dialog = test::openWindow<SelectPlayerDialog>("selectPlayerDialog");
            selectionOpened = dialog != nullptr;
            if (dialog)
                dialog->close();
        });
        QTest::keyClick(child<QLineEdit>(empty.get(), "nameEdit"), Qt::Key_Return);
        EXPECT_TRUE(selectionOpened);
        QTest::keyClick(child<QLineEdit>(empty.get(), "nameEdit"), Qt::Key_Escape);
        EXPECT_FALSE(empty->isVisible());
        EXPECT_EQ(cancelled, 1);
        EXPECT_TRUE(platform.confirmations.isEmpty());

        cancelled = 0;
        auto w = openKind(cancelled);
        add(w.get(), 0);
        add(w.get(), 1);
        platform.confirmAnswers = {false, true};
        w->close(); // the close box, answered "no"
        EXPECT_TRUE(w->isVisible());
        EXPECT_EQ(cancelled, 0);
        EXPECT_EQ(shown(w.get()).size(), 2);
        QTest::keyClick(list(w.get(), "participantList"), Qt::Key_Escape); // answered "yes"
        EXPECT_FALSE(w->isVisible());
        EXPECT_EQ(cancelled, 1);
        EXPECT_EQ(platform.confirmations, (QVector<Message>{question, question}));
    }
}
