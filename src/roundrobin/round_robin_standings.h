// Scoring a round-robin from its results: points, forfeit wins, Sonneborn-Berger,
// the order of places and the crosstable with the texts of its cells.
#pragma once

#include "roundrobin/round_robin_file.h"

#include <QString>
#include <QVector>

namespace ladya {

// The games of a tournament linked to participant rows once, so that the passes over
// the schedule need no search by name.
struct GameLinks {
    enum class Code : unsigned char { Unplayed, Win, Loss, Draw, ForfeitWin, ForfeitLoss };
    struct Game {
        int white = -1; // first row (0-based) bearing the name; −1 when no row does
        int black = -1;
        Code whiteCode = Code::Unplayed;
        Code blackCode = Code::Unplayed;
        bool againstBye = false; // one side is the bye row "**": scored, never rated
    };
    QVector<Game> games; // every round's boards in order
    // Next row (0-based) with the same name as this row, −1 after the last. Games
    // name players only, so a game belongs to every row bearing its name.
    QVector<int> nextSameName;

    static Code codeOf(const QString& code);
};
GameLinks linkGames(const RoundRobinTournament& tournament);

struct StandingsEntry {
    float points = 0.0f;
    int forfeitWins = 0;
    double sonnebornBerger = 0.0;
    int place = 0; // 1..N, never shared
};

struct RoundRobinStandings {
    QVector<StandingsEntry> rows; // by participant row (0-based)
    QVector<int> placeOrder;      // participant numbers (1-based), the winner first

    const StandingsEntry& of(int number) const { return rows.at(number - 1); }
};

// Points, forfeit wins and Sonneborn-Berger of every participant; places not yet set.
RoundRobinStandings computeStandings(const RoundRobinTournament& tournament);
RoundRobinStandings computeStandings(const RoundRobinTournament& tournament,
                                     const GameLinks& links);

// Orders places by points, then Sonneborn-Berger, both higher first, by the exchange
// procedure the club's tables have always used: participants equal in both keep the
// order the exchanges leave them in, which is not the stable order.
void orderPlaces(RoundRobinStandings& standings);

// Cell (i, j): participant i's games against j summed as +1 for a win (forfeit or
// not), +0.5 for a draw, −10 for a loss (forfeit or not), −100 for an unplayed game;
// the diagonal holds 88.
struct Crosstable {
    int size = 0;
    QVector<double> cells;
    double at(int row, int column) const { return cells.at((row - 1) * size + (column - 1)); }
};
Crosstable buildCrosstable(const RoundRobinTournament& tournament);
Crosstable buildCrosstable(const RoundRobinTournament& tournament, const GameLinks& links);

inline constexpr double CrosstableDiagonal = 88.0;

// What the crosstable shows for a cell value: the score over the games that have a
// result, "" when none has, "***" on the diagonal.
QString cellText(double value);

} // namespace ladya
