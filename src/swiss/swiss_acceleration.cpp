#include "swiss/swiss_acceleration.h"

#include <QCoreApplication>

namespace ladya {

int bakuAcceleratedRounds(int plannedRounds) {
    return (plannedRounds + 1) / 2;
}

int bakuFullPointRounds(int plannedRounds) {
    return (bakuAcceleratedRounds(plannedRounds) + 1) / 2;
}

int bakuGaHalves(int plannedRounds, int round) {
    if (round < 1 || round > bakuAcceleratedRounds(plannedRounds))
        return 0;
    return round <= bakuFullPointRounds(plannedRounds) ? 2 : 1;
}

int bakuGroupSize(int players) {
    return 2 * ((players + 3) / 4);
}

int bakuLastGa(const SwissTournament& t) {
    const Acceleration& a = t.extras.acceleration;
    if (!a.baku)
        return 0;
    if (a.lastGa > 0)
        return a.lastGa;
    // The players to be paired in round 1: those on its boards once it is paired, else
    // everyone who does not sit it out.
    QVector<int> players;
    for (int p = 1; p <= t.participantCount(); ++p) {
        if (p == t.byeNumber)
            continue;
        bool inRound = !t.extras.absence(p, 1).has_value();
        if (t.roundCount() > 0) {
            inRound = false;
            for (const SwissGame& g : t.rounds.front())
                inRound = inRound || g.white == p || g.black == p;
        }
        if (inRound)
            players.append(p);
    }
    if (players.isEmpty())
        return 0;
    return players[qMin(bakuGroupSize(int(players.size())), int(players.size())) - 1];
}

int virtualHalves(const SwissTournament& t, int participant, int round) {
    if (!t.extras.acceleration.baku || participant == t.byeNumber || participant > bakuLastGa(t))
        return 0;
    return bakuGaHalves(t.extras.plannedRounds, round);
}

void fixBakuGroups(SwissTournament& t) {
    Acceleration& a = t.extras.acceleration;
    if (a.baku && a.lastGa == 0 && t.roundCount() > 0)
        a.lastGa = bakuLastGa(t);
}

Result<> setBakuAcceleration(SwissTournament& t, bool on) {
    const auto refusal = [](const char* text) {
        return Result<>(
            Message{QCoreApplication::translate("SwissAcceleration", "Ускорение по Баку"),
                    QCoreApplication::translate("SwissAcceleration", text)});
    };
    if (t.roundCount() > 0)
        return refusal("Ускорение можно включить или выключить только до жеребьёвки первого тура");
    if (on && t.extras.plannedRounds == 0)
        return refusal("Для ускорения нужно знать число туров турнира");
    t.extras.acceleration = on ? Acceleration{true, 0} : Acceleration{};
    return {};
}

} // namespace ladya
