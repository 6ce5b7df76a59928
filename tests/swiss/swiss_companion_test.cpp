#include "support/test_support.h"
#include "swiss/swiss_companion.h"
#include "swiss/swiss_file.h"
#include "swiss/swiss_test_util.h"

#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace ladya;

namespace {

// Six players, one round paired, a record of every kind.
SwissTournament withEveryRecord(const QString& path) {
    SwissTournament t = test::makeSwiss({"1500", "1400", "1300", "1200", "1100", "1000"},
                                        {{"1|4|1|0", "5|3|%|%", "0|0||"}});
    t.state.path = path;
    t.extras.plannedRounds = 7;
    t.extras.byes = {{2, 1, Absence::HalfBye}, {3, 2, Absence::ZeroBye}, {5, 4, Absence::FullBye}};
    t.extras.withdrawals = {{4, 3, 5}, {1, 6, 0}};
    t.extras.lateEntries = {{6, 2, Absence::HalfBye}};
    t.extras.forbidden = {{1, 5, 1, 0}, {3, 2, 2, 4}};
    t.extras.acceleration = {true, 4};
    t.extras.tieBreaks = "BH/C1,SB";
    return t;
}

ino_t inodeOf(const QString& path) {
    struct stat s {};
    return ::stat(QFile::encodeName(path).constData(), &s) == 0 ? s.st_ino : 0;
}

} // namespace

TEST(SwissCompanion, EveryRecordKindIsWrittenAndReadBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath("t.swz");
    const SwissTournament t = withEveryRecord(path);
    ASSERT_TRUE(saveSwiss(t));
    // The .swz is what it would be without the records; the records are beside it.
    SwissTournament plain = t;
    plain.extras = {};
    EXPECT_EQ(test::readBytes(path), swissFileBytes(plain));
    EXPECT_EQ(test::readBytes(companionPath(path)), "Ladya-SWX|1\r\n"
                                                    "swz|" +
                                                        swissFingerprint(t) +
                                                        "\r\n"
                                                        "rounds|7\r\n"
                                                        "bye|2|1|H\r\n"
                                                        "bye|3|2|Z\r\n"
                                                        "bye|5|4|F\r\n"
                                                        "withdraw|4|3|5\r\n"
                                                        "withdraw|1|6|0\r\n"
                                                        "late|6|2|H\r\n"
                                                        "forbid|1|5|1|0\r\n"
                                                        "forbid|3|2|2|4\r\n"
                                                        "accel|baku|4\r\n"
                                                        "tiebreaks|BH/C1,SB\r\n");
    const Result<SwissTournament> loaded = loadSwiss(path);
    ASSERT_TRUE(loaded) << loaded.failure().text.toStdString();
    EXPECT_EQ(loaded->extras, t.extras);
    EXPECT_EQ(loaded->rounds, t.rounds);

    // A result leaves the structure and the records: only the .swz is written.
    const ino_t companion = inodeOf(companionPath(path));
    SwissTournament played = *loaded;
    played.game(1, 1).whiteResult = "0";
    played.game(1, 1).blackResult = "1";
    const SwissFileText text = swissFileText(played);
    ASSERT_TRUE(writeSwissFile(path, text));
    EXPECT_EQ(inodeOf(companionPath(path)), companion);
    const Result<SwissTournament> reloaded = reloadSwiss(path, played, text);
    ASSERT_TRUE(reloaded);
    EXPECT_EQ(reloaded->extras, t.extras);

    // A new round changes the structure: the companion follows, with one set again.
    SwissTournament next = *reloaded;
    next.rounds.append({{4, 1, {}, {}}, {2, 5, {}, {}}, {3, 6, {}, {}}});
    next.deriveCounts();
    ASSERT_TRUE(saveSwiss(next));
    EXPECT_EQ(loadSwiss(path)->extras, t.extras);
    EXPECT_EQ(test::readBytes(companionPath(path)).count("swz|"), 1);
    EXPECT_TRUE(test::readBytes(companionPath(path)).contains(swissFingerprint(next)));

    // Records that became empty keep their companion, with no records.
    next.extras = {};
    ASSERT_TRUE(saveSwiss(next));
    EXPECT_EQ(test::readBytes(companionPath(path)),
              "Ladya-SWX|1\r\nswz|" + swissFingerprint(next) + "\r\n");
    EXPECT_EQ(loadSwiss(path)->extras, SwissExtras());
}

