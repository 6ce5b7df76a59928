#include "pairing/dutch_pairing.h"

#include "matching/cardinality_matching.h"
#include "matching/weighted_matching.h"

#include <algorithm>
#include <numeric>
#include <optional>
#include <set>
#include <vector>

// The round is paired bracket by bracket, from the top score down. Each bracket is one
// maximum-weight matching whose weight packs, field by field from the most significant,
// what the rules ask in their order: the pairs of the bracket, its score differences,
// those of the next bracket, the colours, the floats, and last the order in which the
// rules would try the candidates (exchanges, then transpositions). A weight is the sum
// over the configuration of "costs saved by pairing", so a vertex left unmatched is a
// player who floats down. A cheap cardinality matching over every player still to pair
// checks that the bracket's choice lets the rest of the round be paired; when it does
// not, the bracket is solved again with every player below it in the graph.

namespace ladya {

namespace {

using matching::Wide;

using Strength = ColourStrength;

struct Player {
    int number = 0;            // participant number, which is also the pairing number
    int score = 0;             // half points
    int rank = 0;              // position in the pairing order: score, then pairing number
    std::vector<char> colours; // of the played games, oldest first: 'W' or 'B'
    std::vector<char> byRound; // per round: 'W', 'B' or 0 for no game played
    int colourDiff = 0;
    char pref = 0; // 'W', 'B' or 0
    Strength strength = Strength::None;
    bool byeEligible = true;
    char float1 = 0; // 'D' or 'U' in the last round, 0 for none
    char float2 = 0; // the same in the round before it
    bool topscorer = false;
};

int halves(char code) {
    if (code == '1' || code == '+')
        return 2;
    if (code == '%')
        return 1;
    return 0;
}

char opposite(char c) {
    return c == 'W' ? 'B' : 'W';
}

// What the tournament's rounds say of each player, the bye participant left out.
struct Field {
    std::vector<Player> players;                 // by pairing order
    std::vector<int> indexOfNumber;              // participant number -> index, -1
    std::vector<std::vector<unsigned char>> met; // played each other
    bool anyHistory = false;
};

Field readField(const SwissTournament& t, const DutchOptions& options) {
    Field f;
    const int count = t.participantCount();
    std::vector<int> numbers;
    for (int k = 1; k <= count; ++k)
        if (k != t.byeNumber)
            numbers.push_back(k);
    const int n = int(numbers.size());
    std::vector<Player> ps(n);
    std::vector<int> index(count + 1, -1);
    const int rounds = t.roundCount();
    for (int i = 0; i < n; ++i) {
        ps[i].number = numbers[i];
        ps[i].byRound.assign(rounds, 0);
        index[numbers[i]] = i;
    }
    std::vector<std::vector<unsigned char>> met(n, std::vector<unsigned char>(n, 0));
    for (int r = 1; r <= rounds; ++r) {
        std::vector<int> before(n);
        for (int i = 0; i < n; ++i)
            before[i] = ps[i].score;
        std::vector<char> fl(n, 0);
        std::vector<int> gained(n, 0);
        for (const SwissGame& g : t.rounds[r - 1]) {
            const int wi = t.hasParticipant(g.white) ? index[g.white] : -1;
            const int bi = t.hasParticipant(g.black) ? index[g.black] : -1;
            const char wc = codeByte(g.whiteResult);
            const char bc = codeByte(g.blackResult);
            if (wi >= 0 && bi >= 0) {
                const bool forfeit = wc == '+' || wc == '-' || bc == '+' || bc == '-';
                gained[wi] = halves(wc);
                gained[bi] = halves(bc);
                if (forfeit) {
                    // Not a game: a point won without playing is a float down, and a
                    // win so scored bars the bye.
                    for (auto [x, c] : {std::pair{wi, wc}, std::pair{bi, bc}}) {
                        if (halves(c) > 0)
                            fl[x] = 'D';
                        if (halves(c) == 2)
                            ps[x].byeEligible = false;
                    }
                    continue;
                }
                met[wi][bi] = met[bi][wi] = 1;
                ps[wi].colours.push_back('W');
                ps[bi].colours.push_back('B');
                ps[wi].byRound[r - 1] = 'W';
                ps[bi].byRound[r - 1] = 'B';
                if (before[wi] > before[bi]) {
                    fl[wi] = 'D';
                    fl[bi] = 'U';
                } else if (before[wi] < before[bi]) {
                    fl[wi] = 'U';
                    fl[bi] = 'D';
                }
                f.anyHistory = true;
            } else {
                // A board with the bye participant: the pairing-allocated bye.
                const int x = wi >= 0 ? wi : bi;
                const char c = wi >= 0 ? wc : bc;
                if (x < 0)
                    continue;
                gained[x] = halves(c);
                if (halves(c) > 0) {
                    fl[x] = 'D';
                    ps[x].byeEligible = false;
                }
                f.anyHistory = true;
            }
        }
        for (int i = 0; i < n; ++i) {
            ps[i].score += gained[i];
            ps[i].float2 = ps[i].float1;
            ps[i].float1 = fl[i];
        }
    }
    const bool lastRound = options.plannedRounds > 0 && rounds + 1 >= options.plannedRounds;
    for (Player& p : ps) {
        int w = 0;
        for (char c : p.colours)
            w += c == 'W' ? 1 : -1;
        p.colourDiff = w;
        const std::size_t k = p.colours.size();
        if (k == 0) {
            p.strength = Strength::None;
        } else if (w > 1 || w < -1) {
            p.strength = Strength::Absolute;
            p.pref = w > 1 ? 'B' : 'W';
        } else if (k >= 2 && p.colours[k - 1] == p.colours[k - 2]) {
            p.strength = Strength::Absolute;
            p.pref = opposite(p.colours[k - 1]);
        } else if (w != 0) {
            p.strength = Strength::Strong;
            p.pref = w > 0 ? 'B' : 'W';
        } else {
            p.strength = Strength::Mild;
            p.pref = opposite(p.colours[k - 1]);
        }
        p.topscorer = lastRound && p.score > rounds;
    }
    // The players paired by hand leave the field once their history has been read.
    std::vector<int> order;
    for (int i = 0; i < n; ++i)
        if (!options.alreadyPaired.contains(ps[i].number))
            order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return ps[a].score != ps[b].score ? ps[a].score > ps[b].score : ps[a].number < ps[b].number;
    });
    const int m = int(order.size());
    f.players.resize(m);
    f.indexOfNumber.assign(count + 1, -1);
    for (int i = 0; i < m; ++i) {
        f.players[i] = ps[order[i]];
        f.players[i].rank = i;
        f.indexOfNumber[f.players[i].number] = i;
    }
    f.met.assign(m, std::vector<unsigned char>(m, 0));
    for (int i = 0; i < m; ++i)
        for (int j = 0; j < m; ++j)
            f.met[i][j] = met[order[i]][order[j]];
    return f;
}

