// The Swiss reports: the crosstable (the standings as a landscape page), one
// participant's statistics and the final standings, each as a whole page for file.html. Written
// with writeReportFile like the round-robin reports.
#pragma once

#include "reports/html_frame.h"
#include "swiss/swiss_file.h"
#include "swiss/swiss_standings.h"

namespace ladya {

// The standings list as a landscape page of R + 15 columns: the list's rows in their
// order, the bye participant's left out, "Соперники" replaced by a cell per round that
// reads opponent's place + colour ("б"/"ч") + own result ("3б1", "5ч1/2"); a forfeit
// drops the colour ("7+", a double forfeit "7-"), a game against the bye participant
// shows the result alone.
// With a tie-break list chosen (extras.tieBreaks) the rows follow the list, the places
// are the list's (shared ones "3–4", the round cells naming the opponent's row), a
// column per tie-break stands after "Очки", and a legend below spells out every
// abbreviation of the page.
html::HtmlReport swissCrosstableReport(const SwissTournament& tournament,
                                       const SwissStandings& standings);

// The games of participant `number` (1-based, the bye participant's number allowed)
// round by round and the participant's final result; a narrow page. Results are in
// white–black notation, a double forfeit as "(-)-(-)". A number outside the table gives
// the empty page.
html::HtmlReport swissStatisticsReport(const SwissTournament& tournament,
                                       const SwissStandings& standings, int number);

// The final standings, a narrow page: place, number, name, rating, points and a column
// per tie-break of the chosen list, in the list's order with shared places ("3–4");
// without a list the program's own order with its Buchholz column. A legend below
// spells out the tie-breaks. The bye participant has no row.
html::HtmlReport swissFinalStandingsReport(const SwissTournament& tournament,
                                           const SwissStandings& standings);

// The header of the printed sheets: the tournament's name and dates.
QString swissPageHeader(const SwissTournament& tournament);

} // namespace ladya
