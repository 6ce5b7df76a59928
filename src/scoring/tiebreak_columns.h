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

} // namespace ladya
