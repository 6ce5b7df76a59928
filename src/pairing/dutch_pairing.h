// Automatic pairing of the next Swiss round by the FIDE Dutch system: a pure function
// over a snapshot of the tournament, no files, deterministic. Pairing numbers are the
// participants' numbers without the bye participant (they are in rating order already);
// a game against the bye participant is the pairing-allocated bye, and forfeited games
// are not played games (no colour, no bar to a rematch). A round a player sat out (on no
// board of it) brings its absence's points and nothing else, as an unplayed round does.
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
    // The rounds the tournament is to have, for the rules of its last round; 0 takes the
    // tournament's own (`extras.plannedRounds`), and when that is not known either no
    // round is taken for the last.
    int plannedRounds = 0;
    // Players the director has already paired this round: the rest are paired as the
    // field of the round without them (their games still bar rematches and their
    // colours still count for the others' histories, which they are part of).
    QVector<int> alreadyPaired;
    // Whether each bracket's order of the candidates is settled in the weight alone, as
    // the engine does where its choice after the weight cannot prove itself: slower, with
    // the same pairings, which tests hold the two ways to.
    bool orderInWeight = false;
};

// One proposed board: participant numbers, White first. The pairing-allocated bye is
// the pair of the player with the bye participant (as the program stores it), or with
// number N + 1 when the tournament has none yet (the row the commit adds).
struct DutchPair {
    int white = 0;
    int black = 0;
    bool operator==(const DutchPair&) const = default;
};

struct DutchPairing {
    // Every participant but the bye participant and those who sit the round out (a
    // requested bye, a withdrawal, a round before a late entry's first) in exactly one
    // pair, boards in the order the rules give them. Empty when no pairing meets the
    // absolute criteria, of which a forbidden pair is one.
    QVector<DutchPair> pairs;
    bool found() const { return !pairs.isEmpty(); }
};

// The pairing of round roundCount() + 1.
DutchPairing pairDutch(const SwissTournament& tournament, const DutchOptions& options);

// How strongly a player wants a colour, from the colours of the games played.
enum class ColourStrength { None, Mild, Strong, Absolute };

// One player's colours as the Dutch rules read them.
struct DutchColourHistory {
    // Per round 1..roundCount(): 'W', 'B', or 0 when no game was played (the bye, a
    // forfeit, or not paired).
    QVector<char> rounds;
    int difference = 0;  // Whites minus Blacks of the games played
    char preference = 0; // 'W', 'B' or 0
    ColourStrength strength = ColourStrength::None;
};

// The colour allocation rule that decided a pair, in the order the rules try them.
enum class ColourRule {
    Bye,                // a pair with the bye participant: no game, no colours
    BothPreferences,    // both wishes (or the only one) granted
    StrongerPreference, // the same colour wanted: the stronger wish
    WiderDifference,    // two absolute wishes: the wider colour difference
    Alternation,        // the last games in which their colours differed, alternated
    HigherRanked,       // the higher-ranked player's wish
    PairingNumber,      // no wish: the higher-ranked player's pairing number and the
                        // initial colour
};

// The colours of one pair of round roundCount() + 1, as pairDutch would give them.
struct DutchColours {
    int white = 0;
    int black = 0;
    ColourRule rule = ColourRule::Bye;
    int higherRanked = 0; // the participant ranked higher (score, then number)
    // His pairing number as the last rule reads it: among the players entered so far
    // (paired in this round or in an earlier one), so it may be below his participant number.
    int higherPairingNumber = 0;
    DutchColourHistory whiteHistory;
    DutchColourHistory blackHistory;
};

// The colours for participants a and b; a pair with the bye participant gives White
// to the player, as the program stores the bye.
DutchColours dutchColours(const SwissTournament& tournament, const DutchOptions& options, int a,
                          int b);

// The initial colour as the games of round 1 show it; nothing before round 1 or when no
// game of round 1 gives a colour.
std::optional<InitialColour> initialColourFromRoundOne(const SwissTournament& tournament);

} // namespace ladya

namespace ladya {

// A float a round gave a player, as the Dutch rules count them.
enum class DutchFloat { None, Down, Up };

// What the Dutch rules know of one player of the round to pair: enough to weigh a
// pairing made elsewhere by the same criteria the engine weighs its own by.
struct DutchPlayerFacts {
    int number = 0;
    int score = 0; // half points
    DutchColourHistory colours;
    bool byeEligible = true; // no pairing-allocated bye yet, no win without playing
    DutchFloat lastFloat = DutchFloat::None;
    DutchFloat floatBefore = DutchFloat::None; // the float of the round before the last
    bool topscorer = false;
    int unplayedRounds = 0; // rounds without a game played
    QVector<int> opponents; // met over the board (forfeits and byes are no meeting)
};

// Every player of round roundCount() + 1 (not those who sit it out, nor those already
// paired), in pairing order: score, then number.
QVector<DutchPlayerFacts> dutchPlayerFacts(const SwissTournament& tournament,
                                           const DutchOptions& options);

} // namespace ladya
