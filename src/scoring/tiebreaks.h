// Tie-breaks as a tournament's regulations announce them: an ordered list of the FIDE
// tie-breaks (Handbook C.07) with their modifiers, computed from the rounds of either kind
// of tournament, and the ranking by points and then by the list, with shared places.
//
// Nothing here knows the tournament files: each kind turns its rounds into a
// `TieBreakField` (swiss_tiebreaks.h, round_robin_tiebreaks.h), and the windows, reports,
// CLI and TRF read the ranking back.
#pragma once

#include "common/result.h"

#include <QString>
#include <QStringList>
#include <vector>

namespace ladya {

// What one round brought one player, as C.07 tells rounds apart.
enum class TieBreakRoundKind : unsigned char {
    Played,       // a game over the board: 1, ½ or 0
    ForfeitWin,   // won because the opponent did not appear
    ForfeitLoss,  // lost by not appearing (each side of a double forfeit too)
    PairingBye,   // the pairing-allocated bye (PAB), with the points recorded for it; in a
                  // round-robin the game against the empty seat of an odd field
    HalfBye,      // a requested bye of ½ point
    FullBye,      // a requested bye of 1 point
    ZeroBye,      // absent: an announced absence, a withdrawn player's round, a round before
                  // a late entry
    NotPlayedYet, // paired, no result yet (the round in progress): counts for nothing
};

struct TieBreakRound {
    TieBreakRoundKind kind = TieBreakRoundKind::ZeroBye;
    int opponent = -1; // the opponent's index for Played, ForfeitWin, ForfeitLoss,
                       // NotPlayedYet; -1 otherwise
    int halves = 0;    // the points the round brought, in halves (0, 1 or 2)
    char colour = 0;   // 'w', 'b', or 0 when no game was played over the board
};

struct TieBreakPlayer {
    int number = 0; // the participant number (shown, and the last resort of the order)
    int rating = 0; // 0: unrated
    std::vector<TieBreakRound> rounds; // rounds 1..R at 0..R-1, every player R of them
    // Whether the player still takes part (C.07 treats the rounds of a withdrawn player
    // after the withdrawal as unplayed rounds of his own).
    bool withdrawn = false;
    // The bye participant "**" of an odd field: it keeps its index so that the others'
    // rounds can name it, but it is never ranked (left out of `order`, places 0).
    bool bye = false;
};

// The edition of C.07 that applies: the one in force when the tournament started. The
// 2024 edition (in force from 1 August 2024) and the 2026 one (from 1 March 2026) differ
// in the dummy opponent of an unplayed round.
enum class TieBreakRules : unsigned char { Fide2024, Fide2026 };

// A tournament as the tie-breaks see it: players by index, each with all R rounds.
struct TieBreakField {
    std::vector<TieBreakPlayer> players;
    int roundCount = 0;      // R: rounds paired so far
    bool roundRobin = false; // pairings fixed in advance (C.07 treats some cases apart)
    // The rating the rating-based tie-breaks (ARO, TPR, PTP, APRO, APPO) give an unrated
    // opponent. C.07 leaves it to the regulations; 1400 is the FIDE rating floor, the
    // least a rated player can have.
    int unratedRating = 1400;
    TieBreakRules rules = TieBreakRules::Fide2024;
    int plannedRounds = 0; // the rounds the tournament will have; 0: roundCount
};

// The edition in force on a start date given as "dd.MM.yyyy" (the 2024 one for a date
// before 1 March 2026 or one that cannot be read).
TieBreakRules tieBreakRulesOn(const QString& startDate);

// The tie-breaks of C.07 (and the 2026 additions) by their FIDE acronyms.
enum class TieBreakId : unsigned char {
    DE,
    WIN,
    WON,
    BPG,
    BWG,
    GE,
    PS,
    BH,
    FB,
    AOB,
    SB,
    KS,
    ARO,
    TPR,
    PTP,
    APRO,
    APPO,
    // further acronyms are added here, never in the middle (lists are stored as text)
};

// One entry of the list: a tie-break with its modifiers.
struct TieBreak {
    TieBreakId id = TieBreakId::BH;
    int cutLowest = 0;  // Cut-n (C1, C2), and the lower half of Median-n (M1, M2)
    int cutHighest = 0; // the upper half of Median-n
    int limit = 0;      // KS's limit (percentage of the maximum score), 0: the default
    bool operator==(const TieBreak&) const = default;
};

using TieBreakList = std::vector<TieBreak>;

// The list as the regulations and the CLI write it, "BH/C1,BH,SB,DE": acronyms with
// their modifiers after "/", separated by commas (blanks and ";" are taken too, and
// case does not matter). Refused, naming the entry: an unknown acronym or modifier, a
// modifier the tie-break does not take, an entry given twice, more than 10 entries.
// An empty text is the empty list (the program's own order).
Result<TieBreakList> parseTieBreakList(const QString& text);
// The canonical text of a list: what parseTieBreakList reads back to the same list, and
// what the files store.
QString tieBreakListText(const TieBreakList& list);

// The column title of an entry: its acronym with its modifier ("BH-C1", "SB", "DE").
QString tieBreakTitle(const TieBreak& tieBreak);
// The legend line of an entry, translatable, for reports and tooltips
// ("BH-C1 — коэффициент Бухгольца без худшего результата").
QString tieBreakLegend(const TieBreak& tieBreak);
// An entry's value as the lists and reports write it (points with the decimals they
// need, ratings as whole numbers).
QString tieBreakValueText(const TieBreak& tieBreak, double value);

// A list FIDE recommends, with its name as the window offers it.
struct RecommendedTieBreaks {
    QString name;
    TieBreakList list;
};
// The lists FIDE recommends for an individual Swiss (roundRobin false) or a round-robin.
std::vector<RecommendedTieBreaks> recommendedTieBreakLists(bool roundRobin);

// The ranking by points and then by the list.
struct TieBreakRanking {
    std::vector<double> points;              // per player
    std::vector<std::vector<double>> values; // per player, per entry of the list
    std::vector<int> order;                  // player indices, first place first
    // Per player: the first and last place of the places it shares with the players
    // equal to it on points and every entry (first == last when it has its own).
    std::vector<int> firstPlace;
    std::vector<int> lastPlace;
};

// Ranks the field: points (halves of every round) first, then every entry of the list in
// order; players equal on all share their places and are listed by number. DE is
// computed within each group of players still equal when it is reached.
TieBreakRanking rankByTieBreaks(const TieBreakField& field, const TieBreakList& list);

// A place as the lists show it: "3", or "3–4" for a shared place.
QString sharedPlaceText(int firstPlace, int lastPlace);

} // namespace ladya
