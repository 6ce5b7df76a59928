#include "swiss/swiss_tiebreak_list.h"

#include "scoring/tiebreak_columns.h"
#include "swiss/swiss_rows.h"
#include "swiss/swiss_tiebreaks.h"

#include <QCoreApplication>

namespace ladya {

Result<> setSwissTieBreaks(SwissTournament& tournament, const QString& listText) {
    if (tournament.state.isFinished())
        return Message{
            QCoreApplication::translate("TieBreakList", "Тай-брейки"),
            QCoreApplication::translate("TieBreakList",
                                        "Турнир завершён: порядок мест в нём больше не меняется.")};
    const Result<TieBreakList> list = parseTieBreakList(listText);
    if (!list)
        return list.failure();
    tournament.extras.tieBreaks = tieBreakListText(*list);
    return {};
}

QString SwissTieBreakStandings::placeText(int row) const {
    const std::size_t index = std::size_t(participantAt(row) - 1);
    return sharedPlaceText(ranking.firstPlace.at(index), ranking.lastPlace.at(index));
}

QStringList SwissTieBreakStandings::tieBreakCells(int row) const {
    return ladya::tieBreakCells(list, ranking, participantAt(row) - 1);
}

SwissTieBreakStandings swissTieBreakStandings(const SwissTournament& tournament,
                                              const SwissStandings& standings,
                                              const TieBreakList& list) {
    SwissTieBreakStandings ranked{list, rankByTieBreaks(swissTieBreakField(tournament), list),
                                  standings};
    ranked.standings.order.clear();
    for (SwissFigures& f : ranked.standings.figures)
        f.place = 0;
    for (int row = 1; row <= ranked.rowCount(); ++row) {
        const int number = ranked.participantAt(row);
        ranked.standings.order.append(number);
        ranked.standings.of(number).place = row;
    }
    return ranked;
}

QVector<ListColumn> swissTieBreakStandingsColumns(const TieBreakList& list) {
    return insertedColumns(swissStandingsColumns(), SwissTieBreakColumn, tieBreakColumns(list));
}

QVector<QStringList> swissTieBreakStandingsRows(const SwissTournament& tournament,
                                                const SwissTieBreakStandings& ranked) {
    QVector<QStringList> rows;
    rows.reserve(ranked.rowCount());
    for (int row = 1; row <= ranked.rowCount(); ++row) {
        QStringList cells = swissStandingsRow(tournament, ranked.standings, row);
        cells[0] = ranked.placeText(row);
        rows.append(insertedCells(cells, SwissTieBreakColumn, ranked.tieBreakCells(row)));
    }
    return rows;
}

} // namespace ladya