bool compatible(const Field& f, int a, int b) {
    if (f.met[a][b])
        return false;
    const Player& x = f.players[a];
    const Player& y = f.players[b];
    return !(x.strength == Strength::Absolute && y.strength == Strength::Absolute &&
             x.pref == y.pref && !x.topscorer && !y.topscorer);
}

struct ColourChoice {
    bool higherWhite = false;
    ColourRule rule = ColourRule::BothPreferences;
};

// Whether the higher-ranked player a gets White against b, and by which rule.
ColourChoice colourChoice(const Player& a, const Player& b, InitialColour initial) {
    using enum ColourRule;
    if (a.pref && b.pref && a.pref != b.pref)
        return {a.pref == 'W', BothPreferences};
    if (a.pref && !b.pref)
        return {a.pref == 'W', BothPreferences};
    if (!a.pref && b.pref)
        return {b.pref == 'B', BothPreferences};
    if (a.pref && b.pref) {
        // The same colour wanted: the stronger wish, and between two absolute ones the
        // wider colour difference.
        if (a.strength != b.strength)
            return {(a.strength > b.strength ? a.pref : opposite(b.pref)) == 'W',
                    StrongerPreference};
        if (a.strength == Strength::Absolute && std::abs(a.colourDiff) != std::abs(b.colourDiff))
            return {(std::abs(a.colourDiff) > std::abs(b.colourDiff) ? a.pref : opposite(b.pref)) ==
                        'W',
                    WiderDifference};
        // The last round in which they had different colours, alternated.
        const std::size_t na = a.colours.size();
        const std::size_t nb = b.colours.size();
        for (std::size_t i = 1; i <= na && i <= nb; ++i) {
            const char ca = a.colours[na - i];
            const char cb = b.colours[nb - i];
            if (ca != cb)
                return {ca == 'B', Alternation};
        }
        return {a.pref == 'W', HigherRanked};
    }
    const bool odd = a.number % 2 == 1;
    return {odd == (initial == InitialColour::White), PairingNumber};
}

bool whiteToHigher(const Player& a, const Player& b, InitialColour initial) {
    return colourChoice(a, b, initial).higherWhite;
}

DutchColourHistory historyOf(const Player& p) {
    DutchColourHistory h;
    h.rounds = QVector<char>(p.byRound.begin(), p.byRound.end());
    h.difference = p.colourDiff;
    h.preference = p.pref;
    h.strength = p.strength;
    return h;
}

// What a pair costs in colour terms, higher-ranked player a: the counts of C8..C11.
struct ColourCost {
    int overTwo = 0;     // topscorers (or their opponents) beyond a colour difference of 2
    int threeInRow = 0;  // the same, with a third colour in a row
    int unmet = 0;       // preferences not granted
    int unmetStrong = 0; // strong or absolute preferences not granted
};

ColourCost colourCost(const Player& a, const Player& b, InitialColour initial) {
    ColourCost c;
    const bool aWhite = whiteToHigher(a, b, initial);
    const bool top = a.topscorer || b.topscorer;
    for (auto [p, white] : {std::pair{&a, aWhite}, std::pair{&b, !aWhite}}) {
        const char got = white ? 'W' : 'B';
        if (p->pref && p->pref != got) {
            ++c.unmet;
            if (p->strength >= Strength::Strong)
                ++c.unmetStrong;
        }
        if (top) {
            const int diff = p->colourDiff + (white ? 1 : -1);
            if (diff > 2 || diff < -2)
                ++c.overTwo;
            const std::size_t k = p->colours.size();
            if (k >= 2 && p->colours[k - 1] == got && p->colours[k - 2] == got)
                ++c.threeInRow;
        }
    }
    return c;
}

