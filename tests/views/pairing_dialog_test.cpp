// The pairing dialog and the pair dialogs driven offscreen with the mouse and with
// the keyboard alone; every list is checked against what ladya-cli prints for the
// same pairs, and the committed file against `ladya-cli commit`.
#include "support/window_test_util.h"
#include "swiss/swiss_test_util.h"
#include "views/pair_dialog_test_util.h"

#include <QFile>
#include <QScreen>
#include <QSignalSpy>

using namespace ladya;
using namespace ladya::test;

namespace {

// A key pressed where the keyboard focus of `window` is.
void press(QWidget* window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = window->focusWidget() ? window->focusWidget() : window;
    QTest::keyClick(target, key, modifiers);
}

class PairingDialogTest : public ::testing::Test {
protected:
    // A copy of a checked-in tournament, and its twin for ladya-cli.
    void load(const QString& fixture) {
        path = dir.filePath("t.swz");
        cliPath = dir.filePath("cli.swz");
        QFile::remove(path);
        QFile::remove(cliPath);
        ASSERT_TRUE(QFile::copy(test::dataPath("swiss/" + fixture), path));
        ASSERT_TRUE(QFile::copy(test::dataPath("swiss/" + fixture), cliPath));
        tournament = *loadSwiss(path);
    }
    std::unique_ptr<PairingWindow> open() {
        auto w = std::make_unique<PairingWindow>(platform, tournament,
                                                 computeSwissStandings(tournament));
        w->show();
        w->activateWindow();
        return w;
    }
    QByteArray cli(QStringList args, const PairingWindow& w) const {
        args.insert(1, cliPath);
        if (!w.controller().workbench().pairList().isEmpty())
            args << "--pairs" << pairsArgument(w);
        const CliOutput out = runCli(args);
        EXPECT_EQ(out.status, 0) << out.err.toStdString();
        return out.out;
    }
    // The file the same pairs give through `ladya-cli commit`.
    QByteArray cliCommit(const QString& pairs) const {
        const QString out = dir.filePath("cli-out.swz");
        const CliOutput r = runCli({"commit", cliPath, "--pairs", pairs, "-o", out});
        EXPECT_EQ(r.status, 0) << r.err.toStdString();
        return test::readBytes(out);
    }
    void expectPlayersAsCli(PairingWindow& w) {
        EXPECT_EQ(listing(list(&w, "playerList")), cli({"unpaired"}, w));
    }

    QTemporaryDir dir;
    QString path;
    QString cliPath;
    SwissTournament tournament;
    test::FakePlatform platform;
};

} // namespace

TEST_F(PairingDialogTest, OpensWithTheUnpairedPlayersAndEveryButtonDisabled) {
    load("big.swz");
    auto w = open();
    // The captions are the controller's (PairingDialog.PairsAWholeFirstRoundWithTheBye).
    EXPECT_EQ(w->windowTitle(), "Жеребьёвка 7 тура");
    EXPECT_EQ(test::child<QLabel>(w.get(), "pairsCaption")->text(), "Готовые пары 7 тура");
    for (const char* b :
         {"allowanceButton", "createButton", "editButton", "finishButton", "forceButton"})
        EXPECT_FALSE(button(w.get(), b)->isEnabled()) << b;
    EXPECT_EQ(list(w.get(), "playerList")->rowCount(), 23); // the bye participant is not listed
    expectPlayersAsCli(*w);
    EXPECT_EQ(test::listing(list(w.get(), "pairList")), "№\tОчки\tБелые\tЧерные\tОчки\t№\n");
    test::expectEveryControlNamed(w.get());
}

