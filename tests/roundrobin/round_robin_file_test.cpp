#include "round_robin_test_util.h"
#include "roundrobin/round_robin_file.h"
#include "support/test_support.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;

namespace {

// The three-player example after ПЕТРОВ – СИДОРОВ has been won by White: the header,
// four rows of five lines, then White, Black and the result of each board by round.
QStringList exampleLines() {
    return QStringLiteral("01.12.2026||4|3|2|1_krug|"
                          "1|ИВАНОВ И.И.|КМС|2150|МОСКВА|2|ПЕТРОВ П.П.|1|1980|ТВЕРЬ|"
                          "3|СИДОРОВ С.С.|2|1750|КЛИН|4|**|**|**|**|"
                          "ИВАНОВ И.И.|**||ПЕТРОВ П.П.|СИДОРОВ С.С.|1|"
                          "**|СИДОРОВ С.С.||ИВАНОВ И.И.|ПЕТРОВ П.П.||"
                          "ПЕТРОВ П.П.|**||СИДОРОВ С.С.|ИВАНОВ И.И.|")
        .split(u'|');
}

} // namespace

TEST(RoundRobinFile, ReadsTheWorkedExampleAndWritesItBackUnchanged) {
    const QStringList lines = exampleLines();
    ASSERT_EQ(lines.size(), 44);
    const Result<RoundRobinTournament> loaded =
        parseRoundRobin(lines, "Кубок_клуба_(01.12.2026).kr2");
    ASSERT_TRUE(loaded) << loaded.failure().text.toStdString();
    const RoundRobinTournament& t = *loaded;
    EXPECT_EQ(t.state.startDate, "01.12.2026");
    EXPECT_EQ(t.state.endDate, "");
    EXPECT_EQ(t.participantCount(), 4);
    EXPECT_EQ(t.roundCount(), 3);
    EXPECT_EQ(t.boardCount(), 2);
    EXPECT_EQ(t.state.kind, TournamentKind::OneCycle);
    EXPECT_EQ(t.participant(4), makeByeRow(4));
    EXPECT_EQ(t.participant(2).city, "ТВЕРЬ");
    EXPECT_EQ(t.game(1, 2), (RoundRobinGame{"ПЕТРОВ П.П.", "СИДОРОВ С.С.", "1", "0"}));
    EXPECT_EQ(t.game(3, 2).white, "СИДОРОВ С.С.");
    EXPECT_EQ(t.state.unplayedCount, 5);
    EXPECT_EQ(t.displayName(), "Кубок_клуба_(01.12.2026)");
    EXPECT_EQ(roundRobinLines(t), lines);
    EXPECT_EQ(roundRobinFileBytes(t), joinLinesCrLf(lines));
    // Names that share no text with the rows are written the same way.
    RoundRobinTournament copied = t;
    for (auto& round : copied.games)
        for (RoundRobinGame& g : round) {
            g.white = QString(g.white.constData(), g.white.size());
            g.black = QString(g.black.constData(), g.black.size());
        }
    copied.game(3, 2).white = "СИДОРОВ";
    QStringList changed = lines;
    changed[6 + 20 + 15] = "СИДОРОВ";
    EXPECT_EQ(roundRobinFileBytes(copied), joinLinesCrLf(changed));

    // The same schedule is what the Berger tables give for these rows.
    RoundRobinTournament fresh = t;
    fresh.games = buildBergerSchedule(t.participants, false);
    fresh.game(1, 2).result = "1";
    fresh.game(1, 2).mirrorResult = "0";
    EXPECT_EQ(roundRobinLines(fresh), lines);
}

TEST(RoundRobinFile, DerivesBlackSideOfEveryCode) {
    const struct {
        const char* stored;
        const char* white;
        const char* black;
    } cases[] = {{"1", "1", "0"}, {"0", "0", "1"}, {"%", "%", "%"}, {"+", "+", "-"},
                 {"-", "-", "+"}, {"", "", ""},    {"00", "-", "-"}};
    for (const auto& c : cases) {
        QStringList lines = exampleLines();
        lines[6 + 20 + 2] = QString::fromUtf8(c.stored); // round 1, board 1
        const Result<RoundRobinTournament> loaded = parseRoundRobin(lines, "x.kr2");
        ASSERT_TRUE(loaded) << c.stored;
        const RoundRobinGame& g = loaded->game(1, 1);
        EXPECT_EQ(g.result, QString::fromUtf8(c.white)) << c.stored;
        EXPECT_EQ(g.mirrorResult, QString::fromUtf8(c.black)) << c.stored;
        // What was read is written back byte for byte, the double forfeit included.
        EXPECT_EQ(roundRobinLines(*loaded), lines) << c.stored;
    }
}

