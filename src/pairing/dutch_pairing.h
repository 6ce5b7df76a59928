// Automatic pairing of the next Swiss round by the FIDE Dutch system: a pure function
// over a snapshot of the tournament, no files, deterministic. Pairing numbers are the
// participants' numbers without the bye participant (they are in rating order already);
// a game against the bye participant is the pairing-allocated bye, and forfeited games
// are not played games (no colour, no bar to a rematch).
#pragma once

#include "swiss/swiss_file.h"

#include <QString>
#include <QVector>
#include <optional>

namespace ladya {

// The top player's colour in round 1, which also settles later colour ties.
enum class InitialColour { White, Black };

struct DutchOptions {
    InitialColour initialColour = InitialColour::White;
    // The rounds the tournament is to have, for the rules of its last round; 0 when not
    // known, and then no round is taken for the last.
    int plannedRounds = 0;
};

// One proposed board: participant numbers, White first. The pairing-allocated bye is
// the pair of the player with the bye participant (as the program stores it).
struct DutchPair {
    int white = 0;
    int black = 0;
    bool operator==(const DutchPair&) const = default;
};

struct DutchPairing {
    // Every participant but the bye participant in exactly one pair, boards in the
    // order the rules give them. Empty when no pairing meets the absolute criteria.
    QVector<DutchPair> pairs;
    bool found() const { return !pairs.isEmpty(); }
};

// The pairing of round roundCount() + 1.
DutchPairing pairDutch(const SwissTournament& tournament, const DutchOptions& options);

// The initial colour as the games of round 1 show it; nothing before round 1 or when no
// game of round 1 gives a colour.
std::optional<InitialColour> initialColourFromRoundOne(const SwissTournament& tournament);

} // namespace ladya
