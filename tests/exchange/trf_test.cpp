#include "common/tournament_creation.h"
#include "exchange/trf.h"
#include "support/test_support.h"
#include "swiss/swiss_test_util.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;

namespace {

// Each tournament file beside the TRF the export must give, byte for byte.
struct Golden {
    const char* tournament; // under tests/data
    const char* trf;        // under tests/data/trf
};

const Golden goldens[] = {
    // A bye row taken three ways (a point, a forfeit loss, unplayed), a double forfeit
    // and a forfeit loss of White.
    {"trf/Кубок_клуба_(01.12.2026).kr2", "Кубок_клуба_(01.12.2026).trf"},
    {"reports/four_players_two_cycles.kr2", "four_players_two_cycles.trf"},
    // The bye participant, a double forfeit, three games of the last round unplayed.
    {"swiss/example16.swz", "example16.swz.trf"},
    // An even field with a forfeit.
    {"swiss/worked.swz", "worked.swz.trf"},
};

// A 001 line in the columns of the format; `rounds` follow the rank as written.
QByteArray playerLine(int rank, const QByteArray& name, const QByteArray& rating,
                      const QByteArray& points, const QByteArray& rounds) {
    return "001 " + QByteArray::number(rank).rightJustified(4) + QByteArray(6, ' ') +
           name.leftJustified(33) + ' ' + rating.rightJustified(4) + QByteArray(28, ' ') +
           points.rightJustified(4) + "    1" + rounds + "\r\n";
}

QByteArray exported(const QString& path) {
    if (path.endsWith("kr2"))
        return trfExport(*loadRoundRobin(path));
    return trfExport(*loadSwiss(path));
}

} // namespace

TEST(TrfExport, GivesTheGoldenFiles) {
    for (const Golden& g : goldens) {
        SCOPED_TRACE(g.trf);
        const QByteArray trf = exported(test::dataPath(QString::fromUtf8(g.tournament)));
        EXPECT_EQ(trf.toStdString(),
                  test::readBytes(test::dataPath("trf/" + QString::fromUtf8(g.trf))).toStdString());
    }
}

TEST(TrfExport, SwissAnnouncesThePlannedRoundsWhenMoreThanPaired) {
    const SwissTournament t = *loadSwiss(test::dataPath("swiss/example16.swz"));
    EXPECT_TRUE(trfExport(t, 9).contains("\r\nXXR 9\r\n"));
    EXPECT_TRUE(trfExport(t, 1).contains("\r\nXXR 2\r\n"));
    // A new tournament announces its planned rounds, and with nothing to announce there
    // is no record: the reference engine refuses "XXR 0".
    SwissTournament fresh = test::makeSwiss({"1500", "1500"});
    EXPECT_FALSE(trfExport(fresh).contains("XXR"));
    fresh.extras.plannedRounds = 7;
    EXPECT_TRUE(trfExport(fresh).contains("\r\nXXR 7\r\n"));
}

// Absences in the rounds paired (a late entry's missed rounds, a half-point bye, a
// withdrawal), byes announced for the rounds to come (240), forbidden pairs for the
// whole tournament and for two rounds (260): written, read back and written the same.
TEST(TrfExport, TheRecordsOfARealOpenReadBackTheSame) {
    SwissTournament t =
        test::makeSwiss({"2000", "1950", "1900", "1850", "1800", "1750", "1700", "**"},
                        {{"1|5|1|0", "6|2|%|%", "3|7|0|1", "0|0||"},
                         {"1|6|1|0", "2|5|0|1", "7|8|+|-", "0|0||"},
                         {"3|1|0|1", "2|4|%|%", "6|5|1|0", "0|0||"}});
    t.state.path = "/x/Open.swz";
    t.extras.plannedRounds = 5;
    t.extras.byes = {{3, 2, Absence::HalfBye}, {5, 4, Absence::HalfBye}, {6, 5, Absence::ZeroBye}};
    t.extras.withdrawals = {{7, 3, 0}};
    t.extras.lateEntries = {{4, 3, Absence::ZeroBye}};
    t.extras.forbidden = {{1, 2, 1, 0}, {3, 6, 2, 3}};
    const QByteArray trf = trfExport(t);
    EXPECT_EQ(trf.toStdString(), test::readBytes(test::dataPath("trf/open.trf")).toStdString());
    const Result<TrfImported> back = trfImportSwiss(trf);
    ASSERT_TRUE(back) << back.failure().text.toStdString();
    EXPECT_EQ(back->tournament.rounds, t.rounds);
    EXPECT_EQ(back->tournament.extras.plannedRounds, 5);
    EXPECT_EQ(back->tournament.extras.forbidden, t.extras.forbidden);
    EXPECT_EQ(back->tournament.extras.byes.size(), 7); // every absence, as a requested bye
    SwissTournament again = back->tournament;
    again.state.path = t.state.path;
    EXPECT_EQ(trfExport(again).toStdString(), trf.toStdString());
}

