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
    PairDialogController d = c.creationDialog();
    for (int i = 0; i < swaps; ++i)
        d.swap();
    d.confirm(c.workbench());
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

    PairDialogController d = c.creationDialog();
    EXPECT_EQ(d.title(), "Создание игровой пары");
    EXPECT_EQ(d.colourRow(), (QStringList{"P1", "**"}));
    d.swap();
    EXPECT_EQ(d.colourRow(), (QStringList{"**", "P1"}));
    d.swap();
    EXPECT_EQ(d.colourRow(), (QStringList{"P1", "**"}));
    d.confirm(c.workbench());
    c.creationDialogClosed(d);
    EXPECT_EQ(c.pairRows(), (QVector<QStringList>{{"1", "0.0", "P1", "**", "0.0", "6"}}));
    EXPECT_FALSE(c.firstSelection());
    EXPECT_FALSE(c.forceEnabled());
    EXPECT_EQ(c.step2Caption(), "2. Выберите подходящую пару игроку ");

    createPair(c, 0, 0, 1); // 2 and 3, colours swapped from the proposed 3-2
    createPair(c, 0, 0);    // 4 and 5 as proposed: 5-4
    EXPECT_TRUE(c.playerRows().isEmpty());
    // The search of the player just paired is gone with him: the round can be committed.
    EXPECT_TRUE(c.candidateRows().isEmpty());
    EXPECT_TRUE(c.finishEnabled());

    const Result<CommittedRound> r = c.finish();
    ASSERT_TRUE(r);
    EXPECT_EQ(r->tournament.roundCount(), 1);
    EXPECT_EQ(r->tournament.rounds[0],
              (QVector<SwissGame>{{1, 6, "", ""}, {2, 3, "", ""}, {5, 4, "", ""}}));
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
    // The allowance the candidates were found with.
    EXPECT_EQ(c.allowanceText(), "Спуск = 1.0 очк.");
    EXPECT_FALSE(c.allowanceEnabled());

    c.force();
    EXPECT_FALSE(c.forceEnabled());
    QStringList numbers;
    for (const QStringList& row : c.candidateRows())
        numbers << row[0];
    EXPECT_EQ(numbers, (QStringList{"4", "5", "6"}));

    // Another player's search starts again from 0.0; no player chosen, no allowance.
    c.clickPlayerList(1);
    EXPECT_EQ(c.allowanceText(), "Спуск = 0.0 очк.");
    c.clickPlayerList(-1);
    EXPECT_FALSE(c.allowanceEnabled());
}

