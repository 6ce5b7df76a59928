// The rows of the Swiss lists as the window, the reports and ladya-cli show them: the
// game list of a round and the standings list.
#pragma once

#include "common/list_column.h"
#include "scoring/tiebreaks.h"
#include "swiss/swiss_file.h"
#include "swiss/swiss_standings.h"

#include <QString>
#include <QStringList>
#include <QVector>

namespace ladya {

// The game list of a round: "№", "Белые", "Черные", "Результат". A round that is not
// paired (round 0 of a new tournament) gives its N / 2 rows with their numbers alone.
QVector<ListColumn> swissGameColumns();
QStringList swissGameRow(const SwissTournament& tournament, int round, int board);
// The boards a round's game list shows, in order: its real boards (a spare empty board
// is not shown), every board of a round not paired.
QVector<int> swissShownBoards(const SwissTournament& tournament, int round);
// The row of a participant who sits out a paired round: the name and what the round
// brings ("бай ½", "не играет", "выбыл", "поздний участник") with its points.
QStringList swissAbsenceRow(const SwissTournament& tournament, const RoundAbsence& absence);
// The shown boards, then a row for each participant who sits out the round.
QVector<QStringList> swissGameRows(const SwissTournament& tournament, int round);
// Real boards of the last round without a result; 0 while no round is paired.
int swissUnplayedCount(const SwissTournament& tournament);

// The sixteen columns of the standings list, a row per place.
QVector<ListColumn> swissStandingsColumns();
QStringList swissStandingsRow(const SwissTournament& tournament, const SwissStandings& standings,
                              int place);
QVector<QStringList> swissStandingsRows(const SwissTournament& tournament,
                                        const SwissStandings& standings);

// The standings as the tournament's tie-break list ranks them (an empty list: as the
// program ranks them, and nothing else changes).
struct SwissRankedStandings {
    TieBreakList list;
    TieBreakRanking ranking;
    // The program's figures with the list's order and places; the bye participant, whom
    // the list never ranks, is left out, and "Соперники" names the places of this order.
    SwissStandings standings;

    int rowCount() const { return int(ranking.order.size()); }
    // The participant number at row `row` (1-based), the row's place text ("3", "3–4")
    // and its values of the list.
    int participantAt(int row) const { return ranking.order.at(std::size_t(row - 1)) + 1; }
    QString placeText(int row) const;
    QStringList tieBreakCells(int row) const;
};
SwissRankedStandings rankSwissStandings(const SwissTournament& tournament,
                                        const SwissStandings& standings, const TieBreakList& list);
// The columns of the standings list with a column per entry of the list right after
// "Очки", titled as the regulations write the entry.
QVector<ListColumn> swissStandingsColumns(const TieBreakList& list);
// A row of that list: the shared place ("3–4"), the program's figures and, after the
// points, the list's values.
QStringList swissStandingsRow(const SwissTournament& tournament, const SwissRankedStandings& ranked,
                              int place);

} // namespace ladya
