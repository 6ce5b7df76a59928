#include "pairing/dutch_pairing.h"

#include "matching/cardinality_matching.h"
#include "matching/covering_matching.h"
#include "matching/weighted_matching.h"
#include "swiss/swiss_acceleration.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <optional>
#include <set>
#include <tuple>
#include <vector>

// The round is paired bracket by bracket, from the top score down. Each bracket is one
// maximum-weight matching whose weight packs, field by field from the most significant,
// what the rules ask in their order (the table `weightFields` below): the pairs of the
// bracket, its score differences, those of the next bracket, the colours, the floats, and
// last the order in which the rules would try the candidates (exchanges, then
// transpositions). A weight is the sum over the configuration of "costs saved by
// pairing", so a vertex left unmatched is a player who floats down. A cheap cardinality
// matching over every player still to pair checks that the bracket's choice lets the rest
// of the round be paired; when it does not, the bracket is solved again with every player
// below it in the graph.

namespace ladya {

namespace {

using matching::Wide;
using matching::WideInt;

// A colour played or wanted: None for no game (the bye, a forfeit, not paired) or no wish.
enum class Colour : unsigned char { None, White, Black };

// The float a round gave a player (C.04.3 A.4): of two players with different scores the
// higher one floats down and the other up; a point scored without playing floats down.
enum class Float : unsigned char { None, Down, Up };

Colour opposite(Colour colour) {
    return colour == Colour::White ? Colour::Black : Colour::White;
}

// The letters a DutchColourHistory holds.
char colourLetter(Colour colour) {
    switch (colour) {
    case Colour::White:
        return 'W';
    case Colour::Black:
        return 'B';
    case Colour::None:
        break;
    }
    return 0;
}

struct Player {
    int number = 0;              // participant number, which is also the pairing number
    int score = 0;               // half points
    std::vector<Colour> colours; // of the played games, oldest first
    std::vector<Colour> byRound; // per round; None for no game played
    int colourDifference = 0;    // Whites minus Blacks
    Colour preference = Colour::None;
    ColourStrength strength = ColourStrength::None;
    bool byeEligible = true;         // C2: no bye yet, no win without playing
    Float lastFloat = Float::None;   // the float of the last round
    Float floatBefore = Float::None; // the float of the round before it
    bool topscorer = false;
    bool seated = false;   // on a board of an earlier round (a game, a forfeit, the bye)
    int enteredNumber = 0; // the pairing number among the players entered so far (E.5)
};

int halfPoints(char code) {
    if (code == '1' || code == '+')
        return 2;
    if (code == '%')
        return 1;
    return 0;
}

bool isForfeitCode(char code) {
    return code == '+' || code == '-';
}

// What the tournament's rounds say of each player, the bye participant left out.
struct Field {
    std::vector<Player> players;                 // by pairing order
    std::vector<int> indexOfNumber;              // participant number -> index, -1
    std::vector<std::vector<unsigned char>> met; // played each other
    bool anyHistory = false;
};

// Every player but the bye participant, by participant number, with no round read yet.
Field emptyHistory(const SwissTournament& tournament) {
    Field history;
    const int count = tournament.participantCount();
    history.indexOfNumber.assign(count + 1, -1);
    for (int number = 1; number <= count; ++number) {
        if (number == tournament.byeNumber)
            continue;
        history.indexOfNumber[number] = int(history.players.size());
        history.players.emplace_back();
        history.players.back().number = number;
        history.players.back().byRound.assign(tournament.roundCount(), Colour::None);
    }
    const std::size_t size = history.players.size();
    history.met.assign(size, std::vector<unsigned char>(size, 0));
    return history;
}

// The scores before a round, which decide its floats.
struct RoundReading {
    int round = 0;
    std::vector<int> scoreBefore;
    std::vector<Float> floats;
    std::vector<int> gained;
    std::vector<bool> seated; // on a board of the round
};

// A game played: colours, who met, and the floats of unequal scores.
void readPlayedGame(Field& history, RoundReading& reading, int white, int black) {
    history.met[white][black] = history.met[black][white] = 1;
    Player& whitePlayer = history.players[white];
    Player& blackPlayer = history.players[black];
    whitePlayer.colours.push_back(Colour::White);
    blackPlayer.colours.push_back(Colour::Black);
    whitePlayer.byRound[reading.round - 1] = Colour::White;
    blackPlayer.byRound[reading.round - 1] = Colour::Black;
    const int whiteBefore = reading.scoreBefore[white];
    const int blackBefore = reading.scoreBefore[black];
    if (whiteBefore > blackBefore) {
        reading.floats[white] = Float::Down;
        reading.floats[black] = Float::Up;
    } else if (whiteBefore < blackBefore) {
        reading.floats[white] = Float::Up;
        reading.floats[black] = Float::Down;
    }
    history.anyHistory = true;
}

// One board of a round. A forfeit is not a game: a point won without playing is a float
// down, and a win so scored bars the bye (C2). A board with the bye participant is the
// pairing-allocated bye.
void readBoard(Field& history, RoundReading& reading, const SwissTournament& tournament,
               const SwissGame& game) {
    const auto indexOf = [&](int number) {
        return tournament.hasParticipant(number) ? history.indexOfNumber[number] : -1;
    };
    const int white = indexOf(game.white);
    const int black = indexOf(game.black);
    const char whiteCode = codeByte(game.whiteResult);
    const char blackCode = codeByte(game.blackResult);
    if (white >= 0)
        reading.seated[white] = true;
    if (black >= 0)
        reading.seated[black] = true;
    if (white >= 0 && black >= 0) {
        reading.gained[white] = halfPoints(whiteCode);
        reading.gained[black] = halfPoints(blackCode);
        if (!isForfeitCode(whiteCode) && !isForfeitCode(blackCode)) {
            readPlayedGame(history, reading, white, black);
            return;
        }
        for (auto [player, code] : {std::pair{white, whiteCode}, std::pair{black, blackCode}}) {
            if (halfPoints(code) > 0)
                reading.floats[player] = Float::Down;
            if (halfPoints(code) == 2)
                history.players[player].byeEligible = false;
        }
        return;
    }
    const int player = white >= 0 ? white : black;
    const char code = white >= 0 ? whiteCode : blackCode;
    if (player < 0)
        return;
    reading.gained[player] = halfPoints(code);
    if (halfPoints(code) > 0) {
        reading.floats[player] = Float::Down;
        history.players[player].byeEligible = false;
    }
    history.anyHistory = true;
}

void readRound(Field& history, const SwissTournament& tournament, int round) {
    const std::size_t size = history.players.size();
    RoundReading reading{round, std::vector<int>(size), std::vector<Float>(size, Float::None),
                         std::vector<int>(size, 0), std::vector<bool>(size, false)};
    // A float is a meeting of unequal pairing scores: virtual points count.
    for (std::size_t i = 0; i < size; ++i)
        reading.scoreBefore[i] =
            history.players[i].score + virtualHalves(tournament, history.players[i].number, round);
    for (const SwissGame& game : tournament.rounds[round - 1])
        readBoard(history, reading, tournament, game);
    // A round sat out brings what the absence brings, and no colour and no opponent. Its
    // points were scored without playing, as a bye's are: a float down, and a whole
    // point bars the pairing-allocated bye as a win without playing does.
    for (std::size_t i = 0; i < size; ++i) {
        if (reading.seated[i])
            continue;
        Player& player = history.players[i];
        const std::optional<Absence> kind = tournament.extras.absence(player.number, round);
        const int halves = kind ? absenceHalves(*kind) : 0;
        reading.gained[i] = halves;
        if (halves > 0)
            reading.floats[i] = Float::Down;
        if (halves == 2)
            player.byeEligible = false;
    }
    for (std::size_t i = 0; i < size; ++i) {
        Player& player = history.players[i];
        player.seated = player.seated || reading.seated[i];
        player.score += reading.gained[i];
        player.floatBefore = player.lastFloat;
        player.lastFloat = reading.floats[i];
    }
}

// C.04.3 A.6: the colour difference, and the preference with its strength.
void readColourPreference(Player& player) {
    int difference = 0;
    for (Colour colour : player.colours)
        difference += colour == Colour::White ? 1 : -1;
    player.colourDifference = difference;
    const std::size_t played = player.colours.size();
    if (played == 0) {
        player.strength = ColourStrength::None;
    } else if (difference > 1 || difference < -1) {
        player.strength = ColourStrength::Absolute;
        player.preference = difference > 1 ? Colour::Black : Colour::White;
    } else if (played >= 2 && player.colours[played - 1] == player.colours[played - 2]) {
        player.strength = ColourStrength::Absolute;
        player.preference = opposite(player.colours[played - 1]);
    } else if (difference != 0) {
        player.strength = ColourStrength::Strong;
        player.preference = difference > 0 ? Colour::Black : Colour::White;
    } else {
        player.strength = ColourStrength::Mild;
        player.preference = opposite(player.colours[played - 1]);
    }
}

// The players paired by hand and those who sit the round out leave the field once their
// history has been read; the rest take the pairing order (A.2): score, then pairing
// number.
Field inPairingOrder(const Field& history, const SwissTournament& tournament,
                     const DutchOptions& options) {
    const std::vector<Player>& all = history.players;
    const int round = tournament.roundCount() + 1;
    std::vector<int> order;
    for (int i = 0; i < int(all.size()); ++i)
        if (!options.alreadyPaired.contains(all[i].number) &&
            !tournament.extras.absence(all[i].number, round))
            order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return all[a].score != all[b].score ? all[a].score > all[b].score
                                            : all[a].number < all[b].number;
    });
    Field field;
    field.anyHistory = history.anyHistory;
    const int size = int(order.size());
    field.players.resize(size);
    field.indexOfNumber.assign(history.indexOfNumber.size(), -1);
    for (int i = 0; i < size; ++i) {
        field.players[i] = all[order[i]];
        field.indexOfNumber[field.players[i].number] = i;
    }
    field.met.assign(size, std::vector<unsigned char>(size, 0));
    // A forbidden pair is barred as a rematch is.
    for (int i = 0; i < size; ++i)
        for (int j = 0; j < size; ++j)
            field.met[i][j] = history.met[order[i]][order[j]] ||
                              tournament.extras.isForbidden(field.players[i].number,
                                                            field.players[j].number, round);
    return field;
}

// The rounds the tournament is to have: the options', else the tournament's own record.
int plannedRoundsOf(const SwissTournament& tournament, const DutchOptions& options) {
    return options.plannedRounds > 0 ? options.plannedRounds : tournament.extras.plannedRounds;
}

void numberEnteredPlayers(Field& history, const SwissTournament& tournament);

Field readField(const SwissTournament& tournament, const DutchOptions& options) {
    Field history = emptyHistory(tournament);
    const int rounds = tournament.roundCount();
    for (int round = 1; round <= rounds; ++round)
        readRound(history, tournament, round);
    numberEnteredPlayers(history, tournament);
    // A.7: in the last round a topscorer is one with more than half the points.
    const int planned = plannedRoundsOf(tournament, options);
    const bool lastRound = planned > 0 && rounds + 1 >= planned;
    for (Player& player : history.players) {
        readColourPreference(player);
        player.topscorer = lastRound && player.score > rounds;
        // From here on the score is the pairing score: brackets, score differences, the
        // bye and the boards all read it.
        player.score += virtualHalves(tournament, player.number, rounds + 1);
    }
    return inPairingOrder(history, tournament, options);
}

// C1 (no rematch) and C3 (two non-topscorers with the same absolute preference never meet).
bool compatible(const Field& field, int a, int b) {
    if (field.met[a][b])
        return false;
    const Player& x = field.players[a];
    const Player& y = field.players[b];
    return !(x.strength == ColourStrength::Absolute && y.strength == ColourStrength::Absolute &&
             x.preference == y.preference && !x.topscorer && !y.topscorer);
}

struct ColourChoice {
    bool higherWhite = false;
    ColourRule rule = ColourRule::BothPreferences;
};

// The same colour wanted by both (E.2 to E.4): the stronger wish, between two absolute
// ones the wider colour difference, then the last games in which their colours differed,
// alternated, and last the higher-ranked player's wish.
ColourChoice sameWish(const Player& higher, const Player& lower) {
    using enum ColourRule;
    if (higher.strength != lower.strength)
        return {(higher.strength > lower.strength ? higher.preference
                                                  : opposite(lower.preference)) == Colour::White,
                StrongerPreference};
    const int higherWidth = std::abs(higher.colourDifference);
    const int lowerWidth = std::abs(lower.colourDifference);
    if (higher.strength == ColourStrength::Absolute && higherWidth != lowerWidth)
        return {(higherWidth > lowerWidth ? higher.preference : opposite(lower.preference)) ==
                    Colour::White,
                WiderDifference};
    const std::size_t higherPlayed = higher.colours.size();
    const std::size_t lowerPlayed = lower.colours.size();
    for (std::size_t back = 1; back <= higherPlayed && back <= lowerPlayed; ++back) {
        const Colour higherColour = higher.colours[higherPlayed - back];
        const Colour lowerColour = lower.colours[lowerPlayed - back];
        if (higherColour != lowerColour)
            return {higherColour == Colour::Black, Alternation};
    }
    return {higher.preference == Colour::White, HigherRanked};
}