// The fields of a weight, most significant first.
class Layout {
public:
    // A field whose total over a matching stays within ±bound.
    int add(std::int64_t bound) {
        int width = 2;
        while ((std::int64_t(1) << (width - 1)) <= bound)
            ++width;
        if (used_ + width > Capacity)
            return -1;
        used_ += width;
        ends_.push_back(used_);
        return int(ends_.size()) - 1;
    }
    bool fits(std::int64_t bound) const {
        int width = 2;
        while ((std::int64_t(1) << (width - 1)) <= bound)
            ++width;
        return used_ + width <= Capacity;
    }
    int size() const { return int(ends_.size()); }
    // Fields are packed from the least significant bit up, so that a small layout makes
    // small weights (which the matching computes with faster).
    int shift(int field) const { return used_ - ends_[field]; }

private:
    static constexpr int Capacity = Wide::Limbs * 64 - 2;
    int used_ = 0;
    std::vector<int> ends_;
};

struct Gains {
    std::vector<std::int64_t> v;
    void add(int field, std::int64_t value) {
        if (field >= 0)
            v[field] += value;
    }
};

Wide weightOf(const Layout& layout, const Gains& g) {
    Wide w = 0;
    for (int k = 0; k < layout.size(); ++k) {
        const std::int64_t x = g.v[k];
        if (x > 0)
            w += Wide::field(x, layout.shift(k));
        else if (x < 0)
            w -= Wide::field(-x, layout.shift(k));
    }
    return w;
}

class Pairer {
public:
    Pairer(const Field& f, const DutchOptions& o) : f_(f), options_(o) {}

    std::optional<std::vector<std::pair<int, int>>> run();

private:
    struct Bracket {
        std::vector<int> p;    // MDPs and residents, by rank
        std::vector<int> mdps; // by rank
        std::vector<int> residents;
        std::vector<int> next; // the next scoregroup's residents
        bool full = false;     // every player below in the graph, and the bye
        int sMin = 0;          // the residents' score
        // MDPs already chosen to float on: no pair inside the bracket.
        std::vector<int> frozen;
        std::vector<int> gone; // paired already by an earlier stage
        // The remainder's order: its S1 has this many players (-1: half of it), and
        // whether it is weighed at all (not while the MDPs' pairs are being chosen).
        int remainderPairs = -1;
        bool remainderOrder = true;
    };
    // The pairs made inside the bracket (player indices; -1 for the bye) and its floaters.
    struct Outcome {
        std::vector<std::pair<int, int>> pairs;
        std::vector<int> floaters;
        bool ok = false;
        // How many S1 players of the remainder had their own place in the weight; the
        // rest were weighed together. -1 when all had one.
        int exactPositions = -1;
        // The next bracket's pairs the weight counted on: the rules weigh the next
        // bracket as it can really be paired, so these must leave the round completable.
        std::vector<std::pair<int, int>> lookahead;
    };
    Outcome solve(const Bracket& b);
    Outcome refine(const Bracket& b, Outcome out);
    Outcome solveStaged(const Bracket& b);

    const Field& f_;
    const DutchOptions& options_;
    std::vector<bool> alive_;
    std::vector<bool> byeAllowed_;
    int groups_ = 0;
};

