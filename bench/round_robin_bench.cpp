// The cost of one written result in the largest round-robin the tables hold: 50 rows
// in two cycles, 98 rounds of 25 boards, every game with a result.
#include "roundrobin/round_robin_controller.h"
#include "roundrobin/round_robin_creation.h"
#include "roundrobin/round_robin_rows.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <random>

using namespace ladya;

namespace {

RoundRobinTournament largestTournament(const QString& folder) {
    RoundRobinTournament t;
    t.state.kind = TournamentKind::TwoCycles;
    t.state.startDate = QStringLiteral("01.12.2026");
    t.state.path = folder + QStringLiteral("/Большой_турнир_(01.12.2026).kr2");
    std::mt19937 rng(20261206);
    for (int k = 1; k <= Limits::RoundRobinRows; ++k)
        t.participants.append(
            {QString::number(k), QStringLiteral("УЧАСТНИК %1 И.О.").arg(k, 2, 10, QChar(u'0')),
             Categories.at(int(rng() % Categories.size())),
             QString::number(1200 + int(rng() % 1300)), QStringLiteral("МОСКВА")});
    t.state.participantCount = Limits::RoundRobinRows;
    t.state.boardCount = Limits::RoundRobinRows / 2;
    t.state.roundCount = 2 * (Limits::RoundRobinRows - 1);
    t.games = buildBergerSchedule(t.participants, true);
    const QString codes[] = {QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("%"),
                             QStringLiteral("1"), QStringLiteral("0"), QStringLiteral("+")};
    for (auto& round : t.games)
        for (RoundRobinGame& g : round) {
            g.result = codes[rng() % 6];
            g.mirrorResult = GameResult::mirrorOf(g.result);
        }
    // As the window holds it: written and read back from its file.
    if (!saveRoundRobin(t))
        return t;
    Result<RoundRobinTournament> loaded = loadRoundRobin(t.state.path);
    return loaded ? *loaded : t;
}

// One result changed, then everything the window recomputes: standings, coefficient
// and norms, ratings, places and the crosstable.
void BM_RecomputeAfterOneResult(benchmark::State& state) {
    QTemporaryDir dir;
    RoundRobinTournament t = largestTournament(dir.path());
    int k = 0;
    for (auto _ : state) {
        RoundRobinGame& g = t.game(1 + k % t.roundCount(), 1 + k % t.boardCount());
        g.result = k % 2 ? GameResult::Win : GameResult::Draw;
        g.mirrorResult = GameResult::mirrorOf(g.result);
        ++k;
        RoundRobinResults r = computeRoundRobin(t);
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_RecomputeAfterOneResult)->Unit(benchmark::kMicrosecond);

// The lists the window refills after the recomputation.
void BM_RefillLists(benchmark::State& state) {
    QTemporaryDir dir;
    const RoundRobinTournament t = largestTournament(dir.path());
    const RoundRobinResults r = computeRoundRobin(t);
    for (auto _ : state) {
        auto games = gameRows(t, 1);
        auto standings = standingsRows(t, r.standings);
        benchmark::DoNotOptimize(games);
        benchmark::DoNotOptimize(standings);
    }
}
BENCHMARK(BM_RefillLists)->Unit(benchmark::kMicrosecond);

// The atomic rewrite of the .kr2 file (7,606 lines).
void BM_AtomicSave(benchmark::State& state) {
    QTemporaryDir dir;
    const RoundRobinTournament t = largestTournament(dir.path());
    for (auto _ : state) {
        if (!saveRoundRobin(t))
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_AtomicSave)->Unit(benchmark::kMicrosecond);

// Only the text of the file, without the disk.
void BM_FileText(benchmark::State& state) {
    QTemporaryDir dir;
    const RoundRobinTournament t = largestTournament(dir.path());
    for (auto _ : state) {
        QByteArray bytes = roundRobinFileBytes(t);
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_FileText)->Unit(benchmark::kMicrosecond);

// The whole write cycle of the window: "Записать" with recomputation and save.
void BM_WriteResultCycle(benchmark::State& state) {
    QTemporaryDir dir;
    RoundRobinController c(largestTournament(dir.path()));
    int k = 0;
    for (auto _ : state) {
        c.selectRound(1 + k % c.tournament().roundCount());
        c.selectGame(1 + k % c.tournament().boardCount());
        if (!c.writeResult(k % 2 ? QStringLiteral("1") : QStringLiteral("%")))
            state.SkipWithError("save failed");
        ++k;
    }
}
BENCHMARK(BM_WriteResultCycle)->Unit(benchmark::kMicrosecond);

// The parts of the recomputation: linking games to rows, and the crosstable.
void BM_LinkGames(benchmark::State& state) {
    QTemporaryDir dir;
    const RoundRobinTournament t = largestTournament(dir.path());
    for (auto _ : state) {
        GameLinks l = linkGames(t);
        benchmark::DoNotOptimize(l);
    }
}
BENCHMARK(BM_LinkGames)->Unit(benchmark::kMicrosecond);

void BM_BuildCrosstable(benchmark::State& state) {
    QTemporaryDir dir;
    const RoundRobinTournament t = largestTournament(dir.path());
    const GameLinks l = linkGames(t);
    for (auto _ : state) {
        Crosstable c = buildCrosstable(t, l);
        benchmark::DoNotOptimize(c);
    }
}
BENCHMARK(BM_BuildCrosstable)->Unit(benchmark::kMicrosecond);
} // namespace
