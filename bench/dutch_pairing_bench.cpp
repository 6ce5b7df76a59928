// The Dutch pairing of one round of 300 players, in round 6 and in round 11, of 1,000 players
// in rounds 2 and 6, and of 2,400 players in rounds 2 and 4 (their largest brackets). The
// tournament is played out here, deterministically: each round paired by the engine, results drawn
// from a fixed seed (draws and forfeits among them). With LADYA_DUTCH_BENCH_TRF set to a folder,
// the two tournaments before the timed rounds are also written there as TRF, for timing another
// engine on the same rounds.
#include "exchange/trf.h"
#include "pairing/dutch_pairing.h"

#include <QDir>
#include <QFile>
#include <benchmark/benchmark.h>
#include <random>
#include <string>
#include <utility>

using namespace ladya;

namespace {

constexpr int PlannedRounds = 11;

SwissTournament playedRounds(int players, int rounds) {
    SwissTournament t;
    for (int i = 1; i <= players; ++i)
        t.participants.append({QString::number(i), QStringLiteral("ИГРОК %1").arg(i), QString(),
                               QString(), QString::number(2700 - 3 * i * 300 / players)});
    t.state.startDate = QStringLiteral("07.07.2026");
    t.deriveCounts();
    std::mt19937 rng(20260707);
    DutchOptions options;
    options.plannedRounds = PlannedRounds;
    for (int r = 1; r <= rounds; ++r) {
        const DutchPairing p = pairDutch(t, options);
        QVector<SwissGame> games;
        for (const DutchPair& pair : p.pairs) {
            const int roll = int(rng() % 100);
            // The higher number is the weaker player: White wins more often when
            // stronger.
            const int whiteEdge = pair.white < pair.black ? 45 : 30;
            if (roll < 2)
                games.append({pair.white, pair.black, "+", "-"});
            else if (roll < whiteEdge)
                games.append({pair.white, pair.black, "1", "0"});
            else if (roll < whiteEdge + 30)
                games.append({pair.white, pair.black, "%", "%"});
            else
                games.append({pair.white, pair.black, "0", "1"});
        }
        t.rounds.append(games);
        t.deriveCounts();
    }
    if (const QByteArray dir = qgetenv("LADYA_DUTCH_BENCH_TRF"); !dir.isEmpty()) {
        QFile f(
            QDir(QString::fromLocal8Bit(dir))
                .filePath(QStringLiteral("dutch_%1p_round%2.trf").arg(players).arg(rounds + 1)));
        if (f.open(QIODevice::WriteOnly))
            f.write(trfExport(t, PlannedRounds));
    }
    return t;
}

void BM_DutchPairing(benchmark::State& state, int players, int round) {
    const SwissTournament t = playedRounds(players, round - 1);
    DutchOptions options;
    options.plannedRounds = PlannedRounds;
    for (auto _ : state) {
        const DutchPairing p = pairDutch(t, options);
        if (!p.found())
            state.SkipWithError("no pairing");
        benchmark::DoNotOptimize(p);
    }
}

BENCHMARK_CAPTURE(BM_DutchPairing, 300PlayersRound6, 300, 6)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DutchPairing, 300PlayersRound11, 300, 11)->Unit(benchmark::kMillisecond);
// Seconds a round: a few iterations say enough.
const bool largeFieldsRegistered = [] {
    for (const auto& [players, round] : {std::pair{1000, 2}, {1000, 6}, {2400, 2}, {2400, 4}}) {
        const std::string name = QStringLiteral("BM_DutchPairing/%1PlayersRound%2")
                                     .arg(players)
                                     .arg(round)
                                     .toStdString();
        benchmark::RegisterBenchmark(name.c_str(), BM_DutchPairing, players, round)
            ->Unit(benchmark::kMillisecond)
            ->Iterations(3);
    }
    return true;
}();

} // namespace
