// What a director does to a running Swiss tournament besides results and pairings:
// the planned rounds, withdrawals and returns, requested byes, late entries, forbidden
// pairs, undoing the last pairing and correcting an earlier result. Each action edits
// the tournament in memory, or refuses with a message naming what is wrong and leaves
// it untouched; saving is the caller's (saveSwiss keeps the companion file in step).
//
// Rounds are counted from 1; R is the number of rounds paired. A bye, an absence, a
// withdrawal or a return concerns a round not paired yet (R + 1 or later): the rounds
// already paired keep the boards they have.
#pragma once

#include "common/result.h"
#include "common/tournament_state.h"
#include "swiss/swiss_file.h"

#include <QString>

namespace ladya {

// The planned number of rounds: 1 to 20, not below the rounds already paired.
Result<> setPlannedRounds(SwissTournament& tournament, int rounds);

// `participant` is not paired from round `fromRound` (≥ R + 1) on.
Result<> withdrawParticipant(SwissTournament& tournament, int participant, int fromRound);
// A withdrawn participant plays again from round `returnRound` (≥ R + 1, after the
// withdrawal's first round); a return for the withdrawal's own first round cancels it.
Result<> returnParticipant(SwissTournament& tournament, int participant, int returnRound);

// A requested half-point bye (HalfBye) or an announced absence (ZeroBye) for a round not
// paired yet, and its cancellation.
Result<> requestBye(SwissTournament& tournament, int participant, int round, Absence kind);
Result<> cancelBye(SwissTournament& tournament, int participant, int round);

// A player from the database joins before round R + 1: inserted among the participants
// by rating (after those of equal rating), the bye participant staying last, every
// board and record renumbered; the rounds paired so far count as absences of kind
// `missed` (ZeroBye or HalfBye). The bye participant appears when the field becomes
// odd and goes when it becomes even while no game has used it. The result is the
// new participant's number.
Result<int> addLateEntry(SwissTournament& tournament, const Participant& player, Absence missed);

// Two participants who must not meet in rounds fromRound..toRound (toRound 0: to the
// end), and the removal of every such record of the two.
Result<> forbidPair(SwissTournament& tournament, int first, int second, int fromRound = 1,
                    int toRound = 0);
Result<> allowPair(SwissTournament& tournament, int first, int second);

// Whether the last pairing can be undone: a round is paired and none of its games has
// a result.
Result<> undoPairingCheck(const SwissTournament& tournament);
// Removes round R, with the bye participant when only that round used it, and the
// spare boards that only it needed: the tournament is as before the pairing.
Result<> undoLastPairing(SwissTournament& tournament);

// Writes a result-selector entry into board `board` of any paired round; the later
// rounds keep their pairings. A game of an earlier round can be corrected but not
// cleared: the rounds after it were paired on its result.
Result<> correctResult(SwissTournament& tournament, int round, int board, const QString& entry);

// The question asked before a result of an earlier round is changed.
Message correctionQuestion(const SwissTournament& tournament, int round, int board,
                           const QString& entry);

} // namespace ladya