// Whether the higher-ranked player a gets White against b, and by which rule (E.1 to E.5).
ColourChoice colourChoice(const Player& a, const Player& b, InitialColour initial) {
    using enum ColourRule;
    const bool aWants = a.preference != Colour::None;
    const bool bWants = b.preference != Colour::None;
    if (aWants && bWants && a.preference != b.preference)
        return {a.preference == Colour::White, BothPreferences};
    if (aWants && !bWants)
        return {a.preference == Colour::White, BothPreferences};
    if (!aWants && bWants)
        return {b.preference == Colour::Black, BothPreferences};
    if (aWants && bWants)
        return sameWish(a, b);
    const bool odd = a.enteredNumber % 2 == 1;
    return {odd == (initial == InitialColour::White), PairingNumber};
}

bool whiteToHigher(const Player& a, const Player& b, InitialColour initial) {
    return colourChoice(a, b, initial).higherWhite;
}

DutchColourHistory historyOf(const Player& player) {
    DutchColourHistory history;
    for (Colour colour : player.byRound)
        history.rounds.push_back(colourLetter(colour));
    history.difference = player.colourDifference;
    history.preference = colourLetter(player.preference);
    history.strength = player.strength;
    return history;
}

// What a pair costs in colour terms, higher-ranked player a: the counts of C8..C11.
struct ColourCost {
    int overTwo = 0;     // topscorers (or their opponents) beyond a colour difference of 2
    int threeInRow = 0;  // the same, with a third colour in a row
    int unmet = 0;       // preferences not granted
    int unmetStrong = 0; // strong or absolute preferences not granted
};

ColourCost colourCost(const Player& a, const Player& b, InitialColour initial) {
    ColourCost cost;
    const bool aWhite = whiteToHigher(a, b, initial);
    const bool topscorerPair = a.topscorer || b.topscorer;
    for (auto [player, white] : {std::pair{&a, aWhite}, std::pair{&b, !aWhite}}) {
        const Colour given = white ? Colour::White : Colour::Black;
        if (player->preference != Colour::None && player->preference != given) {
            ++cost.unmet;
            if (player->strength >= ColourStrength::Strong)
                ++cost.unmetStrong;
        }
        if (topscorerPair) {
            const int difference = player->colourDifference + (white ? 1 : -1);
            if (difference > 2 || difference < -2)
                ++cost.overTwo;
            const std::size_t played = player->colours.size();
            if (played >= 2 && player->colours[played - 1] == given &&
                player->colours[played - 2] == given)
                ++cost.threeInRow;
        }
    }
    return cost;
}

// The rule a field of the weight stands for: a criterion of C.04.3 C (C4 completion, C5 to
// C19 quality; C1 to C3 are absolute and leave the edge out of the graph instead), or D,
// the order in which the candidates of a bracket are tried, which settles what the
// criteria leave equal.
// clang-format off
enum class Criterion : unsigned char {
    C4, C5, C6, C7, C8, C9, C10, C11, C12, C13, C14, C15, C16, C17, C18, C19, D
};
// clang-format on

// The fields of the weight, one name per row of `weightFields`.
enum class WeightField : unsigned char {
    RoundPairs,
    BracketPairs,
    ScoreDifferences,
    NextBracketPairs,
    NextScoreDifferences,
    TopscorerColourOverTwo,
    TopscorerThreeInRow,
    ColourPreference,
    StrongColourPreference,
    RepeatedDownfloat,
    RepeatedUpfloat,
    DownfloatAsTwoRoundsAgo,
    UpfloatAsTwoRoundsAgo,
    RepeatedDownfloatScore,
    RepeatedUpfloatScore,
    DownfloatAsTwoRoundsAgoScore,
    UpfloatAsTwoRoundsAgoScore,
    MdpChoice,
    MdpPartner,
    Exchange,
    ExchangeNumbers,
    MovedFromS1,
    MovedIntoS1,
    MovedFromS1Sum,
    Position,
    PositionRest,
};

// What a field's total over a matching stays within, which sets its width. V is the graph's vertex
// count, m the bracket's MDPs, r its residents, q the residents whose order is weighed (r, or 0
// while the MDPs' pairs are chosen).
enum class Bound : unsigned char {
    Vertices,    // V: a count of players
    ScoreSums,   // 48·V: a sum of score differences, each below 48 half points in the 20
                 // rounds a tournament has at most
    MdpChoice,   // (m + 1)²
    MdpPartner,  // r + 1
    NumberSums,  // 2·(r + 2)²
    Position,    // q + 1
    PositionSum, // 2·(q + 2)²
    Flag,        // 1: whether something holds
};

// How many fields a row gives one bracket.
enum class Repeat : unsigned char {
    Once,
    WhenWholeRound,         // when the graph holds every player still to pair
    WhenNextBracketCounts,  // while C7 applies
    PerScoreDifference,     // one per score difference the bracket can have, largest first
    PerNextScoreDifference, // the same for the next bracket
    WhenMdps,
    PerMdpWhileRoom,       // one per MDP by rank, as long as the weight has room
    PerRemainderWhileRoom, // one per remainder player but the last, as long as there is room
    PerS1Nearest,          // while the positions are weighed, one per player of the
    PerS2Nearest,          // remainder's S1 nearest S2 (ExchangeFlags of them at most);
                           // the same for S2's nearest S1
    WhenPositionsWeighed,  // unless the positions are chosen after the weight
};

struct WeightFieldRow {
    WeightField field;
    Criterion criterion;
    Bound bound;
    Repeat repeat;
};

// The weight of a configuration, most significant field first. A field sums over the
// players and pairs of the configuration what pairing saves in its criterion's terms, so
// that a maximum weight meets every criterion before it looks at the next one. A field's
// width in bits is fieldWidth(its bound): the bound's bits and a sign bit.
constexpr WeightFieldRow weightFields[] = {
    // C4: every player still to pair gets a partner (or the bye).
    {WeightField::RoundPairs, Criterion::C4, Bound::Vertices, Repeat::WhenWholeRound},
    // C5: the most pairs in the bracket.
    {WeightField::BracketPairs, Criterion::C5, Bound::Vertices, Repeat::Once},
    // C6: the least PSD, the largest score differences counted first.
    {WeightField::ScoreDifferences, Criterion::C6, Bound::Vertices, Repeat::PerScoreDifference},
    // C7: the same for the next bracket, as the floaters would make it.
    {WeightField::NextBracketPairs, Criterion::C7, Bound::Vertices, Repeat::WhenNextBracketCounts},
    {WeightField::NextScoreDifferences, Criterion::C7, Bound::Vertices,
     Repeat::PerNextScoreDifference},
    // C8 to C11: the colours.
    {WeightField::TopscorerColourOverTwo, Criterion::C8, Bound::Vertices, Repeat::Once},
    {WeightField::TopscorerThreeInRow, Criterion::C9, Bound::Vertices, Repeat::Once},
    {WeightField::ColourPreference, Criterion::C10, Bound::Vertices, Repeat::Once},
    {WeightField::StrongColourPreference, Criterion::C11, Bound::Vertices, Repeat::Once},
    // C12 to C15: the same float again, counted.
    {WeightField::RepeatedDownfloat, Criterion::C12, Bound::Vertices, Repeat::Once},
    {WeightField::RepeatedUpfloat, Criterion::C13, Bound::Vertices, Repeat::Once},
    {WeightField::DownfloatAsTwoRoundsAgo, Criterion::C14, Bound::Vertices, Repeat::Once},
    {WeightField::UpfloatAsTwoRoundsAgo, Criterion::C15, Bound::Vertices, Repeat::Once},
    // C16 to C19: the same float again, by its score difference.
    {WeightField::RepeatedDownfloatScore, Criterion::C16, Bound::ScoreSums, Repeat::Once},
    {WeightField::RepeatedUpfloatScore, Criterion::C17, Bound::ScoreSums, Repeat::Once},
    {WeightField::DownfloatAsTwoRoundsAgoScore, Criterion::C18, Bound::ScoreSums, Repeat::Once},
    {WeightField::UpfloatAsTwoRoundsAgoScore, Criterion::C19, Bound::ScoreSums, Repeat::Once},
    // D.3: the MDPs first, the higher ones paired, each with the lowest resident it can have.
    {WeightField::MdpChoice, Criterion::D, Bound::MdpChoice, Repeat::WhenMdps},
    {WeightField::MdpPartner, Criterion::D, Bound::MdpPartner, Repeat::PerMdpWhileRoom},
    // D.2: then the remainder's exchanges, the fewest, of the smallest numbers; of those,
    // the one whose highest S1 player not in both moves to S2 (one field per S1 player,
    // the last first), then the one whose lowest S2 player not in both moves to S1. The
    // weight has those fields for the players nearest the other half only, and past them
    // the larger sum of S1 numbers moved; after the weight every player is decided.
    {WeightField::Exchange, Criterion::D, Bound::Vertices, Repeat::Once},
    {WeightField::ExchangeNumbers, Criterion::D, Bound::NumberSums, Repeat::Once},
    {WeightField::MovedFromS1, Criterion::D, Bound::Flag, Repeat::PerS1Nearest},
    {WeightField::MovedIntoS1, Criterion::D, Bound::Flag, Repeat::PerS2Nearest},
    {WeightField::MovedFromS1Sum, Criterion::D, Bound::NumberSums, Repeat::WhenPositionsWeighed},
    // D.1: and last its transpositions: each player's partner below, in the order of the
    // players; past the fields the weight has room for, the remaining positions in sum.
    {WeightField::Position, Criterion::D, Bound::Position, Repeat::PerRemainderWhileRoom},
    {WeightField::PositionRest, Criterion::D, Bound::PositionSum, Repeat::WhenPositionsWeighed},
};
constexpr std::size_t weightFieldCount = std::size(weightFields);

constexpr bool rowsInFieldOrder() {
    for (std::size_t i = 0; i < weightFieldCount; ++i)
        if (std::size_t(weightFields[i].field) != i)
            return false;
    return true;
}
static_assert(rowsInFieldOrder(), "weightFields is indexed by WeightField");

// How wide a field must be for totals within ±bound: the bits of the bound and a sign bit.
constexpr int fieldWidth(std::int64_t bound) {
    int width = 2;
    while ((std::int64_t(1) << (width - 1)) <= bound)
        ++width;
    return width;
}
static_assert(fieldWidth(1) == 2 && fieldWidth(2) == 3 && fieldWidth(3) == 3);

// The sizes of one bracket's graph that the table's bounds and repeats read.
struct BracketSizes {
    std::int64_t vertices = 0;
    int mdps = 0;
    int residents = 0;
    int remainder = 0;          // q
    int remainderPositions = 0; // the remainder players that may have a Position field
    int s1 = 0;                 // the remainder's S1, when its order is weighed
    int scoreDifferences = 0;
    int nextScoreDifferences = 0;
    bool wholeRound = false;
    bool nextBracketCounts = false;
    bool positionsWeighed = true;
};

std::int64_t boundOf(Bound bound, const BracketSizes& sizes) {
    const auto square = [](std::int64_t x) { return x * x; };
    switch (bound) {
    case Bound::Vertices:
        return sizes.vertices;
    case Bound::ScoreSums:
        return sizes.vertices * 48;
    case Bound::MdpChoice:
        return square(sizes.mdps + 1);
    case Bound::MdpPartner:
        return sizes.residents + 1;
    case Bound::NumberSums:
        return square(sizes.residents + 2) * 2;
    case Bound::Position:
        return sizes.remainder + 1;
    case Bound::PositionSum:
        return square(sizes.remainder + 2) * 2;
    case Bound::Flag:
        return 1;
    }
    return 0;
}

// How many players on each side of the remainder's halves have an exchange field of their
// own in a weight with the positions: exchanges reach further rarely, and the positions
// need the room.
constexpr int ExchangeFlags = 12;

