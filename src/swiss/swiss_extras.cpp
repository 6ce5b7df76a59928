#include "swiss/swiss_extras.h"

#include <algorithm>

namespace ladya {

int absenceHalves(Absence kind) {
    switch (kind) {
    case Absence::HalfBye:
        return 1;
    case Absence::FullBye:
        return 2;
    case Absence::ZeroBye:
        break;
    }
    return 0;
}

const Withdrawal* SwissExtras::withdrawalAt(int participant, int round) const {
    for (const Withdrawal& w : withdrawals) {
        if (w.participant == participant && round >= w.fromRound &&
            (w.returnRound == 0 || round < w.returnRound))
            return &w;
    }
    return nullptr;
}

bool SwissExtras::isWithdrawn(int participant, int round) const {
    return withdrawalAt(participant, round) != nullptr;
}

const LateEntry* SwissExtras::lateEntryOf(int participant) const {
    const auto it = std::find_if(lateEntries.begin(), lateEntries.end(),
                                 [&](const LateEntry& e) { return e.participant == participant; });
    return it == lateEntries.end() ? nullptr : &*it;
}

std::optional<Absence> SwissExtras::absence(int participant, int round) const {
    for (const RequestedBye& b : byes) {
        if (b.participant == participant && b.round == round)
            return b.kind;
    }
    if (const LateEntry* late = lateEntryOf(participant); late && round < late->firstRound)
        return late->missed;
    if (isWithdrawn(participant, round))
        return Absence::ZeroBye;
    return std::nullopt;
}

bool SwissExtras::isForbidden(int a, int b, int round) const {
    return std::any_of(forbidden.begin(), forbidden.end(), [&](const ForbiddenPair& f) {
        const bool same = (f.first == a && f.second == b) || (f.first == b && f.second == a);
        return same && round >= f.fromRound && (f.toRound == 0 || round <= f.toRound);
    });
}

QVector<RoundAbsence> roundAbsences(const SwissExtras& extras, int round, int participantCount) {
    QVector<RoundAbsence> out;
    if (extras.byes.isEmpty() && extras.withdrawals.isEmpty() && extras.lateEntries.isEmpty())
        return out;
    for (int p = 1; p <= participantCount; ++p) {
        const std::optional<Absence> kind = extras.absence(p, round);
        if (!kind)
            continue;
        const bool requested =
            std::any_of(extras.byes.begin(), extras.byes.end(), [&](const RequestedBye& b) {
                return b.participant == p && b.round == round;
            });
        const LateEntry* late = extras.lateEntryOf(p);
        RoundAbsence a;
        a.participant = p;
        a.kind = *kind;
        a.late = !requested && late && round < late->firstRound;
        a.withdrawn = !requested && !a.late;
        out.append(a);
    }
    return out;
}

} // namespace ladya
