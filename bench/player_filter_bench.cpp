// Refiltering the player selection list as the user types, at the database limit.
#include "common/tournament_state.h"
#include "players/player_selection.h"

#include <benchmark/benchmark.h>

using namespace ladya;

namespace {

// 10,000 records with names drawn from a few dozen surnames and first names, so a
// search for a common fragment matches many rows and a rare one few.
PlayerDatabase makeDatabase(int count) {
    static const char16_t* const surnames[] = {
        u"ИВАНОВ",  u"ПЕТРОВ",  u"СИДОРОВ", u"КУЗНЕЦОВ", u"СМИРНОВ",  u"ПОПОВ",   u"ВАСИЛЬЕВ",
        u"НОВИКОВ", u"ФЁДОРОВ", u"МОРОЗОВ", u"ВОЛКОВ",   u"АЛЕКСЕЕВ", u"ЛЕБЕДЕВ", u"СЕМЁНОВ"};
    static const char16_t* const firstNames[] = {u"ИВАН", u"ПЁТР",  u"СЕРГЕЙ",  u"ОЛЕГ",
                                                 u"АННА", u"МАРИЯ", u"ДМИТРИЙ", u"НИКОЛАЙ"};
    QStringList records;
    records.reserve(count);
    for (int i = 0; i < count; ++i) {
        const QString name = QString::fromUtf16(surnames[i % 14]) + u' ' +
                             QString::fromUtf16(firstNames[(i / 14) % 8]) + u' ' +
                             QString::number(i);
        records.append(name + QStringLiteral("|ГОРОД %1|1|%2|Новый участник|01.01.2026")
                                  .arg(i % 50)
                                  .arg(1000 + i % 1500));
    }
    return PlayerDatabase(records);
}

// One keystroke: the search changes and the rows are refiltered.
void BM_RefilterAtDatabaseLimit(benchmark::State& st) {
    PlayerDatabase db = makeDatabase(Limits::PlayerDatabaseRecords);
    TournamentState state;
    PlayerSelectionController c(db, QString(), state);
    // Alternating searches so that every call really refilters.
    const QString searches[] = {QStringLiteral("ИВА"), QStringLiteral("ИВ")};
    int k = 0;
    for (auto _ : st) {
        c.search(searches[k++ & 1]);
        benchmark::DoNotOptimize(c.rows().size());
    }
}
BENCHMARK(BM_RefilterAtDatabaseLimit)->Unit(benchmark::kMillisecond);

// Clearing the field lists every record again.
void BM_ClearSearchAtDatabaseLimit(benchmark::State& st) {
    PlayerDatabase db = makeDatabase(Limits::PlayerDatabaseRecords);
    TournamentState state;
    PlayerSelectionController c(db, QString(), state);
    int k = 0;
    for (auto _ : st) {
        c.search((k++ & 1) ? QStringLiteral("ИВАНОВ ИВАН 1") : QString());
        benchmark::DoNotOptimize(c.rows().size());
    }
}
BENCHMARK(BM_ClearSearchAtDatabaseLimit)->Unit(benchmark::kMillisecond);

// Building the rows from the database: the dialog's opening and the refill after an
// add or an edit.
void BM_RefillFromDatabase(benchmark::State& st) {
    PlayerDatabase db = makeDatabase(Limits::PlayerDatabaseRecords);
    TournamentState state;
    PlayerSelectionController c(db, QString(), state);
    for (auto _ : st) {
        c.refill();
        benchmark::DoNotOptimize(c.rows().size());
    }
}
BENCHMARK(BM_RefillFromDatabase)->Unit(benchmark::kMillisecond);

} // namespace