int repeatCount(Repeat repeat, const BracketSizes& sizes) {
    switch (repeat) {
    case Repeat::Once:
        return 1;
    case Repeat::WhenWholeRound:
        return sizes.wholeRound ? 1 : 0;
    case Repeat::WhenNextBracketCounts:
        return sizes.nextBracketCounts ? 1 : 0;
    case Repeat::PerScoreDifference:
        return sizes.scoreDifferences;
    case Repeat::PerNextScoreDifference:
        return sizes.nextScoreDifferences;
    case Repeat::WhenMdps:
        return sizes.mdps > 0 ? 1 : 0;
    case Repeat::PerMdpWhileRoom:
        return sizes.mdps;
    case Repeat::PerRemainderWhileRoom:
        return sizes.remainderPositions;
    case Repeat::PerS1Nearest:
        return sizes.positionsWeighed ? std::min(sizes.s1, ExchangeFlags) : 0;
    case Repeat::PerS2Nearest:
        return sizes.positionsWeighed ? std::min(sizes.remainder - sizes.s1, ExchangeFlags) : 0;
    case Repeat::WhenPositionsWeighed:
        return sizes.positionsWeighed ? 1 : 0;
    }
    return 0;
}

// Where each field of one bracket's weight lies: the rows of `weightFields` in order, each
// giving as many fields as its repeat says, as long as the weight has room for them.
class WeightLayout {
public:
    WeightLayout() = default;
    // Every field the sizes call for; or, given `bounds` (per field of that full layout),
    // only the fields with a bound, each as wide as its own, so that fields no edge gains
    // anything in take no room and the others no more than they need.
    explicit WeightLayout(const BracketSizes& sizes,
                          const std::vector<std::int64_t>* bounds = nullptr) {
        for (const WeightFieldRow& row : weightFields) {
            m_firstEntry[std::size_t(row.field)] = int(m_slotOfEntry.size());
            const std::int64_t rowBound = boundOf(row.bound, sizes);
            const bool whileRoom = row.repeat == Repeat::PerMdpWhileRoom ||
                                   row.repeat == Repeat::PerRemainderWhileRoom;
            const int count = repeatCount(row.repeat, sizes);
            for (int k = 0; k < count; ++k) {
                const std::size_t entry = m_slotOfEntry.size();
                const std::int64_t bound = bounds == nullptr ? rowBound
                                           : entry < bounds->size()
                                               ? std::min(rowBound, (*bounds)[entry])
                                               : 0;
                if (whileRoom && !fits(bound))
                    break;
                m_slotOfEntry.push_back(bound > 0 ? add(bound) : -1);
            }
        }
        m_firstEntry.back() = int(m_slotOfEntry.size());
    }
    // Per field, the bound its slot has in `slotBounds` (0 for a field without a slot).
    std::vector<std::int64_t> fieldBounds(const std::vector<std::int64_t>& slotBounds) const {
        std::vector<std::int64_t> out(m_slotOfEntry.size(), 0);
        for (std::size_t entry = 0; entry < m_slotOfEntry.size(); ++entry) {
            const int slot = m_slotOfEntry[entry];
            out[entry] = slot >= 0 ? slotBounds[std::size_t(slot)] : 0;
        }
        return out;
    }
    // The k-th field of a row, or -1 when the bracket gives it no place.
    int slot(WeightField field, int k = 0) const {
        const int entry = m_firstEntry[std::size_t(field)] + k;
        return k >= 0 && k < placed(field) ? m_slotOfEntry[std::size_t(entry)] : -1;
    }
    // How many fields of a row were placed.
    int placed(WeightField field) const {
        const std::size_t row = std::size_t(field);
        return m_firstEntry[row + 1] - m_firstEntry[row];
    }
    int slotCount() const { return int(m_ends.size()); }
    // Fields are packed from the least significant bit up, so that a small layout makes
    // small weights (which the matching computes with faster).
    int shift(int slot) const { return m_used - m_ends[std::size_t(slot)]; }
    // The bits the fields take together.
    int width() const { return m_used; }

private:
    // The weights leave the matching its two top bits.
    static constexpr int Capacity = Wide::Limbs * 64 - 2;

    int add(std::int64_t bound) {
        const int width = fieldWidth(bound);
        if (m_used + width > Capacity)
            return -1;
        m_used += width;
        m_ends.push_back(m_used);
        return int(m_ends.size()) - 1;
    }
    bool fits(std::int64_t bound) const { return m_used + fieldWidth(bound) <= Capacity; }

    int m_used = 0;
    std::vector<int> m_ends;        // per slot: its highest bit + 1
    std::vector<int> m_slotOfEntry; // per placed field, row by row: its slot, or -1
    std::array<int, weightFieldCount + 1> m_firstEntry{};
};

// What one edge (or player) gains per slot of a layout.
using Gains = std::vector<std::int64_t>;

void gain(Gains& gains, int slot, std::int64_t value) {
    if (slot >= 0)
        gains[std::size_t(slot)] += value;
}

// The weight in as few limbs as the layout needs. Each field holds its gain, so the sum
// lies below 2^width whatever the order of its terms, and two's complement sums in L limbs
// are exact for it: a large bracket's million weights are summed field by field in two
// limbs instead of eight.
template <int L> Wide weightIn(const WeightLayout& layout, const Gains& gains) {
    WideInt<L> weight = 0;
    for (int slot = 0; slot < layout.slotCount(); ++slot) {
        const std::int64_t value = gains[std::size_t(slot)];
        if (value > 0)
            weight += WideInt<L>::field(value, layout.shift(slot));
        else if (value < 0)
            weight -= WideInt<L>::field(-value, layout.shift(slot));
    }
    return weight.template resized<Wide::Limbs>();
}

Wide weightOf(const WeightLayout& layout, const Gains& gains) {
    if (layout.width() + 2 <= 64 * 2)
        return weightIn<2>(layout, gains);
    if (layout.width() + 2 <= 64 * 4)
        return weightIn<4>(layout, gains);
    return weightIn<Wide::Limbs>(layout, gains);
}

// One bracket to pair (players by index in the field, by rank).
struct Bracket {
    std::vector<int> players; // MDPs and residents
    std::vector<int> mdps;
    std::vector<int> residents;
    std::vector<int> nextResidents; // the next scoregroup's, for C7
    bool wholeRound = false;        // every player below in the graph, and the bye
    int residentScore = 0;
    // MDPs already chosen to float on: no pair inside the bracket.
    std::vector<int> floatingOn;
    std::vector<int> pairedEarlier; // paired already by an earlier stage
    // The remainder's order: its S1 has this many players (-1: half of it), and whether it
    // is weighed at all (not while the MDPs' pairs are being chosen).
    int remainderS1 = -1;
    bool weighRemainder = true;
    // Every player of the bracket can be paired inside it (C1 to C3 allow it), so that a
    // best pairing of a graph of the bracket alone floats nobody.
    bool pairsCompletely = false;
};

// The pairs made inside the bracket (player indices; -1 for the bye) and its floaters.
struct Outcome {
    std::vector<std::pair<int, int>> pairs;
    std::vector<int> floaters;
    bool ok = false;
    // How many S1 players of the remainder had their own place in the weight; the rest
    // were weighed together. -1 when all had one.
    int exactPositions = -1;
    // The next bracket's pairs the weight counted on: the rules weigh the next bracket as
    // it can really be paired, so these must leave the round completable.
    std::vector<std::pair<int, int>> nextBracketPairs;
};

// Where a player stands for the bracket being paired.
enum class Role : unsigned char {
    Outside,       // not in the graph
    InBracket,     // an MDP or a resident of the bracket
    NextBracket,   // a resident of the next scoregroup, in the graph for C7
    Below,         // further down, in the graph when it holds every player still to pair
    PairedEarlier, // paired by an earlier stage of this bracket
};

// The players whose pairs C7 weighs: the bracket's and the next scoregroup's.
bool weighedForC7(Role role) {
    return role == Role::InBracket || role == Role::NextBracket;
}

// A bracket player's part in the order of the candidates.
enum class BracketPart : unsigned char {
    None,      // not in the bracket
    MovedDown, // an MDP
    Resident,  // a resident while the remainder's order is not weighed
    S1,        // a resident of the remainder's S1
    S2,        // a resident of the remainder's S2
};

// How many of each vertex's heaviest edges the first part of a priced matching keeps.
constexpr int PricedEdges = 12;

// Where the remainder's order of transpositions (D.1, the Position fields) is settled: in
// the weight, or after it, among the matchings of greatest weight.
enum class Positions : unsigned char { InWeight, Afterwards };

// One maximum-weight matching over a bracket: its graph (the bracket, the next scoregroup
// for C7, and when the graph holds the whole rest of the round everyone below and the
// bye), the layout of its weight, the weight of each edge, and the pairs and floaters the
// matching gives.
class BracketMatching {
public:
    BracketMatching(const Field& field, const std::vector<bool>& alive,
                    const std::vector<bool>& byeAllowed, InitialColour initialColour,
                    const Bracket& bracket, Positions positions = Positions::InWeight)
        : m_field(field), m_alive(alive), m_byeAllowed(byeAllowed), m_initialColour(initialColour),
          m_bracket(bracket), m_byeVertex(int(field.players.size())),
          m_positionsWeighed(positions == Positions::InWeight) {
        placeVertices();
        m_nobodyFloats = bracket.pairsCompletely && m_vertices.size() == bracket.players.size();
        m_nextBracketCounts = nextBracketCounts();
        m_nextScore =
            bracket.nextResidents.empty() ? 0 : field.players[bracket.nextResidents.front()].score;
        collectScoreDifferences();
        placeCandidateOrder();
        m_layout = WeightLayout(sizes());
        // Without the positions no fields fill the room left, so each field can be as
        // narrow as its gains allow.
        if (!m_positionsWeighed)
            narrowFields();
        // The remainder players past those with a Position field of their own are weighed
        // together, and refine solves again for them.
        if (m_bracket.weighRemainder && m_positionsWeighed &&
            m_layout.placed(WeightField::Position) < m_residentCount - 1)
            m_exactPositions = m_layout.placed(WeightField::Position);
    }

    Outcome solve() const {
        const int vertexCount = int(m_vertices.size());
        // Without the positions many edges tie, and a part of the graph proves the optimum.
        if (m_positionsWeighed)
            return decode(matching::maximumWeightMatching(vertexCount, edges()));
        return decode(pricedOptimum().optimum.mate);
    }

    std::optional<Outcome> solveInOrder() const;

private:
    int scoreOf(int player) const { return m_field.players[std::size_t(player)].score; }
    Role roleOf(int vertex) const { return m_role[std::size_t(m_vertices[std::size_t(vertex)])]; }
    // A.8: a floater's score difference, as if it met a player a point below the bracket.
    int floaterDifference(int player) const {
        return scoreOf(player) - m_bracket.residentScore + 2;
    }
    int nextFloaterDifference(int player) const { return scoreOf(player) - m_nextScore + 2; }

    void placeVertices();
    bool nextBracketCounts() const;
    void collectScoreDifferences();
    void placeCandidateOrder();
    BracketSizes sizes() const;
    bool mayMeet(int x, int y) const;
    void addFloatGains(int player, Gains& gains) const;
    void addCandidateOrderFloatGains(int player, Gains& gains) const;
    void addNextFloatGains(int player, Gains& gains) const;
    void addPairOwnGains(int higher, int lower, Gains& gains) const;
    void addFloatRepeatGains(const Player& higher, const Player& lower, int difference,
                             Gains& gains) const;
    void addCandidateOrderPairGains(int higher, int lower, Gains& gains) const;
    void addNextPairOwnGains(int x, int y, Gains& gains) const;
    template <class Visit> void forEachEdgeGains(Visit visit) const;
    std::vector<matching::WeightedEdge> edges(std::vector<bool>* likely = nullptr) const;
    std::vector<std::vector<int>> likelyPartners() const;
    struct PricedGraph {
        std::vector<matching::WeightedEdge> edges;
        matching::MatchingWithDuals optimum;
    };
    PricedGraph pricedOptimum() const;
    void narrowFields();
    Outcome decode(const std::vector<int>& mate) const;

    const Field& m_field;
    const std::vector<bool>& m_alive;
    const std::vector<bool>& m_byeAllowed;
    const InitialColour m_initialColour;
    const Bracket& m_bracket;
    const int m_byeVertex; // the bye, as a vertex
    const bool m_positionsWeighed;
    // The graph: the bracket's players first (in rank order), the next scoregroup, those
    // below, the bye; each player's role (the bye's is Outside).
    std::vector<int> m_vertices;
    std::vector<Role> m_role;
    bool m_nextBracketCounts = false; // whether C7 applies
    int m_nextScore = 0;
    // The score differences the bracket (C6) and the next one (C7) can have, largest first.
    std::vector<int> m_scoreDifferences;
    std::vector<int> m_nextScoreDifferences;
    // The order of the candidates: each MDP's and resident's index in its list, each
    // player's part, the size of the remainder's S1, the MDPs already floating on.
    std::vector<int> m_mdpIndex;
    std::vector<int> m_residentIndex;
    std::vector<BracketPart> m_part;
    std::vector<bool> m_floatingOn;
    int m_mdpCount = 0;
    int m_residentCount = 0;
    int m_remainderSize = 0;
    int m_s1Size = 0;
    // The graph is the bracket alone and every best pairing pairs all of it: what a
    // player's float would cost is then the same in every one of them, and left out.
    bool m_nobodyFloats = false;
    WeightLayout m_layout;
    int m_exactPositions = -1;
};