// One pair by hand, the rest of the round proposed by the Dutch system, then committed
// from the keyboard: the file `ladya-cli commit` writes for the pairs.
TEST_F(PairingDialogTest, AutomaticPairingFillsThePairsAndEnterCommitsThem) {
    load("new14.swz");
    auto w = open();
    QPushButton* autoPair = button(w.get(), "autoPairButton");
    EXPECT_EQ(autoPair->text(), "Автоматическая жеребьёвка");
    EXPECT_TRUE(autoPair->isEnabled());
    auto* colour = test::child<QComboBox>(w.get(), "initialColourBox");
    EXPECT_TRUE(colour->isEnabled());
    colour->setCurrentIndex(1); // black
    // 1 and 2 by hand, 1 Black as the chosen colour gives him.
    clickRow(list(w.get(), "playerList"), 0);
    clickRow(list(w.get(), "candidateList"), 0);
    whenPairDialogOpens(confirmAfterSwaps(0));
    QTest::mouseClick(button(w.get(), "createButton"), Qt::LeftButton);
    EXPECT_TRUE(autoPair->isEnabled());
    autoPair->click();
    const QString pairs = pairsArgument(*w);
    EXPECT_EQ(pairs, "2-1,9-3,4-10,11-5,6-12,13-7,8-14");
    EXPECT_FALSE(autoPair->isEnabled());
    EXPECT_TRUE(platform.messages.isEmpty());
    const QByteArray expected = cliCommit(pairs);
    press(w.get(), Qt::Key_Return);
    ASSERT_TRUE(w->committed());
    EXPECT_EQ(test::readBytes(path), expected);

    // Later rounds read the colour back from round 1.
    load("big.swz");
    auto later = open();
    EXPECT_FALSE(test::child<QComboBox>(later.get(), "initialColourBox")->isEnabled());
}

