// The Swiss standings ranked by a chosen tie-break list: the lists, the reports and
// ladya-cli show the program's own columns as they are, with one column per entry of the
// list after the points, the rows in the list's order and the shared places ("3–4").
#pragma once

#include "common/list_column.h"
#include "common/result.h"
#include "scoring/tiebreaks.h"
#include "swiss/swiss_file.h"
#include "swiss/swiss_rows.h"
#include "swiss/swiss_standings.h"

#include <QStringList>
#include <QVector>

namespace ladya {

// Chooses the tie-break list (its text as the director or the CLI writes it; "" for
// none, the program's own order) until the tournament is finished: the list is stored
// as tieBreakListText writes it. Refused, naming what is wrong, for a finished
// tournament and for a text parseTieBreakList refuses; the tournament is then left as
// it was. Saving is the caller's (saveSwiss keeps it in the companion file).
Result<> setSwissTieBreaks(SwissTournament& tournament, const QString& listText);

// The standings ranked by the list, as the window ranks them (swiss_rows.h).
using SwissTieBreakStandings = SwissRankedStandings;

SwissTieBreakStandings swissTieBreakStandings(const SwissTournament& tournament,
                                              const SwissStandings& standings,
                                              const TieBreakList& list);

// The standings list's columns with the list's after "Очки", and its rows.
QVector<ListColumn> swissTieBreakStandingsColumns(const TieBreakList& list);
QVector<QStringList> swissTieBreakStandingsRows(const SwissTournament& tournament,
                                                const SwissTieBreakStandings& ranked);

// Where the list's columns stand in the standings list: after "Очки".
inline constexpr int SwissTieBreakColumn = 5;

} // namespace ladya
