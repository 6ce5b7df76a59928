#include "scoring/tiebreaks.h"

#include <QStringList>
#include <gtest/gtest.h>

namespace ladya {
namespace {

// A field from TRF-like rows, "opponent colour result" per round separated by "|"
// ("0 - U" pairing bye, "0 - H" half-point bye, "0 - Z" absence, "+"/"-" forfeits).
TieBreakField fieldOf(const std::vector<std::pair<int, const char*>>& rows) {
    TieBreakField f;
    int number = 0;
    for (const auto& [rating, text] : rows) {
        TieBreakPlayer p;
        p.number = ++number;
        p.rating = rating;
        for (const QString& cell : QString::fromLatin1(text).split(u'|')) {
            const QStringList x = cell.split(u' ', Qt::SkipEmptyParts);
            const int opponent = x[0].toInt() - 1;
            const char code = x[2].at(0).toLatin1();
            TieBreakRound r;
            r.halves =
                QStringLiteral("1+UF").contains(x[2]) ? 2 : QStringLiteral("=H").contains(x[2]);
            switch (code) {
            case '+':
                r.kind = TieBreakRoundKind::ForfeitWin;
                r.opponent = opponent;
                break;
            case '-':
                r.kind = TieBreakRoundKind::ForfeitLoss;
                r.opponent = opponent;
                break;
            case 'U':
                r.kind = TieBreakRoundKind::PairingBye;
                break;
            case 'H':
                r.kind = TieBreakRoundKind::HalfBye;
                break;
            case 'F':
                r.kind = TieBreakRoundKind::FullBye;
                break;
            case 'Z':
                r.kind = TieBreakRoundKind::ZeroBye;
                break;
            default:
                r.kind = TieBreakRoundKind::Played;
                r.opponent = opponent;
                r.colour = x[1].at(0).toLatin1();
            }
            p.rounds.push_back(r);
        }
        f.players.push_back(p);
    }
    f.roundCount = int(f.players.front().rounds.size());
    return f;
}

// Byes, a forfeit, a half-point bye: every value as the reference calculator gives it.
const TieBreakField Byes = fieldOf({
    {2000, "2 w 0 | 3 b 0 | 4 w 0 | 0 - U | 5 b 1"},
    {1900, "1 b 1 | 4 w 1 | 5 b 1 | 3 w 1 | 0 - U"},
    {1800, "4 b 1 | 1 w 1 | 0 - U | 2 b 0 | 4 w 1"},
    {1700, "3 w 0 | 2 b 0 | 1 b 1 | 5 w + | 3 b 0"},
    {1600, "0 - U | 0 - H | 2 w 0 | 4 b - | 1 w 0"},
});

// Absences between games and at the end, a forfeit in the last round.
const TieBreakField Absences = fieldOf({
    {2000, "2 w 1 | 3 b 1 | 4 w 1 | 5 b 1 | 0 - U"},
    {1900, "1 b 0 | 0 - Z | 3 w 1 | 4 b 1 | 5 w 1"},
    {1800, "4 w 1 | 1 w 0 | 2 b 0 | 6 b 1 | 0 - Z"},
    {1700, "3 b 0 | 5 w 1 | 1 b 0 | 2 w 0 | 6 w -"},
    {1600, "6 b 1 | 4 b 0 | 0 - H | 1 w 0 | 2 b 0"},
    {1500, "5 w 0 | 0 - Z | 0 - Z | 3 w 0 | 4 b +"},
});

// A full-point bye, a forfeit each way, a half-point bye, a closing absence.
const TieBreakField ByesOfEveryKind = fieldOf({
    {2000, "4 w 1 | 5 b 1 | 2 w 1 | 0 - H"},
    {1900, "3 w + | 0 - U | 1 b 0 | 3 b 0"},
    {1800, "2 b - | 6 w 1 | 5 b 1 | 2 w 1"},
    {1700, "1 b 0 | 0 - F | 6 w 1 | 5 b ="},
    {1600, "6 w 1 | 1 w 0 | 3 w 0 | 4 w ="},
    {1500, "5 b 0 | 3 b 0 | 4 b 0 | 0 - Z"},
});

TieBreakField edition2026(TieBreakField f) {
    f.rules = TieBreakRules::Fide2026;
    return f;
}

// A round-robin of five: the empty seat's round is no round, a forfeit a game.
TieBreakField roundRobin(TieBreakField f) {
    f.roundRobin = true;
    return f;
}
const TieBreakField FiveAllPlayAll = roundRobin(fieldOf({
    {2000, "0 - U | 3 w + | 5 b 1 | 2 w 0 | 4 b ="},
    {1900, "5 b 1 | 0 - U | 4 w 0 | 1 b 1 | 3 w ="},
    {1800, "4 w 1 | 1 b - | 0 - U | 5 w 1 | 2 b ="},
    {1700, "3 b 0 | 5 w = | 2 b 1 | 0 - U | 1 w ="},
    {1600, "2 w 0 | 4 b = | 1 w 0 | 3 b 0 | 0 - U"},
}));

const TieBreakField Edition2026 = edition2026(ByesOfEveryKind);

TEST(TieBreaks, EveryTieBreakMatchesTheReference) {
    struct Case {
        const TieBreakField* field;
        const char* list;
        std::vector<std::vector<double>> values; // per player
    };
    const std::vector<Case> cases = {
        // The dummy opponent has the player's own points; C1 cuts the lowest.
        {&Byes,
         "BH,BH/C1,FB,SB,AOB,PS,KS",
         {{14.5, 13.0, 14.5, 3.5, 14.5, 3.0, 0.0},
          {14.5, 13.0, 14.5, 14.5, 14.5, 15.0, 1.0},
          {15.0, 13.0, 15.0, 10.0, 15.75, 13.0, 0.0},
          {17.0, 15.0, 16.0, 4.0, 14.75, 5.0, 0.0},
          {11.5, 10.0, 12.5, 2.25, 14.5, 7.0, 0.0}}},
        {&Byes,
         "ARO,TPR,PTP,APRO,APPO,WIN,WON,BPG,BWG,GE",
         {{1750, 1557, 1543, 1856, 1887, 2, 1, 2, 1, 5},
          {1775, 2575, 2736, 1602, 1588, 5, 4, 2, 2, 5},
          {1825, 2018, 2038, 1874, 1906, 4, 3, 2, 1, 5},
          {1875, 1682, 1672, 2042, 2089, 2, 1, 3, 1, 5},
          {1950, 1150, 1100, 2066, 2140, 1, 0, 0, 0, 3}}},
        // A closing absence counts as a draw for the opponents, one between games as
        // nothing; the unplayed rounds a player chose are cut first.
        {&Absences,
         "BH,BH/C1,SB/C1",
         {{13.0, 12.0, 12.0},
          {13.0, 10.0, 4.0},
          {12.0, 10.0, 1.0},
          {13.0, 12.0, 1.5},
          {11.5, 10.0, 1.0},
          {7.0, 6.0, 1.0}}},
        // The same rounds under C.07 of 2024 and of 2026 (a bye's dummy at most half the
        // planned points, a forfeit's no more than the opponent); GE keeps a full-point
        // bye and drops a half-point bye, an absence, a forfeit loss.
        {&ByesOfEveryKind,
         "BH,SB/C1,FB,GE",
         {{9.5, 6.0, 10.0, 3},
          {10.5, 2.0, 11.0, 4},
          {7.0, 3.5, 7.0, 3},
          {8.0, 3.25, 8.0, 4},
          {9.5, 1.25, 9.0, 4},
          {7.0, 0.0, 6.5, 3}}},
        {&Edition2026,
         "BH,SB/C1,FB,AOB",
         {{8.0, 5.5, 8.5, 9.17},
          {10.5, 2.0, 10.5, 7.0},
          {6.0, 3.5, 7.0, 9.0},
          {7.5, 2.75, 7.5, 8.17},
          {9.5, 1.25, 9.0, 7.13},
          {7.0, 0.0, 6.5, 7.67}}},
        {&FiveAllPlayAll,
         "BH,SB,KS",
         {{11.5, 6.5, 1.5},
          {11.5, 6.75, 1.5},
          {11.5, 6.25, 1.5},
          {12.0, 6.0, 1.5},
          {13.5, 1.5, 0.5}}},
    };
    for (const Case& c : cases) {
        const TieBreakList list = *parseTieBreakList(QString::fromLatin1(c.list));
        const TieBreakRanking ranking = rankByTieBreaks(*c.field, list);
        for (std::size_t p = 0; p < c.values.size(); ++p)
            EXPECT_EQ(ranking.values[p], c.values[p]) << c.list << " player " << p + 1;
    }
}

TEST(TieBreaks, DirectEncounterRanksTheTiedAndThenTheStillTied) {
    struct Case {
        TieBreakField field;
        std::vector<int> order;
        std::vector<double> values; // DE per player
    };
    const std::vector<Case> cases = {
        // 1, 2 and 3 tie on 2.5; among themselves 1 scored 1.5, 2 one point, 3 a half.
        {fieldOf({{2000, "2 w 1 | 3 w = | 4 w 0 | 5 w 0 | 0 - U"},
                  {1900, "1 b 0 | 0 - U | 5 w 0 | 3 w 1 | 4 w ="},
                  {1800, "4 w 1 | 1 b = | 0 - U | 2 b 0 | 5 w 0"},
                  {1700, "3 b 0 | 5 w = | 1 b 1 | 0 - U | 2 b ="},
                  {1600, "0 - U | 4 b = | 2 b 1 | 1 b 1 | 3 b 1"}}),
         {4, 3, 0, 1, 2},
         {1, 2, 3, 0, 0}},
        // 1 to 4 tie on 2.0 with 2.0, 1.5, 1.5 and 1.0 among themselves; 2 beat 3.
        {fieldOf({{2000, "6 w 0 | 2 w = | 3 b = | 4 w 1 | 5 b 0"},
                  {1900, "5 w = | 1 b = | 6 w 0 | 3 w 1 | 4 b 0"},
                  {1800, "4 w 1 | 5 b 0 | 1 w = | 2 b 0 | 6 w ="},
                  {1700, "3 b 0 | 6 b 0 | 5 w 1 | 1 b 0 | 2 w 1"},
                  {1600, "2 b = | 3 w 1 | 4 b 0 | 6 b = | 1 w 1"},
                  {1500, "1 b 1 | 4 w 1 | 2 b 1 | 5 w = | 3 b ="}}),
         {5, 4, 0, 1, 2, 3},
         {1, 2, 3, 4, 0, 0}},
        // A round-robin's forfeit is an encounter: 1 beat 3 so, 2 beat 1, 2 and 3 drew.
        {FiveAllPlayAll, {1, 0, 2, 3, 4}, {2, 1, 3, 0, 0}},
    };
    for (const Case& c : cases) {
        const TieBreakRanking r =
            rankByTieBreaks(c.field, *parseTieBreakList(QStringLiteral("DE")));
        EXPECT_EQ(r.order, c.order);
        for (std::size_t p = 0; p < c.values.size(); ++p)
            EXPECT_EQ(r.values[p][0], c.values[p]) << p + 1;
    }
}

TEST(TieBreaks, PlayersEqualOnEveryEntryShareTheirPlaces) {
    // 2 and 3 are alike in everything; the bye participant is never ranked.
    TieBreakField f = fieldOf({
        {2000, "2 w 1 | 3 b 1"},
        {1900, "1 b 0 | 0 - U"},
        {1800, "0 - U | 1 w 0"},
        {0, "0 - Z | 0 - Z"},
    });
    f.players[3].bye = true;
    const TieBreakRanking r = rankByTieBreaks(f, *parseTieBreakList(QStringLiteral("BH,SB")));
    EXPECT_EQ(r.order, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(sharedPlaceText(r.firstPlace[1], r.lastPlace[1]), QStringLiteral("2–3"));
    EXPECT_EQ(sharedPlaceText(r.firstPlace[0], r.lastPlace[0]), QStringLiteral("1"));
    EXPECT_EQ(r.firstPlace[3], 0);
}

TEST(TieBreaks, TheEditionIsTheOneInForceAtTheStart) {
    EXPECT_EQ(tieBreakRulesOn(QStringLiteral("28.02.2026")), TieBreakRules::Fide2024);
    EXPECT_EQ(tieBreakRulesOn(QStringLiteral("01.03.2026")), TieBreakRules::Fide2026);
    EXPECT_EQ(tieBreakRulesOn(QString()), TieBreakRules::Fide2024);
}

TEST(TieBreaks, ListTextIsReadAndRefused) {
    const Result<TieBreakList> list =
        parseTieBreakList(QStringLiteral(" bh/c1; BH, sb/m1 KS/L40 "));
    ASSERT_TRUE(list.ok());
    EXPECT_EQ(tieBreakListText(*list), QStringLiteral("BH/C1,BH,SB/M1,KS/L40"));
    EXPECT_EQ(tieBreakTitle(list->front()), QStringLiteral("BH-C1"));
    EXPECT_EQ(tieBreakLegend(list->front()),
              QStringLiteral("BH-C1 — коэффициент Бухгольца без худшего результата"));
    EXPECT_EQ(tieBreakValueText((*list)[2], 7.5), QStringLiteral("7.50"));
    EXPECT_TRUE(parseTieBreakList(QString()).ok());
    for (const char* bad :
         {"XYZ", "DE/C1", "BH,BH", "BH/C3", "BH,SB,DE,WIN,WON,BPG,BWG,GE,PS,KS,ARO"})
        EXPECT_FALSE(parseTieBreakList(QString::fromLatin1(bad)).ok()) << bad;
    for (bool roundRobin : {false, true}) {
        for (const RecommendedTieBreaks& r : recommendedTieBreakLists(roundRobin))
            EXPECT_EQ(*parseTieBreakList(tieBreakListText(r.list)), r.list);
    }
}

} // namespace
} // namespace ladya
