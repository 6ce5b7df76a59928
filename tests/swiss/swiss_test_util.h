// Small builders for Swiss tournaments in tests: participants by rating, rounds as
// "white|black|whiteResult|blackResult" lines.
#pragma once

#include "common/text_file.h"
#include "swiss/swiss_file.h"

#include <QStringList>
#include <QVector>
#include <algorithm>
#include <numeric>
#include <random>

namespace ladya::test {

// Participants named P1, P2, ... with the given rating texts; "**" makes a bye row.
// Built as loading builds it, but in memory: a test may hold what no file may (a number
// outside the table), as a window could.
inline SwissTournament makeSwiss(const QStringList& ratings,
                                 const QVector<QStringList>& rounds = {}) {
    SwissTournament t;
    t.state.startDate = QStringLiteral("05.12.2026");
    for (int i = 0; i < ratings.size(); ++i) {
        const QString n = QString::number(i + 1);
        const QString bye = QStringLiteral("**");
        t.participants.append(ratings[i] == bye
                                  ? Participant{n, bye, bye, bye, bye}
                                  : Participant{n, QStringLiteral("P") + n, QStringLiteral("1"),
                                                ratings[i], QStringLiteral("CITY")});
    }
    for (const QStringList& lines : rounds) {
        QVector<SwissGame> round;
        for (const QString& line : lines) {
            const QStringList f = line.split(u'|');
            round.append(
                {parseLenientInt(f.value(0)), parseLenientInt(f.value(1)), f.value(2), f.value(3)});
        }
        t.rounds.append(round);
    }
    t.deriveCounts();
    return t;
}

// Random pairings (rematches allowed) and random results, some byes as forfeits and
// some as "1"/"0", the last round sometimes left partly unplayed.
inline SwissTournament randomTournament(std::mt19937& rng) {
    // Now and then a field near the largest size, where the standings order has the
    // most ties to settle.
    const int players = rng() % 12 == 0 ? 250 + int(rng() % 50) : 4 + int(rng() % 40);
    const int n = players + players % 2;
    QStringList lines{"05.12.2026", "", "0", QString::number(n)};
    for (int i = 1; i <= players; ++i)
        lines << QStringLiteral("%1|P%1|1|%2|C").arg(i).arg(1000 + int(rng() % 1500));
    if (n > players)
        lines << QStringLiteral("%1|**|**|**|**").arg(n);
    const int rounds = int(rng() % 12);
    lines[2] = QString::number(rounds);
    const QStringList codes{"1|0", "0|1", "%|%", "+|-", "-|+", "-|-", "|"};
    QVector<int> order(n);
    for (int r = 1; r <= rounds; ++r) {
        lines << QString::number(r) + " ТУР";
        std::iota(order.begin(), order.end(), 1);
        std::shuffle(order.begin(), order.end(), rng);
        for (int b = 0; b < n / 2; ++b) {
            QString code = codes[int(rng() % 6)];
            if (r == rounds && rng() % 3 == 0)
                code = "|";
            lines << QStringLiteral("%1|%2|").arg(order[2 * b]).arg(order[2 * b + 1]) + code;
        }
    }
    return *parseSwissLines(lines);
}

} // namespace ladya::test