Pairer::Outcome Pairer::solve(const Bracket& b) {
    const int n = int(f_.players.size());
    const bool odd = n % 2 == 1;
    std::vector<int> verts = b.p;
    std::vector<char> role(n + 1, 0); // 1 bracket, 2 next bracket, 3 below
    for (int x : b.p)
        role[x] = 1;
    for (int x : b.next)
        role[x] = 2;
    for (int x : b.gone)
        role[x] = 4;
    verts.insert(verts.end(), b.next.begin(), b.next.end());
    if (b.full) {
        for (int x = 0; x < n; ++x)
            if (alive_[x] && role[x] == 0) {
                role[x] = 3;
                verts.push_back(x);
            }
    }
    const int byeVertex = n; // the bye, as a vertex
    const bool withBye = b.full && odd;
    if (withBye)
        verts.push_back(byeVertex);
    const int nb = int(b.p.size());
    const int sMin = b.sMin;
    // C7 applies unless the next bracket is the last one.
    bool nextCounts = !b.next.empty();
    if (nextCounts) {
        bool beyond = false;
        for (int x = 0; x < n && !beyond; ++x)
            beyond =
                alive_[x] && role[x] == 0 && f_.players[x].score < f_.players[b.next.front()].score;
        if (b.full) {
            beyond = false;
            for (int x = 0; x < n && !beyond; ++x)
                beyond = role[x] == 3;
        }
        nextCounts = beyond;
    }
    const int sNext = b.next.empty() ? 0 : f_.players[b.next.front()].score;

    const auto sdFloat = [&](int x) { return f_.players[x].score - sMin + 2; };
    const auto sdFloatNext = [&](int x) { return f_.players[x].score - sNext + 2; };
    std::set<int, std::greater<int>> levels6;
    for (int x : b.p) {
        levels6.insert(sdFloat(x));
        for (int y : b.p)
            if (f_.players[x].score > f_.players[y].score)
                levels6.insert(f_.players[x].score - f_.players[y].score);
    }
    std::set<int, std::greater<int>> levels7;
    if (nextCounts) {
        for (int x : verts) {
            if (x == byeVertex || role[x] > 2)
                continue;
            levels7.insert(sdFloatNext(x));
            if (role[x] == 1)
                levels7.insert(f_.players[x].score - sNext);
        }
        levels7.erase(0);
    }

    const std::int64_t V = std::int64_t(verts.size());
    Layout layout;
    const int fCard = b.full ? layout.add(V) : -1;
    const int fPairs = layout.add(V);
    std::vector<std::pair<int, int>> l6;
    for (int d : levels6)
        l6.push_back({d, layout.add(V)});
    int fNextPairs = -1;
    std::vector<std::pair<int, int>> l7;
    const auto addNext = [&] {
        fNextPairs = nextCounts ? layout.add(V) : -1;
        for (int d : levels7)
            l7.push_back({d, layout.add(V)});
    };
    addNext();
    const int fOverTwo = layout.add(V);
    const int fThree = layout.add(V);
    const int fUnmet = layout.add(V);
    const int fUnmetStrong = layout.add(V);
    const int fDown1 = layout.add(V);
    const int fUp1 = layout.add(V);
    const int fDown2 = layout.add(V);
    const int fUp2 = layout.add(V);
    const std::int64_t sdBound = V * 48;
    const int fDown1Sd = layout.add(sdBound);
    const int fUp1Sd = layout.add(sdBound);
    const int fDown2Sd = layout.add(sdBound);
    const int fUp2Sd = layout.add(sdBound);

    // The order of the candidates. MDPs first: the higher ones paired, each with the
    // lowest resident it can have; then the remainder's exchanges and transpositions.
    const int nm = int(b.mdps.size());
    const int nr = int(b.residents.size());
    std::vector<int> idxM(n, -1), idxR(n, -1);
    for (int i = 0; i < nm; ++i)
        idxM[b.mdps[i]] = i;
    for (int i = 0; i < nr; ++i)
        idxR[b.residents[i]] = i;
    const int remSize = b.remainderOrder ? nr : 0;
    const int half = b.remainderPairs >= 0 ? b.remainderPairs : remSize / 2;
    const auto inS1 = [&](int x) { return b.remainderOrder && idxR[x] >= 0 && idxR[x] < half; };
    const auto inS2 = [&](int x) { return b.remainderOrder && idxR[x] >= half; };
    std::vector<bool> frozen(n, false);
    for (int x : b.frozen)
        frozen[x] = true;
    const int fMdpChoice = nm > 0 ? layout.add(std::int64_t(nm + 1) * (nm + 1)) : -1;
    std::vector<int> fMdpPos(nm, -1);
    for (int i = 0; i < nm; ++i) {
        if (!layout.fits(nr + 1))
            break;
        fMdpPos[i] = layout.add(nr + 1);
    }
    const int fExchange = layout.add(V);
    const int fBsn = layout.add(std::int64_t(nr + 2) * (nr + 2) * 2);
    // Between exchanges of equal sums, the one moving the lower S1 players down.
    const int fMovedS1 = layout.add(std::int64_t(nr + 2) * (nr + 2) * 2);
    std::vector<int> fPos(nr, -1);
    for (int i = 0; i + 1 < nr && b.remainderOrder; ++i) {
        if (!layout.fits(remSize + 1))
            break;
        fPos[i] = layout.add(remSize + 1);
    }
    // Past the fields there is room for one more: the remaining positions in sum.
    const int fPosRest = layout.add(std::int64_t(remSize + 2) * (remSize + 2) * 2);
    int exactPositions = -1;
    for (int i = 0; i + 1 < nr && b.remainderOrder; ++i) {
        if (fPos[i] < 0) {
            exactPositions = i;
            break;
        }
    }

    const int fieldCount = layout.size();
    const InitialColour initial = options_.initialColour;

    // The cost of x floating out of the bracket, into gains.
    const auto floatCosts = [&](int x, Gains& g) {
        const Player& p = f_.players[x];
        g.add(fPairs, 1);
        for (auto [d, fld] : l6)
            if (d == sdFloat(x))
                g.add(fld, 1);
        if (p.float1 == 'D') {
            g.add(fDown1, 1);
            g.add(fDown1Sd, sdFloat(x));
        }
        if (p.float2 == 'D') {
            g.add(fDown2, 1);
            g.add(fDown2Sd, sdFloat(x));
        }
        if (idxM[x] >= 0) {
            g.add(fMdpChoice, nm - idxM[x]);
            if (fMdpPos[idxM[x]] >= 0)
                g.add(fMdpPos[idxM[x]], nr + 1);
        }
        if (inS1(x)) {
            g.add(fExchange, 1);
            g.add(fBsn, nr + 1 - idxR[x]);
            g.add(fMovedS1, nr + 1 - idxR[x]);
            if (fPos[idxR[x]] >= 0)
                g.add(fPos[idxR[x]], remSize + 1);
            else
                g.add(fPosRest, remSize + 1);
        }
    };
    const auto nextFloatCosts = [&](int x, Gains& g) {
        g.add(fNextPairs, 1);
        for (auto [d, fld] : l7)
            if (d == sdFloatNext(x))
                g.add(fld, 1);
    };

    std::vector<Gains> unmatched(verts.size());
    std::vector<int> local(n + 1, -1);
    for (int i = 0; i < int(verts.size()); ++i) {
        local[verts[i]] = i;
        unmatched[i].v.assign(fieldCount, 0);
        const int x = verts[i];
        if (x == byeVertex)
            continue;
        if (role[x] == 1)
            floatCosts(x, unmatched[i]);
        if (nextCounts && (role[x] == 1 || role[x] == 2))
            nextFloatCosts(x, unmatched[i]);
    }

    std::vector<matching::WeightedEdge> edges;
    for (int i = 0; i < int(verts.size()); ++i) {
        for (int j = i + 1; j < int(verts.size()); ++j) {
            const int x = verts[i];
            const int y = verts[j];
            if (y == byeVertex) {
                if (!byeAllowed_[x])
                    continue;
            } else if (!compatible(f_, x, y)) {
                continue;
            }
            if (!b.full && role[x] == 2 && role[y] == 2 && !nextCounts)
                continue;
            if (y != byeVertex && role[x] == 1 && role[y] == 1 && (frozen[x] || frozen[y]))
                continue;
            Gains g;
            g.v.assign(fieldCount, 0);
            g.add(fCard, 1);
            if (y != byeVertex && role[x] == 1 && role[y] == 1) {
                // A pair of the bracket: both floats saved, the pair's own costs paid.
                // The cost functions only add, so they add straight into the pair's gains.
                floatCosts(x, g);
                floatCosts(y, g);
                if (nextCounts) {
                    nextFloatCosts(x, g);
                    nextFloatCosts(y, g);
                }
                const Player& hi = f_.players[x]; // x ranks higher: verts keep rank order in p
                const Player& lo = f_.players[y];
                const int sd = hi.score - lo.score;
                for (auto [d, fld] : l6)
                    if (d == sd)
                        g.add(fld, -1);
                const ColourCost cc = colourCost(hi, lo, initial);
                g.add(fOverTwo, -cc.overTwo);
                g.add(fThree, -cc.threeInRow);
                g.add(fUnmet, -cc.unmet);
                g.add(fUnmetStrong, -cc.unmetStrong);
                if (sd > 0) {
                    if (hi.float1 == 'D') {
                        g.add(fDown1, -1);
                        g.add(fDown1Sd, -sd);
                    }
                    if (hi.float2 == 'D') {
                        g.add(fDown2, -1);
                        g.add(fDown2Sd, -sd);
                    }
                    if (lo.float1 == 'U') {
                        g.add(fUp1, -1);
                        g.add(fUp1Sd, -sd);
                    }
                    if (lo.float2 == 'U') {
                        g.add(fUp2, -1);
                        g.add(fUp2Sd, -sd);
                    }
                }
                // The candidate order.
                if (idxM[x] >= 0 && idxR[y] >= 0 && fMdpPos[idxM[x]] >= 0)
                    g.add(fMdpPos[idxM[x]], -(idxR[y] + 1));
                if (inS1(x) && inS1(y))
                    g.add(fExchange, -1);
                if (inS1(x) && inS1(y)) {
                    g.add(fBsn, -(nr + 1 - idxR[y]));
                    g.add(fMovedS1, -(nr + 1 - idxR[y]));
                }
                if (inS2(x) && inS2(y))
                    g.add(fBsn, -idxR[x]);
                if (b.remainderOrder && idxR[x] >= 0 && idxR[y] >= 0) {
                    // Each player's partner below, in the order of the players: S1's
                    // first, then those an exchange brings into S1.
                    const int pos = idxR[y];
                    if (fPos[idxR[x]] >= 0)
                        g.add(fPos[idxR[x]], -pos);
                    else
                        g.add(fPosRest, -pos);
                }
            } else if (nextCounts && y != byeVertex && role[x] <= 2 && role[y] <= 2 &&
                       (role[x] == 2 || role[y] == 2)) {
                // A pair of the next bracket.
                nextFloatCosts(x, g);
                nextFloatCosts(y, g);
                const int sd = std::abs(f_.players[x].score - f_.players[y].score);
                for (auto [d, fld] : l7)
                    if (d == sd)
                        g.add(fld, -1);
            }
            const Wide w = weightOf(layout, g);
            if (Wide(0) < w)
                edges.push_back({i, j, w});
        }
    }
    Outcome out;
    const std::vector<int> mate = matching::maximumWeightMatching(int(verts.size()), edges);
    if (b.full) {
        for (int i = 0; i < int(verts.size()); ++i)
            if (mate[i] < 0)
                return out; // no pairing of everyone left
    }
    for (int i = 0; i < nb; ++i) {
        const int x = verts[i];
        const int j = mate[i];
        if (j >= 0 && j < nb) {
            if (i < j)
                out.pairs.push_back({x, verts[j]});
        } else if (j >= 0 && verts[j] == byeVertex && b.next.empty()) {
            bool lastOne = true;
            for (int k = 0; k < int(verts.size()); ++k)
                if (role[verts[k] == byeVertex ? 0 : verts[k]] == 3)
                    lastOne = false;
            if (lastOne)
                out.pairs.push_back({x, -1});
            else
                out.floaters.push_back(x);
        } else {
            out.floaters.push_back(x);
        }
    }
    if (nextCounts) {
        for (int i = 0; i < int(verts.size()); ++i) {
            const int j = mate[i];
            if (j > i && verts[j] != byeVertex && role[verts[i]] <= 2 && role[verts[j]] <= 2 &&
                (role[verts[i]] == 2 || role[verts[j]] == 2))
                out.lookahead.push_back({verts[i], verts[j]});
        }
    }
    out.ok = true;
    out.exactPositions = exactPositions;
    return out;
}

