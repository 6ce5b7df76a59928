// `ladya-cli report KIND FILE [N] [-o PATH] [--pdf OUT.pdf]`, the part every report
// shares: reading the arguments and delivering the page. Each kind loads its own file
// and renders its own reports.
#pragma once

#include "common/cli_output.h"
#include "common/print_document.h"
#include "reports/html_frame.h"
#include "roundrobin/round_robin_file.h"
#include "swiss/swiss_file.h"

#include <QString>
#include <QStringList>
#include <optional>

namespace ladya {

struct ReportRequest {
    QString kind; // one of the kinds the caller offered
    QString file;
    QString participant;               // the N of a stats report as typed, "" for the others
    QString round;                     // the ROUND of a pairings report as typed, "" if none
    std::optional<QString> outputPath; // -o PATH; nothing means stdout (unless --pdf)
    std::optional<QString> pdfPath;    // --pdf OUT.pdf

    // N as a participant number of a tournament of `count` participants: nothing when
    // it is not a number in 1..count.
    std::optional<int> participantNumber(int count) const;
    // The refusal of an N that participantNumber did not take.
    CliOutput participantOutOfRange(int count) const;
};

struct ParsedReportRequest {
    std::optional<ReportRequest> request;
    CliOutput error; // set when !request
};

// `args` as given to runCli ("report" first). `kinds` are the reports the file's kind
// offers; "stats" takes N, "pairings" an optional ROUND. -o and --pdf may stand anywhere
// after FILE, once each.
ParsedReportRequest parseReportRequest(const QStringList& args, const QStringList& kinds);

// The refusal of an -o that names a tournament or player file (.kr2, .swz, .dat): a
// page written there would lose the data it replaced.
std::optional<CliOutput> refuseDataFileOutput(const QString& path);

// The page exactly as file.html would receive it: on stdout, or with -o replacing PATH
// atomically; with --pdf also (or only) printed to a PDF, `header` heading its sheets.
CliOutput deliverReport(const ReportRequest& request, const html::HtmlReport& report,
                        const QString& header);
CliOutput deliverReport(const std::optional<QString>& outputPath,
                        const std::optional<QString>& pdfPath, const html::HtmlReport& report,
                        const QString& header);

// "report pairings": the sheet of the round the request names, by default a Swiss's
// last paired round and a round-robin's round in play; a round outside the tournament
// (or a Swiss with none paired) is refused.
CliOutput deliverPairingSheet(const ReportRequest& request, const SwissTournament& tournament);
CliOutput deliverPairingSheet(const ReportRequest& request, const RoundRobinTournament& tournament);

// The PDF of a document. Drawing needs fonts, which the core does not link: the program
// that can draw installs it; without one, --pdf is refused.
using PdfRenderer = QByteArray (*)(const PrintDocument& document);
void setPdfRenderer(PdfRenderer renderer);

} // namespace ladya