void BracketMatching::placeVertices() {
    const int playerCount = int(m_field.players.size());
    m_role.assign(std::size_t(playerCount) + 1, Role::Outside);
    m_vertices = m_bracket.players;
    for (int player : m_bracket.players)
        m_role[player] = Role::InBracket;
    for (int player : m_bracket.nextResidents)
        m_role[player] = Role::NextBracket;
    for (int player : m_bracket.pairedEarlier)
        m_role[player] = Role::PairedEarlier;
    m_vertices.insert(m_vertices.end(), m_bracket.nextResidents.begin(),
                      m_bracket.nextResidents.end());
    if (!m_bracket.wholeRound)
        return;
    for (int player = 0; player < playerCount; ++player) {
        if (m_alive[player] && m_role[player] == Role::Outside) {
            m_role[player] = Role::Below;
            m_vertices.push_back(player);
        }
    }
    if (playerCount % 2 == 1)
        m_vertices.push_back(m_byeVertex);
}

// C7 holds unless the next bracket is the last one: someone must lie beyond it.
bool BracketMatching::nextBracketCounts() const {
    if (m_bracket.nextResidents.empty())
        return false;
    const int playerCount = int(m_field.players.size());
    if (m_bracket.wholeRound) {
        for (int player = 0; player < playerCount; ++player)
            if (m_role[player] == Role::Below)
                return true;
        return false;
    }
    const int nextScore = scoreOf(m_bracket.nextResidents.front());
    for (int player = 0; player < playerCount; ++player)
        if (m_alive[player] && m_role[player] == Role::Outside && scoreOf(player) < nextScore)
            return true;
    return false;
}

void BracketMatching::collectScoreDifferences() {
    std::set<int, std::greater<int>> differences;
    for (int x : m_bracket.players) {
        differences.insert(floaterDifference(x));
        for (int y : m_bracket.players)
            if (scoreOf(x) > scoreOf(y))
                differences.insert(scoreOf(x) - scoreOf(y));
    }
    m_scoreDifferences.assign(differences.begin(), differences.end());
    std::set<int, std::greater<int>> nextDifferences;
    if (m_nextBracketCounts) {
        for (int vertex = 0; vertex < int(m_vertices.size()); ++vertex) {
            const int player = m_vertices[vertex];
            const Role role = m_role[player];
            if (player == m_byeVertex || !weighedForC7(role))
                continue;
            nextDifferences.insert(nextFloaterDifference(player));
            if (role == Role::InBracket)
                nextDifferences.insert(scoreOf(player) - m_nextScore);
        }
        nextDifferences.erase(0);
    }
    m_nextScoreDifferences.assign(nextDifferences.begin(), nextDifferences.end());
}

void BracketMatching::placeCandidateOrder() {
    const std::size_t playerCount = m_field.players.size();
    m_mdpCount = int(m_bracket.mdps.size());
    m_residentCount = int(m_bracket.residents.size());
    m_mdpIndex.assign(playerCount, -1);
    m_residentIndex.assign(playerCount, -1);
    m_part.assign(playerCount, BracketPart::None);
    for (int i = 0; i < m_mdpCount; ++i) {
        m_mdpIndex[m_bracket.mdps[i]] = i;
        m_part[m_bracket.mdps[i]] = BracketPart::MovedDown;
    }
    m_remainderSize = m_bracket.weighRemainder ? m_residentCount : 0;
    m_s1Size = m_bracket.remainderS1 >= 0 ? m_bracket.remainderS1 : m_remainderSize / 2;
    for (int i = 0; i < m_residentCount; ++i) {
        const int player = m_bracket.residents[i];
        m_residentIndex[player] = i;
        if (!m_bracket.weighRemainder)
            m_part[player] = BracketPart::Resident;
        else
            m_part[player] = i < m_s1Size ? BracketPart::S1 : BracketPart::S2;
    }
    m_floatingOn.assign(playerCount, false);
    for (int player : m_bracket.floatingOn)
        m_floatingOn[player] = true;
}

BracketSizes BracketMatching::sizes() const {
    BracketSizes sizes;
    sizes.vertices = std::int64_t(m_vertices.size());
    sizes.mdps = m_mdpCount;
    sizes.residents = m_residentCount;
    sizes.remainder = m_remainderSize;
    sizes.remainderPositions =
        m_bracket.weighRemainder && m_positionsWeighed ? std::max(0, m_residentCount - 1) : 0;
    sizes.positionsWeighed = m_positionsWeighed;
    sizes.s1 = m_bracket.weighRemainder ? m_s1Size : 0;
    sizes.scoreDifferences = int(m_scoreDifferences.size());
    sizes.nextScoreDifferences = int(m_nextScoreDifferences.size());
    sizes.wholeRound = m_bracket.wholeRound;
    sizes.nextBracketCounts = m_nextBracketCounts;
    return sizes;
}

// Whether vertices x and y (x first in the graph) may be paired at all: C1 to C3, two
// players of the next scoregroup only while C7 weighs their pairs, and no pair inside the
// bracket for an MDP already floating on.
bool BracketMatching::mayMeet(int x, int y) const {
    if (y == m_byeVertex) {
        if (!m_byeAllowed[x])
            return false;
    } else if (!compatible(m_field, x, y)) {
        return false;
    }
    if (!m_bracket.wholeRound && m_role[x] == Role::NextBracket && m_role[y] == Role::NextBracket &&
        !m_nextBracketCounts)
        return false;
    return !(y != m_byeVertex && m_role[x] == Role::InBracket && m_role[y] == Role::InBracket &&
             (m_floatingOn[x] || m_floatingOn[y]));
}

// What the bracket saves when the player does not float out of it.
void BracketMatching::addFloatGains(int player, Gains& gains) const {
    const Player& floater = m_field.players[player];
    const int difference = floaterDifference(player);
    gain(gains, m_layout.slot(WeightField::BracketPairs), 1);
    for (int k = 0; k < int(m_scoreDifferences.size()); ++k)
        if (m_scoreDifferences[k] == difference)
            gain(gains, m_layout.slot(WeightField::ScoreDifferences, k), 1);
    if (floater.lastFloat == Float::Down) {
        gain(gains, m_layout.slot(WeightField::RepeatedDownfloat), 1);
        gain(gains, m_layout.slot(WeightField::RepeatedDownfloatScore), difference);
    }
    if (floater.floatBefore == Float::Down) {
        gain(gains, m_layout.slot(WeightField::DownfloatAsTwoRoundsAgo), 1);
        gain(gains, m_layout.slot(WeightField::DownfloatAsTwoRoundsAgoScore), difference);
    }
    addCandidateOrderFloatGains(player, gains);
}

void BracketMatching::addCandidateOrderFloatGains(int player, Gains& gains) const {
    const int mdp = m_mdpIndex[player];
    if (mdp >= 0) {
        gain(gains, m_layout.slot(WeightField::MdpChoice), m_mdpCount - mdp);
        gain(gains, m_layout.slot(WeightField::MdpPartner, mdp), m_residentCount + 1);
    }
    if (m_part[player] != BracketPart::S1)
        return;
    const int resident = m_residentIndex[player];
    gain(gains, m_layout.slot(WeightField::Exchange), 1);
    gain(gains, m_layout.slot(WeightField::ExchangeNumbers), m_residentCount + 1 - resident);
    gain(gains, m_layout.slot(WeightField::MovedFromS1, m_s1Size - 1 - resident), -1);
    gain(gains, m_layout.slot(WeightField::MovedFromS1Sum), m_residentCount + 1 - resident);
    const int position = m_layout.slot(WeightField::Position, resident);
    gain(gains, position >= 0 ? position : m_layout.slot(WeightField::PositionRest),
         m_remainderSize + 1);
}

// What the next bracket saves when the player does not float out of it.
void BracketMatching::addNextFloatGains(int player, Gains& gains) const {
    const int difference = nextFloaterDifference(player);
    gain(gains, m_layout.slot(WeightField::NextBracketPairs), 1);
    for (int k = 0; k < int(m_nextScoreDifferences.size()); ++k)
        if (m_nextScoreDifferences[k] == difference)
            gain(gains, m_layout.slot(WeightField::NextScoreDifferences, k), 1);
}

// A pair of the bracket saves both players' floats (which `forEachEdgeGains` adds, once
// worked out per player) and pays the pair's own costs, these. The gain functions only
// add, so they add straight into the pair's gains.
void BracketMatching::addPairOwnGains(int higher, int lower, Gains& gains) const {
    const Player& higherPlayer = m_field.players[higher];
    const Player& lowerPlayer = m_field.players[lower];
    const int difference = higherPlayer.score - lowerPlayer.score;
    for (int k = 0; k < int(m_scoreDifferences.size()); ++k)
        if (m_scoreDifferences[k] == difference)
            gain(gains, m_layout.slot(WeightField::ScoreDifferences, k), -1);
    const ColourCost cost = colourCost(higherPlayer, lowerPlayer, m_initialColour);
    gain(gains, m_layout.slot(WeightField::TopscorerColourOverTwo), -cost.overTwo);
    gain(gains, m_layout.slot(WeightField::TopscorerThreeInRow), -cost.threeInRow);
    gain(gains, m_layout.slot(WeightField::ColourPreference), -cost.unmet);
    gain(gains, m_layout.slot(WeightField::StrongColourPreference), -cost.unmetStrong);
    if (difference > 0)
        addFloatRepeatGains(higherPlayer, lowerPlayer, difference, gains);
    addCandidateOrderPairGains(higher, lower, gains);
}

// C12 to C19 for a pair of unequal scores: the higher player floats down, the lower up.
void BracketMatching::addFloatRepeatGains(const Player& higher, const Player& lower, int difference,
                                          Gains& gains) const {
    if (higher.lastFloat == Float::Down) {
        gain(gains, m_layout.slot(WeightField::RepeatedDownfloat), -1);
        gain(gains, m_layout.slot(WeightField::RepeatedDownfloatScore), -difference);
    }
    if (higher.floatBefore == Float::Down) {
        gain(gains, m_layout.slot(WeightField::DownfloatAsTwoRoundsAgo), -1);
        gain(gains, m_layout.slot(WeightField::DownfloatAsTwoRoundsAgoScore), -difference);
    }
    if (lower.lastFloat == Float::Up) {
        gain(gains, m_layout.slot(WeightField::RepeatedUpfloat), -1);
        gain(gains, m_layout.slot(WeightField::RepeatedUpfloatScore), -difference);
    }
    if (lower.floatBefore == Float::Up) {
        gain(gains, m_layout.slot(WeightField::UpfloatAsTwoRoundsAgo), -1);
        gain(gains, m_layout.slot(WeightField::UpfloatAsTwoRoundsAgoScore), -difference);
    }
}

void BracketMatching::addCandidateOrderPairGains(int higher, int lower, Gains& gains) const {
    const int mdp = m_mdpIndex[higher];
    const int higherResident = m_residentIndex[higher];
    const int lowerResident = m_residentIndex[lower];
    if (mdp >= 0 && lowerResident >= 0) {
        const int partner = m_layout.slot(WeightField::MdpPartner, mdp);
        if (partner >= 0)
            gain(gains, partner, -(lowerResident + 1));
    }
    const BracketPart higherPart = m_part[higher];
    const BracketPart lowerPart = m_part[lower];
    if (higherPart == BracketPart::S1 && lowerPart == BracketPart::S1) {
        gain(gains, m_layout.slot(WeightField::Exchange), -1);
        gain(gains, m_layout.slot(WeightField::ExchangeNumbers),
             -(m_residentCount + 1 - lowerResident));
        gain(gains, m_layout.slot(WeightField::MovedFromS1, m_s1Size - 1 - lowerResident), 1);
        gain(gains, m_layout.slot(WeightField::MovedFromS1Sum),
             -(m_residentCount + 1 - lowerResident));
    }
    if (higherPart == BracketPart::S2 && lowerPart == BracketPart::S2) {
        gain(gains, m_layout.slot(WeightField::ExchangeNumbers), -higherResident);
        gain(gains, m_layout.slot(WeightField::MovedIntoS1, higherResident - m_s1Size), 1);
    }
    if (m_bracket.weighRemainder && higherResident >= 0 && lowerResident >= 0) {
        // Each player's partner below, in the order of the players: S1's first, then those
        // an exchange brings into S1.
        const int position = m_layout.slot(WeightField::Position, higherResident);
        gain(gains, position >= 0 ? position : m_layout.slot(WeightField::PositionRest),
             -lowerResident);
    }
}

