#include "exchange/trf.h"
#include "pairing/dutch_pairing.h"

#include <QDir>
#include <QFile>
#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <set>

using namespace ladya;

namespace {

// A tournament of `players` players (the bye participant added for an odd field) and
// the given rounds; a game is {white, black, white's code, black's code}, the bye a
// game against number 0, which stands for the bye participant.
struct G {
    int white;
    int black;
    const char* w;
    const char* b;
};

SwissTournament tournament(int players, const std::vector<std::vector<G>>& rounds) {
    SwissTournament t;
    for (int i = 1; i <= players; ++i)
        t.participants.append(
            {QString::number(i), QStringLiteral("ИГРОК %1").arg(i), QString(), QString(), "2000"});
    const int bye = players % 2 == 1 ? players + 1 : 0;
    if (bye)
        t.participants.append(makeByeRow(bye));
    for (const auto& round : rounds) {
        QVector<SwissGame> games;
        for (const G& g : round)
            games.append({g.white == 0 ? bye : g.white, g.black == 0 ? bye : g.black,
                          QString::fromLatin1(g.w), QString::fromLatin1(g.b)});
        t.rounds.append(games);
    }
    t.deriveCounts();
    return t;
}

using Pairs = std::set<std::pair<int, int>>;

Pairs pairSet(const DutchPairing& p) {
    Pairs s;
    for (const DutchPair& x : p.pairs)
        s.insert({x.white, x.black});
    return s;
}

Pairs storedRound(const SwissTournament& t, int round) {
    Pairs s;
    for (const SwissGame& g : t.rounds[round - 1])
        if (!g.isEmpty())
            s.insert(g.white == t.byeNumber ? std::pair{g.black, g.white}
                                            : std::pair{g.white, g.black});
    return s;
}

// Whether a perfect matching surely exists in the graph of allowed pairs, decided
// apart from the engine: a Tutte matrix with random entries modulo a prime has a
// non-zero determinant only if the graph has one. A zero proves nothing, which can
// only spare the engine a requirement, never impose a false one.
bool surelyPairable(const std::vector<std::vector<bool>>& allowed, std::mt19937& rng) {
    constexpr std::uint64_t prime = 2147483647;
    const std::size_t n = allowed.size();
    std::vector<std::vector<std::uint64_t>> m(n, std::vector<std::uint64_t>(n, 0));
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j)
            if (allowed[i][j]) {
                m[i][j] = 1 + rng() % (prime - 1);
                m[j][i] = prime - m[i][j];
            }
    const auto inverse = [&](std::uint64_t base) {
        std::uint64_t result = 1;
        for (std::uint64_t e = prime - 2; e; e >>= 1, base = base * base % prime)
            if (e & 1)
                result = result * base % prime;
        return result;
    };
    for (std::size_t c = 0; c < n; ++c) {
        std::size_t pivot = c;
        while (pivot < n && m[pivot][c] == 0)
            ++pivot;
        if (pivot == n)
            return false;
        std::swap(m[pivot], m[c]);
        const std::uint64_t inv = inverse(m[c][c]);
        for (std::size_t i = c + 1; i < n; ++i) {
            const std::uint64_t factor = m[i][c] * inv % prime;
            for (std::size_t j = c; j < n && factor; ++j)
                m[i][j] = (m[i][j] + (prime - factor) * m[c][j]) % prime;
        }
    }
    return true;
}

} // namespace

TEST(DutchPairing, FirstRoundTopHalfAgainstBottomHalfColoursAlternating) {
    const SwissTournament t = tournament(7, {});
    DutchOptions white;
    EXPECT_EQ(pairDutch(t, white).pairs, (QVector<DutchPair>{{1, 4}, {5, 2}, {3, 6}, {7, 8}}));
    DutchOptions black;
    black.initialColour = InitialColour::Black;
    EXPECT_EQ(pairDutch(t, black).pairs, (QVector<DutchPair>{{4, 1}, {2, 5}, {6, 3}, {7, 8}}));
}