TEST(SwissCompanion, PlainTournamentHasNoCompanion) {
    QTemporaryDir dir;
    const QString path = dir.filePath("plain.swz");
    SwissTournament t = test::makeSwiss({"1500", "1400", "1300", "1200"}, {{"1|3|1|0", "4|2||"}});
    t.state.path = path;
    ASSERT_TRUE(saveSwiss(t));
    EXPECT_FALSE(QFile::exists(companionPath(path)));
    EXPECT_EQ(test::readBytes(path), swissFileBytes(t));
    EXPECT_EQ(loadSwiss(path)->extras, SwissExtras());

    // The first record written for it makes one.
    t.extras.byes = {{2, 2, Absence::HalfBye}};
    ASSERT_TRUE(saveSwiss(t));
    EXPECT_EQ(test::readBytes(path), swissFileBytes(t));
    EXPECT_EQ(loadSwiss(path)->extras, t.extras);

    // Records the tournament cannot hold are not written at all.
    SwissTournament bad = t;
    bad.extras.byes = {{7, 2, Absence::HalfBye}};
    const Result<> refused = saveSwiss(bad);
    ASSERT_FALSE(refused);
    EXPECT_TRUE(refused.failure().text.contains("участника 7 нет в турнире"));
    EXPECT_EQ(loadSwiss(path)->extras, t.extras);
}

// An interrupted save leaves a companion with the new records for the new .swz and the
// old ones for the .swz still on disk: either .swz finds its own, even when only
// results tell the two apart.
TEST(SwissCompanion, TwoSetsServeTheSwzBeforeAndAfter) {
    QTemporaryDir dir;
    const QString path = dir.filePath("t.swz");
    const SwissTournament before = withEveryRecord(path);
    SwissTournament after = before;
    after.extras.byes.removeFirst();
    after.game(1, 1).whiteResult = "%";
    after.game(1, 1).blackResult = "%";
    ASSERT_EQ(swissFingerprint(after), swissFingerprint(before));
    const CompanionSet pending{swissFingerprint(after),
                               swzContentHash(swissFileBytes(after)),
                               after.extras,
                               0,
                               {},
                               {},
                               {},
                               {}};
    const CompanionSet old{swissFingerprint(before), {}, before.extras, 0, {}, {}, {}, {}};
    test::writeBytes(companionPath(path), companionBytes({pending, old}));
    SwissTournament other = before;
    other.game(1, 2).whiteResult = "0";
    other.game(1, 2).blackResult = "1";
    for (const SwissTournament* t : QVector<const SwissTournament*>{&before, &after, &other}) {
        test::writeBytes(path, swissFileBytes(*t));
        const Result<SwissTournament> loaded = loadSwiss(path);
        ASSERT_TRUE(loaded) << loaded.failure().text.toStdString();
        EXPECT_EQ(loaded->extras, t == &after ? after.extras : before.extras);
    }
    // The next save leaves one set.
    ASSERT_TRUE(saveSwiss(*loadSwiss(path)));
    EXPECT_EQ(test::readBytes(companionPath(path)).count("swz|"), 1);
    EXPECT_EQ(loadSwiss(path)->extras, before.extras);
}