TEST(RoundRobinFile, SavesAtomicallyAndLoadsBackEveryText) {
    QTemporaryDir dir;
    auto t = test::makeRoundRobin({{"ИВАНОВ", "КМС", "2150"}, {"ПЕТРОВ", "1*", "1980"}}, true);
    t.state.path = dir.filePath("Кубок_(01.12.2026).kr2");
    t.state.endDate = "05.12.2026";
    test::setResult(t, 1, "ИВАНОВ", "00");
    ASSERT_TRUE(saveRoundRobin(t));
    const QByteArray bytes = test::readBytes(t.state.path);
    EXPECT_TRUE(bytes.startsWith("01.12.2026\r\n05.12.2026\r\n2\r\n2\r\n1\r\n2_kruga\r\n"));
    EXPECT_TRUE(bytes.endsWith("ПЕТРОВ\r\nИВАНОВ\r\n\r\n"));
    EXPECT_TRUE(bytes.contains("ИВАНОВ\r\nПЕТРОВ\r\n00\r\n"));
    const Result<RoundRobinTournament> loaded = loadRoundRobin(t.state.path);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(*loaded, t);
    EXPECT_TRUE(loaded->game(1, 1).isDoubleForfeit());
    EXPECT_EQ(loaded->state.unplayedCount, 1);
}

TEST(RoundRobinFile, RefusesFilesThatCannotHoldATournament) {
    const auto withLine = [](int index, const char* value) {
        QStringList lines = exampleLines();
        lines[index] = QString::fromUtf8(value);
        return lines;
    };
    const struct {
        const char* what;
        QStringList lines;
    } cases[] = {
        {"empty file", {}},
        {"header only", exampleLines().mid(0, 5)},
        {"51 rows", withLine(2, "51")},
        {"negative rows", withLine(2, "-1")},
        {"101 rounds", withLine(3, "101")},
        {"26 boards", withLine(4, "26")},
        {"ends early", exampleLines().mid(0, 43)},
        {"unknown result", withLine(6 + 20 + 2, "2")},
    };
    for (const auto& c : cases) {
        const Result<RoundRobinTournament> loaded = parseRoundRobin(c.lines, "Кубок.kr2");
        EXPECT_FALSE(loaded) << c.what;
        EXPECT_FALSE(loaded.failure().text.isEmpty()) << c.what;
        EXPECT_TRUE(loaded.failure().text.contains("Кубок.kr2")) << c.what;
    }
    // A file whose games do not fit its rows would show figures made up from nothing.
    QStringList manyBoards = exampleLines();
    manyBoards[4] = "3";
    for (int k = 0; k < 9; ++k)
        manyBoards << "ИВАНОВ И.И."
                   << "ПЕТРОВ П.П."
                   << "";
    const struct {
        const char* what;
        QStringList lines;
        const char* says;
    } inconsistent[] = {
        {"game naming no row", withLine(6 + 20 + 3, "НИКТО Н.Н."),
         "Строка 30: в партии назван \"НИКТО Н.Н.\""},
        {"more boards than half the rows", manyBoards, "Строка 5: в туре 3 партий"},
        {"two rows of one name", withLine(6 + 5 + 1, "ИВАНОВ И.И."),
         "Строка 13: участник \"ИВАНОВ И.И.\" записан дважды"},
    };
    for (const auto& c : inconsistent) {
        const Result<RoundRobinTournament> loaded = parseRoundRobin(c.lines, "Кубок.kr2");
        EXPECT_FALSE(loaded) << c.what;
        EXPECT_TRUE(loaded.failure().text.contains(QString::fromUtf8(c.says)))
            << c.what << ": " << loaded.failure().text.toStdString();
    }
    // Lines beyond the counts are ignored.
    EXPECT_TRUE(parseRoundRobin(exampleLines() << "extra", "x.kr2"));
}

