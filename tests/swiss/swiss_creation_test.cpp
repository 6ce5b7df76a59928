#include "support/test_support.h"
#include "swiss/swiss_creation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;

namespace {

// The text the player selection returns: number, name, city, category, rating.
QString selected(const QString& name, const QString& rating, const QString& city = "МОСКВА") {
    return QStringLiteral("0\n") + name + u'\n' + city + QStringLiteral("\n1\n") + rating;
}

void addPlayers(SwissCreationController& c, int count) {
    const int start = c.participantCount();
    for (int i = start; i < start + count; ++i)
        EXPECT_TRUE(c.addParticipant(
            selected(QStringLiteral("ИГРОК %1").arg(i + 1), QString::number(1500 + 10 * (i % 7)))));
}

} // namespace

TEST(SwissCreation, NumbersByRatingWithTheExchangeProcedure) {
    struct Case {
        QStringList ratings; // players A, B, C in entry order
        QString order;       // names in number order
    };
    for (const Case& c :
         {Case{{"1500", "1500", "1600"}, "CBA"}, Case{{"1500", "1600", "1500"}, "BAC"},
          Case{{"", "x", "1"}, "CBA"}, Case{{"2000", "1900", "1800"}, "ABC"}}) {
        QVector<QStringList> rows;
        for (int i = 0; i < 3; ++i)
            rows.append({QString::number(i + 1), QString(QChar(u'A' + i)), "Г", "1", c.ratings[i]});
        const SwissTournament t = makeSwissTournament(rows, "05.12.2026", "t.swz");
        QString order;
        for (const Participant& p : t.participants)
            order += p.name;
        EXPECT_EQ(order, c.order + "**") << c.ratings.join(' ').toStdString();
        EXPECT_EQ(t.participant(1).number, "1");
        EXPECT_EQ(t.byeNumber, 4);
    }
}

TEST(SwissCreation, EnablingRules) {
    SwissCreationController c;
    EXPECT_EQ(c.countLabel(), "Всего участников - 0");
    c.setName("Кубок");
    addPlayers(c, 13);
    EXPECT_FALSE(c.roundsEnabled());
    c.setRoundsText("7");
    c.setBaku(true);
    EXPECT_EQ(c.roundsText(), "");
    EXPECT_FALSE(c.baku()); // offered with the rounds only
    EXPECT_FALSE(c.finishEnabled());

    addPlayers(c, 1);
    EXPECT_EQ(c.countLabel(), "Всего участников - 14");
    EXPECT_TRUE(c.roundsEnabled());
    EXPECT_FALSE(c.finishEnabled());
    c.setRoundsText("7");
    EXPECT_TRUE(c.finishEnabled()); // the name's length is SaysWhatFinishingStillWaitsFor's
    c.setBaku(true);
    EXPECT_TRUE(c.baku());

    EXPECT_FALSE(c.removeEnabled());
    c.clickRow(2);
    EXPECT_EQ(c.selectedNumber(), 3);
    EXPECT_TRUE(c.removeEnabled());
    c.removeSelected();
    EXPECT_FALSE(c.removeEnabled());
    EXPECT_EQ(c.participantCount(), 13);
    EXPECT_EQ(c.roundsText(), "");
    EXPECT_FALSE(c.baku());
    EXPECT_FALSE(c.finishEnabled());
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(c.participantRows()[i][0], QString::number(i + 1));
    EXPECT_EQ(c.participantRows()[2][1], "ИГРОК 4");
}

TEST(SwissCreation, SaysWhatFinishingStillWaitsFor) {
    const QString players = "участников (%1 из 14)";
    const QString name = "названия турнира (не короче 4 символов)";
    const QString rounds = "количества туров";
    const struct {
        int players;
        const char* name;
        const char* rounds;
        QString missing;
    } cases[] = {{0, "", "", players.arg(0) + "; " + name + "; " + rounds},
                 {13, "Кубок", "7", players.arg(13) + "; " + rounds}, // the rounds were cleared
                 {14, "Куб", "7", name},
                 {14, "Кубк", "", rounds},
                 {14, "Кубк", "7", ""}};
    for (const auto& k : cases) {
        SwissCreationController c;
        addPlayers(c, k.players);
        c.setName(QString::fromUtf8(k.name));
        c.setRoundsText(QString::fromUtf8(k.rounds));
        EXPECT_EQ(c.missingText(), k.missing.isEmpty() ? QString() : "Не хватает: " + k.missing)
            << k.players << k.name;
        EXPECT_EQ(c.finishEnabled(), k.missing.isEmpty()) << k.players << k.name;
    }
}

