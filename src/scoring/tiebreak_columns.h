// The columns a chosen tie-break list adds to the lists and reports: one per entry,
// titled by its acronym, right after the points.
#pragma once

#include "common/list_column.h"
#include "scoring/tiebreaks.h"

#include <QStringList>
#include <QVector>

namespace ladya {

// The list's columns: "BH-C1", "SB", ... each `width` pixels wide.
QVector<ListColumn> tieBreakColumns(const TieBreakList& list, int width = 45);

// Player `index`'s values of every entry, as the lists write them.
QStringList tieBreakCells(const TieBreakList& list, const TieBreakRanking& ranking, int index);

// `row` with `inserted` put in at `at` (its size when `at` is beyond it).
QStringList insertedCells(QStringList row, qsizetype at, const QStringList& inserted);
QVector<ListColumn> insertedColumns(QVector<ListColumn> columns, qsizetype at,
                                    const QVector<ListColumn>& inserted);

} // namespace ladya