// A whole round with the mouse: the best candidate of the leader each time, the
// allowance where nobody suits, one forced pair, swapped colours, an edited, a
// deleted and a cancelled pair; the lists match ladya-cli all along, and the commit
// writes the file `ladya-cli commit` writes. Which buttons are enabled when is the
// controller's (PairingDialog.*).
TEST_F(PairingDialogTest, AWholeRoundWithTheMouseMatchesTheCli) {
    load("big.swz");
    auto w = open();
    ui::MultiColumnList* players = list(w.get(), "playerList");
    ui::MultiColumnList* candidates = list(w.get(), "candidateList");
    ui::MultiColumnList* pairs = list(w.get(), "pairList");
    int allowanceSteps = 0;
    bool byePaired = false;
    for (int step = 0; players->rowCount() > 0; ++step) {
        SCOPED_TRACE(step);
        const int made = pairs->rowCount();
        clickRow(players, 0);
        const QString first = players->cellText(0, 0);
        EXPECT_EQ(listing(candidates), cli({"candidates", first}, *w));
        // Nobody suits: one score group lower at a time.
        double allowance = 0.0;
        for (double a = 0.5; candidates->rowCount() == 0 && a <= 3.0; a += 0.5) {
            allowance = a;
            ASSERT_TRUE(button(w.get(), "allowanceButton")->isEnabled());
            QTest::mouseClick(button(w.get(), "allowanceButton"), Qt::LeftButton);
            ++allowanceSteps;
            EXPECT_EQ(listing(candidates),
                      cli({"candidates", first, "--allowance", QString::number(a)}, *w));
        }
        // The second pair is forced, whatever the search found.
        if (step == 1 || candidates->rowCount() == 0) {
            QTest::mouseClick(button(w.get(), "forceButton"), Qt::LeftButton);
            EXPECT_EQ(listing(candidates), cli({"candidates", first, "--allowance",
                                                QString::number(allowance), "--force"},
                                               *w));
        }
        // The allowance the candidates listed were found with.
        EXPECT_EQ(button(w.get(), "allowanceButton")->text(),
                  "Спуск = " + QString::number(allowance, 'f', 1) + " очк.");
        const int pick = step == 1 ? candidates->rowCount() - 1 : 0;
        clickRow(candidates, pick);
        byePaired = byePaired || candidates->cellText(pick, 1) == "**";
        if (step == 2) {
            // Cancelled: nothing changes, the selections stay.
            whenPairDialogOpens([](PairDialog* d) { button(d, "cancelButton")->click(); });
            QTest::mouseClick(button(w.get(), "createButton"), Qt::LeftButton);
            EXPECT_EQ(pairs->rowCount(), made);
            EXPECT_TRUE(button(w.get(), "createButton")->isEnabled());
        }
        whenPairDialogOpens(confirmAfterSwaps(step % 3));
        QTest::mouseClick(button(w.get(), "createButton"), Qt::LeftButton);
        EXPECT_EQ(pairs->rowCount(), made + 1);
        EXPECT_FALSE(button(w.get(), "createButton")->isEnabled());
        expectPlayersAsCli(*w);

        if (step == 2) {
            // Edited with swapped colours: the pair moves to the end.
            const QStringList firstPair = pairs->rowsModel()->rows()[0];
            clickRow(pairs, 0);
            whenPairDialogOpens(confirmAfterSwaps(1));
            QTest::mouseClick(button(w.get(), "editButton"), Qt::LeftButton);
            EXPECT_EQ(pairs->rowsModel()->rows()[2],
                      (QStringList{firstPair[5], firstPair[4], firstPair[3], firstPair[2],
                                   firstPair[1], firstPair[0]}));
            // Deleted: both players are to pair again.
            clickRow(pairs, 1);
            whenPairDialogOpens([](PairDialog* d) { button(d, "deleteButton")->click(); });
            QTest::mouseClick(button(w.get(), "editButton"), Qt::LeftButton);
            EXPECT_EQ(pairs->rowCount(), 2);
            expectPlayersAsCli(*w);
        }
    }
    EXPECT_GT(allowanceSteps, 0);
    EXPECT_TRUE(byePaired);
    // The last search went with the last player paired: the round can be committed.
    EXPECT_EQ(candidates->rowCount(), 0);
    ASSERT_TRUE(button(w.get(), "finishButton")->isEnabled());

    const QString committedPairs = pairsArgument(*w);
    QTest::mouseClick(button(w.get(), "finishButton"), Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
    EXPECT_TRUE(platform.messages.isEmpty());
    EXPECT_EQ(test::readBytes(path), cliCommit(committedPairs));
}

// Down, Enter (the best candidate), Enter (the creation dialog), Enter (confirm) per
// pair; Escape cancels, Shift+Tab and Space swap; Enter on a pair edits it and Delete
// removes it; after the last pair Enter commits.
TEST_F(PairingDialogTest, AWholeRoundWithTheKeyboardAlone) {
    load("new14.swz");
    auto w = open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.get()));
    ui::MultiColumnList* players = list(w.get(), "playerList");
    ui::MultiColumnList* candidates = list(w.get(), "candidateList");
    ui::MultiColumnList* pairs = list(w.get(), "pairList");
    EXPECT_EQ(w->focusWidget(), players);
    auto keyIn = [](Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        return [key, mods](PairDialog* d) { press(d, key, mods); };
    };

    press(w.get(), Qt::Key_Down);
    EXPECT_EQ(players->selectedRow(), 0);
    press(w.get(), Qt::Key_Down); // the arrows choose, the candidates follow
    EXPECT_EQ(players->selectedRow(), 1);
    EXPECT_EQ(w->controller().firstSelection(), players->cellText(1, 0).toInt());
    EXPECT_EQ(listing(candidates), cli({"candidates", players->cellText(1, 0)}, *w));
    press(w.get(), Qt::Key_Up);
    press(w.get(), Qt::Key_Return);
    EXPECT_EQ(w->focusWidget(), candidates);
    EXPECT_EQ(candidates->selectedRow(), 0);
    EXPECT_TRUE(button(w.get(), "createButton")->isEnabled());
    whenPairDialogOpens(keyIn(Qt::Key_Escape));
    press(w.get(), Qt::Key_Return);
    EXPECT_EQ(pairs->rowCount(), 0);
    EXPECT_EQ(w->focusWidget(), candidates);
    whenPairDialogOpens([](PairDialog* d) {
        press(d, Qt::Key_Tab, Qt::ShiftModifier); // to the swap button
        press(d, Qt::Key_Space);
        EXPECT_EQ(d->controller().white(), d->controller().second());
        press(d, Qt::Key_Return); // confirms from there too
    });
    press(w.get(), Qt::Key_Return);
    ASSERT_EQ(pairs->rowCount(), 1);
    EXPECT_EQ(pairs->cellText(0, 5), "1"); // the leader took Black
    EXPECT_EQ(w->focusWidget(), players);

    bool deleted = false;
    while (players->rowCount() > 0) {
        press(w.get(), Qt::Key_Down);
        press(w.get(), Qt::Key_Return);
        if (w->focusWidget() != candidates) {
            // Nobody left who suits: force.
            ASSERT_EQ(w->focusWidget(), button(w.get(), "allowanceButton"));
            press(w.get(), Qt::Key_Tab);
            press(w.get(), Qt::Key_Space);
            press(w.get(), Qt::Key_Down);
        }
        whenPairDialogOpens(keyIn(Qt::Key_Return));
        press(w.get(), Qt::Key_Return);
        if (pairs->rowCount() == 2 && !deleted) {
            deleted = true;
            // Tab from the player list past the disabled buttons to the pairs.
            press(w.get(), Qt::Key_Tab);
            press(w.get(), Qt::Key_Tab);
            ASSERT_EQ(w->focusWidget(), pairs);
            press(w.get(), Qt::Key_Down);
            whenPairDialogOpens(keyIn(Qt::Key_Delete));
            press(w.get(), Qt::Key_Return);
            EXPECT_EQ(pairs->rowCount(), 1);
            expectPlayersAsCli(*w);
            press(w.get(), Qt::Key_Tab, Qt::ShiftModifier);
            press(w.get(), Qt::Key_Tab, Qt::ShiftModifier);
            ASSERT_EQ(w->focusWidget(), players);
        }
    }
    EXPECT_EQ(pairs->rowCount(), 7);
    EXPECT_EQ(candidates->rowCount(), 0);
    EXPECT_EQ(w->focusWidget(), button(w.get(), "finishButton"));
    const QString committedPairs = pairsArgument(*w);
    press(w.get(), Qt::Key_Return);
    ASSERT_TRUE(w->committed());
    EXPECT_EQ(test::readBytes(path), cliCommit(committedPairs));
}

