// The round-robin standings ranked by a chosen tie-break list: the lists, the reports
// and ladya-cli show the program's own columns as they are, with one column per entry of
// the list after the points and the places the list gives, shared ones as "3–4".
#pragma once

#include "common/list_column.h"
#include "common/result.h"
#include "roundrobin/round_robin_rows.h"
#include "scoring/tiebreaks.h"

#include <QStringList>
#include <QVector>

namespace ladya {

// Chooses the tie-break list (its text as the director or the CLI writes it; "" for
// none, the program's own order) until the tournament is finished: the list is stored
// as tieBreakListText writes it. Refused, naming what is wrong, for a finished
// tournament and for a text parseTieBreakList refuses; the tournament is then left as
// it was. Saving is the caller's (saveRoundRobinTieBreaks keeps it in the .krx).
Result<> setRoundRobinTieBreaks(RoundRobinTournament& tournament, const QString& listText);

struct RoundRobinTieBreakStandings {
    TieBreakList list;
    TieBreakRanking ranking; // player index = participant number − 1

    int rowCount() const { return int(ranking.order.size()); }
    // The participant number at row `row` (1-based) of the list's order.
    int participantAt(int row) const { return ranking.order.at(std::size_t(row - 1)) + 1; }
    // Whether participant `number` is ranked: the bye row of an odd field is not.
    bool isRanked(int number) const;
    // The place of participant `number` ("3", "3–4") and its values of the list; empty
    // texts for the bye row.
    QString placeOf(int number) const;
    QStringList tieBreakCells(int number) const;
};

RoundRobinTieBreakStandings roundRobinTieBreakStandings(const RoundRobinTournament& tournament,
                                                        const TieBreakList& list);

// The standings list's columns with the list's after "Очки", and its rows in the
// list's order.
QVector<ListColumn> roundRobinTieBreakStandingsColumns(const TieBreakList& list);
QVector<QStringList> roundRobinTieBreakStandingsRows(const RoundRobinTournament& tournament,
                                                     const RoundRobinStandings& standings,
                                                     const RoundRobinTieBreakStandings& ranked);

// The results table with the list's columns after "Очки" and the list's places in
// "Место"; the rows stay in table order, so that the diagonal stays a diagonal.
QVector<ListColumn> roundRobinTieBreakTableColumns(int participantCount, const TieBreakList& list);
QVector<QStringList> roundRobinTieBreakTableRows(const RoundRobinTournament& tournament,
                                                 const RoundRobinResults& results,
                                                 const RoundRobinTieBreakStandings& ranked);

} // namespace ladya