TEST(SwissCompanion, BadCompanionIsRefusedByLineAndNeverReplaced) {
    QTemporaryDir dir;
    const QString path = dir.filePath("t.swz");
    const SwissTournament t = withEveryRecord(path);
    ASSERT_TRUE(saveSwiss(t));
    const QByteArray head = "Ladya-SWX|1\r\nswz|" + swissFingerprint(t) + "\r\n";
    const struct {
        QByteArray text;
        const char* says;
    } cases[] = {
        {"Ladya-SWX|2\r\n", "строка 1: версия 2"},
        {"LADYA\r\n", "строка 1: это не файл"},
        {"Ladya-SWX|1\r\nbye|1|2|H\r\n", "строка 2: запись стоит до первой"},
        {"Ladya-SWX|1\r\nswz|xyz\r\n", "строка 2: отпечаток"},
        {"Ladya-SWX|1\r\n", "нет ни одной строки swz"},
        {head + "bye|1|2|Q\r\n", "строка 3: вид пропуска \"Q\""},
        {head + "bye|1|x|H\r\n", "строка 3: в записи \"bye\" вместо числа стоит \"x\""},
        {head + "bye|-1|2|H\r\n", "вместо числа стоит \"-1\""},
        {head + "bye|1|2\r\n", "строка 3: в записи \"bye\" должно быть полей: 4"},
        {head + "rounds|7\r\nbye|9|2|H\r\n", "строка 4: участника 9 нет в турнире"},
        {head + "bye|1|21|H\r\n", "строка 3: тур 21 вне пределов 1–20"},
        {head + "bye|1|2|H\r\nbye|1|2|Z\r\n", "строка 4: второй пропуск участника 1"},
        {head + "withdraw|1|3|2\r\n", "строка 3: возвращение в туре 2"},
        {head + "late|2|1|Z\r\n", "строка 3: тур 1 вне пределов 2–20"},
        {head + "forbid|1|1|1|0\r\n", "строка 3: участник не может быть"},
        {head + "forbid|1|2|3|2\r\n", "строка 3: последний тур 2 раньше первого 3"},
        {head + "rounds|7\r\nrounds|8\r\n", "строка 4: число туров уже записано в строке 3"},
        {head + "pair|1|2\r\n", "строка 3: неизвестная запись \"pair\""},
        {head + "accel|swift|4\r\n", "строка 3: ускорение \"swift\" неизвестно"},
        {head + "accel|baku|9\r\n", "строка 3: участника 9 нет в турнире"},
        {head + "accel|baku|0\r\naccel|baku|4\r\n", "строка 4: ускорение уже записано"},
        {head + "tiebreaks|BH/C1,XYZ\r\n", "строка 3: список тай-брейков не читается"},
        {head + "tiebreaks|\r\n", "строка 3: список тай-брейков пуст"},
        {head + "tiebreaks|SB\r\ntiebreaks|BH\r\n", "строка 4: список тай-брейков уже записан"},
        {head + "tiebreaks|SB|BH\r\n", "строка 3: в записи \"tiebreaks\" должно быть полей: 2"},
        {"Ladya-SWX|1\r\nswz|" + QByteArray(32, 'a') + "\r\n", "не соответствует файлу турнира"},
        {head + "bye|1|2|H\r\n\xff\r\n", "строка 4: текст не в кодировке UTF-8"},
    };
    for (const auto& c : cases) {
        test::writeBytes(companionPath(path), c.text);
        const Result<SwissTournament> loaded = loadSwiss(path);
        ASSERT_FALSE(loaded) << c.says;
        EXPECT_TRUE(loaded.failure().text.contains("t.swx"));
        EXPECT_TRUE(loaded.failure().text.contains(QString::fromUtf8(c.says)))
            << loaded.failure().text.toStdString();
        EXPECT_FALSE(saveSwiss(t)) << c.says;
        EXPECT_EQ(test::readBytes(companionPath(path)), c.text) << c.says;
    }
}

TEST(SwissCompanion, FingerprintFollowsTheStructureNotTheResults) {
    const SwissTournament t = withEveryRecord(QString());
    const QByteArray base = swissFingerprint(t);
    const struct {
        const char* what;
        std::function<void(SwissTournament&)> change;
        bool same;
    } cases[] = {
        {"result",
         [](SwissTournament& c) {
             c.game(1, 2) = {5, 3, "1", "0"};
         },
         true},
        {"end date", [](SwissTournament& c) { c.state.endDate = "09.12.2026"; }, true},
        {"records", [](SwissTournament& c) { c.extras = {}; }, true},
        {"colours",
         [](SwissTournament& c) {
             c.game(1, 1) = {4, 1, "0", "1"};
         },
         false},
        {"empty board",
         [](SwissTournament& c) {
             c.game(1, 3) = {2, 6, {}, {}};
         },
         false},
        {"name", [](SwissTournament& c) { c.participant(2).name = "X"; }, false},
        {"rating", [](SwissTournament& c) { c.participant(2).rating = "1401"; }, false},
    };
    for (const auto& c : cases) {
        SwissTournament changed = t;
        c.change(changed);
        EXPECT_EQ(swissFingerprint(changed) == base, c.same) << c.what;
    }
}