// Baku acceleration: GA (2·⌈9/4⌉ = 6 players) meets itself in round 1, GB likewise, the
// colours by the higher player's place in the pairing order; in round 2 GA's losers
// (a virtual point) share a bracket with GB's winners. The reference engine pairs both
// rounds so.
TEST(DutchPairing, BakuAccelerationPairsOnThePairingScore) {
    SwissTournament t = tournament(9, {});
    t.extras.plannedRounds = 5;
    t.extras.acceleration = {true, 0};
    EXPECT_EQ(pairDutch(t, {}).pairs,
              (QVector<DutchPair>{{1, 4}, {5, 2}, {3, 6}, {7, 8}, {9, 10}}));
    t.extras.acceleration = {true, 6};
    t.rounds = {{{1, 4, "1", "0"},
                 {5, 2, "0", "1"},
                 {3, 6, "1", "0"},
                 {7, 8, "0", "1"},
                 {9, 10, "+", "-"}}};
    t.deriveCounts();
    // Pairing scores: 1, 2, 3 have 2; 4, 5, 6 and 8, 9 have 1; 7 has 0.
    EXPECT_EQ(pairSet(pairDutch(t, {})), (Pairs{{2, 1}, {4, 3}, {8, 5}, {6, 9}, {7, 10}}));
}

TEST(DutchPairing, RulesOfTheSecondRound) {
    // Round 1 of four: 1-3 won by White, 4-2 drawn.
    const SwissTournament t = tournament(4, {{{1, 3, "1", "0"}, {4, 2, "%", "%"}}});
    // 1 floats down to the half points; 1-2 meet with alternated colours, 3 and 4 (both
    // having had their colour...) get theirs: no rematch of 1-3 or 2-4.
    const DutchPairing p = pairDutch(t, {});
    EXPECT_EQ(pairSet(p), (Pairs{{2, 1}, {3, 4}}));
    EXPECT_EQ(p.pairs.front(), (DutchPair{2, 1})) << "the top score on the first board";
}

TEST(DutchPairing, ForfeitIsNoGameButItsPointCounts) {
    // 1 beat 3 by forfeit: they may meet again, and 1 leads alone.
    const SwissTournament t = tournament(4, {{{1, 3, "+", "-"}, {2, 4, "1", "0"}}});
    const Pairs p = pairSet(pairDutch(t, {}));
    EXPECT_TRUE(p.count({1, 2}) || p.count({2, 1}));
    EXPECT_TRUE(p.count({3, 4}) || p.count({4, 3}));
}

TEST(DutchPairing, ByeNeverTwiceAndNeverAfterAWinWithoutPlaying) {
    // Five players: 5 had the bye, 4 won by forfeit; 2 and 3 have the lowest score.
    const SwissTournament t =
        tournament(5, {{{1, 2, "1", "0"}, {3, 4, "-", "+"}, {5, 0, "1", "0"}}});
    const DutchPairing p = pairDutch(t, {});
    ASSERT_TRUE(p.found());
    EXPECT_EQ(p.pairs.back(), (DutchPair{2, 6})) << "3, who has played no game, is passed over";
    // Round 2 of three players where 3 already had the bye: 2 or 1 gets it.
    const SwissTournament three = tournament(3, {{{1, 2, "1", "0"}, {3, 0, "1", "0"}}});
    const DutchPairing q = pairDutch(three, {});
    ASSERT_TRUE(q.found());
    EXPECT_NE(q.pairs.back().white, 3);
    EXPECT_EQ(q.pairs.back().black, 4);
}

TEST(DutchPairing, NoPairingWhenEveryoneHasMet) {
    const SwissTournament t = tournament(2, {{{1, 2, "1", "0"}}});
    EXPECT_FALSE(pairDutch(t, {}).found());
}

TEST(DutchPairing, SameAbsoluteColourNeverMeetsUnlessATopscorerInTheLastRound) {
    // 1 and 2 both had White twice; 3 and 4 Black twice. 1-2 and 3-4 are barred, so
    // each pair crosses over whatever the scores say.
    const SwissTournament t =
        tournament(4, {{{1, 3, "1", "0"}, {2, 4, "1", "0"}}, {{1, 4, "%", "%"}, {2, 3, "%", "%"}}});
    const Pairs p = pairSet(pairDutch(t, {}));
    EXPECT_TRUE(p.empty()) << "1-2 and 3-4 barred, 1-3, 1-4, 2-3, 2-4 played";
    // Six players: 1 and 2 (White twice) may not meet; in the last round the
    // topscorers may.
    const SwissTournament six =
        tournament(6, {{{1, 4, "1", "0"}, {2, 5, "1", "0"}, {3, 6, "%", "%"}},
                       {{1, 6, "1", "0"}, {2, 4, "1", "0"}, {5, 3, "%", "%"}}});
    const Pairs normal = pairSet(pairDutch(six, {}));
    EXPECT_FALSE(normal.count({1, 2}) || normal.count({2, 1}));
    DutchOptions last;
    last.plannedRounds = 3;
    const Pairs final = pairSet(pairDutch(six, last));
    EXPECT_TRUE(final.count({1, 2}) || final.count({2, 1}));
}