// A pair of the next bracket, as C7 weighs it: both players' floats saved (added by
// `forEachEdgeGains`), and the pair's score difference.
void BracketMatching::addNextPairOwnGains(int x, int y, Gains& gains) const {
    const int difference = std::abs(scoreOf(x) - scoreOf(y));
    for (int k = 0; k < int(m_nextScoreDifferences.size()); ++k)
        if (m_nextScoreDifferences[k] == difference)
            gain(gains, m_layout.slot(WeightField::NextScoreDifferences, k), -1);
}

template <class Visit> void BracketMatching::forEachEdgeGains(Visit visit) const {
    const int vertexCount = int(m_vertices.size());
    const std::size_t slotCount = std::size_t(m_layout.slotCount());
    // What each player's floats saved gain, the same in all his pairs: per vertex, the
    // bracket's (its own and, where C7 counts, the next bracket's) and the next bracket's.
    std::vector<std::int64_t> inBracket(std::size_t(vertexCount) * slotCount, 0);
    std::vector<std::int64_t> inNext(m_nextBracketCounts ? std::size_t(vertexCount) * slotCount : 0,
                                     0);
    Gains gains(slotCount);
    const auto keep = [&](std::vector<std::int64_t>& into, int i) {
        std::copy(gains.begin(), gains.end(),
                  into.begin() + std::ptrdiff_t(std::size_t(i) * slotCount));
    };
    for (int i = 0; i < vertexCount; ++i) {
        const int x = m_vertices[i];
        if (x == m_byeVertex)
            continue;
        if (m_role[x] == Role::InBracket) {
            std::fill(gains.begin(), gains.end(), 0);
            // A float's costs differ from player to player. Where every best pairing pairs
            // everyone they add the same to each, and left in they only make the matching
            // move each player's dual on its own, many times over: only the pair counts.
            if (m_nobodyFloats)
                gain(gains, m_layout.slot(WeightField::BracketPairs), 1);
            else
                addFloatGains(x, gains);
            if (m_nextBracketCounts)
                addNextFloatGains(x, gains);
            keep(inBracket, i);
        }
        if (m_nextBracketCounts && weighedForC7(m_role[x])) {
            std::fill(gains.begin(), gains.end(), 0);
            addNextFloatGains(x, gains);
            keep(inNext, i);
        }
    }
    const int roundPairs = m_layout.slot(WeightField::RoundPairs);
    const auto sum = [&](const std::vector<std::int64_t>& floats, int i, int j) {
        const std::int64_t* a = floats.data() + std::size_t(i) * slotCount;
        const std::int64_t* b = floats.data() + std::size_t(j) * slotCount;
        for (std::size_t slot = 0; slot < slotCount; ++slot)
            gains[slot] = a[slot] + b[slot];
    };
    for (int i = 0; i < vertexCount; ++i) {
        for (int j = i + 1; j < vertexCount; ++j) {
            const int x = m_vertices[i]; // x ranks higher: the vertices keep the rank order
            const int y = m_vertices[j];
            if (!mayMeet(x, y))
                continue;
            const Role xRole = m_role[x];
            const Role yRole = m_role[y];
            if (y != m_byeVertex && xRole == Role::InBracket && yRole == Role::InBracket) {
                sum(inBracket, i, j);
                addPairOwnGains(x, y, gains);
            } else if (m_nextBracketCounts && y != m_byeVertex && weighedForC7(xRole) &&
                       weighedForC7(yRole)) {
                sum(inNext, i, j);
                addNextPairOwnGains(x, y, gains);
            } else {
                std::fill(gains.begin(), gains.end(), 0);
            }
            gain(gains, roundPairs, 1);
            visit(i, j, gains);
        }
    }
}

// The graph's edges; and, given `likely`, per edge whether it joins likely partners.
std::vector<matching::WeightedEdge> BracketMatching::edges(std::vector<bool>* likely) const {
    std::vector<std::vector<int>> partners;
    std::vector<char> near; // the likely partners of vertex `marked`
    int marked = -1;
    const std::size_t vertexCount = m_vertices.size();
    if (likely) {
        partners = likelyPartners();
        near.assign(vertexCount, 0);
        likely->clear();
    }
    // Nearly every pair of a large bracket may meet: room for all of them at once spares
    // copying a graph of a million edges as it grows.
    std::vector<matching::WeightedEdge> edges;
    edges.reserve(vertexCount < 2 ? 0 : vertexCount * (vertexCount - 1) / 2);
    forEachEdgeGains([&](int i, int j, const Gains& gains) {
        const Wide weight = weightOf(m_layout, gains);
        if (!(Wide(0) < weight))
            return;
        edges.push_back({i, j, weight});
        if (!likely)
            return;
        if (marked != i) {
            if (marked >= 0)
                for (int w : partners[std::size_t(marked)])
                    near[std::size_t(w)] = 0;
            for (int w : partners[std::size_t(i)])
                near[std::size_t(w)] = 1;
            marked = i;
        }
        likely->push_back(near[std::size_t(j)] != 0);
    });
    return edges;
}

// The graph's edges and a matching of greatest weight with its duals, priced from each
// vertex's heaviest edges and its likely partners.
BracketMatching::PricedGraph BracketMatching::pricedOptimum() const {
    std::vector<bool> likely;
    PricedGraph graph;
    graph.edges = edges(&likely);
    graph.optimum = matching::checkedMaximumWeightMatchingByPricing(
        int(m_vertices.size()), graph.edges, PricedEdges, likely);
    return graph;
}

// Each vertex's likely partners after it in the graph: in each group of players who pair
// among themselves (the bracket's residents, the next scoregroup, each scoregroup below),
// a player of the upper half meets one of the lower half at about his own place in it,
// or, in an exchange, one of his own half at about the same distance. The weights alone
// do not say so: where they rank pairs by their higher player, every vertex's heaviest
// edges lead to the same few vertices at the top, and a first graph of those has duals
// far from the optimum's.
std::vector<std::vector<int>> BracketMatching::likelyPartners() const {
    // How far from the same place in the other half a partner may be, and in one's own.
    constexpr int Reach = 24;
    constexpr int ExchangeReach = 4;
    const int vertexCount = int(m_vertices.size());
    std::vector<std::vector<int>> partners(static_cast<std::size_t>(vertexCount));
    // The players from `first` on meet those from `middle` on (up to `end`, not included),
    // the k-th the k-th, `reach` places either way. `group` holds vertices in rank order.
    const auto pairAcross = [&](const std::vector<int>& group, int first, int middle, int end,
                                int reach) {
        for (int i = first; i < middle; ++i) {
            const int place = middle + i - first;
            for (int j = std::max(middle, place - reach); j < std::min(end, place + reach + 1);
                 ++j) {
                const auto [a, b] = std::minmax(group[std::size_t(i)], group[std::size_t(j)]);
                partners[std::size_t(a)].push_back(b);
            }
        }
    };
    // The first `upper` players of the group are its upper half.
    const auto pairHalves = [&](const std::vector<int>& group, int upper) {
        const int size = int(group.size());
        pairAcross(group, 0, upper, size, Reach);
        pairAcross(group, 0, upper / 2, upper, ExchangeReach);
        pairAcross(group, upper, upper + (size - upper) / 2, size, ExchangeReach);
    };
    std::vector<int> group;
    std::vector<int> vertexOf(m_role.size(), -1);
    for (int v = 0; v < vertexCount; ++v)
        vertexOf[std::size_t(m_vertices[std::size_t(v)])] = v;
    for (int player : m_bracket.residents)
        group.push_back(vertexOf[std::size_t(player)]);
    pairHalves(group, m_bracket.weighRemainder ? m_s1Size : int(group.size()) / 2);
    group.clear();
    for (int player : m_bracket.nextResidents)
        group.push_back(vertexOf[std::size_t(player)]);
    pairHalves(group, int(group.size()) / 2);
    group.clear();
    for (int v = 0; v < vertexCount; ++v) {
        if (roleOf(v) != Role::Below)
            continue;
        if (!group.empty() &&
            scoreOf(m_vertices[std::size_t(v)]) != scoreOf(m_vertices[std::size_t(group.back())])) {
            pairHalves(group, int(group.size()) / 2);
            group.clear();
        }
        group.push_back(v);
    }
    pairHalves(group, int(group.size()) / 2);
    return partners;
}

// The layout narrowed to what the edges gain: a field no edge gains anything in goes, and
// every other is as wide as its total over a matching can be, at most half the sum over
// the vertices of the largest gain of an edge at the vertex (each edge of a matching is
// counted at both its ends). The weights' order stays, and narrower weights solve faster.
void BracketMatching::narrowFields() {
    const std::size_t slotCount = std::size_t(m_layout.slotCount());
    const std::size_t vertexCount = m_vertices.size();
    // Per vertex, per slot: a vertex's slots side by side, as each edge updates them.
    std::vector<std::int64_t> largest(vertexCount * slotCount, 0);
    forEachEdgeGains([&](int i, int j, const Gains& gains) {
        std::int64_t* atI = largest.data() + std::size_t(i) * slotCount;
        std::int64_t* atJ = largest.data() + std::size_t(j) * slotCount;
        for (std::size_t slot = 0; slot < slotCount; ++slot) {
            const std::int64_t size = gains[slot] < 0 ? -gains[slot] : gains[slot];
            atI[slot] = std::max(atI[slot], size);
            atJ[slot] = std::max(atJ[slot], size);
        }
    });
    std::vector<std::int64_t> slotBounds(slotCount, 0);
    for (std::size_t slot = 0; slot < slotCount; ++slot) {
        std::int64_t sum = 0;
        for (std::size_t v = 0; v < vertexCount; ++v)
            sum += largest[v * slotCount + slot];
        slotBounds[slot] = (sum + 1) / 2;
    }
    const std::vector<std::int64_t> bounds = m_layout.fieldBounds(slotBounds);
    m_layout = WeightLayout(sizes(), &bounds);
}

// The criteria's optimum first, weighed without the positions; then, among the matchings
// that reach it, the remainder's order: each remainder player in turn, by rank, takes the
// place the order prefers for him (an S1 player the lowest partner below him, an S2
// player none below him) for which a matching of the optimum is left. That is the order
// the Position fields weigh, one player after another, without a field per player: one
// weighted matching instead of one per few dozen S1 players. Nothing when the choice
// cannot be shown to keep the optimum: the weight with the positions in it decides then.
std::optional<Outcome> BracketMatching::solveInOrder() const {
    if (!m_bracket.weighRemainder || m_mdpCount > 0)
        return std::nullopt;
    const int vertexCount = int(m_vertices.size());
    const auto [weighted, optimum] = pricedOptimum();
    // The matchings of greatest weight use only edges of zero reduced cost and match every
    // vertex of positive dual; an odd set of positive dual asks more (as many pairs inside
    // as it can hold), which the choice below does not see, so its result is checked to
    // weigh as much as the optimum.
    std::vector<std::vector<int>> tight(static_cast<std::size_t>(vertexCount));
    const std::vector<bool> isTight = matching::tightEdges(vertexCount, weighted, optimum);
    for (std::size_t i = 0; i < weighted.size(); ++i) {
        if (isTight[i]) {
            tight[weighted[i].u].push_back(weighted[i].v);
            tight[weighted[i].v].push_back(weighted[i].u);
        }
    }
    // An odd set of positive dual that holds every vertex leaves exactly one unmatched.
    int mostUnmatched = -1;
    for (const matching::OddSetDual& set : optimum.oddSetDuals)
        if (!set.dual.isZero() && int(set.vertices.size()) == vertexCount)
            mostUnmatched = 1;
    std::vector<bool> required(std::size_t(vertexCount), false);
    int optional = 0;
    for (int v = 0; v < vertexCount; ++v) {
        required[v] = !optimum.vertexDual[v].isZero();
        optional += required[v] ? 0 : 1;
    }
    // Each vertex that may stay unmatched costs the covering graph a spare joined to all
    // such vertices: past a couple of thousand they would outgrow any bracket's own graph.
    constexpr int MostOptional = 2000;
    if (optional > MostOptional)
        return std::nullopt;
    matching::CoveringMatching choice(std::move(tight), required, optimum.mate, mostUnmatched);
    if (!choice.covered())
        return std::nullopt;
    std::vector<int> vertexOf(std::size_t(m_residentCount), -1);
    std::vector<int> residentOfVertex(std::size_t(vertexCount), -1);
    for (int v = 0; v < int(m_bracket.players.size()); ++v) {
        const int resident = m_residentIndex[m_vertices[v]];
        if (resident >= 0) {
            vertexOf[resident] = v;
            residentOfVertex[v] = resident;
        }
    }
    // The residents below v he may still meet, by rank.
    const auto residentsBelow = [&](int v) {
        std::vector<int> below;
        for (int w : choice.neighbours(v))
            if (residentOfVertex[w] > residentOfVertex[v])
                below.push_back(w);
        std::sort(below.begin(), below.end(),
                  [&](int a, int b) { return residentOfVertex[a] < residentOfVertex[b]; });
        return below;
    };
    // The exchange: an S1 player without a partner below him moves to S2 (he floats, or
    // meets a higher S1 player), an S2 player with one moves to S1. Every optimum moves as
    // many of each, so the optimum found counts them; of those, the rules take the
    // exchange whose highest S1 player not in both moves, then the one whose lowest S2
    // player not in both moves: each in turn moves when a matching of the optimum is left.
    int movedDown = 0;
    int movedUp = 0;
    for (int resident = 0; resident < m_residentCount; ++resident) {
        const int v = vertexOf[resident];
        const int mate = optimum.mate[v];
        const bool partnerBelow = mate >= 0 && residentOfVertex[mate] > resident;
        if (resident < m_s1Size && !partnerBelow)
            ++movedDown;
        else if (resident >= m_s1Size && partnerBelow)
            ++movedUp;
    }
    for (int resident = m_s1Size - 1; resident >= 0 && movedDown > 0; --resident)
        if (choice.forbid(vertexOf[resident], residentsBelow(vertexOf[resident])))
            --movedDown;
    for (int resident = m_s1Size; resident < m_residentCount && movedUp > 0; ++resident) {
        const std::vector<int> below = residentsBelow(vertexOf[resident]);
        if (!below.empty() && choice.confine(vertexOf[resident], below))
            --movedUp;
    }
    std::vector<bool> fixed(std::size_t(vertexCount), false);
    for (int resident = 0; resident < m_residentCount; ++resident) {
        const int v = vertexOf[resident];
        if (fixed[v])
            continue;
        const std::vector<int> below = residentsBelow(v);
        const bool inS1 = m_part[m_vertices[v]] == BracketPart::S1;
        if (!inS1 && choice.forbid(v, below))
            continue;
        const int w = choice.fixFirst(v, below);
        if (w >= 0)
            fixed[v] = fixed[w] = true;
        else if (!(inS1 && choice.forbid(v, below)))
            return std::nullopt; // cannot happen: the optimum itself is a way on
    }
    const std::vector<int> chosen = choice.mates();
    // Each choice took the best place left without the odd sets; a result that reaches the
    // optimum shows every one of them was open with the odd sets too, so none was missed.
    // One that falls short leaves it to the weight with the positions.
    if (matching::matchingWeight(weighted, chosen) !=
        matching::matchingWeight(weighted, optimum.mate))
        return std::nullopt;
    return decode(chosen);
}

