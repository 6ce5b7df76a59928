// Everything computed from a round-robin in one pass, and the rows of its lists as
// the windows, the reports and ladya-cli show them.
#pragma once

#include "common/list_column.h"
#include "roundrobin/round_robin_rating.h"
#include "roundrobin/round_robin_standings.h"
#include "scoring/tiebreaks.h"

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

// The tournament's tie-break list as the lists use it: "" or a text the program cannot
// read is the empty list, the program's own order.
TieBreakList roundRobinTieBreakList(const RoundRobinTournament& tournament);
// The ranking by `list`; nothing is computed for the empty list (the program's own order).
TieBreakRanking roundRobinTieBreakRanking(const RoundRobinTournament& tournament,
                                          const TieBreakList& list);
// With a tie-break list: a column per entry right after "Очки", titled as the
// regulations write it, and the rows in the list's order with shared places ("3–4"); the
// bye row, which the list never ranks, is left out. An empty list gives the lists above.
QVector<ListColumn> standingsColumns(const TieBreakList& list);
QVector<QStringList> standingsRows(const RoundRobinTournament& tournament,
                                   const RoundRobinStandings& standings, const TieBreakList& list,
                                   const TieBreakRanking& ranking);

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
// The same with a tie-break list: its columns after "Очки", and "Место" the place the
// list gives (shared "3–4", empty for the bye row); the rows stay in table order.
QVector<ListColumn> resultsTableColumns(int participantCount, const TieBreakList& list);
QVector<QStringList> resultsTableRows(const RoundRobinTournament& tournament,
                                      const RoundRobinResults& results, const TieBreakList& list,
                                      const TieBreakRanking& ranking);

} // namespace ladya
