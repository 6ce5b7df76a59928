// Small builders for Swiss tournaments in tests: participants by rating, rounds as
// "white|black|whiteResult|blackResult" lines.
#pragma once

#include "swiss/swiss_file.h"

#include <QStringList>
#include <QVector>

namespace ladya::test {

// Participants named P1, P2, ... with the given rating texts; "**" makes a bye row.
inline SwissTournament makeSwiss(const QStringList& ratings,
                                 const QVector<QStringList>& rounds = {}) {
    QStringList lines{QStringLiteral("05.12.2026"), QString(), QString::number(rounds.size()),
                      QString::number(ratings.size())};
    for (int i = 0; i < ratings.size(); ++i) {
        const QString n = QString::number(i + 1);
        if (ratings[i] == QStringLiteral("**"))
            lines << n + QStringLiteral("|**|**|**|**");
        else
            lines << n + QStringLiteral("|P") + n + QStringLiteral("|1|") + ratings[i] +
                         QStringLiteral("|CITY");
    }
    for (int r = 0; r < rounds.size(); ++r) {
        lines << QString::number(r + 1) + QStringLiteral(" ТУР");
        lines << rounds[r];
    }
    return *parseSwissLines(lines).tournament;
}

} // namespace ladya::test
