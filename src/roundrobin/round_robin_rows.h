// Everything computed from a round-robin in one pass, and the rows of its lists as
// the windows, the reports and ladya-cli show them.
#pragma once

#include "common/list_column.h"
#include "roundrobin/round_robin_rating.h"
#include "roundrobin/round_robin_standings.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace ladya {

// The full recomputation after every change: standings, coefficient and norms,
// ratings, places and crosstable.
struct RoundRobinResults {
    RoundRobinStandings standings; // places ordered
    CoefficientAndNorms norms;
    QVector<RatingEntry> ratings;
    Crosstable crosstable;
};
RoundRobinResults computeRoundRobin(const RoundRobinTournament& tournament);

// The game list of the tournament window: "№", "Белые", "Черные", "Результат".
QVector<ListColumn> gameListColumns();
// Board number, White, Black, and White's code + "-" + Black's code once played.
QVector<QStringList> gameRows(const RoundRobinTournament& tournament, int round);

// The standings list: "Место", "Участник", "Разряд", "Рейтинг", "Очки", "Коэфф ЗБ".
QVector<ListColumn> standingsColumns();
QVector<QStringList> standingsRows(const RoundRobinTournament& tournament,
                                   const RoundRobinStandings& standings);

// The statistics window's participant list: "№", "Список игроков", "Разряд",
// "Рейтинг", "Очки", in table order.
QVector<ListColumn> statisticsParticipantColumns();
QVector<QStringList> statisticsParticipantRows(const RoundRobinTournament& tournament,
                                               const RoundRobinStandings& standings);

// One participant's games: "  Тур", "Белые", "Результат", "Черные".
QVector<ListColumn> participantGamesColumns();
QVector<QStringList> participantGames(const RoundRobinTournament& tournament, int number);

// The results table: N + 13 columns, the participant rows in table order and, from a
// coefficient of 1.0 on, the coefficient and norm rows, all padded to N + 13 cells.
QVector<ListColumn> resultsTableColumns(int participantCount);
QVector<QStringList> resultsTableRows(const RoundRobinTournament& tournament,
                                      const RoundRobinResults& results);

} // namespace ladya