// The rules try the MDPs' pairs first and the remainder's within each: once the MDPs'
// pairs are chosen, the remainder is solved again with its own S1 and S2 known.
Pairer::Outcome Pairer::solveStaged(const Bracket& b) {
    Bracket first = b;
    first.remainderOrder = b.mdps.empty();
    Outcome out = solve(first);
    if (!out.ok)
        return out;

    std::vector<bool> isMdp(f_.players.size(), false);
    for (int x : b.mdps)
        isMdp[x] = true;
    int residentPairs = 0;
    std::vector<std::pair<int, int>> mdpPairs;
    std::vector<bool> taken(f_.players.size(), false);
    for (auto [x, y] : out.pairs) {
        if (y >= 0 && !isMdp[x] && !isMdp[y]) {
            ++residentPairs;
        } else if (y >= 0) {
            mdpPairs.push_back({x, y});
            taken[x] = taken[y] = true;
        }
    }
    if (b.mdps.empty() && residentPairs == int(b.residents.size()) / 2) {
        first.remainderPairs = residentPairs;
        return refine(first, out);
    }
    Bracket second = b;
    second.mdps.clear();
    second.p.clear();
    second.residents.clear();
    for (int x : b.p)
        if (!taken[x])
            second.p.push_back(x);
    for (int x : b.residents)
        if (!taken[x])
            second.residents.push_back(x);
    for (int x : b.mdps)
        if (!taken[x])
            second.frozen.push_back(x);
    for (auto [x, y] : mdpPairs) {
        second.gone.push_back(x);
        second.gone.push_back(y);
    }
    second.remainderPairs = residentPairs;
    second.remainderOrder = true;
    Outcome rest = refine(second, solve(second));
    if (!rest.ok)
        return out;
    rest.pairs.insert(rest.pairs.begin(), mdpPairs.begin(), mdpPairs.end());
    return rest;
}

