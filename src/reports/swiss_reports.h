// The two Swiss reports: the crosstable (the standings as a landscape page) and one
// participant's statistics, each as a whole page for file.html. Written with
// writeReportFile like the round-robin reports.
#pragma once

#include "reports/html_frame.h"
#include "swiss/swiss_file.h"
#include "swiss/swiss_standings.h"

namespace ladya {

// The standings in their order, the bye participant left out, with a column per round.
html::HtmlReport swissCrosstableReport(const SwissTournament& tournament,
                                       const SwissStandings& standings);

// The games of participant `number` (1-based, the bye participant's number allowed)
// round by round and the participant's final result.
html::HtmlReport swissStatisticsReport(const SwissTournament& tournament,
                                       const SwissStandings& standings, int number);

} // namespace ladya
