#include "swiss/swiss_tiebreak_list.h"

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

// The ranking and rows the windows show (swiss_rows.h), so that the CLI and the reports
// print what the director sees.
SwissTieBreakStandings swissTieBreakStandings(const SwissTournament& tournament,
                                              const SwissStandings& standings,
                                              const TieBreakList& list) {
    return rankSwissStandings(tournament, standings, list);
}

QVector<ListColumn> swissTieBreakStandingsColumns(const TieBreakList& list) {
    return swissStandingsColumns(list);
}

QVector<QStringList> swissTieBreakStandingsRows(const SwissTournament& tournament,
                                                const SwissTieBreakStandings& ranked) {
    QVector<QStringList> rows;
    rows.reserve(ranked.rowCount());
    for (int row = 1; row <= ranked.rowCount(); ++row)
        rows.append(swissStandingsRow(tournament, ranked, row));
    return rows;
}

} // namespace ladya