TEST(DutchPairing, AbsencesAndForbiddenPairs) {
    const auto has = [](const Pairs& p, int a, int b) {
        return p.count({a, b}) || p.count({b, a});
    };
    // Four players after 1-3 and 2-4 (White won both): 1-2 and 3-4 are natural.
    SwissTournament four = tournament(4, {{{1, 3, "1", "0"}, {2, 4, "1", "0"}}});
    // 2 asks for a half-point bye: the odd field has no bye participant, so the bye pairs
    // with the row the commit adds (5), and goes to 3, who cannot meet 1 again.
    four.extras.byes = {{2, 2, Absence::HalfBye}};
    const DutchPairing absent = pairDutch(four, {});
    EXPECT_EQ(pairSet(absent), (Pairs{{4, 1}, {3, 5}}));
    four.extras.byes.clear();
    // A pair forbidden in round 2 is never made; forbidden only in round 1, it is.
    const struct {
        ForbiddenPair pair;
        bool paired;
    } forbidden[] = {{{1, 2, 1, 0}, false}, {{2, 1, 2, 2}, false}, {{1, 2, 1, 1}, true}};
    for (const auto& c : forbidden) {
        four.extras.forbidden = {c.pair};
        const Pairs p = pairSet(pairDutch(four, {}));
        ASSERT_EQ(p.size(), 2u);
        EXPECT_EQ(has(p, 1, 2), c.paired) << c.pair.fromRound << "-" << c.pair.toRound;
    }
    // Everyone but 2 forbidden for 1: no pairing at all.
    four.extras.forbidden = {{1, 2, 1, 0}, {1, 4, 1, 0}};
    EXPECT_FALSE(pairDutch(four, {}).found());

    // Five players; 5 sat round 1 out with a half-point bye (on no board: the third
    // board is empty) and stands on ½ with 2 and 4, above 1 on 0: 1 takes the bye. Were
    // the absence worth nothing, 1 and 5 would meet.
    SwissTournament five = tournament(5, {{{1, 3, "0", "1"}, {2, 4, "%", "%"}, {0, 0, "", ""}}});
    five.rounds[0][2] = {};
    five.extras.byes = {{5, 1, Absence::HalfBye}};
    const DutchPairing half = pairDutch(five, {});
    ASSERT_TRUE(half.found());
    EXPECT_EQ(half.pairs.back(), (DutchPair{1, 6}));
    // 5 may meet nobody in round 2: only the pairing-allocated bye is left to him, which
    // a full-point bye bars and a half-point one does not.
    five.extras.forbidden = {{5, 1, 1, 0}, {5, 2, 1, 0}, {5, 3, 1, 0}, {5, 4, 1, 0}};
    EXPECT_EQ(pairDutch(five, {}).pairs.back(), (DutchPair{5, 6}));
    five.extras.byes = {{5, 1, Absence::FullBye}};
    EXPECT_FALSE(pairDutch(five, {}).found());
}