TEST(PairingDialog, EditingMovesThePairToTheEndAndDeletingFreesThePlayers) {
    const SwissTournament t = makeSwiss({"2000", "1900", "1800", "1700", "1600", "**"});
    PairingController c = dialogFor(t);
    createPair(c, 0, 4);  // 1 - 6 (the bye)
    createPair(c, 0, 0);  // 3 - 2, the colours the rules give
    c.clickPlayerList(0); // 4's search, while a pair is edited
    c.clickPairList(0);
    EXPECT_TRUE(c.editEnabled());

    PairDialogController edit = c.editingDialog();
    EXPECT_EQ(edit.title(), "Редактирование игровой пары");
    EXPECT_EQ(edit.confirmText(), "Записать пару");
    edit.confirm(c.workbench());
    c.editingDialogClosed();
    EXPECT_FALSE(c.editEnabled());
    EXPECT_EQ(c.pairRows()[0][0], "3");
    // 4 is still to pair: his search stays listed.
    EXPECT_EQ(c.candidateRows().size(), 1);
    EXPECT_EQ(c.pairRows()[1], (QStringList{"1", "0.0", "P1", "**", "0.0", "6"}));

    c.clickPairList(1);
    PairDialogController del = c.editingDialog();
    del.remove(c.workbench());
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
    PairDialogController d =
        PairDialogController::forCreation(c.workbench(), 1, 3, InitialColour::White);
    EXPECT_EQ(columnTitles(d.statisticsColumns()), (QStringList{"Статистика / ФИО", "P1", "P3"}));
    const QVector<QStringList> expected{{"Рейтинг", "2000", "1800"},
                                        {"Очки", "2.0", "1.0"},
                                        {"Белые", "1", "1"},
                                        {"Чёрные", "1", "1"},
                                        {"Спуски (очки)", "0.5", "0.0"},
                                        {"Подъёмы (очки)", "0.0", "0.5"},
                                        {"Коэф. Бухг.", "1.50", "2.50"},
                                        {"Коэф. Прогр.", "3.00", "1.00"},
                                        {"Ср. Эло соперников", "1850", "2000"},
                                        {"Цвета по турам", "Б Ч", "Ч –"},
                                        {"Предпочтение цвета", "белые, слабое", "белые, сильное"}};
    EXPECT_EQ(d.statisticsRows(), expected);

    PairDialogController namesakes =
        PairDialogController::forCreation(c.workbench(), 1, 4, InitialColour::White);
    ASSERT_EQ(namesakes.white(), 1);
    namesakes.swap();
    namesakes.confirm(c.workbench());
    EXPECT_EQ(c.workbench().pairList().last().white, 4);
    EXPECT_EQ(c.workbench().pairList().last().black, 1);
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
        EXPECT_TRUE(p.autoPair());
        EXPECT_EQ(p.pairRows(), c.pairs);
        // The proposal is the director's to change; a second one only over an empty list.
        EXPECT_FALSE(p.autoPairEnabled());
        EXPECT_TRUE(p.finishEnabled());
        const Result<CommittedRound> r = p.finish();
        ASSERT_TRUE(r);
        ASSERT_EQ(r->tournament.roundCount(), 1);
        EXPECT_EQ(r->tournament.rounds[0].size(), 3);
    }

    // Round 2 of two players who have met: no pairing meets the absolute criteria.
    SwissTournament met = makeSwiss({"2000", "1900"}, {{"1|2|1|0"}});
    met.state.path = dir.filePath("met.swz");
    PairingController p = dialogFor(met);
    EXPECT_FALSE(p.initialColourEnabled());
    const Result<> refused = p.autoPair();
    ASSERT_FALSE(refused);
    EXPECT_TRUE(refused.failure().text.contains("2 тура")) << refused.failure().text.toStdString();
    EXPECT_TRUE(p.pairRows().isEmpty());
    EXPECT_TRUE(p.autoPairEnabled());
}

TEST(PairingDialog, AutomaticPairingPairsTheRestAroundThePairsMade) {
    // The pair (a, b) made as proposed, then the rest: in round 1 the players not yet
    // paired form the field, top half against bottom half.
    const auto pairsAfter = [](const SwissTournament& t, int a, int b,
                               Result<>* refused = nullptr) {
        PairingController c = dialogFor(t);
        PairDialogController d =
            PairDialogController::forCreation(c.workbench(), a, b, InitialColour::White);
        d.confirm(c.workbench());
        c.creationDialogClosed(d);
        EXPECT_TRUE(c.autoPairEnabled());
        const Result<> message = c.autoPair();
        if (refused)
            *refused = message;
        EXPECT_EQ(c.finishEnabled(), message.ok());
        QStringList pairs;
        for (const PairRow& row : c.workbench().pairList())
            pairs << QString::number(row.white) + u'-' + QString::number(row.black);
        return pairs.join(u',');
    };
    const SwissTournament six = makeSwiss({"2000", "1900", "1800", "1700", "1600", "1500"});
    const SwissTournament withBye = makeSwiss({"2000", "1900", "1800", "1700", "1600", "**"});
    EXPECT_EQ(pairsAfter(six, 1, 2), "1-2,3-5,6-4");
    EXPECT_EQ(pairsAfter(withBye, 1, 2), "1-2,3-4,5-6");
    EXPECT_EQ(pairsAfter(withBye, 5, 6), "5-6,1-3,4-2");

    // Round 3: 3 has the bye again by hand; the rest, 1 and 2, have met.
    Result<> refused;
    EXPECT_EQ(pairsAfter(makeSwiss({"2000", "1900", "1800", "**"},
                                   {{"1|2|1|0", "3|4|1|0"}, {"1|3|%|%", "2|4|1|0"}}),
                         3, 4, &refused),
              "3-4");
    ASSERT_FALSE(refused);
    EXPECT_TRUE(refused.failure().text.startsWith("Оставшихся игроков (2) нельзя спарить"))
        << refused.failure().text.toStdString();
}

