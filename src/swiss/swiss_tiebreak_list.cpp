#include "swiss/swiss_tiebreak_list.h"

#include "scoring/tiebreak_columns.h"
#include "scoring/tiebreak_list_controller.h"
#include "swiss/swiss_rows.h"
#include "swiss/swiss_tiebreaks.h"

namespace ladya {

Result<> setSwissTieBreaks(SwissTournament& tournament, const QString& listText) {
    const Result<QString> stored = tieBreakListToStore(listText, tournament.state.isFinished());
    if (!stored)
        return stored.failure();
    tournament.extras.tieBreaks = *stored;
    return {};
}

QString SwissTieBreakStandings::placeText(int row) const {
    const std::size_t index = std::size_t(participantAt(row) - 1);
    return sharedPlaceText(ranking.firstPlace.at(index), ranking.lastPlace.at(index));
}

QStringList SwissTieBreakStandings::tieBreakCells(int row) const {
    return ladya::tieBreakCells(list, ranking, participantAt(row) - 1);
}

// The ranking and rows the windows show (swiss_rows.h), so that the CLI and the reports
// print what the director sees.
SwissTieBreakStandings swissTieBreakStandings(const SwissTournament& tournament,
                                              const SwissStandings& standings,
                                              const TieBreakList& list) {
    SwissRankedStandings ranked = rankSwissStandings(tournament, standings, list);
    return {std::move(ranked.list), std::move(ranked.ranking), std::move(ranked.standings)};
}

QVector<ListColumn> swissTieBreakStandingsColumns(const TieBreakList& list) {
    return swissStandingsColumns(list);
}

QVector<QStringList> swissTieBreakStandingsRows(const SwissTournament& tournament,
                                                const SwissTieBreakStandings& ranked) {
    const SwissRankedStandings shown{ranked.list, ranked.ranking, ranked.standings};
    QVector<QStringList> rows;
    rows.reserve(ranked.rowCount());
    for (int row = 1; row <= ranked.rowCount(); ++row)
        rows.append(swissStandingsRow(tournament, shown, row));
    return rows;
}

} // namespace ladya