TEST(TrfExport, NamesAndFilesFollowTheTournamentFile) {
    EXPECT_EQ(trfTournamentName("/x/Кубок_клуба_(01.12.2026).swz"), "Кубок клуба");
    EXPECT_EQ(trfTournamentName("/x/Блиц.kr2"), "Блиц");
    EXPECT_EQ(trfPathBeside("/x/Кубок_(01.12.2026).swz", "/w"), "/x/Кубок_(01.12.2026).trf");
    EXPECT_EQ(trfPathBeside("a.kr2", "/w"), "/w/a.trf");
    // A file that cannot be written is reported, never announced as written.
    QTemporaryDir dir;
    const TrfWritten failed = writeTrfFile(dir.path(), "012 x\r\n");
    EXPECT_FALSE(failed.ok);
    EXPECT_EQ(failed.message.title, "Ошибка создания файла");
}

// Whatever the program exports it reads back to the same file (a draw against the bye
// participant comes back as a half-point bye).
TEST(TrfImport, RoundTripOfRandomTournamentsGivesTheSameFile) {
    for (unsigned seed = 1; seed <= 150; ++seed) {
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        std::mt19937 rng(seed);
        const QByteArray first = trfExport(test::randomTournament(rng));
        const Result<TrfImported> back = trfImportSwiss(first);
        ASSERT_TRUE(back) << back.failure().text.toStdString();
        // A last round paired but wholly unplayed is blank: XXR alone still counts it.
        ASSERT_EQ(trfExport(back->tournament, back->plannedRounds).toStdString(),
                  first.toStdString());
    }
}

TEST(TrfImport, KeepsStartRanksAddsTheByeAndPairsPlayersWithoutAGame) {
    // Start ranks out of rating order and two equal ratings; player 2 lost by forfeit
    // to 4, 5 had the pairing-allocated bye and then a full-point bye (on no board, the
    // third board empty), 1 and 3 have no game in round 2.
    const QByteArray trf = "012 Open\r\n042 2026/05/03\r\n" +
                           playerLine(3, "Smith, Ann", "1500", "0.5", "  0001 b =") +
                           playerLine(1, "Lee, Bo", "1500", "0.5", "  0003 w =") +
                           playerLine(2, "Kim", "1900", "0.0", "  0004 w 0  0004 b -") +
                           playerLine(4, "Ode", "", "2.0", "  0002 b 1  0002 w +") +
                           playerLine(5, "Roe", "1200", "2.0", "  0000 - U  0000 - F");
    const Result<TrfImported> back = trfImportSwiss(trf);
    ASSERT_TRUE(back) << back.failure().text.toStdString();
    EXPECT_EQ(back->name, "Open");
    EXPECT_EQ(
        swissFileLines(back->tournament),
        QStringList({"03.05.2026", "", "2", "6", "1|LEE, BO||1500|", "2|KIM||1900|",
                     "3|SMITH, ANN||1500|", "4|ODE||0|", "5|ROE||1200|", "6|**|**|**|**", "1 ТУР",
                     "1|3|%|%", "2|4|0|1", "5|6|+|-", "2 ТУР", "1|3||", "4|2|+|-", "0|0||"}));
    EXPECT_EQ(back->tournament.extras.byes, (QVector<RequestedBye>{{5, 2, Absence::FullBye}}));
}