TEST(RoundRobinFile, UnreadableFileIsReported) {
    QTemporaryDir dir;
    EXPECT_FALSE(loadRoundRobin(dir.filePath("missing.kr2")));
    EXPECT_EQ(roundRobinSaveFailedMessage().title, "Ошибка создания файла");
}

// The tie-break list lives in the .krx beside the .kr2: written only while a list is
// chosen, the .kr2's bytes never touched, and a damaged .krx refused by name and kept.
TEST(RoundRobinFile, TieBreakListIsKeptBesideTheKr2) {
    QTemporaryDir dir;
    auto t = test::makeRoundRobin({{"ИВАНОВ", "КМС", "2150"}, {"ПЕТРОВ", "1*", "1980"}});
    t.state.path = dir.filePath("Кубок.kr2");
    const QString krx = dir.filePath("Кубок.krx");
    EXPECT_EQ(roundRobinTieBreaksPath(t.state.path), krx);
    ASSERT_TRUE(saveRoundRobin(t));
    const QByteArray kr2 = test::readBytes(t.state.path);
    EXPECT_FALSE(QFile::exists(krx));

    ASSERT_TRUE(saveRoundRobinTieBreaks(t.state.path, "BH/C1,SB,DE"));
    EXPECT_EQ(test::readBytes(krx), "Ladya-KRX|1\r\ntiebreaks|BH/C1,SB,DE\r\n");
    EXPECT_EQ(test::readBytes(t.state.path), kr2);
    Result<RoundRobinTournament> loaded = loadRoundRobin(t.state.path);
    ASSERT_TRUE(loaded) << loaded.failure().text.toStdString();
    EXPECT_EQ(loaded->tieBreaks, "BH/C1,SB,DE");
    t.tieBreaks = "BH/C1,SB,DE";
    EXPECT_EQ(*loaded, t);
    // Saving the tournament leaves the list where it is.
    ASSERT_TRUE(saveRoundRobin(*loaded));
    EXPECT_EQ(test::readBytes(t.state.path), kr2);
    EXPECT_EQ(loadRoundRobin(t.state.path)->tieBreaks, "BH/C1,SB,DE");

    // No list: no .krx.
    ASSERT_TRUE(saveRoundRobinTieBreaks(t.state.path, QString()));
    EXPECT_FALSE(QFile::exists(krx));
    EXPECT_EQ(loadRoundRobin(t.state.path)->tieBreaks, QString());
    EXPECT_FALSE(saveRoundRobinTieBreaks(t.state.path, "BH/Q7"));
    EXPECT_FALSE(QFile::exists(krx));

    const struct {
        QByteArray text;
        const char* says;
    } damaged[] = {
        {"Ladya-KRX|2\r\n", "строка 1: версия 2"},
        {"tiebreaks|SB\r\n", "строка 1: это не файл"},
        {"Ladya-KRX|1\r\ntiebreaks|SB,XYZ\r\n", "строка 2: список тай-брейков не читается"},
        {"Ladya-KRX|1\r\ntiebreaks|\r\n", "строка 2: список тай-брейков пуст"},
        {"Ladya-KRX|1\r\ntiebreaks|SB\r\ntiebreaks|BH\r\n", "строка 3: список тай-брейков уже"},
        {"Ladya-KRX|1\r\nrounds|7\r\n", "строка 2: неизвестная запись \"rounds\""},
        {"Ladya-KRX|1\r\n\xff\r\n", "строка 2: текст не в кодировке UTF-8"},
    };
    for (const auto& c : damaged) {
        test::writeBytes(krx, c.text);
        loaded = loadRoundRobin(t.state.path);
        ASSERT_FALSE(loaded) << c.says;
        EXPECT_TRUE(loaded.failure().text.contains("Кубок.krx"));
        EXPECT_TRUE(loaded.failure().text.contains(QString::fromUtf8(c.says)))
            << loaded.failure().text.toStdString();
        EXPECT_FALSE(saveRoundRobinTieBreaks(t.state.path, "SB")) << c.says;
        EXPECT_FALSE(saveRoundRobinTieBreaks(t.state.path, QString())) << c.says;
        EXPECT_EQ(test::readBytes(krx), c.text) << c.says;
    }
}