TEST_F(PairingDialogTest, AFailedCommitIsReportedAndKeepsThePairs) {
    tournament = test::makeSwiss({"2000", "1900"});
    tournament.state.path = dir.filePath("missing/t.swz"); // a folder that is not there
    auto w = open();
    clickRow(list(w.get(), "playerList"), 0);
    clickRow(list(w.get(), "candidateList"), 0);
    whenPairDialogOpens(confirmAfterSwaps(0));
    QTest::mouseClick(button(w.get(), "createButton"), Qt::LeftButton);
    QSignalSpy finished(w.get(), &PairingWindow::finished);
    QTest::mouseClick(button(w.get(), "finishButton"), Qt::LeftButton);
    ASSERT_EQ(platform.messages.size(), 1);
    EXPECT_EQ(finished.count(), 0);
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->committed());
    EXPECT_EQ(list(w.get(), "pairList")->rowsModel()->rows(),
              (QVector<QStringList>{{"1", "0.0", "P1", "P2", "0.0", "2"}}));
    EXPECT_TRUE(button(w.get(), "finishButton")->isEnabled());
    EXPECT_FALSE(QFile::exists(tournament.state.path));
}

TEST_F(PairingDialogTest, TheCloseBoxAndEscapeAskBeforeDroppingThePairs) {
    load("worked.swz");
    QWidget caller;
    caller.show();
    bool callerHidden = false;
    test::whenModalOpens([&] {
        auto* w = test::openWindow<PairingWindow>("pairingDialog");
        ASSERT_NE(w, nullptr);
        callerHidden = !caller.isVisible();
        clickRow(list(w, "playerList"), 0);
        button(w, "forceButton")->click(); // the leader has met everyone
        clickRow(list(w, "candidateList"), 0);
        whenPairDialogOpens(confirmAfterSwaps(0));
        QTest::mouseClick(button(w, "createButton"), Qt::LeftButton);
        EXPECT_EQ(list(w, "pairList")->rowCount(), 1);
        // The pairs go only when the director says so, by the close box or by Escape.
        platform.confirmAnswers = {false, true};
        w->close();
        EXPECT_TRUE(w->isVisible());
        QTest::keyClick(list(w, "pairList"), Qt::Key_Escape);
    });
    const std::optional<SwissTournament> result =
        PairingDialog::run(platform, tournament, computeSwissStandings(tournament), &caller);
    EXPECT_FALSE(result);
    const Message question{"Закрытие окна",
                           "Составлено пар: 1. Жеребьёвка тура ещё не записана, и при закрытии "
                           "окна пары пропадут.\nЗакрыть окно?"};
    EXPECT_EQ(platform.confirmations, (QVector<Message>{question, question}));
    EXPECT_TRUE(callerHidden);
    EXPECT_TRUE(caller.isVisible());
    EXPECT_TRUE(caller.isEnabled());
    EXPECT_EQ(test::readBytes(path), test::readBytes(test::dataPath("swiss/worked.swz")));
}

