// The two Swiss reports: the crosstable (the standings as a landscape page) and one
// participant's statistics, each as a whole page for file.html. Written with
// writeReportFile like the round-robin reports.
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
html::HtmlReport swissCrosstableReport(const SwissTournament& tournament,
                                       const SwissStandings& standings);

// The games of participant `number` (1-based, the bye participant's number allowed)
// round by round and the participant's final result; a narrow page. Results are in
// white–black notation, a double forfeit as "(-)-(-)". A number outside the table gives
// the empty page.
html::HtmlReport swissStatisticsReport(const SwissTournament& tournament,
                                       const SwissStandings& standings, int number);

// The header of the printed sheets: the tournament's name and dates.
QString swissPageHeader(const SwissTournament& tournament);

} // namespace ladya
