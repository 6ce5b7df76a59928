#include "roundrobin/round_robin_cli.h"

#include "reports/round_robin_reports.h"
#include "roundrobin/round_robin_file.h"
#include "roundrobin/round_robin_rows.h"

#include <optional>

namespace ladya {

namespace {

CliOutput usageError(const QString& command, const QString& usage) {
    return CliOutput::failure(
        QStringLiteral("ladya-cli: %1: usage: ladya-cli %1 %2").arg(command, usage));
}

// A whole positive decimal number, nothing else around it.
std::optional<int> parseNumberArgument(const QString& text) {
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
    }
    return text.toInt();
}

struct Loaded {
    std::optional<RoundRobinTournament> tournament;
    CliOutput error;
};

Loaded load(const QString& path) {
    RoundRobinLoad result = loadRoundRobin(path);
    if (!result)
        return {std::nullopt,
                CliOutput::failure(QStringLiteral("ladya-cli: ") +
                                   result.error.text.replace(u'\n', QStringLiteral(": ")))};
    return {std::move(result.tournament), {}};
}

CliOutput listing(const QVector<ListColumn>& columns, const QVector<QStringList>& rows) {
    return {0, formatListing(columnTitles(columns), rows), QByteArray()};
}

// report KIND FILE [N] [-o PATH]: the page goes to stdout exactly as file.html would
// receive it, or with -o replaces PATH atomically.
CliOutput runReport(const QStringList& args) {
    const QString kind = args.value(1);
    const bool stats = kind == QStringLiteral("stats");
    if (!stats && kind != QStringLiteral("crosstable") && kind != QStringLiteral("schedule"))
        return CliOutput::failure(
            QStringLiteral("ladya-cli: report: unknown report '%1' (crosstable, schedule or stats)")
                .arg(kind));
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
            return usageError(QStringLiteral("report"), usage);
        outputPath = args.at(++k);
    }
    if (operands.size() != (stats ? 4 : 3))
        return usageError(QStringLiteral("report"), usage);

    Loaded loaded = load(operands.at(2));
    if (!loaded.tournament)
        return loaded.error;
    const RoundRobinTournament& t = *loaded.tournament;
    std::optional<int> number;
    if (stats) {
        number = parseNumberArgument(operands.at(3));
        if (!number || *number < 1 || *number > t.participantCount())
            return CliOutput::failure(
                QStringLiteral("ladya-cli: report: participant '%1' is out of range (1..%2)")
                    .arg(operands.at(3))
                    .arg(t.participantCount()));
    }

    QByteArray page;
    if (kind == QStringLiteral("schedule")) {
        page = scheduleReport(t).bytes();
    } else {
        const RoundRobinResults results = computeRoundRobin(t);
        page = stats ? participantStatisticsReport(t, results, *number).bytes()
                     : crosstableReport(t, results).bytes();
    }
    if (!outputPath)
        return {0, page, QByteArray()};
    const FileResult written = writeFileAtomic(*outputPath, page);
    if (!written)
        return CliOutput::failure(QStringLiteral("ladya-cli: report: cannot write %1: %2")
                                      .arg(*outputPath, written.error));
    return {};
}

} // namespace

CliOutput runRoundRobinCli(const QStringList& args) {
    const QString command = args.value(0);
    if (command == QStringLiteral("games")) {
        if (args.size() != 3)
            return usageError(command, QStringLiteral("FILE ROUND"));
        Loaded loaded = load(args.at(1));
        if (!loaded.tournament)
            return loaded.error;
        const RoundRobinTournament& t = *loaded.tournament;
        const std::optional<int> round = parseNumberArgument(args.at(2));
        if (!round || *round < 1 || *round > t.roundCount())
            return CliOutput::failure(
                QStringLiteral("ladya-cli: games: round '%1' is out of range (1..%2)")
                    .arg(args.at(2))
                    .arg(t.roundCount()));
        return listing(gameListColumns(), gameRows(t, *round));
    }
    if (command == QStringLiteral("standings")) {
        if (args.size() != 2)
            return usageError(command, QStringLiteral("FILE"));
        Loaded loaded = load(args.at(1));
        if (!loaded.tournament)
            return loaded.error;
        const RoundRobinResults results = computeRoundRobin(*loaded.tournament);
        return listing(standingsColumns(), standingsRows(*loaded.tournament, results.standings));
    }
    if (command == QStringLiteral("table")) {
        if (args.size() != 2)
            return usageError(command, QStringLiteral("FILE"));
        Loaded loaded = load(args.at(1));
        if (!loaded.tournament)
            return loaded.error;
        const RoundRobinTournament& t = *loaded.tournament;
        return listing(resultsTableColumns(t.participantCount()),
                       resultsTableRows(t, computeRoundRobin(t)));
    }
    if (command == QStringLiteral("player-games")) {
        if (args.size() != 3)
            return usageError(command, QStringLiteral("FILE N"));
        Loaded loaded = load(args.at(1));
        if (!loaded.tournament)
            return loaded.error;
        const RoundRobinTournament& t = *loaded.tournament;
        const std::optional<int> number = parseNumberArgument(args.at(2));
        if (!number || *number < 1 || *number > t.participantCount())
            return CliOutput::failure(
                QStringLiteral("ladya-cli: player-games: participant '%1' is out of range (1..%2)")
                    .arg(args.at(2))
                    .arg(t.participantCount()));
        return listing(participantGamesColumns(), participantGames(t, *number));
    }
    if (command == QStringLiteral("report"))
        return runReport(args);
    return CliOutput::failure(
        QStringLiteral("ladya-cli: %1: not available for round-robin files yet").arg(command));
}

} // namespace ladya
