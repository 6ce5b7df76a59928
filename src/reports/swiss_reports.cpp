#include "reports/swiss_reports.h"

namespace ladya {

html::HtmlReport swissCrosstableReport(const SwissTournament&, const SwissStandings&) {
    return html::HtmlReport(html::PageLayout::Narrow);
}

html::HtmlReport swissStatisticsReport(const SwissTournament&, const SwissStandings&, int) {
    return html::HtmlReport(html::PageLayout::Narrow);
}

} // namespace ladya
