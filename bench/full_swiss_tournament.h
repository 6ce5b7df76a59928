// The Swiss tournament at its size limit, shared by the benchmarks: 299 players and the
// bye participant, 20 rounds of random pairings (a fixed seed, so every run measures the
// same tournament) with every result entered.
#pragma once

#include "swiss/swiss_controller.h"
#include "swiss/swiss_file.h"

#include <algorithm>
#include <numeric>
#include <random>

namespace ladya::bench {

inline SwissTournament fullSwissTournament(const QString& path = QString()) {
    std::mt19937 rng(300);
    SwissTournament t;
    t.state.path = path;
    t.state.startDate = QStringLiteral("05.12.2026");
    for (int i = 1; i <= 299; ++i)
        t.participants.append({QString::number(i), QStringLiteral("ИГРОК НОМЕР %1").arg(i),
                               QStringLiteral("1"), QString::number(2600 - i * 5),
                               QStringLiteral("МОСКВА")});
    t.participants.append(makeByeRow(300));
    const QStringList entries = swissResultEntries().mid(1);
    QVector<int> order(300);
    for (int r = 1; r <= Limits::SwissRounds; ++r) {
        std::iota(order.begin(), order.end(), 1);
        std::shuffle(order.begin(), order.end(), rng);
        QVector<SwissGame> round;
        for (int b = 0; b < 150; ++b)
            round.append({order[2 * b], order[2 * b + 1], QString(), QString()});
        t.rounds.append(round);
        t.deriveCounts();
        for (int b = 1; b <= 150; ++b)
            storeResult(t, b, entries[int(rng() % entries.size())]);
    }
    t.deriveCounts();
    return t;
}

} // namespace ladya::bench
