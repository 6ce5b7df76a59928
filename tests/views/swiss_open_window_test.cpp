// A real weekend open run through the windows alone: 23 players and 7 rounds planned,
// a forbidden pair, two requested half-point byes, a late entry for round 2, a
// withdrawal after round 3 and one pairing undone and made again, every round paired
// automatically. The points are worked out here from the results entered and the byes
// granted, independently of the standings, and the lists and reports are checked
// against ladya-cli reading the same files.
#include "app/shell.h"
#include "swiss/swiss_window_test_util.h"
#include "ui/keyboard.h"
#include "views/pair_dialog_test_util.h"
#include "views/swiss_creation_window.h"
#include "views/swiss_window.h"

#include <QHash>
#include <QSet>

using namespace ladya;
using namespace ladya::test;

namespace {

// 24 players: ratings 2400 down by 40, but ИГРОК 24, who comes late, is rated between
// the 6th and the 7th, so that his entry renumbers the field below him.
QByteArray openPlayers() {
    QByteArray bytes;
    for (int i = 1; i <= 24; ++i)
        bytes += QStringLiteral("ИГРОК %1|%2|1|%3|Новый участник|01.11.2026\r\n")
                     .arg(i, 2, 10, QLatin1Char('0'))
                     .arg(QStringLiteral("МОСКВА"))
                     .arg(i == 24 ? 2150 : 2400 - 40 * i)
                     .toUtf8();
    return bytes;
}

QString name(int player) {
    return QStringLiteral("ИГРОК %1").arg(player, 2, 10, QLatin1Char('0'));
}

// The column of a listing with the given title.
int column(const QByteArray& listing, const QString& title) {
    const QStringList titles = QString::fromUtf8(listing.split('\n').first()).split(u'\t');
    return int(titles.indexOf(title));
}

// Points per name from a standings listing, in halves.
QHash<QString, int> pointsOf(const QByteArray& listing) {
    QHash<QString, int> points;
    const QList<QByteArray> lines = listing.trimmed().split('\n');
    const int nameColumn = column(listing, QStringLiteral("ФИО участника"));
    const int pointsColumn = column(listing, QStringLiteral("Очки"));
    for (qsizetype k = 1; k < lines.size(); ++k) {
        const QStringList cells = QString::fromUtf8(lines[k]).trimmed().split(u'\t');
        if (cells.value(nameColumn) == ByeText)
            continue;
        points.insert(cells.value(nameColumn).section(u' ', 0, 1),
                      int(cells.value(pointsColumn).toDouble() * 2 + 0.01));
    }
    return points;
}

} // namespace

using SwissOpen = test::AppTest;

