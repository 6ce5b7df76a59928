// The three round-robin reports: the crosstable, the round schedule and one
// participant's statistics, each as a whole page for file.html.
#pragma once

#include "common/message.h"
#include "common/result.h"
#include "reports/html_frame.h"
#include "roundrobin/round_robin_file.h"
#include "roundrobin/round_robin_rows.h"

#include <optional>

namespace ladya {

// The results table as a landscape page: N + 13 columns, the header, the participant
// rows and the summary rows.
html::HtmlReport crosstableReport(const RoundRobinTournament& tournament,
                                  const RoundRobinResults& results);

// The rounds side by side in pairs; an odd last round stands alone.
html::HtmlReport scheduleReport(const RoundRobinTournament& tournament);

// The games of participant `number` (1-based) round by round, with the coefficient and
// norms when the coefficient is at least 1.0, and the participant's final result.
html::HtmlReport participantStatisticsReport(const RoundRobinTournament& tournament,
                                             const RoundRobinResults& results, int number);

// The header of the printed sheets: the tournament's name and dates.
QString roundRobinPageHeader(const RoundRobinTournament& tournament);

// Replaces file.html in the working folder. Fails with the message to show when it
// cannot be written (a report that silently fails to appear would be taken as printed).
Result<> writeReportFile(const QString& workingDir, const html::HtmlReport& report);

} // namespace ladya
