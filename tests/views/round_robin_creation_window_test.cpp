#include "app/shell.h"
#include "common/tournament_creation.h"
#include "support/window_test_util.h"
#include "ui/keyboard.h"
#include "views/round_robin_creation_window.h"
#include "views/swiss_creation_window.h"

#include <QSignalSpy>

using namespace ladya;
using namespace ladya::test;

namespace {

const QByteArray Players = "ИВАНОВ ИВАН|МОСКВА|КМС|2150|Новый участник|28.11.2026\r\n"
                           "ПЕТРОВ ПЁТР|ТУЛА|1|1800|Новый участник|28.11.2026\r\n"
                           "СИДОРОВ СИДОР|ОРЁЛ|2|1600|Новый участник|28.11.2026\r\n"
                           "ИВАНОВ ИВАН|КАЗАНЬ|3|1500|Новый участник|02.11.2026\r\n";

class RoundRobinCreationWindowTest : public test::AppTest {
protected:
    void SetUp() override { startWith(Players); }

    std::unique_ptr<RoundRobinCreationWindow> open(const QString& kind = TournamentKind::OneCycle) {
        app.state().kind = kind;
        return shown(std::make_unique<RoundRobinCreationWindow>(app, platform));
    }
    static void add(QWidget* w, int databaseRow) {
        test::chooseInSelectionDialog(databaseRow);
        QTest::mouseClick(button(w, "addButton"), Qt::LeftButton);
    }
    static QString label(QWidget* w, const char* name) { return child<QLabel>(w, name)->text(); }
    static QStringList rows(QWidget* w) {
        QStringList out;
        for (const QStringList& row : list(w, "participantList")->rowsModel()->rows())
            out.append(row.join(u'|'));
        return out;
    }
};

} // namespace

TEST_F(RoundRobinCreationWindowTest, OpensEmptyWithItsTexts) {
    auto w = open();
    EXPECT_EQ(w->windowTitle(), "Создание нового турнира (круговая система)");
    EXPECT_GE(w->width(), 560);
    EXPECT_GE(w->height(), 700);
    QStringList labels;
    for (const char* name :
         {"nameLabel", "dateLabel", "cycleLabel", "coefficientLabel", "averageRatingLabel",
          "participantsLabel", "roundsLabel", "gamesLabel"})
        labels << label(w.get(), name);
    EXPECT_EQ(labels, (QStringList{"Название турнира", "Дата", "Круговая система в 1 круг",
                                   "Коэффициент турнира - ", "Средний ЭЛО турнира - ",
                                   "Всего участников - 0", "Всего туров - ", "Всего партий - "}));
    EXPECT_EQ(button(w.get(), "addButton")->text(), "Добавить участника");
    EXPECT_EQ(button(w.get(), "removeButton")->text(), "Удалить участника");
    EXPECT_EQ(button(w.get(), "finishButton")->text(), "Завершить");
    EXPECT_EQ(child<ui::DatePicker>(w.get(), "startDatePicker")->dateText(), "06.12.2026");
    const QStringList titles = {"№", "Ф.И.О участника", "Страна/Город", "Разряд", "Рейтинг"};
    const int widths[] = {30, 190, 150, 70, 70};
    ui::MultiColumnList* l = list(w.get(), "participantList");
    int allColumns = 0; // every column shows side by side
    for (int c = 0; c < titles.size(); ++c) {
        EXPECT_EQ(l->cellText(-1, c), titles[c]);
        EXPECT_GE(l->columnWidth(c), widths[c]) << c;
        allColumns += l->columnWidth(c);
    }
    EXPECT_GE(l->viewport()->width(), allColumns);
    test::expectEveryControlNamed(w.get());
}