// A remainder too large for every S1 player to have a place in the weight: the pairs of
// the S1 players that had one are kept (they are those of the first candidate, as the
// weight was exact for them) and the rest is solved again, as often as needed.
Pairer::Outcome Pairer::refine(const Bracket& b, Outcome out) {
    Bracket cur = b;
    std::vector<std::pair<int, int>> kept;
    while (out.ok && out.exactPositions >= 0) {
        const int k = std::max(1, out.exactPositions);
        std::vector<bool> first(f_.players.size(), false);
        for (int i = 0; i < k && i < int(cur.residents.size()); ++i)
            first[cur.residents[i]] = true;
        std::vector<bool> gone(f_.players.size(), false);
        int residentPairs = 0;
        for (auto [x, y] : out.pairs) {
            if (y >= 0 && (first[x] || first[y])) {
                kept.push_back({x, y});
                gone[x] = gone[y] = true;
                cur.gone.push_back(x);
                cur.gone.push_back(y);
                ++residentPairs;
            }
        }
        for (int x : cur.residents)
            if (first[x] && !gone[x])
                cur.frozen.push_back(x);
        std::vector<int> p, residents;
        for (int x : cur.p)
            if (!gone[x])
                p.push_back(x);
        for (int x : cur.residents)
            if (!gone[x] && !first[x])
                residents.push_back(x);
        cur.p = p;
        cur.residents = residents;
        cur.remainderPairs = std::max(0, cur.remainderPairs - residentPairs);
        const Outcome again = solve(cur);
        if (!again.ok)
            break;
        out = again;
    }
    out.pairs.insert(out.pairs.begin(), kept.begin(), kept.end());
    return out;
}

// Bye candidates of one score: those who played the most games first.
int gamesKey(const Player& p) {
    return -int(p.colours.size());
}

