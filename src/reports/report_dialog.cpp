#include "reports/report_dialog.h"

#include "common/tournament_state.h"
#include "reports/report_print.h"
#include "reports/round_robin_reports.h"

#include <QDir>
#include <QUrl>

namespace ladya {

void writeAndOfferReport(ui::Platform& platform, QWidget* parent, const QString& workingDir,
                         const html::HtmlReport& report, const QString& header) {
    if (const Result<> written = writeReportFile(workingDir, report); !written) {
        platform.showMessage(parent, written.failure());
        return;
    }
    const QString path = QDir(workingDir).absoluteFilePath(FileNames::Report);
    switch (reportChoice(platform.ask(parent, reportWrittenMessage(path), reportChoices()))) {
    case ReportChoice::OpenInBrowser:
        if (!platform.openUrl(QUrl::fromLocalFile(path)))
            platform.showMessage(parent, browserFailedMessage(path));
        break;
    case ReportChoice::Print:
        platform.printPreview(parent, printDocument(report, header));
        break;
    case ReportChoice::Close:
        break;
    }
}

} // namespace ladya