TEST(PairDialog, ProposesTheColoursOfTheDutchRulesAndSaysWhy) {
    // Three drawn rounds. Colours: 1 Ч Ч Б, 2 Ч Б Ч (both strongly White), 3 Б Ч Ч
    // (absolutely White), 4 Ч Ч Ч, 5 and 6 Б Б Б.
    const SwissTournament three = makeSwiss({"2000", "1900", "1800", "1700", "1600", "1500"},
                                            {{"3|1|%|%", "5|2|%|%", "6|4|%|%"},
                                             {"5|4|%|%", "6|3|%|%", "2|1|%|%"},
                                             {"1|4|%|%", "5|3|%|%", "6|2|%|%"}});
    // Round 1 done: 5 had the bye and wants no colour, 1 wants Black.
    const SwissTournament bye = makeSwiss({"2000", "1900", "1800", "1700", "1600", "**"},
                                          {{"1|2|%|%", "3|4|%|%", "5|6|1|0"}});
    const SwissTournament none = makeSwiss({"2000", "1900", "1800", "1700"});
    // 1-2 drawn; 3, 4 and 5 sat round 1 out, and 3 sits round 2 out too: he has not
    // entered, and 4 is third among those who have.
    SwissTournament late = makeSwiss({"2000", "1900", "1800", "1700", "1600"}, {{"1|2|%|%"}});
    late.extras.byes = {{3, 1, Absence::HalfBye},
                        {4, 1, Absence::HalfBye},
                        {5, 1, Absence::HalfBye},
                        {3, 2, Absence::HalfBye}};
    struct Case {
        const SwissTournament* t;
        int first;
        int second;
        InitialColour initial;
        int white;
        QString why;
    };
    const QString w = "По правилам: белые — %1, чёрные — %2. ";
    for (const Case& k : {
             Case{&three, 1, 5, InitialColour::White, 1,
                  w.arg("P1 (№1)", "P5 (№5)") + "Оба получают желаемый цвет."},
             Case{&bye, 1, 5, InitialColour::White, 5,
                  w.arg("P5 (№5)", "P1 (№1)") + "Желаемый цвет получает игрок P1 (№1); у игрока P5 "
                                                "(№5) предпочтения цвета нет."},
             Case{&three, 1, 3, InitialColour::White, 3,
                  w.arg("P3 (№3)", "P1 (№1)") + "Оба предпочитают белые; выполнено более сильное "
                                                "предпочтение игрока P3 (№3)."},
             Case{&three, 3, 4, InitialColour::White, 4,
                  w.arg("P4 (№4)", "P3 (№3)") +
                      "Оба должны получить белые; их получает игрок P4 (№4): "
                      "разница цветов у него больше (3 против 1)."},
             Case{&three, 1, 2, InitialColour::White, 2,
                  w.arg("P2 (№2)", "P1 (№1)") +
                      "Оба предпочитают белые; цвета чередуются от последних партий, в которых "
                      "цвета у них различались: тогда игрок P2 (№2) играл чёрными."},
             Case{&three, 6, 5, InitialColour::White, 6,
                  w.arg("P6 (№6)", "P5 (№5)") +
                      "Оба предпочитают чёрные, и цвета их партий ни разу не различались; "
                      "выполнено предпочтение игрока P5 (№5), стоящего выше в жеребьёвке."},
             Case{&none, 1, 3, InitialColour::Black, 3,
                  w.arg("P3 (№3)", "P1 (№1)") +
                      "Предпочтений цвета нет: игрок P1 (№1) стоит выше в жеребьёвке, его номер "
                      "нечётный, и он получает цвет первого номера в 1 туре (чёрные)."},
             Case{&none, 4, 2, InitialColour::White, 4,
                  w.arg("P4 (№4)", "P2 (№2)") +
                      "Предпочтений цвета нет: игрок P2 (№2) стоит выше в жеребьёвке, его номер "
                      "чётный, и он получает цвет, обратный цвету первого номера в 1 туре "
                      "(чёрные)."},
             Case{&late, 5, 4, InitialColour::White, 4,
                  w.arg("P4 (№4)", "P5 (№5)") +
                      "Предпочтений цвета нет: игрок P4 (№4) стоит выше в жеребьёвке; среди "
                      "участников, уже вступивших в турнир, его номер 3 — нечётный, и он "
                      "получает цвет первого номера в 1 туре (белые)."},
             Case{&bye, 6, 5, InitialColour::White, 5,
                  "Свободный от игры тур: цвета не играют роли."},
         }) {
        SCOPED_TRACE(k.why.toStdString());
        PairingController c = dialogFor(*k.t);
        PairDialogController d =
            PairDialogController::forCreation(c.workbench(), k.first, k.second, k.initial);
        EXPECT_EQ(d.white(), k.white);
        EXPECT_EQ(d.colourAdvice(), k.why);
    }

    // The rows of colours and preferences; editing keeps the colours the pair has.
    PairingController c = dialogFor(three);
    PairDialogController d =
        PairDialogController::forCreation(c.workbench(), 1, 3, InitialColour::White);
    EXPECT_EQ(
        d.statisticsRows().mid(9),
        (QVector<QStringList>{{"Цвета по турам", "Ч Ч Б", "Б Ч Ч"},
                              {"Предпочтение цвета", "белые, сильное", "белые, абсолютное"}}));
    c.workbench().pairList().append(c.workbench().makePairRow(1, 3));
    const PairDialogController edit =
        PairDialogController::forEditing(c.workbench(), 0, InitialColour::White);
    EXPECT_EQ(edit.white(), 1);
    EXPECT_TRUE(edit.colourAdvice().endsWith("\nСейчас цвета обратные предложенным."));
}

