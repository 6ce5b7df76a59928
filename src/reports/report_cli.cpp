#include "reports/report_cli.h"

#include "common/text_file.h"

namespace ladya {

namespace {

const QString Stats = QStringLiteral("stats");

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
                          QStringLiteral(" [-o PATH]");

    // The file stands third, where the command line dispatch found it.
    QStringList operands = args.mid(0, 3);
    std::optional<QString> outputPath;
    for (qsizetype k = 3; k < args.size(); ++k) {
        if (args.at(k) != QStringLiteral("-o")) {
            operands << args.at(k);
            continue;
        }
        if (outputPath || k + 1 >= args.size() || args.at(k + 1).isEmpty())
            return {std::nullopt, usageError(usage)};
        outputPath = args.at(++k);
    }
    if (operands.size() != (stats ? 4 : 3))
        return {std::nullopt, usageError(usage)};
    return {ReportRequest{kind, operands.at(2), stats ? operands.at(3) : QString(), outputPath},
            {}};
}

CliOutput deliverReport(const ReportRequest& request, const QByteArray& page) {
    if (!request.outputPath)
        return {0, page, QByteArray()};
    const FileResult written = writeFileAtomic(*request.outputPath, page);
    if (!written)
        return CliOutput::failure(QStringLiteral("ladya-cli: report: cannot write %1: %2")
                                      .arg(*request.outputPath, written.error));
    return {};
}

} // namespace ladya