// Baku acceleration goes out as 192 and 250 records and comes back from them, or from
// the older XXA lines of each player's virtual points.
TEST(TrfExport, BakuAccelerationReadsBack) {
    SwissTournament t = test::makeSwiss({"2000", "1950", "1900", "1850", "1800", "1750", "**"},
                                        {{"1|3|1|0", "4|2|%|%", "5|6|0|1"}});
    t.state.path = "/x/Open.swz";
    t.extras.plannedRounds = 9;
    t.extras.acceleration = {true, 4};
    const QByteArray records = "192 FIDE_DUTCH_2025_BAKU\r\n"
                               "250       1.0 001 003 0001 0004\r\n"
                               "250       0.5 004 005 0001 0004\r\n";
    const QByteArray trf = trfExport(t);
    ASSERT_TRUE(trf.contains("XXR 9\r\n" + records)) << trf.toStdString();
    QByteArray xxa = trf;
    xxa.replace(records, "XXA    1  1.0  1.0  1.0  0.5  0.5\r\n"
                         "XXA    2  1.0  1.0  1.0  0.5  0.5  0.0\r\n"
                         "XXA    3  1.0  1.0  1.0  0.5  0.5\r\n"
                         "XXA    4  1.0  1.0  1.0  0.5  0.5\r\n"
                         "XXA    5  0.0  0.0\r\n");
    for (const QByteArray& text : {trf, xxa}) {
        const Result<TrfImported> back = trfImportSwiss(text);
        ASSERT_TRUE(back) << back.failure().text.toStdString();
        EXPECT_EQ(back->tournament.extras.acceleration, t.extras.acceleration);
        SwissTournament again = back->tournament;
        again.state.path = t.state.path;
        EXPECT_EQ(trfExport(again).toStdString(), trf.toStdString());
    }
    // 192 alone: GA is the first 2·⌈6/4⌉ = 4 players of round 1.
    QByteArray named = trf;
    named.replace(records, "192 FIDE_DUTCH_2025_BAKU\r\n");
    EXPECT_EQ(trfImportSwiss(named)->tournament.extras.acceleration, t.extras.acceleration);
}