std::optional<std::vector<std::pair<int, int>>> Pairer::run() {
    const int n = int(f_.players.size());
    std::vector<std::pair<int, int>> result;
    if (n == 0)
        return result;
    const bool odd = n % 2 == 1;
    // Adjacency for the completion check, the bye as vertex n.
    std::vector<std::vector<int>> pairsAdj(n);
    for (int a = 0; a < n; ++a) {
        for (int b = a + 1; b < n; ++b) {
            if (compatible(f_, a, b)) {
                pairsAdj[a].push_back(b);
                pairsAdj[b].push_back(a);
            }
        }
    }
    alive_.assign(n, true);
    // The first class of bye candidates, by ascending key, that can take the bye while every
    // other unpaired player is paired, with the matching that shows it. The matching is
    // built on adj, which must outlive it.
    using ByeClass = std::pair<std::vector<bool>, matching::CardinalityMatching>;
    const auto firstPairableClass = [&](std::vector<std::vector<int>>& adj, auto candidate,
                                        auto key) -> std::optional<ByeClass> {
        std::vector<int> keys;
        for (int a = 0; a < n; ++a)
            if (candidate(a))
                keys.push_back(key(a));
        std::sort(keys.begin(), keys.end());
        keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
        for (int k : keys) {
            adj = pairsAdj;
            adj.emplace_back();
            std::vector<bool> allowed(n, false);
            for (int a = 0; a < n; ++a) {
                allowed[a] = candidate(a) && key(a) == k;
                if (allowed[a]) {
                    adj[a].push_back(n);
                    adj[n].push_back(a);
                }
            }
            matching::CardinalityMatching trial(adj);
            for (int a = 0; a < n; ++a)
                if (!alive_[a])
                    trial.remove(a);
            if (trial.perfect())
                return ByeClass{std::move(allowed), std::move(trial)};
        }
        return std::nullopt;
    };
    std::vector<std::vector<int>> adj;
    std::optional<matching::CardinalityMatching> found;
    byeAllowed_.assign(n, false);
    if (!odd) {
        adj = pairsAdj;
        found.emplace(adj);
        if (!found->perfect())
            return std::nullopt;
    } else {
        // The lowest score that can take the bye with everyone else paired.
        auto byScore = firstPairableClass(
            adj, [&](int a) { return f_.players[a].byeEligible; },
            [&](int a) { return f_.players[a].score; });
        if (!byScore)
            return std::nullopt;
        byeAllowed_ = std::move(byScore->first);
        found.emplace(std::move(byScore->second));
    }
    // Of the bye's candidates, those who played the most games take it when the rest can
    // still be paired. That holds where the bye is decided: in the last bracket, and in a
    // bracket holding candidates (resident or moved down) whose pairing floats a single
    // player, who is then the bye; that bracket is solved again with the preference.
    // Where a bracket floats several players, its own criteria choose, and the bye goes to
    // the candidate they leave further down. This is where the reference engine was seen
    // to apply the preference; it is not a rule's text.
    const std::vector<bool> wideBye = byeAllowed_;
    std::vector<std::vector<int>> narrowedAdj;
    const auto narrowBye = [&] {
        const auto byGames = firstPairableClass(
            narrowedAdj, [&](int a) { return wideBye[a] && alive_[a]; },
            [&](int a) { return gamesKey(f_.players[a]); });
        if (byGames)
            byeAllowed_ = byGames->first;
    };
    matching::CardinalityMatching& completion = *found;
    std::vector<std::vector<int>> groups;
    for (int i = 0; i < n; ++i) {
        if (i == 0 || f_.players[i].score != f_.players[i - 1].score)
            groups.push_back({});
        groups.back().push_back(i);
    }
    groups_ = int(groups.size());
    // A bracket solved, and the completion matching brought up to date with its pairs.
    const auto solveBracket = [&](Bracket b,
                                  matching::CardinalityMatching& comp) -> std::optional<Outcome> {
        Outcome out;
        matching::CardinalityMatching saved = comp;
        if (!b.full) {
            out = solveStaged(b);
            for (auto [x, y] : out.pairs) {
                comp.remove(x);
                comp.remove(y);
            }
            if (!comp.perfect()) {
                comp = saved;
                out.ok = false;
            } else if (!out.lookahead.empty()) {
                // The next bracket was weighed by pairs the round cannot have: weigh it
                // again with everyone below in the graph.
                matching::CardinalityMatching ahead = comp;
                for (auto [x, y] : out.lookahead) {
                    ahead.remove(x);
                    ahead.remove(y);
                }
                if (!ahead.perfect()) {
                    comp = saved;
                    out.ok = false;
                }
            }
        }
        if (!out.ok) {
            b.full = true;
            out = solveStaged(b);
            if (!out.ok)
                return std::nullopt;
            for (auto [x, y] : out.pairs) {
                comp.remove(x);
                if (y >= 0)
                    comp.remove(y);
                else
                    comp.remove(n);
            }
            comp.perfect();
        }
        return out;
    };
    std::vector<int> mdps;
    for (int g = 0; g < groups_; ++g) {
        Bracket b;
        b.mdps = mdps;
        b.residents = groups[g];
        b.p = mdps;
        b.p.insert(b.p.end(), groups[g].begin(), groups[g].end());
        std::sort(b.p.begin(), b.p.end());
        if (g + 1 < groups_)
            b.next = groups[g + 1];
        b.full = g + 2 >= groups_;
        b.sMin = f_.players[groups[g].front()].score;
        byeAllowed_ = wideBye; // every candidate still unpaired
        if (odd && g + 1 == groups_)
            narrowBye();
        matching::CardinalityMatching before = completion;
        std::optional<Outcome> solved = solveBracket(b, completion);
        if (!solved)
            return std::nullopt;
        bool candidates = false;
        for (int x : b.p)
            candidates = candidates || wideBye[x];
        if (odd && g + 1 < groups_ && candidates && solved->floaters.size() == 1) {
            narrowBye();
            bool narrower = false;
            for (int x = 0; x < n; ++x)
                narrower = narrower || (wideBye[x] && alive_[x] && !byeAllowed_[x]);
            if (narrower) {
                matching::CardinalityMatching again = before;
                std::optional<Outcome> narrowed = solveBracket(b, again);
                // The preference may choose who floats, not cost the bracket a pair.
                if (narrowed && narrowed->floaters.size() == 1) {
                    solved = narrowed;
                    completion = again;
                }
            }
        }
        const Outcome& out = *solved;
        for (auto [x, y] : out.pairs) {
            alive_[x] = false;
            if (y >= 0)
                alive_[y] = false;
            result.push_back({x, y});
        }
        mdps = out.floaters;
    }
    if (!mdps.empty())
        return std::nullopt;
    return result;
}

} // namespace

