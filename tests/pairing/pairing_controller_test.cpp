#include "pairing/pairing_controller.h"
#include "swiss/swiss_test_util.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;
using test::makeSwiss;

namespace {

PairingController dialogFor(const SwissTournament& t) {
    return PairingController(t, computeSwissStandings(t));
}

// Creates the pair (first, second) through the creation dialog, swapping `swaps` times.
void createPair(PairingController& c, int playerRow, int candidateRow, int swaps = 0) {
    c.clickPlayerList(playerRow);
    c.clickCandidateList(candidateRow);
    ASSERT_TRUE(c.createEnabled());
    PairDialogController d =
        PairDialogController::forCreation(c.engine(), *c.firstSelection(), *c.secondSelection());
    for (int i = 0; i < swaps; ++i)
        d.swap();
    d.confirm(c.engine());
    c.creationDialogClosed(d);
}

} // namespace

TEST(PairingDialog, PairsAWholeFirstRoundWithTheBye) {
    QTemporaryDir dir;
    SwissTournament t = makeSwiss({"2000", "1900", "1800", "1700", "1600", "**"});
    t.state.path = dir.filePath("t.swz");
    PairingController c = dialogFor(t);
    EXPECT_EQ(c.title(), "Жеребьёвка 1 тура");
    EXPECT_EQ(c.pairsCaption(), "Готовые пары 1 тура");
    EXPECT_EQ(c.allowanceText(), "Спуск = 0.0 очк.");
    EXPECT_EQ(c.playerRows().size(), 5);
    EXPECT_FALSE(c.forceEnabled());

    c.clickPlayerList(0);
    EXPECT_EQ(c.firstSelection(), 1);
    EXPECT_EQ(c.step2Caption(), "2. Выберите подходящую пару игроку 1.P1");
    EXPECT_TRUE(c.forceEnabled());
    EXPECT_FALSE(c.allowanceEnabled());
    ASSERT_EQ(c.candidateRows().size(), 5);
    EXPECT_EQ(c.candidateRows()[4][1], "**");
    EXPECT_FALSE(c.createEnabled());
    c.clickCandidateList(4);
    EXPECT_TRUE(c.createEnabled());

    PairDialogController d = PairDialogController::forCreation(c.engine(), 1, 6);
    EXPECT_EQ(d.title(), "Создание игровой пары");
    EXPECT_EQ(d.colourRow(), (QStringList{"P1", "**"}));
    d.swap();
    EXPECT_EQ(d.colourRow(), (QStringList{"**", "P1"}));
    d.swap();
    EXPECT_EQ(d.colourRow(), (QStringList{"P1", "**"}));
    d.confirm(c.engine());
    c.creationDialogClosed(d);
    EXPECT_EQ(c.pairRows(), (QVector<QStringList>{{"1", "0.0", "P1", "**", "0.0", "6"}}));
    EXPECT_FALSE(c.firstSelection());
    EXPECT_FALSE(c.forceEnabled());
    EXPECT_EQ(c.step2Caption(), "2. Выберите подходящую пару игроку ");

    createPair(c, 0, 0, 1); // 2 and 3, colours swapped
    createPair(c, 0, 0);    // 4 and 5
    EXPECT_TRUE(c.playerRows().isEmpty());
    // The last search still shows until the player list is clicked.
    EXPECT_FALSE(c.candidateRows().isEmpty());
    EXPECT_FALSE(c.finishEnabled());
    c.clickPlayerList(-1);
    EXPECT_TRUE(c.finishEnabled());

    const PairingEngine::CommitResult r = c.finish();
    ASSERT_TRUE(r.tournament);
    EXPECT_EQ(r.tournament->roundCount(), 1);
    EXPECT_EQ(r.tournament->rounds[0],
              (QVector<SwissGame>{{1, 6, "", ""}, {3, 2, "", ""}, {4, 5, "", ""}}));
}

TEST(PairingDialog, AllowanceStepsAndForcing) {
    // 1 has 2 points, has met 2 and 3; nobody has 1.5; 4 and 5 have 1.
    const SwissTournament t =
        makeSwiss({"1500", "1500", "1500", "1500", "1500", "1500"},
                  {{"1|2|1|0", "3|4|1|0", "5|6|1|0"}, {"1|3|1|0", "5|4|0|1", "2|6|%|%"}});
    PairingController c = dialogFor(t);
    c.clickPlayerList(0);
    EXPECT_TRUE(c.candidateRows().isEmpty());
    EXPECT_TRUE(c.allowanceEnabled());
    c.raiseAllowance();
    EXPECT_EQ(c.allowanceText(), "Спуск = 0.5 очк.");
    EXPECT_TRUE(c.allowanceEnabled());
    c.raiseAllowance();
    EXPECT_EQ(c.candidateRows().size(), 2);
    EXPECT_EQ(c.allowanceText(), "Спуск = 0.0 очк.");
    EXPECT_FALSE(c.allowanceEnabled());

    c.force();
    EXPECT_FALSE(c.forceEnabled());
    QStringList numbers;
    for (const QStringList& row : c.candidateRows())
        numbers << row[0];
    EXPECT_EQ(numbers, (QStringList{"4", "5", "6"}));
}

