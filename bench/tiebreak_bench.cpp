// Ranking a large Swiss field by a six-entry tie-break list: 300 players, 20 rounds.
#include "scoring/tiebreaks.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <random>

using namespace ladya;

namespace {

// Every round pairs the players at random, a few forfeits and byes among the games.
TieBreakField bigField(int players, int rounds) {
    std::mt19937 rng(7);
    TieBreakField field;
    field.roundCount = rounds;
    field.players.resize(std::size_t(players));
    for (int p = 0; p < players; ++p) {
        field.players[std::size_t(p)].number = p + 1;
        field.players[std::size_t(p)].rating = 1400 + int(rng() % 1200);
        field.players[std::size_t(p)].rounds.resize(std::size_t(rounds));
    }
    std::vector<int> order(static_cast<std::size_t>(players));
    for (int r = 0; r < rounds; ++r) {
        for (int p = 0; p < players; ++p)
            order[std::size_t(p)] = p;
        std::shuffle(order.begin(), order.end(), rng);
        for (int k = 0; k + 1 < players; k += 2) {
            const int a = order[std::size_t(k)];
            const int b = order[std::size_t(k + 1)];
            const int x = int(rng() % 100);
            TieBreakRound& ra = field.players[std::size_t(a)].rounds[std::size_t(r)];
            TieBreakRound& rb = field.players[std::size_t(b)].rounds[std::size_t(r)];
            if (x < 2) {
                ra = {TieBreakRoundKind::ForfeitWin, b, 2, 0};
                rb = {TieBreakRoundKind::ForfeitLoss, a, 0, 0};
            } else if (x < 4) {
                ra = {TieBreakRoundKind::HalfBye, -1, 1, 0};
                rb = {TieBreakRoundKind::ZeroBye, -1, 0, 0};
            } else {
                const int ha = x < 35 ? 1 : (x < 70 ? 2 : 0);
                ra = {TieBreakRoundKind::Played, b, ha, 'w'};
                rb = {TieBreakRoundKind::Played, a, 2 - ha, 'b'};
            }
        }
    }
    return field;
}

void rankSixEntries(benchmark::State& state) {
    const TieBreakField field = bigField(300, 20);
    const TieBreakList list = *parseTieBreakList(QStringLiteral("BH/C1,BH,DE,SB,ARO/C1,PS"));
    for (auto _ : state)
        benchmark::DoNotOptimize(rankByTieBreaks(field, list));
}
BENCHMARK(rankSixEntries)->Unit(benchmark::kMillisecond);

} // namespace
