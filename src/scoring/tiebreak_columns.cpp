#include "scoring/tiebreak_columns.h"

namespace ladya {

QVector<ListColumn> tieBreakColumns(const TieBreakList& list, int width) {
    QVector<ListColumn> columns;
    columns.reserve(qsizetype(list.size()));
    for (const TieBreak& tb : list)
        columns.append({tieBreakTitle(tb), width});
    return columns;
}

QStringList tieBreakCells(const TieBreakList& list, const TieBreakRanking& ranking, int index) {
    QStringList cells;
    cells.reserve(qsizetype(list.size()));
    for (std::size_t k = 0; k < list.size(); ++k)
        cells << tieBreakValueText(list[k], ranking.values.at(std::size_t(index)).at(k));
    return cells;
}

} // namespace ladya