// The figures and the advice are the controller's (PairDialog.*); the swap and Enter are
// driven in the whole rounds above.
TEST_F(PairingDialogTest, PairDialogsShowBothPlayersAndTheirColours) {
    load("worked.swz");
    PairingController c(tournament, computeSwissStandings(tournament));
    PairDialog create(c.workbench(),
                      PairDialogController::forCreation(c.workbench(), 1, 3, InitialColour::White));
    create.show();
    EXPECT_EQ(create.windowTitle(), "Создание игровой пары");
    ui::MultiColumnList* statistics = list(&create, "statisticsList");
    EXPECT_EQ(statistics->rowsModel()->rows(), create.controller().statisticsRows());
    EXPECT_EQ(statistics->rowsModel()->titles(),
              (QStringList{"Статистика / ФИО", "ИВАНОВ И.И.", "СИДОРОВ С.С."}));
    ui::MultiColumnList* colours = list(&create, "colourList");
    EXPECT_EQ(colours->rowsModel()->rows(), QVector<QStringList>{create.controller().colourRow()});
    auto* advice = test::child<QLabel>(&create, "colourAdvice");
    EXPECT_EQ(advice->text(), create.controller().colourAdvice());
    const QString proposedWhite = colours->cellText(0, 0);
    QTest::mouseClick(button(&create, "swapButton"), Qt::LeftButton);
    EXPECT_NE(colours->cellText(0, 0), proposedWhite);
    EXPECT_EQ(advice->text(), create.controller().colourAdvice());
    EXPECT_EQ(button(&create, "swapButton")->text(), "Поменять игроков местами ");
    EXPECT_EQ(create.findChild<QPushButton*>("deleteButton"), nullptr);
    test::expectEveryControlNamed(&create);
    // The swap button wraps its text instead of growing wider than designed.
    EXPECT_LE(button(&create, "swapButton")->width(), 140);

    c.workbench().pairList().append(c.workbench().makePairRow(1, 3));
    PairDialog edit(c.workbench(),
                    PairDialogController::forEditing(c.workbench(), 0, InitialColour::White));
    edit.show();
    EXPECT_EQ(edit.windowTitle(), "Редактирование игровой пары");
    EXPECT_NE(edit.findChild<QPushButton*>("deleteButton"), nullptr);
}
