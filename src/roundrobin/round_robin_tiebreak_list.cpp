#include "roundrobin/round_robin_tiebreak_list.h"

#include "roundrobin/round_robin_tiebreaks.h"
#include "scoring/tiebreak_columns.h"

#include <QCoreApplication>

namespace ladya {

Result<> setRoundRobinTieBreaks(RoundRobinTournament& tournament, const QString& listText) {
    if (tournament.state.isFinished())
        return Message{
            QCoreApplication::translate("TieBreakList", "Тай-брейки"),
            QCoreApplication::translate("TieBreakList",
                                        "Турнир завершён: порядок мест в нём больше не меняется.")};
    const Result<TieBreakList> list = parseTieBreakList(listText);
    if (!list)
        return list.failure();
    tournament.tieBreaks = tieBreakListText(*list);
    return {};
}

namespace {

// "Очки" in the standings list, and in the results table after the participants'
// columns and the separator.
constexpr int StandingsPointsColumn = 4;
int tablePointsColumn(int participantCount) {
    return 4 + participantCount + 1;
}

} // namespace

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
    return {list, rankByTieBreaks(roundRobinTieBreakField(tournament), list)};
}

QVector<ListColumn> roundRobinTieBreakStandingsColumns(const TieBreakList& list) {
    return insertedColumns(standingsColumns(), StandingsPointsColumn + 1, tieBreakColumns(list));
}

QVector<QStringList> roundRobinTieBreakStandingsRows(const RoundRobinTournament& tournament,
                                                     const RoundRobinStandings& standings,
                                                     const RoundRobinTieBreakStandings& ranked) {
    QVector<QStringList> rows;
    rows.reserve(ranked.rowCount());
    for (int row = 1; row <= ranked.rowCount(); ++row) {
        const int number = ranked.participantAt(row);
        const Participant& p = tournament.participant(number);
        const StandingsEntry& s = standings.of(number);
        rows.append(insertedCells({ranked.placeOf(number), p.name, p.category, p.rating,
                                   formatFixed(s.points, 1), formatFixed(s.sonnebornBerger, 2)},
                                  StandingsPointsColumn + 1, ranked.tieBreakCells(number)));
    }
    return rows;
}

QVector<ListColumn> roundRobinTieBreakTableColumns(int participantCount, const TieBreakList& list) {
    return insertedColumns(resultsTableColumns(participantCount),
                           tablePointsColumn(participantCount) + 1, tieBreakColumns(list, 45));
}

QVector<QStringList> roundRobinTieBreakTableRows(const RoundRobinTournament& tournament,
                                                 const RoundRobinResults& results,
                                                 const RoundRobinTieBreakStandings& ranked) {
    const int n = tournament.participantCount();
    const int at = tablePointsColumn(n) + 1;
    QVector<QStringList> rows = resultsTableRows(tournament, results);
    for (qsizetype k = 0; k < rows.size(); ++k) {
        if (k < n) {
            rows[k][at] = ranked.placeOf(int(k) + 1);
            rows[k] = insertedCells(rows[k], at, ranked.tieBreakCells(int(k) + 1));
        } else {
            // The coefficient and norm rows, padded to the wider table.
            rows[k] = insertedCells(rows[k], at, QStringList(qsizetype(ranked.list.size())));
        }
    }
    return rows;
}

} // namespace ladya