// The rules (counts, refusals, renumbering, file names) are the controller's; here the
// window shows what it says after each button, list click and dialog choice.
TEST_F(RoundRobinCreationWindowTest, ButtonsListAndLabelsFollowTheController) {
    auto w = open(TournamentKind::TwoCycles);
    add(w.get(), 0);
    add(w.get(), 0); // the same player again
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(platform.messages[0].title, "Повторный ввод участника");
    EXPECT_EQ(platform.messages[0].text, "Этот участник уже занесен в список турнира");
    add(w.get(), -1); // the dialog closed without a choice
    EXPECT_EQ(rows(w.get()), QStringList{"1|ИВАНОВ ИВАН|МОСКВА|КМС|2150"});
    add(w.get(), 1);
    add(w.get(), 2);
    EXPECT_EQ(app.state().participantCount, 3);
    EXPECT_EQ(label(w.get(), "cycleLabel"), "Круговая система в 2 круга");
    EXPECT_EQ(label(w.get(), "participantsLabel"), "Всего участников - 3");
    EXPECT_EQ(label(w.get(), "roundsLabel"), "Всего туров - 6");
    EXPECT_EQ(label(w.get(), "gamesLabel"), "Всего партий - 12");
    EXPECT_EQ(label(w.get(), "coefficientLabel"), "Коэффициент турнира - 1.00");
    EXPECT_EQ(label(w.get(), "averageRatingLabel"), "Средний ЭЛО турнира - 1850");
    EXPECT_FALSE(button(w.get(), "finishButton")->isEnabled());
    test::typeText(child<QLineEdit>(w.get(), "nameEdit"), QStringLiteral("Кубок/клуба"));
    EXPECT_TRUE(button(w.get(), "finishButton")->isEnabled());

    EXPECT_FALSE(button(w.get(), "removeButton")->isEnabled());
    test::clickRow(list(w.get(), "participantList"), 0);
    EXPECT_TRUE(button(w.get(), "removeButton")->isEnabled());
    QTest::mouseClick(button(w.get(), "removeButton"), Qt::LeftButton);
    EXPECT_EQ(rows(w.get()),
              (QStringList{"1|ПЕТРОВ ПЁТР|ТУЛА|1|1800", "2|СИДОРОВ СИДОР|ОРЁЛ|2|1600"}));
    EXPECT_FALSE(button(w.get(), "removeButton")->isEnabled());
    EXPECT_EQ(app.state().participantCount, 2);
    EXPECT_EQ(label(w.get(), "averageRatingLabel"), "Средний ЭЛО турнира - 1700");
    EXPECT_FALSE(button(w.get(), "finishButton")->isEnabled());
    add(w.get(), 0);

    // A failed save is said and keeps the window with its list.
    QSignalSpy created(w.get(), &RoundRobinCreationWindow::created);
    QTest::mouseClick(button(w.get(), "finishButton"), Qt::LeftButton);
    EXPECT_EQ(created.count(), 0);
    ASSERT_EQ(platform.messages.size(), 2);
    EXPECT_EQ(platform.messages[1], fileNameCheck(QStringLiteral("Кубок/клуба")));
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(rows(w.get()).size(), 3);

    child<QLineEdit>(w.get(), "nameEdit")->clear();
    EXPECT_FALSE(button(w.get(), "finishButton")->isEnabled());
    test::typeText(child<QLineEdit>(w.get(), "nameEdit"), QStringLiteral("Кубок клуба"));
    child<ui::DatePicker>(w.get(), "startDatePicker")->setDate(QDate(2026, 12, 1));
    QTest::mouseClick(button(w.get(), "finishButton"), Qt::LeftButton);
    EXPECT_EQ(created.count(), 1);
    EXPECT_FALSE(w->isVisible());
    std::optional<RoundRobinTournament> t = w->takeTournament();
    ASSERT_TRUE(t.has_value());
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
    EXPECT_TRUE(rows(second).isEmpty());
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
             auto w = shown(std::make_unique<SwissCreationWindow>(app, platform));
             QObject::connect(w.get(), &SwissCreationWindow::cancelled,
                              [&cancelled] { ++cancelled; });
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
        EXPECT_EQ(rows(w.get()).size(), 2);
        QTest::keyClick(list(w.get(), "participantList"), Qt::Key_Escape); // answered "yes"
        EXPECT_FALSE(w->isVisible());
        EXPECT_EQ(cancelled, 1);
        EXPECT_EQ(platform.confirmations, (QVector<Message>{question, question}));
    }
}