Outcome BracketMatching::decode(const std::vector<int>& mate) const {
    Outcome out;
    const int vertexCount = int(m_vertices.size());
    if (m_bracket.wholeRound) {
        for (int i = 0; i < vertexCount; ++i)
            if (mate[i] < 0)
                return out; // no pairing of everyone left
    }
    // The bye is taken in the bracket only when it is the last one: nobody below.
    bool belowInGraph = false;
    for (int i = 0; i < vertexCount; ++i)
        belowInGraph = belowInGraph || roleOf(i) == Role::Below;
    const bool byeHere = m_bracket.nextResidents.empty() && !belowInGraph;
    const int bracketSize = int(m_bracket.players.size());
    for (int i = 0; i < bracketSize; ++i) {
        const int player = m_vertices[i];
        const int partner = mate[i];
        if (partner >= 0 && partner < bracketSize) {
            if (i < partner)
                out.pairs.push_back({player, m_vertices[partner]});
        } else if (partner >= 0 && m_vertices[partner] == m_byeVertex && byeHere) {
            out.pairs.push_back({player, -1});
        } else {
            out.floaters.push_back(player);
        }
    }
    if (m_nextBracketCounts) {
        for (int i = 0; i < vertexCount; ++i) {
            const int j = mate[i];
            if (j <= i || m_vertices[j] == m_byeVertex)
                continue;
            const Role first = roleOf(i);
            const Role second = roleOf(j);
            if (weighedForC7(first) && weighedForC7(second) &&
                (first == Role::NextBracket || second == Role::NextBracket))
                out.nextBracketPairs.push_back({m_vertices[i], m_vertices[j]});
        }
    }
    out.ok = true;
    out.exactPositions = m_exactPositions;
    return out;
}

using Adjacency = std::vector<std::vector<int>>;

// Who of `players` may meet whom (C1 to C3), by index in the list.
Adjacency compatibilityGraph(const Field& field, const std::vector<int>& players) {
    const int size = int(players.size());
    Adjacency graph(static_cast<std::size_t>(size));
    for (int i = 0; i < size; ++i)
        for (int j = i + 1; j < size; ++j)
            if (compatible(field, players[i], players[j])) {
                graph[i].push_back(j);
                graph[j].push_back(i);
            }
    return graph;
}

// Who takes the pairing-allocated bye when the round has an odd number of players.
//
// C2 bars it to a player who had it or scored a win without playing. Of the others, the
// bye goes to the lowest score that can take it while everyone else is paired (C4):
// those players are its candidates, and the bracket matching lets only them meet the bye.
//
// Of the candidates, those who played the most games take it when the rest can still be
// paired. That holds where the bye is decided: in the last bracket, and in a bracket
// holding candidates (resident or moved down) whose pairing floats a single player, who
// is then the bye; that bracket is solved again with the preference, which may choose who
// floats but not cost the bracket a pair. Where a bracket floats several players, its own
// criteria choose, and the bye goes to the candidate they leave further down. No rule's
// text states this preference: it is where the reference engine (bbpPairings, compared
// round by round over thousands of random tournaments) was seen to apply it.
class ByeRule {
public:
    ByeRule(const Field& field, const Adjacency& compatiblePairs, const std::vector<bool>& alive)
        : m_field(field), m_compatiblePairs(compatiblePairs), m_alive(alive) {}

    // Chooses the candidates: the lowest score that can take the bye with everyone else
    // paired. Gives the completion matching that shows it, built on `graph` (which must
    // outlive it), or nothing when nobody can.
    std::optional<matching::CardinalityMatching> chooseLowestScore(Adjacency& graph) {
        auto lowest = firstPairableClass(
            graph, [&](int player) { return m_field.players[player].byeEligible; },
            [&](int player) { return m_field.players[player].score; });
        if (!lowest)
            return std::nullopt;
        m_candidates = std::move(lowest->first);
        return std::move(lowest->second);
    }

    const std::vector<bool>& candidates() const { return m_candidates; }

    // Of the candidates still unpaired, those who played the most games among whom the bye
    // leaves the rest pairable; every candidate when no such class is found.
    std::vector<bool> mostGamesPlayed() {
        auto most = firstPairableClass(
            m_narrowGraph, [&](int player) { return m_candidates[player] && m_alive[player]; },
            [&](int player) { return -int(m_field.players[player].colours.size()); });
        return most ? most->first : m_candidates;
    }

    // Whether the preference is to be tried on a bracket other than the last (which has it
    // from the start): one that holds a candidate and floats a single player, who is then
    // the bye.
    bool decidesBye(const Bracket& bracket, bool lastBracket, std::size_t floaters) const {
        if (lastBracket || floaters != 1)
            return false;
        return std::any_of(bracket.players.begin(), bracket.players.end(),
                           [&](int player) { return m_candidates[player]; });
    }

    // Whether the preference leaves out a candidate still unpaired.
    bool narrower(const std::vector<bool>& allowed) const {
        for (std::size_t player = 0; player < allowed.size(); ++player)
            if (m_candidates[player] && m_alive[player] && !allowed[player])
                return true;
        return false;
    }

private:
    using PlayerClass = std::pair<std::vector<bool>, matching::CardinalityMatching>;

    // The first class of candidates, by ascending key, that can take the bye while every
    // other unpaired player is paired, with the matching that shows it (built on graph).
    template <class Candidate, class Key>
    std::optional<PlayerClass> firstPairableClass(Adjacency& graph, Candidate candidate,
                                                  Key key) const {
        const int playerCount = int(m_field.players.size());
        std::vector<int> keys;
        for (int player = 0; player < playerCount; ++player)
            if (candidate(player))
                keys.push_back(key(player));
        std::sort(keys.begin(), keys.end());
        keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
        const int byeVertex = playerCount;
        for (int classKey : keys) {
            graph = m_compatiblePairs;
            graph.emplace_back();
            std::vector<bool> inClass(std::size_t(playerCount), false);
            for (int player = 0; player < playerCount; ++player) {
                inClass[player] = candidate(player) && key(player) == classKey;
                if (inClass[player]) {
                    graph[player].push_back(byeVertex);
                    graph[byeVertex].push_back(player);
                }
            }
            matching::CardinalityMatching trial(graph);
            for (int player = 0; player < playerCount; ++player)
                if (!m_alive[player])
                    trial.remove(player);
            if (trial.perfect())
                return PlayerClass{std::move(inClass), std::move(trial)};
        }
        return std::nullopt;
    }

    const Field& m_field;
    const Adjacency& m_compatiblePairs;
    const std::vector<bool>& m_alive;
    std::vector<bool> m_candidates;
    Adjacency m_narrowGraph;
};

class Pairer {
public:
    Pairer(const Field& field, const DutchOptions& options) : m_field(field), m_options(options) {}

    std::optional<std::vector<std::pair<int, int>>> run();

private:
    Outcome solve(const Bracket& bracket) const {
        const BracketMatching inOrder(m_field, m_alive, m_byeAllowed, m_options.initialColour,
                                      bracket, Positions::Afterwards);
        // While the MDPs' pairs are chosen the remainder's order is not weighed at all.
        if (!bracket.weighRemainder)
            return inOrder.solve();
        if (!m_options.orderInWeight)
            if (std::optional<Outcome> out = inOrder.solveInOrder())
                return *out;
        return BracketMatching(m_field, m_alive, m_byeAllowed, m_options.initialColour, bracket)
            .solve();
    }
    Outcome solveStaged(const Bracket& bracket,
                        const matching::CardinalityMatching* completion = nullptr) const;
    std::optional<Outcome> remainderAlone(const Bracket& remainder,
                                          const std::vector<std::pair<int, int>>& mdpPairs,
                                          const matching::CardinalityMatching& completion) const;
    Outcome refine(const Bracket& bracket, Outcome out) const;
    std::optional<matching::CardinalityMatching> startCompletion();
    std::vector<std::vector<int>> scoreGroups() const;
    Bracket bracketOf(const std::vector<std::vector<int>>& groups, std::size_t group,
                      const std::vector<int>& mdps) const;
    bool everyonePairedWithin(const Bracket& bracket) const;
    bool nextBracketIndifferent(const Bracket& bracket) const;
    bool onlyLastScoregroupBelow(const Bracket& bracket) const;
    bool settles(const Outcome& out, matching::CardinalityMatching& completion) const;
    std::vector<std::pair<int, int>> nextPairsWith(const std::vector<int>& next,
                                                   const std::vector<int>& floaters) const;
    static Bracket withoutNextBracket(Bracket bracket);
    static Bracket pairedWithin(Bracket bracket);
    std::optional<Outcome> solveBracket(Bracket bracket,
                                        matching::CardinalityMatching& completion) const;
    std::optional<Outcome> pairBracket(const Bracket& bracket, bool lastBracket,
                                       matching::CardinalityMatching& completion);

    const Field& m_field;
    const DutchOptions& m_options;
    bool m_odd = false;
    std::vector<bool> m_alive;      // not paired yet
    std::vector<bool> m_byeAllowed; // who may meet the bye in the bracket being paired
    Adjacency m_compatiblePairs;    // C1 and C3, for the completion check
    Adjacency m_completionGraph;    // the same with the bye, which the completion is built on
    std::optional<ByeRule> m_byeRule;
};

