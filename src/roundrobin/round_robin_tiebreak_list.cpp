#include "roundrobin/round_robin_tiebreak_list.h"

#include "scoring/tiebreak_columns.h"
#include "scoring/tiebreak_list_controller.h"

#include <algorithm>

namespace ladya {

Result<> setRoundRobinTieBreaks(RoundRobinTournament& tournament, const QString& listText) {
    const Result<QString> stored = tieBreakListToStore(listText, tournament.state.isFinished());
    if (!stored)
        return stored.failure();
    tournament.tieBreaks = *stored;
    return {};
}

bool RoundRobinTieBreakStandings::isRanked(int number) const {
    return std::find(ranking.order.begin(), ranking.order.end(), number - 1) != ranking.order.end();
}

QString RoundRobinTieBreakStandings::placeOf(int number) const {
    if (!isRanked(number))
        return QString();
    const std::size_t index = std::size_t(number - 1);
    return sharedPlaceText(ranking.firstPlace.at(index), ranking.lastPlace.at(index));
}

QStringList RoundRobinTieBreakStandings::tieBreakCells(int number) const {
    if (!isRanked(number))
        return QStringList(qsizetype(list.size()));
    return ladya::tieBreakCells(list, ranking, number - 1);
}

RoundRobinTieBreakStandings roundRobinTieBreakStandings(const RoundRobinTournament& tournament,
                                                        const TieBreakList& list) {
    return {list, roundRobinTieBreakRanking(tournament, list)};
}

// The lists the windows show (round_robin_rows.h), so that the CLI and the reports print
// what the director sees.
QVector<ListColumn> roundRobinTieBreakStandingsColumns(const TieBreakList& list) {
    return standingsColumns(list);
}

QVector<QStringList> roundRobinTieBreakStandingsRows(const RoundRobinTournament& tournament,
                                                     const RoundRobinStandings& standings,
                                                     const RoundRobinTieBreakStandings& ranked) {
    return standingsRows(tournament, standings, ranked.list, ranked.ranking);
}

QVector<ListColumn> roundRobinTieBreakTableColumns(int participantCount, const TieBreakList& list) {
    return resultsTableColumns(participantCount, list);
}

QVector<QStringList> roundRobinTieBreakTableRows(const RoundRobinTournament& tournament,
                                                 const RoundRobinResults& results,
                                                 const RoundRobinTieBreakStandings& ranked) {
    return resultsTableRows(tournament, results, ranked.list, ranked.ranking);
}

} // namespace ladya
