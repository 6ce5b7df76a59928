// What a real open needs beyond the .swz file: the planned rounds, withdrawals, requested
// byes, late entries, forbidden pairs and the tie-breaks the regulations announce. The .swz keeps
// only boards; a participant who is not paired in a round (withdrawn, on a requested bye, not yet
// entered) sits on no board of it, and the round's spare boards are empty ("0|0||"). These records
// say why, and what the round brought each of them.
//
// A tournament that uses none of it has no companion file, and its .swz is what it
// always was. Otherwise the records live in "<tournament>.swx" beside the .swz
// (swiss_companion.h).
#pragma once

#include <QString>
#include <QVector>
#include <optional>

namespace ladya {

// Why a participant sits out a round, and what it brings: the TRF letters.
enum class Absence : char {
    HalfBye = 'H', // requested half-point bye: ½ point
    ZeroBye = 'Z', // announced absence, a withdrawn player's round, a missed round: 0
    FullBye = 'F', // full-point bye (only a TRF brings one in): 1 point
};

// Points of an absence, in halves.
int absenceHalves(Absence kind);

// A requested bye (or an announced absence) for one round.
struct RequestedBye {
    int participant = 0;
    int round = 0;
    Absence kind = Absence::HalfBye;
    bool operator==(const RequestedBye&) const = default;
};

// Not paired from round `fromRound` on; back from `returnRound` (0: not back).
struct Withdrawal {
    int participant = 0;
    int fromRound = 0;
    int returnRound = 0;
    bool operator==(const Withdrawal&) const = default;
};

// Joined the tournament for round `firstRound`; the rounds before it count as
// absences of kind `missed` (ZeroBye or HalfBye).
struct LateEntry {
    int participant = 0;
    int firstRound = 0;
    Absence missed = Absence::ZeroBye;
    bool operator==(const LateEntry&) const = default;
};

// Two participants who must not meet in rounds fromRound..toRound (toRound 0: to the
// end of the tournament).
struct ForbiddenPair {
    int first = 0;
    int second = 0;
    int fromRound = 1;
    int toRound = 0;
    bool operator==(const ForbiddenPair&) const = default;
};

// Baku acceleration: the first players of round 1's list (group GA) are paired with
// virtual points added to their score in the first half of the planned rounds (see
// swiss_acceleration.h). `lastGa` is the participant number of GA's last player; 0 while
// round 1 is not paired, when the players then to be paired decide it.
struct Acceleration {
    bool baku = false;
    int lastGa = 0;
    bool operator==(const Acceleration&) const = default;
};

struct SwissExtras {
    int plannedRounds = 0; // 0: not known (a file from before the companion)
    QVector<RequestedBye> byes;
    QVector<Withdrawal> withdrawals;
    QVector<LateEntry> lateEntries;
    QVector<ForbiddenPair> forbidden;
    Acceleration acceleration;
    // The tie-breaks the regulations announce, as tieBreakListText writes them
    // ("BH/C1,BH,SB,DE"); "" when none is chosen and the program's own order stands.
    QString tieBreaks;

    bool operator==(const SwissExtras&) const = default;

    // Nothing to keep beyond the .swz: no companion file is written.
    bool isEmpty() const {
        return plannedRounds == 0 && byes.isEmpty() && withdrawals.isEmpty() &&
               lateEntries.isEmpty() && forbidden.isEmpty() && !acceleration.baku &&
               tieBreaks.isEmpty();
    }

    // Why `participant` sits out `round`, if it does: a requested bye first, then a
    // round before a late entry's first, then a withdrawal (ZeroBye).
    std::optional<Absence> absence(int participant, int round) const;
    bool isWithdrawn(int participant, int round) const;
    // The withdrawal in force at `round`, or nullptr.
    const Withdrawal* withdrawalAt(int participant, int round) const;
    const LateEntry* lateEntryOf(int participant) const;
    bool isForbidden(int a, int b, int round) const;
};

// One participant sitting out one round, as the lists show it.
struct RoundAbsence {
    int participant = 0;
    Absence kind = Absence::ZeroBye;
    bool withdrawn = false; // the absence is a withdrawal's round
    bool late = false;      // a round before a late entry's first
};

// Every participant who sits out `round`, in participant order; `participantCount`
// bounds the numbers (the bye participant has no absences).
QVector<RoundAbsence> roundAbsences(const SwissExtras& extras, int round, int participantCount);

} // namespace ladya
