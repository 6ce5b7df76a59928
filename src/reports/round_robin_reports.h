// The round-robin reports: the crosstable, the round schedule, one participant's
// statistics and the final standings, each as a whole page for file.html.
#pragma once

#include "common/message.h"
#include "common/result.h"
#include "reports/html_frame.h"
#include "roundrobin/round_robin_file.h"
#include "roundrobin/round_robin_rows.h"

#include <optional>

namespace ladya {

// The results table as a landscape page: N + 13 columns, the header, the participant
// rows and the summary rows. With a tie-break list chosen (tournament.tieBreaks) a
// column per tie-break stands after "Очки", "Место" holds the list's places (shared
// ones "3–4"; the rows stay in table order, so that the diagonal stays one), and a
// legend below spells out every abbreviation of the page.
html::HtmlReport crosstableReport(const RoundRobinTournament& tournament,
                                  const RoundRobinResults& results);

// The rounds side by side in pairs; an odd last round stands alone.
html::HtmlReport scheduleReport(const RoundRobinTournament& tournament);

// The games of participant `number` (1-based) round by round, with the coefficient and
// norms when the coefficient is at least 1.0, and the participant's final result.
html::HtmlReport participantStatisticsReport(const RoundRobinTournament& tournament,
                                             const RoundRobinResults& results, int number);

// The final standings, a narrow page: place, number, name, rating, points and a column
// per tie-break of the chosen list, in the list's order with shared places ("3–4");
// without a list the program's own order with its Sonneborn-Berger column. A legend
// below spells out the tie-breaks. The bye row of an odd field has no row.
html::HtmlReport roundRobinFinalStandingsReport(const RoundRobinTournament& tournament,
                                                const RoundRobinResults& results);

// The header of the printed sheets: the tournament's name and dates.
QString roundRobinPageHeader(const RoundRobinTournament& tournament);

// Replaces file.html in the working folder. Fails with the message to show when it
// cannot be written (a report that silently fails to appear would be taken as printed).
Result<> writeReportFile(const QString& workingDir, const html::HtmlReport& report);

} // namespace ladya