TEST(SwissCreation, DuplicatesAndTheTableLimitAreRefused) {
    SwissCreationController c;
    EXPECT_TRUE(c.addParticipant(selected("ПЕТРОВ", "1800")));
    const Result<> dup = c.addParticipant(selected("ПЕТРОВ", "1700"));
    ASSERT_FALSE(dup);
    EXPECT_EQ(dup.failure(),
              (Message{"Повторный ввод участника", "Этот участник уже занесен в список турнира"}));
    EXPECT_EQ(c.countLabel(), "Всего участников - 1");
    EXPECT_TRUE(c.addParticipant(selected("ПЕТРОВ", "1700", "ТУЛА")));
    EXPECT_TRUE(c.addParticipant(QString()));
    EXPECT_EQ(c.participantCount(), 2);
    EXPECT_EQ(c.participantRows()[1], (QStringList{"2", "ПЕТРОВ", "ТУЛА", "1", "1700"}));

    addPlayers(c, 298);
    EXPECT_EQ(c.participantCount(), 300);
    const Result<> full = c.addParticipant(selected("ЛИШНИЙ", "1500"));
    ASSERT_FALSE(full);
    EXPECT_TRUE(full.failure().text.contains("300"));
    EXPECT_EQ(c.participantCount(), 300);
}

TEST(SwissCreation, FinishWritesTheFileNamedAfterTheDayOfCreation) {
    const QDate today(2026, 12, 5);
    EXPECT_EQ(swissFileName("Кубок клуба", today), "Кубок_клуба_(05.12.2026).swz");
    EXPECT_TRUE(swissFileName("Open 2026", today).startsWith("Open_2026_("));

    for (int players : {15, 14}) {
        QTemporaryDir dir;
        SwissCreationController c;
        c.setName("Open 2026");
        c.setStartDate("01.12.2026");
        addPlayers(c, players);
        c.setRoundsText("9");
        c.setBaku(players == 15);
        ASSERT_TRUE(c.finishEnabled());
        const Result<SwissTournament> r = c.finish(dir.path(), today);
        ASSERT_TRUE(r);
        const SwissTournament& t = *r;
        EXPECT_EQ(t.extras.plannedRounds, 9); // kept for the pairing's last round
        EXPECT_EQ(t.extras.acceleration.baku, players == 15);
        EXPECT_EQ(t.state.path, dir.filePath("Open_2026_(05.12.2026).swz"));
        const SwissTournament onDisk = *loadSwiss(t.state.path);
        EXPECT_EQ(swissFileLines(onDisk), swissFileLines(t));
        EXPECT_EQ(onDisk.state.startDate, "01.12.2026");
        EXPECT_EQ(onDisk.extras, t.extras);
        EXPECT_EQ(onDisk.participantCount(), 16 - (15 - players) * 2);
        EXPECT_EQ(onDisk.boardCount(), players == 15 ? 8 : 7);
        EXPECT_EQ(onDisk.byeNumber, players == 15 ? 16 : 0);
        if (players == 15) {
            EXPECT_EQ(onDisk.participant(16), makeByeRow(16));
        }
    }
}

TEST(SwissCreation, AnEarlierTournamentOfTheSameNameAndDayIsNotOverwritten) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Кубок_(05.12.2026).swz");
    test::writeBytes(path, "earlier");
    SwissCreationController c;
    c.setName("Кубок");
    addPlayers(c, 14);
    const Result<SwissTournament> r = c.finish(dir.path(), QDate(2026, 12, 5));
    ASSERT_FALSE(r);
    EXPECT_TRUE(r.failure().text.contains("Кубок_(05.12.2026).swz"));
    EXPECT_EQ(test::readBytes(path), "earlier");
    EXPECT_TRUE(c.finish(dir.path(), QDate(2026, 12, 6)));
}

TEST(SwissCreation, NamesThatCannotBeFileNamesAreRefused) {
    QTemporaryDir dir;
    for (const QString name :
         {"../Кубок", "a/b c", "Кубок?", "Кубок:1", "Ку\tбок", "a\\bcd", "a|bcd", "Ку\u2028бок"}) {
        SwissCreationController c;
        c.setName(name);
        addPlayers(c, 14);
        const Result<SwissTournament> r = c.finish(dir.path(), QDate(2026, 12, 5));
        ASSERT_FALSE(r) << name.toStdString();
        EXPECT_EQ(r.failure().title, "Ошибка создания файла");
    }
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_FALSE(QFile::exists(dir.filePath("../Кубок_(05.12.2026).swz")));
}