TEST(PairingDialog, EditingMovesThePairToTheEndAndDeletingFreesThePlayers) {
    const SwissTournament t = makeSwiss({"2000", "1900", "1800", "1700", "1600", "**"});
    PairingController c = dialogFor(t);
    createPair(c, 0, 4); // 1 - 6 (the bye)
    createPair(c, 0, 0); // 2 - 3
    c.clickPairList(0);
    EXPECT_TRUE(c.editEnabled());

    PairDialogController edit = PairDialogController::forEditing(c.engine(), c.selectedPairRow());
    EXPECT_EQ(edit.title(), "Редактирование игровой пары");
    EXPECT_EQ(edit.confirmText(), "Записать пару");
    edit.confirm(c.engine());
    c.editingDialogClosed();
    EXPECT_FALSE(c.editEnabled());
    EXPECT_EQ(c.pairRows()[0][0], "2");
    EXPECT_EQ(c.pairRows()[1], (QStringList{"1", "0.0", "P1", "**", "0.0", "6"}));

    c.clickPairList(1);
    PairDialogController del = PairDialogController::forEditing(c.engine(), c.selectedPairRow());
    del.remove(c.engine());
    EXPECT_FALSE(del.pairMade());
    c.editingDialogClosed();
    QStringList unpaired;
    for (const QStringList& row : c.playerRows())
        unpaired << row[0];
    EXPECT_EQ(unpaired, (QStringList{"1", "4", "5"}));
}

TEST(PairDialog, StatisticsRowsAndSwapOfNamesakes) {
    SwissTournament t = makeSwiss({"2000", "1900", "1800", "1700"},
                                  {{"1|3|1|0", "4|2|%|%"}, {"2|1|0|1", "3|4|+|-"}});
    t.participant(4).name = t.participant(1).name; // the same name from another city
    PairingController c = dialogFor(t);
    PairDialogController d = PairDialogController::forCreation(c.engine(), 1, 3);
    EXPECT_EQ(columnTitles(d.statisticsColumns()), (QStringList{"Статистика / ФИО", "P1", "P3"}));
    const QVector<QStringList> expected{{"Рейтинг", "2000", "1800"},
                                        {"Очки", "2.0", "1.0"},
                                        {"Белые", "1", "1"},
                                        {"Чёрные", "1", "1"},
                                        {"Спуски (очки)", "0.5", "0.0"},
                                        {"Подъёмы (очки)", "0.0", "0.5"},
                                        {"Коэф. Бухг.", "1.50", "2.50"},
                                        {"Коэф. Прогр.", "3.00", "1.00"},
                                        {"Ср. Эло соперников", "1850", "2000"}};
    EXPECT_EQ(d.statisticsRows(), expected);

    PairDialogController namesakes = PairDialogController::forCreation(c.engine(), 1, 4);
    namesakes.swap();
    namesakes.confirm(c.engine());
    EXPECT_EQ(c.engine().pairList().last().white, 4);
    EXPECT_EQ(c.engine().pairList().last().black, 1);
}

TEST(PairingDialog, AutomaticPairingProposesTheWholeRound) {
    QTemporaryDir dir;
    SwissTournament t = makeSwiss({"2000", "1900", "1800", "1700", "1600", "**"});
    t.state.path = dir.filePath("t.swz");
    // Round 1 by the Dutch system: top half against bottom half, colours alternating
    // from the initial colour down the boards, the pairing-allocated bye to the last.
    struct Case {
        InitialColour colour;
        QVector<QStringList> pairs;
    };
    for (const Case& c : {Case{InitialColour::White,
                               {{"1", "0.0", "P1", "P3", "0.0", "3"},
                                {"4", "0.0", "P4", "P2", "0.0", "2"},
                                {"5", "0.0", "P5", "**", "0.0", "6"}}},
                          Case{InitialColour::Black,
                               {{"3", "0.0", "P3", "P1", "0.0", "1"},
                                {"2", "0.0", "P2", "P4", "0.0", "4"},
                                {"5", "0.0", "P5", "**", "0.0", "6"}}}}) {
        PairingController p = dialogFor(t);
        EXPECT_TRUE(p.autoPairEnabled());
        EXPECT_TRUE(p.initialColourEnabled());
        p.setInitialColour(c.colour);
        EXPECT_FALSE(p.autoPair());
        EXPECT_EQ(p.pairRows(), c.pairs);
        // The proposal is the director's to change; a second one only over an empty list.
        EXPECT_FALSE(p.autoPairEnabled());
        EXPECT_TRUE(p.finishEnabled());
        const PairingEngine::CommitResult r = p.finish();
        ASSERT_TRUE(r.tournament);
        ASSERT_EQ(r.tournament->roundCount(), 1);
        EXPECT_EQ(r.tournament->rounds[0].size(), 3);
    }

    // Round 2 of two players who have met: no pairing meets the absolute criteria.
    SwissTournament met = makeSwiss({"2000", "1900"}, {{"1|2|1|0"}});
    met.state.path = dir.filePath("met.swz");
    PairingController p = dialogFor(met);
    EXPECT_FALSE(p.initialColourEnabled());
    const std::optional<Message> refused = p.autoPair();
    ASSERT_TRUE(refused);
    EXPECT_TRUE(refused->text.contains("2 тура")) << refused->text.toStdString();
    EXPECT_TRUE(p.pairRows().isEmpty());
    EXPECT_TRUE(p.autoPairEnabled());
}