TEST(TrfImport, RefusesWhatItCannotHoldNamingTheLine) {
    const QByteArray head = "012 T\r\n042 2026/05/03\r\n";
    const auto player = [](int rank, const char* points, const QByteArray& rounds) {
        return playerLine(rank, "P", "1500", points, rounds);
    };
    QByteArray many = head;
    for (int k = 1; k <= 301; ++k)
        many += player(k, "0.0", "");
    QByteArray long21;
    for (int r = 0; r < 21; ++r)
        long21 += "  0002 w =";
    QByteArray long21b = long21;
    long21b.replace(" w ", " b ");
    const struct {
        const char* what;
        QByteArray text;
        const char* expected;
    } cases[] = {
        {"more than 300 players", many, "Строка 303: участников больше 300"},
        {"more than 20 rounds", head + player(1, "10.5", long21) + player(2, "10.5", long21b),
         "Строка 3: туров больше 20"},
        {"a result with no code",
         head + player(1, "1.0", "  0002 w W") + player(2, "0.0", "  0001 b L"),
         "Строка 3: тур 1: результат «W»"},
        {"points that are not the sum",
         head + player(1, "0.5", "  0002 w 1") + player(2, "0.0", "  0001 b 0"),
         "Строка 3: очки 0.5 не равны сумме результатов 1.0"},
        {"two sides of a game disagreeing",
         head + player(1, "1.0", "  0002 w 1") + player(2, "1.0", "  0001 b 1"),
         "Строка 3: тур 1: партия не сходится со строкой 4"},
        {"the same colour for both",
         head + player(1, "1.0", "  0002 w 1") + player(2, "0.0", "  0001 w 0"),
         "Строка 3: тур 1: партия не сходится"},
        {"two byes in a round",
         head + player(1, "1.0", "  0000 - U") + player(2, "1.0", "  0000 - U") +
             player(3, "0.0", ""),
         "Строка 4: тур 1: второй бай в туре (первый в строке 3)"},
        {"a start rank twice", head + player(1, "0.0", "") + player(1, "0.0", ""),
         "Строка 4: стартовый номер 1 уже занят (строка 3)"},
        {"a bye record of no kind", head + "240 X   1    1\r\n", "Строка 3: запись 240 не"},
        {"a forbidden pair of one player", head + "260   1   9    1\r\n",
         "Строка 3: запись 260 не"},
        {"a forbidden pair with nobody", head + player(1, "0.0", "") + "260   1   9    1    7\r\n",
         "Строка 4: нет участника с номером 7"},
        {"an unreadable date", "042 3 May\r\n", "Строка 1: дата «3 May» не читается"},
        {"an end before the start", "052 2026/05/02\r\n" + head + player(1, "0.0", ""),
         "Строка 1: дата окончания 02.05.2026 раньше даты начала 03.05.2026"},
        {"a category the program does not know",
         head + player(1, "0.0", "") + "### Ladya 1|P|GM|C\r\n",
         "Строка 4: запись участника не читается"},
        {"an opponent out of the field", head + player(1, "1.0", "  0009 w 1"),
         "Строка 3: тур 1: нет соперника с номером 9"},
        {"another encoding's bytes (found by fuzzing: the .swz made of it did not load)",
         head + playerLine(1, "P\xFF\x01", "1500", "0.0", ""), "Строка 3: текст не в кодировке"},
        {"a control character in the city (found by fuzzing: its export did not import)",
         "022 A\x14"
         "B\r\n" +
             head,
         "Строка 1: город"},
        {"a NUL byte", head + "022 A" + QByteArray(1, '\0') + "B\r\n", "Строка 3: текст не в"},
        {"virtual points without planned rounds",
         head + "250       1.0 001 001 0001 0002\r\n" + player(1, "0.0", "") + player(2, "0.0", ""),
         "Строка 3: для ускорения по Баку нужно число туров"},
        {"virtual points of another acceleration",
         head + "XXR 4\r\n250       2.0 001 001 0001 0002\r\n" + player(1, "0.0", "") +
             player(2, "0.0", ""),
         "Строка 4: виртуальные очки участника 1 в туре 1 (2.0) не те"},
        {"Baku's half points missing",
         head + "XXR 4\r\n250       1.0 001 001 0001 0002\r\n" + player(1, "0.0", "") +
             player(2, "0.0", ""),
         "Строка 4: участнику 1 в туре 2 не даны"},
        {"match points in an individual tournament", head + "250  1.0  1.0 001 001 0001 0002\r\n",
         "Строка 3: запись 250 не"},
        {"an unreadable XXA", head + "XXA    1  1.x\r\n", "Строка 3: запись XXA не"},
    };
    for (const auto& c : cases) {
        const Result<TrfImported> back = trfImportSwiss(c.text);
        EXPECT_FALSE(back) << c.what;
        EXPECT_TRUE(back.failure().text.startsWith(QString::fromUtf8(c.expected)))
            << c.what << ": " << back.failure().text.toStdString();
    }
}

TEST(TrfImport, ARefusedNameIsAskedAgainUntilOneFits) {
    QTemporaryDir dir;
    const QString trf = test::dataPath("trf/example16.swz.trf");
    const QString taken = *importTrfIntoFolder(trf, dir.path(), QDate(2026, 12, 7));
    QStringList answers = {"example16", "   ", "Кубок 2"};
    QVector<std::pair<QString, QString>> asked; // question, refused name
    const Result<QString> imported = importTrfIntoFolder(
        trf, dir.path(), QDate(2026, 12, 7), [&](const Message& m, const QString& name) {
            asked.append({m.text, name});
            return std::optional<QString>(answers.takeFirst());
        });
    const QString another = "\nНовое название турнира:";
    const QString exists = tournamentExistsMessage(taken).text + another;
    EXPECT_EQ(asked, (QVector<std::pair<QString, QString>>{
                         {exists, "example16"},
                         {exists, "example16"},
                         {fileNameCheck("   ").failure().text + another, "   "}}));
    EXPECT_EQ(*imported, dir.filePath("Кубок_2_(07.12.2026).swz"));
    EXPECT_EQ(trfExport(*loadSwiss(*imported)),
              test::readBytes(trf).replace("012 example16", "012 Кубок 2"));
}