TEST_F(SwissOpen, TwentyThreePlayersSevenRoundsWithEveryEventOfARealOpen) {
    startWith(openPlayers());
    Shell shell(app, platform);
    shell.start();
    QTest::mouseClick(button(shell.mainMenu(), "swissButton"), Qt::LeftButton);
    SwissCreationWindow* creation = shell.swissCreation();
    ASSERT_NE(creation, nullptr);
    test::typeText(child<QLineEdit>(creation, "nameEdit"), QStringLiteral("Открытый турнир"));
    for (int row = 0; row < 23; ++row) {
        test::chooseInSelectionDialog(row);
        QTest::mouseClick(button(creation, "addButton"), Qt::LeftButton);
    }
    auto* plannedRounds = child<ui::DropDown>(creation, "roundsSelector");
    plannedRounds->setCurrentIndex(plannedRounds->findText("7"));
    QTest::mouseClick(button(creation, "finishButton"), Qt::LeftButton);
    SwissWindow* w = shell.swissWindow();
    ASSERT_NE(w, nullptr);
    const QString path = w->controller().tournament().state.path;
    auto* progress = child<QLabel>(w, "roundProgressLabel");
    EXPECT_EQ(progress->text(), "Туров в турнире: 7");

    ui::MultiColumnList* standings = list(w, "standingsList");
    ui::MultiColumnList* games = list(w, "gameList");
    // A choice of the participant menu of the player named, by its label.
    auto act = [&](int player, const QString& choice, const QString& answer) {
        const SwissTournament& t = w->controller().tournament();
        int row = -1;
        for (int k = 0; k < standings->rowCount(); ++k) {
            if (t.nameOf(w->controller().standings().participantAt(k + 1)) == name(player))
                row = k;
        }
        ASSERT_GE(row, 0);
        standings->setFocus();
        standings->selectRow(row);
        test::clickRow(standings, row);
        const QStringList labels = w->controller().participantChoiceLabels();
        platform.answers = {int(labels.indexOf(choice))};
        ASSERT_GE(platform.answers.first(), 0) << choice.toStdString();
        platform.textAnswers = {answer};
        QTest::keyClick(standings, Qt::Key_Return);
    };

    // Before round 1: the brothers 01 and 02 must not meet; 05 asks for a half-point
    // bye in round 2 and 10 in round 5.
    act(1, "Запретить пару с…", "2");
    act(5, "Бай ½ очка в туре…", "2");
    act(10, "Бай ½ очка в туре…", "5");
    ASSERT_TRUE(platform.messages.isEmpty()) << platform.messages.first().text.toStdString();

    QHash<QString, int> expected; // points in halves, worked out from what is entered
    QSet<QSet<QString>> met;
    QVector<QSet<QString>> onBoard(8);
    auto pairRound = [&] {
        auto* p = test::openWindow<PairingWindow>("pairingDialog");
        ASSERT_NE(p, nullptr);
        QTest::mouseClick(button(p, "autoPairButton"), Qt::LeftButton);
        QTest::mouseClick(button(p, "finishButton"), Qt::LeftButton);
        if (p->isVisible())
            p->close();
    };
    auto pair = [&](int round) {
        test::whenModalOpens(pairRound);
        QTest::mouseClick(button(w, "pairingButton"), Qt::LeftButton);
        ASSERT_EQ(w->controller().tournament().roundCount(), round);
        EXPECT_EQ(progress->text(), QStringLiteral("Тур %1 из 7").arg(round));
    };
    auto play = [&](int round) {
        for (int row = 0; row < games->rowCount(); ++row) {
            const QString white = games->cellText(row, 1);
            const QString black = games->cellText(row, 2);
            if (!black.startsWith("ИГРОК") && black != "**")
                continue; // a participant who sits the round out
            QString entry = QStringList{"1", "%", "0"}[(round + row) % 3];
            if (black == "**")
                entry = "+";
            test::enterResult(w, row + 1, entry);
            const int whiteHalves = entry == "1" || entry == "+" ? 2 : entry == "%" ? 1 : 0;
            expected[white] += whiteHalves;
            onBoard[round] << white;
            if (black != "**") {
                expected[black] += 2 - whiteHalves;
                onBoard[round] << black;
                met << QSet<QString>{white, black};
            }
        }
        EXPECT_TRUE(test::statusLine(w).endsWith(" тура - 0"));
    };

    pair(1);
    play(1);
    // 24 comes for round 2; his missed round counts half a point.
    platform.answers = {1}; // "По пол-очка"
    test::chooseInSelectionDialog(23);
    QTest::mouseClick(button(w, "lateEntryButton"), Qt::LeftButton);
    EXPECT_EQ(w->controller().tournament().participant(7).name, name(24));
    expected[name(24)] += 1;
    expected[name(5)] += 1;  // round 2
    expected[name(10)] += 1; // round 5
    for (int round = 2; round <= 3; ++round) {
        pair(round);
        if (round == 2) { // the half-point bye is shown below the games
            EXPECT_TRUE(listing(games).contains(name(5).toUtf8() + "\tбай ½\t½"));
        }
        play(round);
    }
    act(7, "Выбывает с тура…", "4");

    // Round 4 paired, undone while no result is in, and paired again the same way.
    pair(4);
    const QByteArray first = listing(games);
    platform.confirmAnswers = {true};
    QTest::mouseClick(button(w, "undoPairingButton"), Qt::LeftButton);
    EXPECT_EQ(w->controller().tournament().roundCount(), 3);
    pair(4);
    EXPECT_EQ(listing(games), first);
    play(4);
    for (int round = 5; round <= 7; ++round) {
        pair(round);
        play(round);
        EXPECT_EQ(listing(games), test::cliListing({"games", path, QString::number(round)}));
    }
    EXPECT_FALSE(button(w, "pairingButton")->isEnabled()); // the seven rounds are played
    EXPECT_TRUE(platform.messages.isEmpty());

    // Who played when: the forbidden pair never met, nobody met twice, the absent sat out.
    EXPECT_FALSE(met.contains(QSet<QString>{name(1), name(2)}));
    EXPECT_FALSE(onBoard[1].contains(name(24)));
    EXPECT_FALSE(onBoard[2].contains(name(5)));
    EXPECT_FALSE(onBoard[5].contains(name(10)));
    for (int round = 4; round <= 7; ++round)
        EXPECT_FALSE(onBoard[round].contains(name(7))) << round;
    for (int round = 1; round <= 7; ++round)
        EXPECT_GE(onBoard[round].size(), 20) << round;

    // The standings' points are the ones worked out, the window's lists are the CLI's.
    const QByteArray table = listing(standings);
    EXPECT_EQ(table, test::cliListing({"standings", path}));
    EXPECT_TRUE(table.contains(name(7).toUtf8() + " (выбыл)\t"));
    const QHash<QString, int> shown = pointsOf(table);
    ASSERT_EQ(shown.size(), 24);
    for (int player = 1; player <= 24; ++player)
        EXPECT_EQ(shown.value(name(player)), expected.value(name(player))) << player;

    // The reports: the crosstable and the last round's pairing sheet.
    const QString report = app.filePath(FileNames::Report);
    QTest::mouseClick(button(w, "reportButton"), Qt::LeftButton);
    EXPECT_EQ(test::readBytes(report), test::cliListing({"report", "crosstable", path}));
    QTest::mouseClick(button(w, "pairingSheetButton"), Qt::LeftButton);
    EXPECT_EQ(test::readBytes(report), test::cliListing({"report", "pairings", path, "7"}));
    EXPECT_TRUE(test::readBytes(report).contains("Пары тура 7"));

    // The TRF announces the rounds, keeps the byes and the forbidden pair.
    QTest::mouseClick(button(w, "trfExportButton"), Qt::LeftButton);
    const QByteArray trf = test::readBytes(QString(path).replace(".swz", ".trf"));
    EXPECT_TRUE(trf.contains("\r\nXXR 7\r\n"));
    EXPECT_EQ(trf.count("0000 - H"), 3);
    EXPECT_FALSE(trf.contains("\r\n240 ")); // no round is left to announce
    EXPECT_TRUE(trf.contains("\r\n260   1   7    1    2\r\n")) << trf.toStdString();
}