DutchPairing pairDutch(const SwissTournament& tournament, const DutchOptions& options) {
    const Field f = readField(tournament, options);
    DutchPairing out;
    const int n = int(f.players.size());
    if (n == 0)
        return out;
    std::vector<std::pair<int, int>> pairs; // higher-ranked first; -1 for the bye
    if (!f.anyHistory) {
        // The first round: the top half against the bottom half, the last one left out.
        const int half = n / 2;
        for (int i = 0; i < half; ++i)
            pairs.push_back({i, half + i});
        if (n % 2 == 1)
            pairs.push_back({n - 1, -1});
    } else {
        Pairer pairer(f, options);
        const auto made = pairer.run();
        if (!made)
            return out;
        pairs = *made;
    }
    // Boards: the higher player's score, the pair's total, the higher player's rank; the
    // bye last.
    std::sort(pairs.begin(), pairs.end(), [&](auto a, auto b) {
        if ((a.second < 0) != (b.second < 0))
            return b.second < 0;
        const auto key = [&](std::pair<int, int> p) {
            const int hi = std::min(p.first, p.second < 0 ? p.first : p.second);
            const int lo = std::max(p.first, p.second);
            const int hs = f.players[hi].score;
            const int sum = hs + (p.second < 0 ? 0 : f.players[lo].score);
            return std::tuple(-hs, -sum, hi);
        };
        return key(a) < key(b);
    });
    for (auto [x, y] : pairs) {
        if (y < 0) {
            out.pairs.push_back({f.players[x].number, tournament.byeNumber});
            continue;
        }
        const int hi = std::min(x, y);
        const int lo = std::max(x, y);
        const bool white = whiteToHigher(f.players[hi], f.players[lo], options.initialColour);
        const int w = white ? hi : lo;
        const int bl = white ? lo : hi;
        out.pairs.push_back({f.players[w].number, f.players[bl].number});
    }
    return out;
}

DutchColours dutchColours(const SwissTournament& tournament, const DutchOptions& options, int a,
                          int b) {
    const Field f = readField(tournament, DutchOptions{options.initialColour, 0, {}});
    const auto indexOf = [&](int number) {
        return number >= 0 && number < int(f.indexOfNumber.size()) ? f.indexOfNumber[number] : -1;
    };
    const int ia = indexOf(a);
    const int ib = indexOf(b);
    DutchColours out;
    if (ia < 0 || ib < 0) {
        // The bye participant (or no participant at all): the player takes the first place.
        out.white = ia < 0 && ib >= 0 ? b : a;
        out.black = out.white == a ? b : a;
        out.higherRanked = out.white;
        if (ia >= 0 || ib >= 0)
            out.whiteHistory = historyOf(f.players[std::max(ia, ib)]);
        return out;
    }
    const int hi = std::min(ia, ib);
    const int lo = std::max(ia, ib);
    const ColourChoice choice = colourChoice(f.players[hi], f.players[lo], options.initialColour);
    const Player& white = f.players[choice.higherWhite ? hi : lo];
    const Player& black = f.players[choice.higherWhite ? lo : hi];
    out.white = white.number;
    out.black = black.number;
    out.rule = choice.rule;
    out.higherRanked = f.players[hi].number;
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
        std::vector<char> colour(count + 1, 0);
        std::vector<bool> paired(count + 1, false);
        bool any = false;
        for (const SwissGame& g : round) {
            const bool w = tournament.hasParticipant(g.white);
            const bool b = tournament.hasParticipant(g.black);
            if (w)
                paired[g.white] = true;
            if (b)
                paired[g.black] = true;
            if (!w || !b || g.white == tournament.byeNumber || g.black == tournament.byeNumber)
                continue;
            colour[g.white] = 'W';
            colour[g.black] = 'B';
            any = true;
        }
        if (!any)
            continue;
        bool flip = false;
        for (int k = 1; k <= count; ++k) {
            if (k == tournament.byeNumber || !paired[k])
                continue;
            if (colour[k])
                return (colour[k] == 'W') != flip ? InitialColour::White : InitialColour::Black;
            flip = !flip;
        }
    }
    return std::nullopt;
}

} // namespace ladya