TEST(DutchPairing, LastColourRuleCountsOnlyPlayersWhoHaveEntered) {
    // Round 1: 1-6 drawn (1 White), 4 and 5 on full-point byes, and 3 off the boards as
    // each case says; 2 sat it out on a half-point bye unless he met 7. In round 2 the
    // leaders 4 and 5, with no game yet, meet: 4 has White when his pairing number among
    // the players entered so far (paired now or on a board before) is odd. The initial
    // colour is White; the bye pairs with the row the commit adds.
    const G drawn{1, 6, "%", "%"};
    const struct {
        const char* why;
        int players;
        std::vector<G> round1;
        QVector<RequestedBye> byes; // beyond 4's and 5's full-point byes in round 1
        Pairs round2;
    } cases[] = {
        {"3 on byes in both rounds has not entered: 4 is third",
         6,
         {drawn},
         {{2, 1, Absence::HalfBye}, {3, 1, Absence::HalfBye}, {3, 2, Absence::HalfBye}},
         {{4, 5}, {2, 1}, {6, 7}}},
        {"3 on a zero-point bye, then a half-point one: the same",
         7,
         {drawn, {2, 7, "%", "%"}},
         {{3, 1, Absence::ZeroBye}, {3, 2, Absence::HalfBye}},
         {{4, 5}, {7, 1}, {6, 2}}},
        {"3 paired in round 2 has entered: 4 is fourth",
         6,
         {drawn},
         {{2, 1, Absence::HalfBye}, {3, 1, Absence::HalfBye}},
         {{5, 4}, {3, 1}, {6, 2}}},
        {"2 played round 1: sitting round 2 out he keeps his number",
         7,
         {drawn, {2, 7, "%", "%"}},
         {{3, 1, Absence::HalfBye}, {2, 2, Absence::HalfBye}},
         {{5, 4}, {7, 1}, {6, 3}}},
        {"3 had the pairing-allocated bye: he has entered",
         7,
         {drawn, {2, 7, "%", "%"}, {3, 0, "1", "0"}},
         {{3, 2, Absence::HalfBye}},
         {{5, 4}, {7, 1}, {6, 2}}},
        {"3 lost round 1 by forfeit: he has entered",
         8,
         {drawn, {2, 7, "%", "%"}, {3, 8, "-", "+"}},
         {{3, 2, Absence::HalfBye}, {8, 2, Absence::HalfBye}},
         {{5, 4}, {7, 1}, {6, 2}}},
    };
    for (const auto& c : cases) {
        SwissTournament t = tournament(c.players, {c.round1});
        t.extras.byes = c.byes;
        t.extras.byes += {{4, 1, Absence::FullBye}, {5, 1, Absence::FullBye}};
        const DutchPairing p = pairDutch(t, {});
        EXPECT_EQ(pairSet(p), c.round2) << c.why;
    }
}

TEST(DutchPairing, InitialColourReadBackFromRoundOne) {
    EXPECT_EQ(initialColourFromRoundOne(tournament(4, {})), std::nullopt);
    EXPECT_EQ(initialColourFromRoundOne(tournament(4, {{{1, 3, "1", "0"}, {4, 2, "1", "0"}}})),
              InitialColour::White);
    EXPECT_EQ(initialColourFromRoundOne(tournament(4, {{{3, 1, "1", "0"}, {2, 4, "1", "0"}}})),
              InitialColour::Black);
    // Player 1 had the bye: player 2's colour, turned over.
    EXPECT_EQ(initialColourFromRoundOne(tournament(3, {{{1, 0, "1", "0"}, {2, 3, "1", "0"}}})),
              InitialColour::Black);
}

// Tournaments generated and paired by the reference engine (bbpPairings), kept as
// data: every round of each must come out the same, pair for pair and colour for
// colour.
TEST(DutchPairing, GoldenTournamentsRoundByRound) {
    const QDir dir(QStringLiteral(LADYA_TEST_DATA_DIR "/dutch"));
    const QStringList files = dir.entryList({QStringLiteral("*.trf")}, QDir::Files, QDir::Name);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        // The generator writes no start date, which the import requires.
        const Result<TrfImported> imported = trfImportSwiss("042 2026/01/01\r\n" + f.readAll());
        ASSERT_TRUE(imported) << name.toStdString();
        const SwissTournament& full = imported->tournament;
        DutchOptions options;
        options.plannedRounds = full.roundCount();
        options.initialColour = initialColourFromRoundOne(full).value_or(InitialColour::White);
        for (int r = 1; r <= full.roundCount(); ++r) {
            SwissTournament before = full;
            before.rounds.resize(r - 1);
            before.deriveCounts();
            EXPECT_EQ(pairSet(pairDutch(before, options)), storedRound(full, r))
                << name.toStdString() << " round " << r;
        }
    }
}