// The rules try the MDPs' pairs first and the remainder's within each: once the MDPs'
// pairs are chosen, the remainder is solved again with its own S1 and S2 known. Given the
// completion matching, a remainder the next scoregroup is indifferent to is solved without
// it first (see `remainderAlone`).
Outcome Pairer::solveStaged(const Bracket& bracket,
                            const matching::CardinalityMatching* completion) const {
    Bracket first = bracket;
    first.weighRemainder = bracket.mdps.empty();
    Outcome out = solve(first);
    if (!out.ok)
        return out;

    std::vector<bool> isMdp(m_field.players.size(), false);
    for (int player : bracket.mdps)
        isMdp[player] = true;
    int residentPairs = 0;
    std::vector<std::pair<int, int>> mdpPairs;
    std::vector<bool> taken(m_field.players.size(), false);
    for (auto [x, y] : out.pairs) {
        if (y >= 0 && !isMdp[x] && !isMdp[y]) {
            ++residentPairs;
        } else if (y >= 0) {
            mdpPairs.push_back({x, y});
            taken[x] = taken[y] = true;
        }
    }
    if (bracket.mdps.empty() && residentPairs == int(bracket.residents.size()) / 2) {
        first.remainderS1 = residentPairs;
        return refine(first, out);
    }
    Bracket remainder = bracket;
    remainder.mdps.clear();
    remainder.players.clear();
    remainder.residents.clear();
    for (int player : bracket.players)
        if (!taken[player])
            remainder.players.push_back(player);
    for (int player : bracket.residents)
        if (!taken[player])
            remainder.residents.push_back(player);
    for (int player : bracket.mdps)
        if (!taken[player])
            remainder.floatingOn.push_back(player);
    for (auto [x, y] : mdpPairs) {
        remainder.pairedEarlier.push_back(x);
        remainder.pairedEarlier.push_back(y);
    }
    remainder.remainderS1 = residentPairs;
    remainder.weighRemainder = true;
    std::optional<Outcome> alone;
    if (completion)
        alone = remainderAlone(remainder, mdpPairs, *completion);
    Outcome rest = alone ? std::move(*alone) : refine(remainder, solve(remainder));
    if (!rest.ok)
        return out;
    rest.pairs.insert(rest.pairs.begin(), mdpPairs.begin(), mdpPairs.end());
    return rest;
}

// Once the MDPs are paired, the remainder is one scoregroup. When it floats a single player
// and C7 weighs every choice of him the same (`nextBracketIndifferent`), it is solved
// without the next scoregroup, and kept when its pairs and the next scoregroup's C7 counts
// on leave the round pairable, as solveBracket asks of a bracket solved so; otherwise
// nothing, and the remainder is solved with the next scoregroup.
std::optional<Outcome>
Pairer::remainderAlone(const Bracket& remainder, const std::vector<std::pair<int, int>>& mdpPairs,
                       const matching::CardinalityMatching& completion) const {
    if (!nextBracketIndifferent(remainder))
        return std::nullopt;
    const Bracket alone = withoutNextBracket(remainder);
    Outcome rest = refine(alone, solve(alone));
    if (!rest.ok)
        return std::nullopt;
    rest.nextBracketPairs = nextPairsWith(remainder.nextResidents, rest.floaters);
    Outcome whole = rest;
    whole.pairs.insert(whole.pairs.end(), mdpPairs.begin(), mdpPairs.end());
    matching::CardinalityMatching trial = completion;
    if (!settles(whole, trial))
        return std::nullopt;
    return rest;
}

// A remainder too large for every S1 player to have a place in the weight: the pairs of
// the S1 players that had one are kept (they are those of the first candidate, as the
// weight was exact for them) and the rest is solved again, as often as needed.
Outcome Pairer::refine(const Bracket& bracket, Outcome out) const {
    Bracket current = bracket;
    std::vector<std::pair<int, int>> kept;
    while (out.ok && out.exactPositions >= 0) {
        const int exact = std::max(1, out.exactPositions);
        std::vector<bool> placed(m_field.players.size(), false);
        for (int i = 0; i < exact && i < int(current.residents.size()); ++i)
            placed[current.residents[i]] = true;
        std::vector<bool> gone(m_field.players.size(), false);
        int residentPairs = 0;
        for (auto [x, y] : out.pairs) {
            if (y >= 0 && (placed[x] || placed[y])) {
                kept.push_back({x, y});
                gone[x] = gone[y] = true;
                current.pairedEarlier.push_back(x);
                current.pairedEarlier.push_back(y);
                ++residentPairs;
            }
        }
        for (int player : current.residents)
            if (placed[player] && !gone[player])
                current.floatingOn.push_back(player);
        std::vector<int> players, residents;
        for (int player : current.players)
            if (!gone[player])
                players.push_back(player);
        for (int player : current.residents)
            if (!gone[player] && !placed[player])
                residents.push_back(player);
        current.players = players;
        current.residents = residents;
        current.remainderS1 = std::max(0, current.remainderS1 - residentPairs);
        const Outcome again = solve(current);
        if (!again.ok)
            break;
        out = again;
    }
    out.pairs.insert(out.pairs.begin(), kept.begin(), kept.end());
    return out;
}

// The completion check (C4) before the first bracket: the matching of every player (and,
// in an odd round, the bye) that shows the round can be paired, or nothing when it cannot.
std::optional<matching::CardinalityMatching> Pairer::startCompletion() {
    const int playerCount = int(m_field.players.size());
    m_compatiblePairs.assign(std::size_t(playerCount), {});
    for (int a = 0; a < playerCount; ++a) {
        for (int b = a + 1; b < playerCount; ++b) {
            if (compatible(m_field, a, b)) {
                m_compatiblePairs[a].push_back(b);
                m_compatiblePairs[b].push_back(a);
            }
        }
    }
    m_alive.assign(std::size_t(playerCount), true);
    m_byeAllowed.assign(std::size_t(playerCount), false);
    if (!m_odd) {
        m_completionGraph = m_compatiblePairs;
        matching::CardinalityMatching completion(m_completionGraph);
        if (!completion.perfect())
            return std::nullopt;
        return completion;
    }
    m_byeRule.emplace(m_field, m_compatiblePairs, m_alive);
    return m_byeRule->chooseLowestScore(m_completionGraph);
}

std::vector<std::vector<int>> Pairer::scoreGroups() const {
    std::vector<std::vector<int>> groups;
    for (int i = 0; i < int(m_field.players.size()); ++i) {
        if (i == 0 || m_field.players[i].score != m_field.players[i - 1].score)
            groups.push_back({});
        groups.back().push_back(i);
    }
    return groups;
}

Bracket Pairer::bracketOf(const std::vector<std::vector<int>>& groups, std::size_t group,
                          const std::vector<int>& mdps) const {
    Bracket bracket;
    bracket.mdps = mdps;
    bracket.residents = groups[group];
    bracket.players = mdps;
    bracket.players.insert(bracket.players.end(), groups[group].begin(), groups[group].end());
    std::sort(bracket.players.begin(), bracket.players.end());
    if (group + 1 < groups.size())
        bracket.nextResidents = groups[group + 1];
    bracket.wholeRound = group + 2 >= groups.size();
    bracket.residentScore = m_field.players[groups[group].front()].score;
    return bracket;
}

// Whether the bracket's players can all be paired among themselves. Then every pairing the
// criteria prefer leaves nobody to float, C7 has nothing to weigh, and the next scoregroup
// need not be in the graph (which it would make up to twice as large).
bool Pairer::everyonePairedWithin(const Bracket& bracket) const {
    if (bracket.players.size() % 2 == 1 || !bracket.floatingOn.empty() ||
        !bracket.pairedEarlier.empty())
        return false;
    const Adjacency within = compatibilityGraph(m_field, bracket.players);
    return matching::CardinalityMatching(within).perfect();
}

// Whether C7 weighs every choice of the bracket's one floater the same, so that the next
// scoregroup need not be in the graph (which it would make up to twice as large). It
// does when the bracket is of an odd size that pairs all but one, and the next scoregroup
// pairs as well with any of its residents as it can at all: all of it when it is even (the
// floater takes a partner's place: one of them floats on, as one would anyway), all of it
// with the floater when it is odd (the floater meets a player some best pairing of the
// next scoregroup leaves out). A resident's score is the same whoever he is, and so are the
// score differences. With one MDP the floater is still a resident whenever some best
// pairing leaves one out: C6 floats a resident (a difference of one point) rather than the
// MDP (more), who meets a resident instead (less than he would float with). When none
// does, the MDP floats in every best pairing, and C7 has no choice to weigh.
bool Pairer::nextBracketIndifferent(const Bracket& bracket) const {
    if (bracket.wholeRound || bracket.mdps.size() > 1 || !bracket.floatingOn.empty() ||
        bracket.nextResidents.empty() || bracket.players.size() % 2 == 0)
        return false;
    const auto matchingOf = [&](const std::vector<int>& players, Adjacency& graph) {
        const int size = int(players.size());
        graph = compatibilityGraph(m_field, players);
        matching::CardinalityMatching matching(graph);
        const bool perfect = matching.perfect();
        int unmatched = 0;
        for (int i = 0; i < size; ++i)
            unmatched += matching.mate(i) < 0 ? 1 : 0;
        return std::tuple(std::move(matching), perfect, unmatched);
    };
    Adjacency withinGraph;
    if (std::get<2>(matchingOf(bracket.players, withinGraph)) != 1)
        return false;
    const std::vector<int>& next = bracket.nextResidents;
    Adjacency nextGraph;
    const auto [nextMatching, nextPerfect, nextUnmatched] = matchingOf(next, nextGraph);
    if (nextUnmatched != int(next.size() % 2))
        return false;
    // Who in the next scoregroup may take the floater: anyone when it pairs completely,
    // else those some best pairing of it leaves out.
    std::vector<int> takers;
    for (int i = 0; i < int(next.size()); ++i)
        if (nextPerfect || nextMatching.missable(i))
            takers.push_back(next[i]);
    for (int player : bracket.residents) {
        const bool taken = std::any_of(takers.begin(), takers.end(), [&](int taker) {
            return compatible(m_field, player, taker);
        });
        if (!taken)
            return false;
    }
    return true;
}

// The pairs C7 would count on for the next scoregroup with the bracket's floaters: as many
// as it can have, a floater among them when one can be.
std::vector<std::pair<int, int>> Pairer::nextPairsWith(const std::vector<int>& next,
                                                       const std::vector<int>& floaters) const {
    std::vector<int> players = floaters;
    players.insert(players.end(), next.begin(), next.end());
    const int size = int(players.size());
    const Adjacency graph = compatibilityGraph(m_field, players);
    matching::CardinalityMatching matching(graph);
    matching.perfect();
    std::vector<int> mate(static_cast<std::size_t>(size));
    for (int i = 0; i < size; ++i)
        mate[i] = matching.mate(i);
    for (int f = 0; f < int(floaters.size()); ++f) {
        if (mate[f] >= 0)
            continue;
        for (int y : graph[f]) {
            if (mate[y] >= int(floaters.size())) {
                mate[mate[y]] = -1;
                mate[y] = f;
                mate[f] = y;
                break;
            }
        }
    }
    std::vector<std::pair<int, int>> pairs;
    for (int i = 0; i < size; ++i)
        if (mate[i] > i)
            pairs.push_back({players[i], players[mate[i]]});
    return pairs;
}

Bracket Pairer::withoutNextBracket(Bracket bracket) {
    bracket.nextResidents.clear();
    return bracket;
}

// The bracket alone in the graph, known to pair completely there.
Bracket Pairer::pairedWithin(Bracket bracket) {
    bracket.nextResidents.clear();
    bracket.wholeRound = false;
    bracket.pairsCompletely = true;
    return bracket;
}

// Whether the bracket's pairs, and the next bracket's pairs C7 counted on, leave the rest
// of the round pairable; the completion matching is brought up to date with the first.
bool Pairer::settles(const Outcome& out, matching::CardinalityMatching& completion) const {
    for (auto [x, y] : out.pairs) {
        completion.remove(x);
        completion.remove(y);
    }
    if (!completion.perfect())
        return false;
    if (out.nextBracketPairs.empty())
        return true;
    matching::CardinalityMatching ahead = completion;
    for (auto [x, y] : out.nextBracketPairs) {
        ahead.remove(x);
        ahead.remove(y);
    }
    return ahead.perfect();
}

// Whether the next scoregroup holds everyone still to pair outside the bracket, and the bye
// (when there is one) is not for any of the bracket's players.
bool Pairer::onlyLastScoregroupBelow(const Bracket& bracket) const {
    if (bracket.nextResidents.empty())
        return false;
    const auto alive = std::count(m_alive.begin(), m_alive.end(), true);
    if (std::size_t(alive) != bracket.players.size() + bracket.nextResidents.size())
        return false;
    return std::none_of(bracket.players.begin(), bracket.players.end(),
                        [&](int player) { return m_byeAllowed[player]; });
}

