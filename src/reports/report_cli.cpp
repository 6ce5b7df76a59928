#include "reports/report_cli.h"

#include "common/text_file.h"
#include "reports/pairing_sheet.h"
#include "reports/report_print.h"
#include "reports/round_robin_reports.h"
#include "reports/swiss_reports.h"

#include <QFileInfo>

namespace ladya {

namespace {

const QString Stats = QStringLiteral("stats");
const QString Pairings = QStringLiteral("pairings");

PdfRenderer installedRenderer = nullptr;

CliOutput writeFailure(const QString& path, const QString& reason) {
    return CliOutput::failure(
        QStringLiteral("ladya-cli: report: cannot write %1: %2").arg(path, reason));
}

CliOutput usageError(const QString& usage) {
    return CliOutput::failure(
        QStringLiteral("ladya-cli: report: usage: ladya-cli report %1").arg(usage));
}

} // namespace

std::optional<CliOutput> refuseDataFileOutput(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != QStringLiteral("kr2") && suffix != QStringLiteral("swz") &&
        suffix != QStringLiteral("dat"))
        return std::nullopt;
    return CliOutput::failure(
        QStringLiteral("ladya-cli: report: -o %1 names a tournament or player file, which the page "
                       "would replace")
            .arg(path));
}

std::optional<int> ReportRequest::participantNumber(int count) const {
    const std::optional<int> number = parseNumberArgument(participant);
    if (!number || *number < 1 || *number > count)
        return std::nullopt;
    return number;
}

CliOutput ReportRequest::participantOutOfRange(int count) const {
    return CliOutput::failure(
        QStringLiteral("ladya-cli: report: ") +
        numberArgumentError(QStringLiteral("participant"), participant, count));
}

ParsedReportRequest parseReportRequest(const QStringList& args, const QStringList& kinds) {
    const QString kind = args.value(1);
    if (!kinds.contains(kind))
        return {std::nullopt,
                CliOutput::failure(QStringLiteral("ladya-cli: report: unknown report '%1' (%2)")
                                       .arg(kind, kinds.join(QStringLiteral(", "))))};
    const bool stats = kind == Stats;
    const bool pairings = kind == Pairings;
    const QString usage = kind +
                          (stats      ? QStringLiteral(" FILE N")
                           : pairings ? QStringLiteral(" FILE [ROUND]")
                                      : QStringLiteral(" FILE")) +
                          QStringLiteral(" [-o PATH] [--pdf OUT.pdf]");

    const CliArguments parsed = parseCliArguments(
        args, 2, {CliOption{QStringLiteral("-o")}, CliOption{QStringLiteral("--pdf")}});
    if (!parsed.ok())
        return {
            std::nullopt,
            CliOutput::failure(QStringLiteral("ladya-cli: report: %1; usage: ladya-cli report %2")
                                   .arg(parsed.error, usage))};
    const QStringList& operands = parsed.operands;
    if (pairings ? operands.size() > 2 : operands.size() != (stats ? 2 : 1))
        return {std::nullopt, usageError(usage)};
    for (const QString& option : {QStringLiteral("-o"), QStringLiteral("--pdf")})
        if (const std::optional<QString> out = parsed.value(option))
            if (std::optional<CliOutput> refused = refuseDataFileOutput(*out))
                return {std::nullopt, *refused};
    return {ReportRequest{kind, operands.at(0), stats ? operands.at(1) : QString(),
                          pairings ? operands.value(1) : QString(),
                          parsed.value(QStringLiteral("-o")),
                          parsed.value(QStringLiteral("--pdf"))},
            {}};
}

CliOutput deliverReport(const ReportRequest& request, const html::HtmlReport& report,
                        const QString& header) {
    return deliverReport(request.outputPath, request.pdfPath, report, header);
}

CliOutput deliverReport(const std::optional<QString>& outputPath,
                        const std::optional<QString>& pdfPath, const html::HtmlReport& report,
                        const QString& header) {
    if (pdfPath) {
        if (!installedRenderer)
            return CliOutput::failure(QStringLiteral("ladya-cli: report: PDF output is not "
                                                     "available in this program"));
        const QByteArray pdf = installedRenderer(printDocument(report, header));
        if (pdf.isEmpty())
            return writeFailure(*pdfPath, QStringLiteral("the page could not be drawn"));
        if (const Result<> written = writeFileAtomic(*pdfPath, pdf); !written)
            return writeFailure(*pdfPath, written.failure().text);
    }
    if (!outputPath)
        return pdfPath ? CliOutput{} : CliOutput{0, report.bytes(), QByteArray()};
    return writeCliOutputFile(QStringLiteral("report"), *outputPath, report.bytes());
}

namespace {

// The ROUND of the request, `proposed` when none is named; the refusal otherwise.
std::optional<int> requestedRound(const ReportRequest& request, int proposed, int roundCount,
                                  CliOutput& refusal) {
    if (request.round.isEmpty())
        return proposed;
    const std::optional<int> round = parseNumberArgument(request.round);
    if (round && *round >= 1 && *round <= roundCount)
        return round;
    refusal =
        CliOutput::failure(QStringLiteral("ladya-cli: report: ") +
                           numberArgumentError(QStringLiteral("round"), request.round, roundCount));
    return std::nullopt;
}

} // namespace

CliOutput deliverPairingSheet(const ReportRequest& request, const SwissTournament& t) {
    if (t.roundCount() == 0)
        return CliOutput::failure(
            QStringLiteral("ladya-cli: report: %1: no round is paired yet").arg(request.file));
    CliOutput refusal;
    const std::optional<int> round =
        requestedRound(request, t.roundCount(), t.roundCount(), refusal);
    if (!round)
        return refusal;
    return deliverReport(request, pairingSheetReport(swissPairingSheet(t, *round)),
                         swissPageHeader(t));
}

CliOutput deliverPairingSheet(const ReportRequest& request, const RoundRobinTournament& t) {
    CliOutput refusal;
    const std::optional<int> round =
        requestedRound(request, roundRobinRoundInPlay(t), t.roundCount(), refusal);
    if (!round)
        return refusal;
    return deliverReport(request, pairingSheetReport(roundRobinPairingSheet(t, *round)),
                         roundRobinPageHeader(t));
}

void setPdfRenderer(PdfRenderer renderer) {
    installedRenderer = renderer;
}

} // namespace ladya