// Whole tournaments paired by the engine with random results: every proposal pairs
// everyone once, repeats no game, gives the bye at most once and never after a win
// without playing, and keeps every colour within the absolute limits; a pair of it
// gets the same colours alone, and the rest pair around it. A round goes unpaired only
// when no pairing within those criteria exists at all.
TEST(DutchPairing, RandomTournamentsKeepTheAbsoluteCriteria) {
    std::mt19937 rng(2026);
    std::mt19937 tutte(7);
    for (int k = 0; k < 40; ++k) {
        const int players = 4 + int(rng() % 40);
        SwissTournament t = tournament(players, {});
        const int rounds = std::min(players - 1, 5 + int(rng() % 6));
        std::vector<std::set<int>> met(t.participantCount() + 1);
        std::vector<int> byes(t.participantCount() + 1, 0);
        std::vector<bool> wonUnplayed(t.participantCount() + 1, false);
        std::vector<std::string> colours(t.participantCount() + 1);
        for (int r = 1; r <= rounds; ++r) {
            const DutchPairing p = pairDutch(t, {});
            if (!p.found()) {
                const auto canGet = [&](int x, char colour) {
                    const std::string& c = colours[x];
                    const long diff = std::count(c.begin(), c.end(), 'W') * 2 - long(c.size());
                    return std::abs(diff + (colour == 'W' ? 1 : -1)) <= 2 &&
                           !(c.size() >= 2 && c.back() == colour && c[c.size() - 2] == colour);
                };
                const int n = t.participantCount();
                std::vector<std::vector<bool>> allowed(n, std::vector<bool>(n, false));
                for (int a = 1; a <= n; ++a)
                    for (int b = 1; b <= n; ++b)
                        allowed[a - 1][b - 1] =
                            a != b &&
                            (b == t.byeNumber ? !byes[a] && !wonUnplayed[a]
                             : a == t.byeNumber
                                 ? !byes[b] && !wonUnplayed[b]
                                 : !met[a].count(b) && ((canGet(a, 'W') && canGet(b, 'B')) ||
                                                        (canGet(a, 'B') && canGet(b, 'W'))));
                EXPECT_FALSE(surelyPairable(allowed, tutte))
                    << players << " players, round " << r << " left unpaired";
                break;
            }
            // A pair made by hand with the colours the rules give, the rest paired
            // around it: everyone else once, without the pair's players.
            const DutchPair byHand = p.pairs[rng() % p.pairs.size()];
            const DutchColours proposed = dutchColours(t, {}, byHand.black, byHand.white);
            EXPECT_EQ(std::pair(proposed.white, proposed.black),
                      std::pair(byHand.white, byHand.black));
            DutchOptions around;
            around.alreadyPaired = {byHand.white, byHand.black};
            std::set<int> rest{byHand.white, byHand.black};
            for (const DutchPair& pair : pairDutch(t, around).pairs) {
                EXPECT_TRUE(rest.insert(pair.white).second);
                EXPECT_TRUE(rest.insert(pair.black).second);
            }
            EXPECT_TRUE(rest.size() == 2 || int(rest.size()) == t.participantCount());
            std::set<int> seen;
            QVector<SwissGame> games;
            for (const DutchPair& pair : p.pairs) {
                ASSERT_TRUE(seen.insert(pair.white).second);
                ASSERT_TRUE(seen.insert(pair.black).second);
                if (pair.black == t.byeNumber) {
                    ASSERT_EQ(byes[pair.white]++, 0) << "second bye";
                    ASSERT_FALSE(wonUnplayed[pair.white]);
                    wonUnplayed[pair.white] = true;
                    games.append({pair.white, pair.black, "1", "0"});
                    continue;
                }
                ASSERT_FALSE(met[pair.white].count(pair.black)) << "rematch";
                const int roll = int(rng() % 20);
                if (roll == 0) {
                    games.append({pair.white, pair.black, "+", "-"});
                    wonUnplayed[pair.white] = true;
                    continue;
                }
                met[pair.white].insert(pair.black);
                met[pair.black].insert(pair.white);
                colours[pair.white] += 'W';
                colours[pair.black] += 'B';
                for (int x : {pair.white, pair.black}) {
                    const std::string& c = colours[x];
                    const long diff = std::count(c.begin(), c.end(), 'W') * 2 - long(c.size());
                    ASSERT_LE(std::abs(diff), 2) << "colour difference of " << x;
                    ASSERT_FALSE(c.size() >= 3 && c[c.size() - 1] == c[c.size() - 2] &&
                                 c[c.size() - 2] == c[c.size() - 3])
                        << "three colours in a row for " << x;
                }
                games.append({pair.white, pair.black,
                              roll < 8    ? "1"
                              : roll < 14 ? "0"
                                          : "%",
                              roll < 8    ? "0"
                              : roll < 14 ? "1"
                                          : "%"});
            }
            ASSERT_EQ(int(seen.size()), t.participantCount());
            t.rounds.append(games);
            t.deriveCounts();
        }
    }
}