// A bracket solved, and the completion matching brought up to date with its pairs. The
// bracket is solved with only the next scoregroup in the graph first; when its pairs (or
// the next bracket's pairs C7 counted on) leave the rest of the round unpairable, it is
// solved again with everyone below in the graph. A bracket with only the last scoregroup
// below is solved alone first.
std::optional<Outcome> Pairer::solveBracket(Bracket bracket,
                                            matching::CardinalityMatching& completion) const {
    Outcome out;
    const matching::CardinalityMatching saved = completion;
    const bool within = everyonePairedWithin(bracket);
    if (!bracket.wholeRound && !within && nextBracketIndifferent(bracket)) {
        // Solved without the next scoregroup, then held to the same test as below with
        // the next scoregroup's pairs C7 would count on; when it fails, the bracket is
        // solved with the next scoregroup after all.
        out = solveStaged(withoutNextBracket(bracket));
        if (out.ok)
            out.nextBracketPairs = nextPairsWith(bracket.nextResidents, out.floaters);
        if (out.ok && settles(out, completion))
            return out;
        completion = saved;
        out = Outcome{};
    }
    if (bracket.wholeRound && onlyLastScoregroupBelow(bracket)) {
        // The whole round's graph weighs the last scoregroup's pairs only as pairs (C7
        // does not weigh the last bracket), so it asks of this bracket no more than that
        // the rest can be paired: a best pairing of the bracket alone that leaves it so is
        // a best one of the whole round too, found over a fraction of the edges.
        Bracket alone = within ? pairedWithin(bracket) : withoutNextBracket(bracket);
        alone.wholeRound = false;
        out = solveStaged(alone);
        if (out.ok && settles(out, completion))
            return out;
        completion = saved;
        out = Outcome{};
    }
    if (!bracket.wholeRound) {
        out = within ? solveStaged(pairedWithin(bracket)) : solveStaged(bracket, &completion);
        if (!settles(out, completion)) {
            completion = saved;
            out.ok = false;
        }
    }
    if (out.ok)
        return out;
    bracket.wholeRound = true;
    // (The last bracket's graph often holds just its own players, and they may all pair.)
    bracket.pairsCompletely = within;
    out = solveStaged(bracket);
    if (!out.ok)
        return std::nullopt;
    const int byeVertex = int(m_field.players.size());
    for (auto [x, y] : out.pairs) {
        completion.remove(x);
        completion.remove(y >= 0 ? y : byeVertex);
    }
    completion.perfect();
    return out;
}

// One bracket paired, with the bye preference of `ByeRule` where the bracket decides it.
std::optional<Outcome> Pairer::pairBracket(const Bracket& bracket, bool lastBracket,
                                           matching::CardinalityMatching& completion) {
    if (m_odd) {
        m_byeAllowed = m_byeRule->candidates(); // every candidate still unpaired
        if (lastBracket)
            m_byeAllowed = m_byeRule->mostGamesPlayed();
    }
    const matching::CardinalityMatching before = completion;
    std::optional<Outcome> solved = solveBracket(bracket, completion);
    if (!solved || !m_odd || !m_byeRule->decidesBye(bracket, lastBracket, solved->floaters.size()))
        return solved;
    m_byeAllowed = m_byeRule->mostGamesPlayed();
    if (!m_byeRule->narrower(m_byeAllowed))
        return solved;
    matching::CardinalityMatching again = before;
    std::optional<Outcome> narrowed = solveBracket(bracket, again);
    // Only a graph with the bye in it knows who may take it: when the bracket was solved
    // without, and its floater is not among them, it is solved with the whole round.
    if (narrowed && narrowed->floaters.size() == 1 && !m_byeAllowed[narrowed->floaters[0]] &&
        !bracket.wholeRound) {
        Bracket whole = bracket;
        whole.wholeRound = true;
        again = before;
        narrowed = solveBracket(whole, again);
    }
    // The preference may choose who floats, not cost the bracket a pair.
    if (narrowed && narrowed->floaters.size() == 1) {
        completion = again;
        return narrowed;
    }
    return solved;
}

std::optional<std::vector<std::pair<int, int>>> Pairer::run() {
    const int playerCount = int(m_field.players.size());
    std::vector<std::pair<int, int>> result;
    if (playerCount == 0)
        return result;
    m_odd = playerCount % 2 == 1;
    std::optional<matching::CardinalityMatching> completion = startCompletion();
    if (!completion)
        return std::nullopt;
    const std::vector<std::vector<int>> groups = scoreGroups();
    std::vector<int> mdps;
    for (std::size_t group = 0; group < groups.size(); ++group) {
        const Bracket bracket = bracketOf(groups, group, mdps);
        const std::optional<Outcome> out =
            pairBracket(bracket, group + 1 == groups.size(), *completion);
        if (!out)
            return std::nullopt;
        for (auto [x, y] : out->pairs) {
            m_alive[x] = false;
            if (y >= 0)
                m_alive[y] = false;
            result.push_back({x, y});
        }
        mdps = out->floaters;
    }
    if (!mdps.empty())
        return std::nullopt;
    return result;
}

// Boards: the higher player's score, the pair's total, the higher player's rank; the bye
// last. Pairs hold field indices, the higher-ranked player first, -1 for the bye.
void sortBoards(const Field& field, std::vector<std::pair<int, int>>& pairs) {
    const auto key = [&](std::pair<int, int> pair) {
        const bool bye = pair.second < 0;
        const int higher = bye ? pair.first : std::min(pair.first, pair.second);
        const int lower = std::max(pair.first, pair.second);
        const int higherScore = field.players[higher].score;
        const int total = higherScore + (bye ? 0 : field.players[lower].score);
        return std::tuple(-higherScore, -total, higher);
    };
    std::sort(pairs.begin(), pairs.end(), [&](auto a, auto b) {
        if ((a.second < 0) != (b.second < 0))
            return b.second < 0;
        return key(a) < key(b);
    });
}

} // namespace

DutchPairing pairDutch(const SwissTournament& tournament, const DutchOptions& options) {
    const Field field = readField(tournament, options);
    DutchPairing out;
    const int playerCount = int(field.players.size());
    if (playerCount == 0)
        return out;
    std::vector<std::pair<int, int>> pairs; // higher-ranked first; -1 for the bye
    const bool barred = std::any_of(field.met.begin(), field.met.end(), [](const auto& row) {
        return std::find(row.begin(), row.end(), 1) != row.end();
    });
    // (Acceleration gives round 1 brackets of its own, which the pairer pairs.)
    const bool oneScore =
        std::all_of(field.players.begin(), field.players.end(),
                    [&](const Player& p) { return p.score == field.players[0].score; });
    if (!field.anyHistory && !barred && oneScore) {
        // The first round: the top half against the bottom half, the last one left out.
        // (A forbidden pair among them leaves it to the brackets.)
        const int half = playerCount / 2;
        for (int i = 0; i < half; ++i)
            pairs.push_back({i, half + i});
        if (playerCount % 2 == 1)
            pairs.push_back({playerCount - 1, -1});
    } else {
        Pairer pairer(field, options);
        const auto made = pairer.run();
        if (!made)
            return out;
        pairs = *made;
    }
    sortBoards(field, pairs);
    for (auto [x, y] : pairs) {
        if (y < 0) {
            // Without a bye participant the bye pairs with the row the commit adds.
            const int bye =
                tournament.byeNumber > 0 ? tournament.byeNumber : tournament.participantCount() + 1;
            out.pairs.push_back({field.players[x].number, bye});
            continue;
        }
        const Player& higher = field.players[std::min(x, y)];
        const Player& lower = field.players[std::max(x, y)];
        // Before any colour is given the boards alternate, the first with the initial
        // colour: when players sit the round out (or a forbidden pair moves one), board
        // order and pairing numbers part, and the boards decide (as the reference does).
        // With acceleration's brackets in round 1 it is the higher player's place in the
        // pairing order that alternates, bracket after bracket (as the reference does).
        const bool oddBoard = oneScore ? out.pairs.size() % 2 == 0 : std::min(x, y) % 2 == 0;
        const bool higherWhite = field.anyHistory
                                     ? whiteToHigher(higher, lower, options.initialColour)
                                     : oddBoard == (options.initialColour == InitialColour::White);
        const Player& white = higherWhite ? higher : lower;
        const Player& black = higherWhite ? lower : higher;
        out.pairs.push_back({white.number, black.number});
    }
    return out;
}

DutchColours dutchColours(const SwissTournament& tournament, const DutchOptions& options, int a,
                          int b) {
    const Field field = readField(tournament, DutchOptions{options.initialColour, 0, {}});
    const auto indexOf = [&](int number) {
        return number >= 0 && number < int(field.indexOfNumber.size()) ? field.indexOfNumber[number]
                                                                       : -1;
    };
    const int indexA = indexOf(a);
    const int indexB = indexOf(b);
    DutchColours out;
    if (indexA < 0 || indexB < 0) {
        // The bye participant (or no participant at all): the player takes the first place.
        out.white = indexA < 0 && indexB >= 0 ? b : a;
        out.black = out.white == a ? b : a;
        out.higherRanked = out.white;
        if (indexA >= 0 || indexB >= 0)
            out.whiteHistory = historyOf(field.players[std::max(indexA, indexB)]);
        return out;
    }
    const Player& higher = field.players[std::min(indexA, indexB)];
    const Player& lower = field.players[std::max(indexA, indexB)];
    const ColourChoice choice = colourChoice(higher, lower, options.initialColour);
    const Player& white = choice.higherWhite ? higher : lower;
    const Player& black = choice.higherWhite ? lower : higher;
    out.white = white.number;
    out.black = black.number;
    out.rule = choice.rule;
    out.higherRanked = higher.number;
    out.higherPairingNumber = higher.enteredNumber;
    out.whiteHistory = historyOf(white);
    out.blackHistory = historyOf(black);
    return out;
}

std::optional<InitialColour> initialColourFromRoundOne(const SwissTournament& tournament) {
    // The first round that gives colours (a forfeited game shows them too): the colour of
    // the highest player paired in it; when that player has none (the bye), the next
    // one's colour turned over, and so on down the list.
    const int count = tournament.participantCount();
    for (const QVector<SwissGame>& round : tournament.rounds) {
        std::vector<Colour> colour(std::size_t(count) + 1, Colour::None);
        std::vector<bool> paired(std::size_t(count) + 1, false);
        bool any = false;
        for (const SwissGame& game : round) {
            const bool whiteIn = tournament.hasParticipant(game.white);
            const bool blackIn = tournament.hasParticipant(game.black);
            if (whiteIn)
                paired[game.white] = true;
            if (blackIn)
                paired[game.black] = true;
            if (!whiteIn || !blackIn || game.white == tournament.byeNumber ||
                game.black == tournament.byeNumber)
                continue;
            colour[game.white] = Colour::White;
            colour[game.black] = Colour::Black;
            any = true;
        }
        if (!any)
            continue;
        bool flip = false;
        for (int number = 1; number <= count; ++number) {
            if (number == tournament.byeNumber || !paired[number])
                continue;
            if (colour[number] != Colour::None)
                return (colour[number] == Colour::White) != flip ? InitialColour::White
                                                                 : InitialColour::Black;
            flip = !flip;
        }
    }
    return std::nullopt;
}

namespace {

// E.5 gives the higher-ranked player the initial colour by his pairing number, and the
// pairing numbers (C.04.3 A.2, C.04.2 on late entries) belong to the players who have
// entered the tournament: one paired in this round or on a board of an earlier one (a
// game, a forfeit, the pairing-allocated bye). A player who has only sat rounds out so
// far and sits this one out too has not entered yet, as a late entry before his first
// round has not: he holds no number, and those below him move up one.
void numberEnteredPlayers(Field& history, const SwissTournament& tournament) {
    const int round = tournament.roundCount() + 1;
    int entered = 0;
    for (Player& player : history.players) // by participant number
        if (player.seated || !tournament.extras.absence(player.number, round))
            player.enteredNumber = ++entered;
}

} // namespace

} // namespace ladya

namespace ladya {

namespace {

DutchFloat dutchFloat(Float f) {
    return f == Float::Down ? DutchFloat::Down : f == Float::Up ? DutchFloat::Up : DutchFloat::None;
}

} // namespace

QVector<DutchPlayerFacts> dutchPlayerFacts(const SwissTournament& tournament,
                                           const DutchOptions& options) {
    const Field field = readField(tournament, options);
    // The field's own bar merges the forbidden pairs in; the games alone say who met.
    Field history = emptyHistory(tournament);
    for (int round = 1; round <= tournament.roundCount(); ++round)
        readRound(history, tournament, round);
    QVector<DutchPlayerFacts> out;
    for (const Player& player : field.players) {
        DutchPlayerFacts facts;
        facts.number = player.number;
        facts.score = player.score;
        facts.colours = historyOf(player);
        facts.byeEligible = player.byeEligible;
        facts.lastFloat = dutchFloat(player.lastFloat);
        facts.floatBefore = dutchFloat(player.floatBefore);
        facts.topscorer = player.topscorer;
        facts.unplayedRounds =
            int(std::count(player.byRound.begin(), player.byRound.end(), Colour::None));
        const int own = history.indexOfNumber[player.number];
        for (const Player& other : history.players)
            if (history.met[own][history.indexOfNumber[other.number]])
                facts.opponents.append(other.number);
        out.append(facts);
    }
    return out;
}

} // namespace ladya
