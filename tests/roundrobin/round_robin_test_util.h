// Small builders for round-robin tests.
#pragma once

#include "roundrobin/round_robin_creation.h"
#include "roundrobin/round_robin_file.h"

#include <gtest/gtest.h>
#include <initializer_list>
#include <ostream>

// Readable QString values in test failures.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace ladya::test {

struct PlayerSpec {
    const char* name;
    const char* category;
    const char* rating;
};

// A tournament with the Berger schedule of the given players (a bye row added for an
// odd count), every result empty.
inline RoundRobinTournament makeRoundRobin(std::initializer_list<PlayerSpec> players,
                                           bool twoCycles = false) {
    RoundRobinTournament t;
    t.state.kind = twoCycles ? TournamentKind::TwoCycles : TournamentKind::OneCycle;
    t.state.startDate = QStringLiteral("01.12.2026");
    t.state.path = QStringLiteral("Тест_(01.12.2026).kr2");
    int k = 0;
    for (const PlayerSpec& p : players) {
        ++k;
        t.participants.append({QString::number(k), QString::fromUtf8(p.name),
                               QString::fromUtf8(p.category), QString::fromUtf8(p.rating),
                               QStringLiteral("КЛУБ")});
    }
    if (k % 2 != 0)
        t.participants.append(makeByeRow(k + 1));
    const int n = t.participantCount();
    t.state.participantCount = n;
    t.state.boardCount = n / 2;
    t.state.roundCount = (n - 1) * (twoCycles ? 2 : 1);
    t.games = buildBergerSchedule(t.participants, twoCycles);
    t.state.unplayedCount = t.countUnplayed();
    return t;
}

// Sets the result of the game between the named players in the given round, as the
// window's result selector would ("00" is the double forfeit).
inline void setResult(RoundRobinTournament& t, int round, const QString& white,
                      const QString& entry) {
    for (int b = 1; b <= t.boardCount(); ++b) {
        RoundRobinGame& g = t.game(round, b);
        if (g.white != white)
            continue;
        g.applyEntry(entry);
        t.state.unplayedCount = t.countUnplayed();
        return;
    }
    ADD_FAILURE() << "no game with White " << white.toStdString() << " in round " << round;
}

} // namespace ladya::test
