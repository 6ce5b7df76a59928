// The Swiss standings: every per-participant figure the tournament window shows and
// the pairing works with, recomputed in full from the stored rounds.
#pragma once

#include "swiss/swiss_file.h"

#include <QString>
#include <QStringList>
#include <QVector>
#include <span>

namespace ladya {

struct SwissFigures {
    float points = 0.0f;           // "1" and "+" one point, "%" half a point
    int forfeitWins = 0;           // own codes "+", byes recorded as forfeit wins included
    double progressive = 0.0;      // sum of the running score after each game
    double buchholz = 0.0;         // sum of the opponents' current points, the bye left out
    int averageOpponentRating = 0; // over the rated rounds, truncated toward zero
    int whiteCount = 0;            // games against the bye participant left out
    int blackCount = 0;
    double downFloat = 0.0; // rounds 2..R: how far the opponent stood below
    double upFloat = 0.0;   //              and above, before the round
    int place = 0;          // 1-based position in the standings order
    // Games against the bye participant (for its own row: all its games) that are not
    // already forfeits for the rating, and the rounds sat out (on no board), with the
    // points they brought besides forfeit wins (a requested bye's ½, ...): they count in
    // the standings, never for rating.
    int byeGames = 0;
    float byePoints = 0.0f;
    // The rating calculation.
    int countedGames = 0;
    double expectedScore = 0.0;
    int newRating = 0;
};

struct SwissStandings {
    QVector<SwissFigures> figures; // participant n at index n - 1
    QVector<int> order;            // participant numbers, first place first
    // Each participant's opponent of every round, 0 for the bye or no game: participant
    // n's rounds 1..R at indexes (n − 1)·R .. n·R − 1. One table rather than a list each.
    QVector<int> opponentTable;
    int roundCount = 0;

    std::span<const int> opponentsOf(int number) const {
        return std::span<const int>(opponentTable.constData() + qsizetype(number - 1) * roundCount,
                                    roundCount);
    }
    int opponent(int number, int round) const { return opponentsOf(number)[round - 1]; }

    const SwissFigures& of(int number) const { return figures[number - 1]; }
    SwissFigures& of(int number) { return figures[number - 1]; }
    int participantAt(int place) const { return order[place - 1]; }
    // The place of a participant; 0 for a number outside the table (the "no opponent" 0).
    int placeOf(int number) const {
        return number >= 1 && number <= figures.size() ? figures[number - 1].place : 0;
    }
};

// Scores every round, then runs computeSwissRatings and orders the places: points
// first, Buchholz second, by the exchange procedure the tables have always used. A round
// a participant sits out (on no board) brings the points of its recorded absence
// (tournament.extras: H ½, F 1, Z 0) and no opponent, colour or rated game, as a bye does.
SwissStandings computeSwissStandings(const SwissTournament& tournament);

// Whether the participant has withdrawn for good: withdrawn for the round after the
// last one paired, without a round to come back. The lists and reports mark such rows.
bool withdrawnAfter(const SwissTournament& tournament, int participant);

// Decimal texts as the lists and reports write them.
QString pointsText(float points);      // one decimal
QString coefficientText(double value); // two decimals
QString floatText(double value);       // one decimal

// The "Соперники" text of the standings list: the places of the opponents of rounds
// 1..R joined by ",", 0 for a round against the bye participant or without a game.
QString opponentPlacesText(const SwissStandings& standings, int number);
// The same with the opponents' numbers, as the pairing lists show them.
QString opponentNumbersText(const SwissStandings& standings, int number);

} // namespace ladya
