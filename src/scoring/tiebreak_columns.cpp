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

QStringList insertedCells(QStringList row, qsizetype at, const QStringList& inserted) {
    at = std::min(at, row.size());
    for (qsizetype k = 0; k < inserted.size(); ++k)
        row.insert(at + k, inserted.at(k));
    return row;
}

QVector<ListColumn> insertedColumns(QVector<ListColumn> columns, qsizetype at,
                                    const QVector<ListColumn>& inserted) {
    at = std::min(at, columns.size());
    for (qsizetype k = 0; k < inserted.size(); ++k)
        columns.insert(at + k, inserted.at(k));
    return columns;
}

} // namespace ladya
