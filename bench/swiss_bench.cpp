// A full-size Swiss tournament: 300 participants (299 players and the bye
// participant), 20 rounds with every result entered.
#include "common/text_file.h"
#include "full_swiss_tournament.h"
#include "pairing/pairing_workbench.h"
#include "swiss/swiss_controller.h"
#include "swiss/swiss_file.h"
#include "swiss/swiss_standings.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace ladya;

namespace {

void BM_SwissStandingsWithRatings(benchmark::State& state) {
    const SwissTournament t = bench::fullSwissTournament();
    for (auto _ : state)
        benchmark::DoNotOptimize(computeSwissStandings(t));
}
BENCHMARK(BM_SwissStandingsWithRatings)->Unit(benchmark::kMicrosecond);

// Every row of the standings list, as the command-line listing prints them.
void BM_SwissStandingsRows(benchmark::State& state) {
    const SwissTournament t = bench::fullSwissTournament();
    const SwissStandings s = computeSwissStandings(t);
    for (auto _ : state)
        benchmark::DoNotOptimize(swissStandingsRows(t, s));
}
BENCHMARK(BM_SwissStandingsRows)->Unit(benchmark::kMicrosecond);

// The rows a screen of the tournament window shows of each list.
constexpr int VisibleRows = 25;

// "Записать" in the tournament window: the click on the game, the entry, then store,
// atomic save, load, recompute, and the rows of both lists that the repaint asks for.
// With a companion file (planned rounds and a forbidden pair) when `withCompanion`.
void resultEntryCycle(benchmark::State& state, bool withCompanion) {
    QTemporaryDir dir;
    SwissTournament t = bench::fullSwissTournament();
    t.state.path = dir.filePath(QStringLiteral("bench.swz"));
    if (withCompanion) {
        t.extras.plannedRounds = 20;
        t.extras.forbidden = {{1, 2, 1, 0}};
    }
    if (!saveSwiss(t)) {
        state.SkipWithError("cannot write the tournament");
        return;
    }
    SwissWindowController window(*loadSwiss(t.state.path));
    const QStringList entries{QStringLiteral("1"), QStringLiteral("%")};
    int k = 0;
    for (auto _ : state) {
        window.clickGameRow(k % 150);
        window.chooseEntry(entries[k % 2]);
        if (!window.writeResult()) {
            state.SkipWithError("save failed");
            return;
        }
        for (int row = 0; row < VisibleRows; ++row) {
            benchmark::DoNotOptimize(window.gameRow(row));
            benchmark::DoNotOptimize(window.standingsRow(row));
        }
        ++k;
    }
}
void BM_ResultEntryCycle(benchmark::State& state) {
    resultEntryCycle(state, false);
}
BENCHMARK(BM_ResultEntryCycle)->Unit(benchmark::kMicrosecond);

void BM_ResultEntryCycleWithCompanion(benchmark::State& state) {
    resultEntryCycle(state, true);
}
BENCHMARK(BM_ResultEntryCycleWithCompanion)->Unit(benchmark::kMicrosecond);

void BM_SaveAndLoadOnly(benchmark::State& state) {
    QTemporaryDir dir;
    SwissTournament t = bench::fullSwissTournament();
    t.state.path = dir.filePath(QStringLiteral("bench.swz"));
    for (auto _ : state) {
        benchmark::DoNotOptimize(saveSwiss(t));
        benchmark::DoNotOptimize(loadSwiss(t.state.path));
    }
}
BENCHMARK(BM_SaveAndLoadOnly)->Unit(benchmark::kMicrosecond);

// The disk's share of save and load: the same bytes written atomically and read back,
// with no text made or parsed.
void BM_DiskWriteAndReadOnly(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("bench.swz"));
    const QByteArray bytes = swissFileBytes(bench::fullSwissTournament());
    for (auto _ : state) {
        if (!writeFileAtomic(path, bytes)) {
            state.SkipWithError("cannot write the tournament");
            return;
        }
        benchmark::DoNotOptimize(readFileBytes(path));
    }
}
BENCHMARK(BM_DiskWriteAndReadOnly)->Unit(benchmark::kMicrosecond);

// The code's share of save and load: the file text made, and read back, in memory.
void BM_FileTextWrite(benchmark::State& state) {
    const SwissTournament t = bench::fullSwissTournament();
    for (auto _ : state)
        benchmark::DoNotOptimize(swissFileBytes(t));
}
BENCHMARK(BM_FileTextWrite)->Unit(benchmark::kMicrosecond);

void BM_FileTextRead(benchmark::State& state) {
    const QByteArray bytes = swissFileBytes(bench::fullSwissTournament());
    for (auto _ : state)
        benchmark::DoNotOptimize(parseSwissBytes(bytes));
}
BENCHMARK(BM_FileTextRead)->Unit(benchmark::kMicrosecond);

// The candidates of every participant of a round, as the pairing dialog searches them.
void BM_BuildCandidatesForEveryParticipant(benchmark::State& state) {
    SwissTournament t = bench::fullSwissTournament();
    t.rounds.removeLast(); // a 20th round still to pair
    t.deriveCounts();
    PairingWorkbench workbench(t, computeSwissStandings(t));
    workbench.buildUnpairedList();
    for (auto _ : state) {
        for (int s = 1; s <= t.participantCount(); ++s) {
            workbench.clearCandidates();
            workbench.buildCandidates(s, 0.0f);
            benchmark::DoNotOptimize(workbench.candidateList().size());
        }
    }
}
BENCHMARK(BM_BuildCandidatesForEveryParticipant)->Unit(benchmark::kMicrosecond);

} // namespace