TEST(TrfCli, ExportsAndImportsWithoutReplacingATournament) {
    QTemporaryDir dir;
    const QString swz = test::dataPath("swiss/example16.swz");
    const QByteArray golden = test::readBytes(test::dataPath("trf/example16.swz.trf"));
    test::ProgramRun run = test::runProgram({"trf", swz});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, golden);
    const QString trf = dir.filePath("e.trf");
    run = test::runProgram({"trf", swz, "-o", trf});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(test::readBytes(trf), golden);

    const QString out = dir.filePath("e.swz");
    run = test::runProgram({"import-trf", trf, "-o", out});
    EXPECT_EQ(run.status, 0) << run.err.toStdString();
    // The name comes from the new file's.
    EXPECT_EQ(test::runProgram({"trf", out}).out,
              QByteArray(golden).replace("012 example16", "012 e"));
    run = test::runProgram({"import-trf", trf, "-o", out});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.contains("e.swz")) << run.err.toStdString();
    EXPECT_EQ(test::runProgram({"import-trf", trf}).status, 2);
    // A name of blanks alone names no tournament, as in the program.
    const QString blank = dir.filePath("____(07.12.2026).swz");
    run = test::runProgram({"import-trf", trf, "-o", blank});
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.contains("одних пробелов")) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(blank));
    EXPECT_EQ(test::runProgram({"trf", swz, "--rounds", "0"}).status, 2);
}

// A chosen tie-break list goes out in 202 and 212, ranks the players by it, and a
// Swiss's comes back from 202 (or from 212 after its PTS); a list the program cannot
// compute is refused naming the line, except when reading only to check a pairing.
TEST(TrfExport, TieBreakListGoesOutIn202And212AndComesBack) {
    SwissTournament t = *loadSwiss(test::dataPath("swiss/worked.swz"));
    t.extras.tieBreaks = "WON";
    QByteArray trf = trfExport(t);
    EXPECT_TRUE(trf.contains("\r\nXXR 2\r\n202 WON\r\n212 PTS,WON\r\n")) << trf.toStdString();
    // Players 2 and 4 are equal on points and games won: they share rank 3.
    EXPECT_EQ(trf.count("  0.5    3  "), 2) << trf.toStdString();
    Result<TrfImported> back = trfImportSwiss(trf);
    ASSERT_TRUE(back) << back.failure().text.toStdString();
    EXPECT_EQ(back->tournament.extras.tieBreaks, "WON");

    const QByteArray head = "012 T\r\n042 2026/05/03\r\n";
    const QByteArray players = playerLine(1, "A", "1500", "1.0", "  0002 w 1") +
                               playerLine(2, "B", "1400", "0.0", "  0001 b 0");
    const struct {
        QByteArray records;
        const char* list; // "" when refused
    } cases[] = {
        {"202 BH/C1,SB\r\n", "BH/C1,SB"},   {"212 PTS,SB,DE\r\n", "SB,DE"},
        {"202 SB\r\n212 PTS,BH\r\n", "SB"}, {"202 BH/C1,XYZ\r\n", ""},
        {"212 PTS,SB,SB\r\n", ""},
    };
    for (const auto& c : cases) {
        back = trfImportSwiss(head + c.records + players);
        if (*c.list) {
            ASSERT_TRUE(back) << c.records.toStdString() << back.failure().text.toStdString();
            EXPECT_EQ(back->tournament.extras.tieBreaks, c.list);
        } else {
            ASSERT_FALSE(back) << c.records.toStdString();
            EXPECT_TRUE(back.failure().text.startsWith("Строка 3: список тай-брейков"))
                << back.failure().text.toStdString();
            EXPECT_TRUE(trfImportSwiss(head + c.records + players, TrfLimits::Format));
        }
    }
    RoundRobinTournament rr =
        *loadRoundRobin(test::dataPath("reports/four_players_two_cycles.kr2"));
    rr.tieBreaks = "SB,DE";
    EXPECT_TRUE(trfExport(rr).contains("\r\n202 SB,DE\r\n212 PTS,SB,DE\r\n"));
}
