#include "reports/report_cli.h"

#include "common/text_file.h"
#include "reports/report_print.h"

namespace ladya {

namespace {

const QString Stats = QStringLiteral("stats");

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

std::optional<int> ReportRequest::participantNumber(int count) const {
    const std::optional<int> number = parseNumberArgument(participant);
    if (!number || *number < 1 || *number > count)
        return std::nullopt;
    return number;
}

CliOutput ReportRequest::participantOutOfRange(int count) const {
    return CliOutput::failure(
        QStringLiteral("ladya-cli: report: participant '%1' is out of range (1..%2)")
            .arg(participant)
            .arg(count));
}

ParsedReportRequest parseReportRequest(const QStringList& args, const QStringList& kinds) {
    const QString kind = args.value(1);
    if (!kinds.contains(kind))
        return {std::nullopt,
                CliOutput::failure(QStringLiteral("ladya-cli: report: unknown report '%1' (%2)")
                                       .arg(kind, kinds.join(QStringLiteral(", "))))};
    const bool stats = kind == Stats;
    const QString usage = kind + (stats ? QStringLiteral(" FILE N") : QStringLiteral(" FILE")) +
                          QStringLiteral(" [-o PATH] [--pdf OUT.pdf]");

    // The file stands third, where the command line dispatch found it.
    QStringList operands = args.mid(0, 3);
    std::optional<QString> outputPath;
    std::optional<QString> pdfPath;
    for (qsizetype k = 3; k < args.size(); ++k) {
        const bool isOutput = args.at(k) == QStringLiteral("-o");
        if (!isOutput && args.at(k) != QStringLiteral("--pdf")) {
            operands << args.at(k);
            continue;
        }
        std::optional<QString>& target = isOutput ? outputPath : pdfPath;
        if (target || k + 1 >= args.size() || args.at(k + 1).isEmpty())
            return {std::nullopt, usageError(usage)};
        target = args.at(++k);
    }
    if (operands.size() != (stats ? 4 : 3))
        return {std::nullopt, usageError(usage)};
    return {ReportRequest{kind, operands.at(2), stats ? operands.at(3) : QString(), outputPath,
                          pdfPath},
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
        if (const FileResult written = writeFileAtomic(*pdfPath, pdf); !written)
            return writeFailure(*pdfPath, written.error);
    }
    if (!outputPath)
        return pdfPath ? CliOutput{} : CliOutput{0, report.bytes(), QByteArray()};
    if (const FileResult written = writeFileAtomic(*outputPath, report.bytes()); !written)
        return writeFailure(*outputPath, written.error);
    return {};
}

void setPdfRenderer(PdfRenderer renderer) {
    installedRenderer = renderer;
}

} // namespace ladya