TEST(PairingDialog, TheLastRoundIsThePlannedOne) {
    SwissTournament t = makeSwiss({"1500", "1500"}, {{"1|2|1|0"}});
    PairingController legacy = dialogFor(t);
    EXPECT_FALSE(legacy.lastRoundFixed());
    legacy.setLastRound(true);
    EXPECT_TRUE(legacy.lastRound());
    EXPECT_EQ(legacy.dutchOptions().plannedRounds, 2);
    for (const auto& [planned, last] : {std::pair{2, true}, std::pair{3, false}}) {
        t.extras.plannedRounds = planned;
        PairingController c = dialogFor(t);
        c.setLastRound(!last);
        EXPECT_TRUE(c.lastRoundFixed());
        EXPECT_EQ(c.lastRound(), last) << planned;
        EXPECT_EQ(c.dutchOptions().plannedRounds, 0) << "the engine reads the tournament's";
    }
}

TEST(PairDialog, TheByeRowStillToComeHasNoFigures) {
    // 5 sat round 1 out; all five play round 2, so the bye pairs with the row to come.
    SwissTournament t =
        makeSwiss({"2000", "1900", "1800", "1700", "1600"}, {{"1|3|1|0", "2|4|1|0"}});
    t.extras.byes = {{5, 1, Absence::ZeroBye}};
    PairingController c = dialogFor(t);
    ASSERT_TRUE(c.autoPair());
    const int byeRow = int(c.workbench().pairList().size()) - 1;
    ASSERT_EQ(c.workbench().pairList().at(byeRow).black, 6);
    const PairDialogController d = PairDialogController::forEditing(c.workbench(), byeRow, {});
    EXPECT_EQ(d.statisticsRows().front(), (QStringList{"Рейтинг", "1700", ""}));
}
