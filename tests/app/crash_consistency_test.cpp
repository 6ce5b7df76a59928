// Crash consistency: every write path runs in a child process that is killed with
// SIGKILL at a random moment. Afterwards each file it writes must hold exactly its
// state before or after the operation that was cut, and must load; a completion cut
// anywhere and run again must end exactly as one that was never cut. A Swiss tournament
// with a companion file must load, the two files together, as before or after: the
// companion passes through a state of its own in between.
//
// LADYA_CRASH_KILLS sets the kills per path (30 by default; the long run by hand uses
// 1000), LADYA_CRASH_SEED replays a run (the seed is printed).
#include "app/cli.h"
#include "club/club_list.h"
#include "common/text_file.h"
#include "players/completion.h"
#include "players/player_database.h"
#include "players/player_edit.h"
#include "reports/round_robin_reports.h"
#include "roundrobin/round_robin_controller.h"
#include "roundrobin/round_robin_file.h"
#include "support/test_support.h"
#include "swiss/swiss_companion.h"
#include "swiss/swiss_controller.h"
#include "swiss/swiss_file.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <iostream>
#include <random>
#include <signal.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace ladya {
namespace {

using Snapshot = QHash<QString, std::optional<QByteArray>>; // file name -> bytes, or absent

struct CrashPath {
    const char* name;
    QStringList files; // the files the path writes, inside the working folder
    std::function<void(const QString& dir)> setUp;
    int steps; // the operations one child runs, one after another
    std::function<void(const QString& dir, int step)> step;
    // Run in the parent after a kill: the repeated operation that must mend a cut one.
    std::function<void(const QString& dir)> repeat;
    // The .swz files (not in `files`) that must load together with their companions as
    // before or after; a companion's own bytes may be neither.
    QStringList pairs = {};
};

QString in(const QString& dir, const char* name) {
    return dir + u'/' + QString::fromUtf8(name);
}

void copyData(const char* from, const QString& to) {
    test::writeBytes(to, test::readBytes(test::dataPath(QString::fromUtf8(from))));
}

Snapshot snapshot(const QString& dir, const QStringList& files) {
    Snapshot s;
    for (const QString& f : files)
        s.insert(f, readFileBytes(dir + u'/' + f));
    return s;
}

// Whether the file's bytes load as what its name says.
bool loads(const QString& name, const std::optional<QByteArray>& bytes) {
    if (!bytes)
        return true; // not written yet
    if (name.endsWith(QStringLiteral(".kr2")))
        return parseRoundRobin(splitLines(*bytes), name).ok();
    if (name.endsWith(QStringLiteral(".swz")))
        return parseSwissBytes(*bytes).ok();
    if (name.endsWith(QStringLiteral(".krx")))
        return parseRoundRobinTieBreaks(*bytes, name).ok();
    if (name.endsWith(QStringLiteral(".html")))
        return bytes->trimmed().toLower().endsWith("</html>");
    return true;
}

// The tournaments as loading each .swz and its companion gives them, as comparable bytes.
QByteArray pairState(const QString& dir, const QStringList& swz) {
    QByteArray state;
    for (const QString& name : swz) {
        const Result<SwissTournament> t = loadSwiss(dir + u'/' + name);
        if (!t)
            return "unloadable: " + t.failure().text.toUtf8();
        state += swissFileBytes(*t) +
                 companionBytes({CompanionSet{{}, {}, t->extras, 0, {}, {}, {}, {}}});
    }
    return state;
}

// A Swiss tournament with a companion: six players, one round played, planned rounds and
// a forbidden pair.
void setUpSwissPair(const QString& dir, const char* name) {
    copyData("reports/swiss/new_five.swz", in(dir, name));
    SwissTournament t = *loadSwiss(in(dir, name));
    t.rounds.append({{1, 2, "1", "0"}, {3, 4, "%", "%"}, {5, 6, "+", "-"}});
    t.deriveCounts();
    t.extras.plannedRounds = 9;
    t.extras.forbidden = {{1, 5, 1, 0}};
    ASSERT_TRUE(saveSwiss(t));
}

// What a late entry does to the numbers: a player enters at `at`, every number from it
// on moves up by one on every board and in every record, and the new player sits out the
// rounds already paired.
void insertLateEntry(SwissTournament& t, int at) {
    const auto shift = [at](int& number) { number += number >= at; };
    for (QVector<SwissGame>& round : t.rounds)
        for (SwissGame& g : round)
            if (!g.isEmpty()) {
                shift(g.white);
                shift(g.black);
            }
    for (RequestedBye& b : t.extras.byes)
        shift(b.participant);
    for (Withdrawal& w : t.extras.withdrawals)
        shift(w.participant);
    for (LateEntry& l : t.extras.lateEntries)
        shift(l.participant);
    for (ForbiddenPair& f : t.extras.forbidden) {
        shift(f.first);
        shift(f.second);
    }
    t.participants.insert(at - 1,
                          {QString(), QStringLiteral("ПОЗДНИЙ %1").arg(t.participantCount()),
                           QStringLiteral("2"), QStringLiteral("1500"), QStringLiteral("ТУЛА")});
    for (int i = 0; i < t.participantCount(); ++i)
        t.participants[i].number = QString::number(i + 1);
    for (QVector<SwissGame>& round : t.rounds)
        round.resize(t.boardCount());
    t.extras.lateEntries.append({at, t.roundCount() + 1, Absence::HalfBye});
    t.deriveCounts();
}

// Shared with the child: which operation it started last.
struct Progress {
    std::atomic<int> started;
};

int killsPerPath() {
    const int n = qEnvironmentVariableIntValue("LADYA_CRASH_KILLS");
    return n > 0 ? n : 30;
}

// A finished round-robin with every participant in players.dat and an earlier history.
void setUpCompletion(const QString& dir) {
    const QString path = in(dir, "t.kr2");
    copyData("roundrobin/four_players_two_cycles.kr2", path);
    RoundRobinTournament t = *loadRoundRobin(path);
    QStringList players = {QStringLiteral("ДРУГОЙ Д.Д.|ОМСК|2|1400|Новый участник|01.01.2026")};
    for (const Participant& p : t.participants)
        players.append(p.name + u'|' + p.city + u'|' + p.category + u'|' + p.rating +
                       QStringLiteral("|Новый участник|01.01.2026"));
    for (auto& round : t.games)
        for (RoundRobinGame& g : round)
            if (!g.isPlayed())
                g.applyEntry(GameResult::Draw);
    t.state.unplayedCount = 0;
    ASSERT_TRUE(saveRoundRobin(t).ok());
    ASSERT_TRUE(writeTextLinesAtomic(in(dir, "players.dat"), players).ok());
    ASSERT_TRUE(writeTextLinesAtomic(in(dir, "history_players.dat"),
                                     {QStringLiteral("ДРУГОЙ Д.Д.|ОМСК|2|1390|Осень|01.09.2026")})
                    .ok());
}

// Completion as the tournament window runs it; nothing to do once it is finished.
void complete(const QString& dir) {
    RoundRobinController controller(*loadRoundRobin(in(dir, "t.kr2")));
    const std::optional<CompletionInput> input =
        controller.completionInput(QStringLiteral("11.01.2027"));
    if (!input)
        return;
    PlayerDatabase db;
    completeTournament(*input, db, in(dir, "players.dat"), in(dir, "history_players.dat"),
                       [&controller](const QString& date) { return controller.complete(date); });
}

const QVector<CrashPath>& crashPaths() {
    static const QVector<CrashPath> paths = {
        {"round-robin result",
         {QStringLiteral("t.kr2")},
         [](const QString& dir) {
             copyData("roundrobin/four_players_two_cycles.kr2", in(dir, "t.kr2"));
         },
         24,
         [](const QString& dir, int i) {
             static const QStringList entries = RoundRobinController::resultEntries();
             RoundRobinController c(*loadRoundRobin(in(dir, "t.kr2")));
             c.selectRound(1 + (i - 1) % c.tournament().roundCount());
             c.selectGame(1 + (i - 1) / c.tournament().roundCount() % c.tournament().boardCount());
             c.writeResult(entries.at(i % entries.size()));
         },
         {}},
        {"swiss result",
         {QStringLiteral("s.swz")},
         [](const QString& dir) { copyData("reports/swiss/example16.swz", in(dir, "s.swz")); },
         24,
         [](const QString& dir, int i) {
             static const QStringList entries = {QStringLiteral("1"), QStringLiteral("0"),
                                                 QStringLiteral("%"), QStringLiteral("+")};
             SwissWindowController c(*openSwissWindow(in(dir, "s.swz")));
             c.clickGameRow((i - 1) % c.gameRowCount());
             c.chooseEntry(entries.at(i % entries.size()));
             c.writeResult();
         },
         {}},
        {"pairing commit",
         {QStringLiteral("p.swz")},
         [](const QString& dir) { copyData("reports/swiss/new_five.swz", in(dir, "p.swz")); },
         Limits::SwissRounds,
         [](const QString& dir, int i) {
             runCli({QStringLiteral("commit"), in(dir, "p.swz"), QStringLiteral("--pairs"),
                     i % 2 ? QStringLiteral("1-2,3-4,5-6") : QStringLiteral("4-1,2-5,6-3")});
         },
         {}},
        {"swiss companion record",
         {QStringLiteral("c.swz")},
         [](const QString& dir) { setUpSwissPair(dir, "c.swz"); },
         24,
         [](const QString& dir, int i) {
             // A requested bye for the next round, then taken back; now and then the
             // planned rounds change.
             SwissTournament t = *loadSwiss(in(dir, "c.swz"));
             const RequestedBye bye{1 + i % 6, 2, i % 3 ? Absence::HalfBye : Absence::ZeroBye};
             if (t.extras.byes.contains(bye))
                 t.extras.byes.removeOne(bye);
             else
                 t.extras.byes.append(bye);
             if (i % 5 == 0)
                 t.extras.plannedRounds = 5 + i % 9;
             if (i % 4 == 0)
                 t.extras.tieBreaks = t.extras.tieBreaks.isEmpty() ? "BH/C1,SB" : "";
             saveSwiss(t);
         },
         {},
         {QStringLiteral("c.swz")}},
        {"swiss pairing with companion",
         {},
         [](const QString& dir) { setUpSwissPair(dir, "p.swz"); },
         Limits::SwissRounds - 1,
         [](const QString& dir, int i) {
             runCli({QStringLiteral("commit"), in(dir, "p.swz"), QStringLiteral("--pairs"),
                     i % 2 ? QStringLiteral("1-2,3-4,5-6") : QStringLiteral("4-1,2-5,6-3")});
         },
         {},
         {QStringLiteral("p.swz")}},
        {"swiss renumbering",
         {},
         [](const QString& dir) { setUpSwissPair(dir, "r.swz"); },
         12,
         [](const QString& dir, int i) {
             SwissTournament t = *loadSwiss(in(dir, "r.swz"));
             insertLateEntry(t, 1 + i * 5 % t.participantCount());
             saveSwiss(t);
         },
         {},
         {QStringLiteral("r.swz")}},
        {"swiss first companion",
         {},
         [](const QString& dir) {
             for (int i = 1; i <= 8; ++i)
                 copyData("reports/swiss/new_five.swz", dir + QStringLiteral("/f%1.swz").arg(i));
         },
         8,
         [](const QString& dir, int i) {
             // A plain tournament gets its first round and its first record at once.
             const QString path = dir + QStringLiteral("/f%1.swz").arg(i);
             SwissTournament t = *loadSwiss(path);
             t.rounds.append({{1, 2, {}, {}}, {3, 4, {}, {}}, {5, 6, {}, {}}});
             t.deriveCounts();
             t.extras.plannedRounds = 7;
             saveSwiss(t);
         },
         {},
         {"f1.swz", "f2.swz", "f3.swz", "f4.swz", "f5.swz", "f6.swz", "f7.swz", "f8.swz"}},
        {"round-robin tie-break list",
         {QStringLiteral("t.kr2"), QStringLiteral("t.krx")},
         [](const QString& dir) {
             copyData("roundrobin/four_players_two_cycles.kr2", in(dir, "t.kr2"));
         },
         24,
         [](const QString& dir, int i) {
             // Chosen, changed and cleared in turn; the .kr2 is never touched.
             static const QStringList lists = {QStringLiteral("BH/C1,SB"), QStringLiteral(""),
                                               QStringLiteral("SB,DE,WIN")};
             saveRoundRobinTieBreaks(in(dir, "t.kr2"), lists.at(i % lists.size()));
         },
         {}},
        {"player addition",
         {QStringLiteral("players.dat")},
         [](const QString& dir) { copyData("club/sample/players.dat", in(dir, "players.dat")); },
         24,
         [](const QString& dir, int i) {
             PlayerDatabase db = *loadPlayerDatabase(in(dir, "players.dat"));
             addPlayerRecord(db, in(dir, "players.dat"),
                             {QStringLiteral("ИГРОК %1").arg(i), QStringLiteral("ТУЛА"),
                              QStringLiteral("2"), QStringLiteral("1500")},
                             QDate(2026, 12, 6));
         },
         {}},
        {"player edit",
         {QStringLiteral("players.dat")},
         [](const QString& dir) { copyData("club/sample/players.dat", in(dir, "players.dat")); },
         24,
         [](const QString& dir, int i) {
             PlayerDatabase db = *loadPlayerDatabase(in(dir, "players.dat"));
             PlayerEditController edit(db, in(dir, "players.dat"), 1 + i % db.count());
             PlayerEditInput changed = edit.current();
             changed.category = Categories.at(i % Categories.size());
             edit.save(changed);
         },
         {}},
        {"completion",
         {QStringLiteral("t.kr2"), QStringLiteral("players.dat"),
          QStringLiteral("history_players.dat")},
         setUpCompletion,
         1,
         [](const QString& dir, int) { complete(dir); },
         complete},
        {"club list",
         {QStringLiteral("players_club.dat")},
         [](const QString& dir) {
             copyData("club/sample/players_club.dat", in(dir, "players_club.dat"));
             test::writeBytes(
                 in(dir, "players.dat"),
                 test::readBytes(test::dataPath(QStringLiteral("club/sample/players.dat"))) +
                     "НОВИКОВ Н.Н.|СОЧИ|1|1700|Новый участник|01.01.2026\r\n");
         },
         24,
         [](const QString& dir, int i) {
             const PlayerDatabase db = *loadPlayerDatabase(in(dir, "players.dat"));
             ClubListController club(db, in(dir, "players_club.dat"));
             club.reload();
             if (i % 2) {
                 club.addMember(QStringLiteral("1\nНОВИКОВ Н.Н.\nСОЧИ\n1\n1700"));
                 return;
             }
             for (int row = 0; row < club.rows().size(); ++row) {
                 club.clickRow(row);
                 if (club.selectedName() == QStringLiteral("НОВИКОВ Н.Н."))
                     break;
             }
             club.removeSelected();
         },
         {}},
        {"report",
         {QStringLiteral("file.html")},
         [](const QString& dir) {
             copyData("roundrobin/random_nine_two_cycles.kr2", in(dir, "t.kr2"));
         },
         24,
         [](const QString& dir, int i) {
             const RoundRobinTournament t = *loadRoundRobin(in(dir, "t.kr2"));
             writeReportFile(dir,
                             i % 2 ? crosstableReport(t, computeRoundRobin(t)) : scheduleReport(t));
         },
         {}},
    };
    return paths;
}

class CrashConsistency : public ::testing::TestWithParam<int> {};

TEST_P(CrashConsistency, EveryFileIsItsStateBeforeOrAfterTheCutOperation) {
    const CrashPath& path = crashPaths().at(GetParam());
    const unsigned seed = qEnvironmentVariableIsSet("LADYA_CRASH_SEED")
                              ? unsigned(qEnvironmentVariableIntValue("LADYA_CRASH_SEED"))
                              : std::random_device{}();
    std::mt19937 random(seed);
    // A RAM disk when there is one: the kills are about processes, not disks.
    const QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    QTemporaryDir reference(base + QStringLiteral("/ladya-crash-XXXXXX"));
    QTemporaryDir work(base + QStringLiteral("/ladya-crash-XXXXXX"));
    ASSERT_TRUE(reference.isValid() && work.isValid());

    // The states the files pass through: [k] after operation k.
    path.setUp(reference.path());
    QVector<Snapshot> states = {snapshot(reference.path(), path.files)};
    const auto pairOf = [&path](const QString& dir) {
        return path.pairs.isEmpty() ? QByteArray() : pairState(dir, path.pairs);
    };
    QVector<QByteArray> pairs = {pairOf(reference.path())};
    QElapsedTimer timer;
    timer.start();
    for (int i = 1; i <= path.steps; ++i) {
        path.step(reference.path(), i);
        states.append(snapshot(reference.path(), path.files));
        pairs.append(pairOf(reference.path()));
    }
    const qint64 runNs = timer.nsecsElapsed();
    for (const Snapshot& state : states)
        for (auto it = state.begin(); it != state.end(); ++it)
            ASSERT_TRUE(loads(it.key(), it.value())) << it.key().toStdString();
    for (const QByteArray& pair : pairs)
        ASSERT_FALSE(pair.startsWith("unloadable")) << pair.toStdString();
    ASSERT_TRUE(states.first() != states.last() || pairs.first() != pairs.last())
        << "the path writes nothing";

    auto* progress = static_cast<Progress*>(
        mmap(nullptr, sizeof(Progress), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(progress, MAP_FAILED);
    // The kill comes from a timer the child arms as it starts: a random moment within
    // the time its operations take, and a little beyond. A parent that had to wake up
    // to send it would, on a busy machine, mostly arrive after the child's last write.
    std::uniform_int_distribution<qint64> delay(1, runNs + runNs / 10);
    const int kills = killsPerPath();
    int midOperation = 0;
    int broken = 0;
    int betweenPairWrites = 0;
    for (int k = 0; k < kills; ++k) {
        QDir(work.path()).removeRecursively();
        QDir().mkpath(work.path());
        path.setUp(work.path());
        progress->started = 0;
        const qint64 killAt = delay(random);
        const pid_t child = fork();
        if (child == 0) {
            sigevent event{};
            event.sigev_notify = SIGEV_SIGNAL;
            event.sigev_signo = SIGKILL;
            timer_t killTimer;
            itimerspec when{};
            when.it_value.tv_sec = killAt / 1000000000;
            when.it_value.tv_nsec = killAt % 1000000000;
            if (timer_create(CLOCK_MONOTONIC, &event, &killTimer) != 0 ||
                timer_settime(killTimer, 0, &when, nullptr) != 0)
                _exit(3);
            for (int i = 1; i <= path.steps; ++i) {
                progress->started = i;
                path.step(work.path(), i);
            }
            progress->started = path.steps + 1;
            for (;;)
                pause();
        }
        ASSERT_GT(child, 0);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);

        const int started = progress->started;
        const int before = qBound(0, started - 1, path.steps);
        const int after = qBound(0, started, path.steps);
        midOperation += started >= 1 && started <= path.steps;
        const Snapshot found = snapshot(work.path(), path.files);
        for (const QString& file : path.files) {
            const bool ok =
                (found[file] == states[before][file] || found[file] == states[after][file]) &&
                loads(file, found[file]);
            broken += !ok;
            EXPECT_TRUE(ok) << path.name << ": " << file.toStdString()
                            << " after a kill in operation " << started << " (seed " << seed << ")";
        }
        if (!path.pairs.isEmpty()) {
            // Cut between a companion's two writes: it holds the old and the new set.
            for (const QString& swz : path.pairs) {
                const std::optional<QByteArray> companion =
                    readFileBytes(companionPath(work.path() + u'/' + swz));
                betweenPairWrites += companion && companion->count("swz|") == 2;
            }
            const QByteArray pair = pairOf(work.path());
            const bool ok = pair == pairs[before] || pair == pairs[after];
            broken += !ok;
            EXPECT_TRUE(ok) << path.name << ": the pair after a kill in operation " << started
                            << " (seed " << seed << "): " << pair.left(300).toStdString();
        }
        if (path.repeat) {
            path.repeat(work.path());
            const bool mended = snapshot(work.path(), path.files) == states.last();
            broken += !mended;
            EXPECT_TRUE(mended)
                << path.name << ": repeated after a kill in operation " << started << " (seed "
                << seed << "), folder: "
                << QDir(work.path()).entryList(QDir::Files).join(u' ').toStdString();
        }
    }
    munmap(progress, sizeof(Progress));
    std::cout << "crash " << path.name << ": " << kills << " kills, " << midOperation
              << " within an operation, ";
    if (!path.pairs.isEmpty())
        std::cout << betweenPairWrites << " between the pair's writes, ";
    std::cout << broken << " files lost or corrupted (seed " << seed << ")\n";
}

INSTANTIATE_TEST_SUITE_P(WritePaths, CrashConsistency,
                         ::testing::Range(0, int(crashPaths().size())),
                         [](const ::testing::TestParamInfo<int>& param) {
                             QString name = QString::fromUtf8(crashPaths().at(param.param).name);
                             name.replace(u' ', u'_').replace(u'-', u'_');
                             return name.toStdString();
                         });

} // namespace
} // namespace ladya
