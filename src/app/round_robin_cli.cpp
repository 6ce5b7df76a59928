#include "app/round_robin_cli.h"

#include "common/file_lock.h"
#include "reports/report_cli.h"
#include "reports/round_robin_reports.h"
#include "roundrobin/round_robin_controller.h"
#include "roundrobin/round_robin_file.h"
#include "roundrobin/round_robin_rows.h"
#include "roundrobin/round_robin_tiebreak_list.h"

#include <optional>

namespace ladya {

namespace {

CliOutput usageError(const QString& command, const QString& usage) {
    return CliOutput::failure(
        QStringLiteral("ladya-cli: %1: usage: ladya-cli %1 %2").arg(command, usage));
}

// A file that did not load, as one line of the command line's error output.
CliOutput loadFailure(const Result<RoundRobinTournament>& loaded) {
    return CliOutput::failure(QStringLiteral("ladya-cli: ") +
                              QString(loaded.failure().text).replace(u'\n', QStringLiteral(": ")));
}

CliOutput listing(const QVector<ListColumn>& columns, const QVector<QStringList>& rows) {
    return {0, formatListing(columnTitles(columns), rows), QByteArray()};
}

// report KIND FILE [N] [-o PATH] [--pdf OUT.pdf]: the page goes to stdout exactly as
// file.html would receive it, or with -o replaces PATH atomically; --pdf prints it.
CliOutput runReport(const QStringList& args) {
    const ParsedReportRequest parsed = parseReportRequest(
        args, {QStringLiteral("crosstable"), QStringLiteral("schedule"), QStringLiteral("stats"),
               QStringLiteral("pairings"), QStringLiteral("final")});
    if (!parsed.request)
        return parsed.error;
    const ReportRequest& request = *parsed.request;

    Result<RoundRobinTournament> loaded = loadRoundRobin(request.file);
    if (!loaded)
        return loadFailure(loaded);
    const RoundRobinTournament& t = *loaded;
    if (request.kind == QStringLiteral("pairings"))
        return deliverPairingSheet(request, t);
    const QString header = roundRobinPageHeader(t);
    if (request.kind == QStringLiteral("schedule"))
        return deliverReport(request, scheduleReport(t), header);
    const RoundRobinResults results = computeRoundRobin(t);
    if (request.kind == QStringLiteral("crosstable"))
        return deliverReport(request, crosstableReport(t, results), header);
    if (request.kind == QStringLiteral("final"))
        return deliverReport(request, roundRobinFinalStandingsReport(t, results), header);
    const std::optional<int> number = request.participantNumber(t.participantCount());
    if (!number)
        return request.participantOutOfRange(t.participantCount());
    return deliverReport(request, participantStatisticsReport(t, results, *number), header);
}

// withdraw FILE N: participant N's games still without a result become forfeits ("-"
// for N, "+" for the opponent), the file rewritten atomically under its lock.
CliOutput runWithdraw(const QStringList& args) {
    const QString command = args.value(0);
    if (args.size() != 3)
        return usageError(command, QStringLiteral("FILE N"));
    const QString& path = args.at(1);
    FileLock lock(path);
    if (!lock.tryLock())
        return CliOutput::failure(
            QStringLiteral("ladya-cli: %1: the file is open in another copy of the program (%2)")
                .arg(path, lock.holder(true)));
    Result<RoundRobinTournament> loaded = loadRoundRobin(path);
    if (!loaded)
        return loadFailure(loaded);
    RoundRobinTournament& t = *loaded;
    const std::optional<int> number = parseNumberArgument(args.at(2));
    if (!number || *number < 1 || *number > t.participantCount())
        return CliOutput::failure(
            QStringLiteral("ladya-cli: withdraw: ") +
            numberArgumentError(QStringLiteral("participant"), args.at(2), t.participantCount()));
    if (t.state.isFinished())
        return CliOutput::failure(
            QStringLiteral("ladya-cli: withdraw: the tournament is finished already"));
    const int count = recordWithdrawal(t, *number);
    if (count == 0)
        return CliOutput::failure(
            QStringLiteral("ladya-cli: withdraw: participant %1 has no game left to forfeit")
                .arg(*number));
    if (const Result<> saved = saveRoundRobin(t); !saved)
        return CliOutput::failure(
            QStringLiteral("ladya-cli: withdraw: ") +
            QString(saved.failure().text).replace(u'\n', QStringLiteral(": ")));
    return {0,
            QStringLiteral("%1: %2 games recorded as forfeits\n")
                .arg(t.participant(*number).name, QString::number(count))
                .toUtf8(),
            QByteArray()};
}

// standings FILE [--tiebreaks LIST]: the program's own order, or with a list (given, or
// the one the tournament keeps) its columns after the points and its places.
CliOutput runStandings(const QStringList& args) {
    const QString command = args.value(0);
    const CliArguments parsed =
        parseCliArguments(args, 1, {CliOption{QStringLiteral("--tiebreaks")}});
    if (!parsed.ok())
        return CliOutput::failure(
            QStringLiteral("ladya-cli: %1: %2 (see --help)").arg(command, parsed.error));
    if (parsed.operands.size() != 1)
        return usageError(command, QStringLiteral("FILE [--tiebreaks LIST]"));
    Result<RoundRobinTournament> loaded = loadRoundRobin(parsed.operands.first());
    if (!loaded)
        return loadFailure(loaded);
    const RoundRobinTournament& t = *loaded;
    const Result<TieBreakList> list =
        parseTieBreakList(parsed.value(QStringLiteral("--tiebreaks")).value_or(t.tieBreaks));
    if (!list)
        return CliOutput::failure(
            QStringLiteral("ladya-cli: %1: %2")
                .arg(command, QString(list.failure().text).replace(u'\n', QStringLiteral(": "))));
    const RoundRobinResults results = computeRoundRobin(t);
    if (list->empty())
        return listing(standingsColumns(), standingsRows(t, results.standings));
    const RoundRobinTieBreakStandings ranked = roundRobinTieBreakStandings(t, *list);
    return listing(roundRobinTieBreakStandingsColumns(*list),
                   roundRobinTieBreakStandingsRows(t, results.standings, ranked));
}

// tiebreaks FILE --set LIST|--clear [-o OUT]: the list kept in the .krx beside the .kr2
// (FILE's, or OUT's with a copy of FILE).
CliOutput runTieBreaks(const QStringList& args) {
    const QString command = args.value(0);
    const CliArguments parsed = parseCliArguments(args, 1,
                                                  {CliOption{QStringLiteral("--set")},
                                                   CliOption{QStringLiteral("--clear"), false},
                                                   CliOption{QStringLiteral("-o")}});
    if (!parsed.ok())
        return CliOutput::failure(
            QStringLiteral("ladya-cli: %1: %2 (see --help)").arg(command, parsed.error));
    if (parsed.operands.size() != 1 ||
        parsed.has(QStringLiteral("--set")) == parsed.has(QStringLiteral("--clear")))
        return usageError(command, QStringLiteral("FILE --set LIST|--clear [-o OUT]"));
    Result<RoundRobinTournament> loaded = loadRoundRobin(parsed.operands.first());
    if (!loaded)
        return loadFailure(loaded);
    RoundRobinTournament& t = *loaded;
    const auto failed = [&command](const Message& m) {
        return CliOutput::failure(
            QStringLiteral("ladya-cli: %1: %2")
                .arg(command, QString(m.text).replace(u'\n', QStringLiteral(": "))));
    };
    if (const Result<> set =
            setRoundRobinTieBreaks(t, parsed.value(QStringLiteral("--set")).value_or(QString()));
        !set)
        return failed(set.failure());
    const std::optional<QString> output = parsed.value(QStringLiteral("-o"));
    if (output) {
        if (const Result<> saved = saveRoundRobin(t, *output); !saved)
            return failed(saved.failure());
    }
    if (const Result<> saved = saveRoundRobinTieBreaks(output.value_or(t.state.path), t.tieBreaks);
        !saved)
        return failed(saved.failure());
    return {0, QByteArray(), QByteArray()};
}

} // namespace

CliOutput runRoundRobinCli(const QStringList& args) {
    const QString command = args.value(0);
    if (command == QStringLiteral("games")) {
        if (args.size() != 3)
            return usageError(command, QStringLiteral("FILE ROUND"));
        Result<RoundRobinTournament> loaded = loadRoundRobin(args.at(1));
        if (!loaded)
            return loadFailure(loaded);
        const RoundRobinTournament& t = *loaded;
        const std::optional<int> round = parseNumberArgument(args.at(2));
        if (!round || *round < 1 || *round > t.roundCount())
            return CliOutput::failure(
                QStringLiteral("ladya-cli: games: ") +
                numberArgumentError(QStringLiteral("round"), args.at(2), t.roundCount()));
        return listing(gameListColumns(), gameRows(t, *round));
    }
    if (command == QStringLiteral("standings"))
        return runStandings(args);
    if (command == QStringLiteral("table")) {
        if (args.size() != 2)
            return usageError(command, QStringLiteral("FILE"));
        Result<RoundRobinTournament> loaded = loadRoundRobin(args.at(1));
        if (!loaded)
            return loadFailure(loaded);
        const RoundRobinTournament& t = *loaded;
        // As the results table window shows it: with a tie-break list, its columns and places.
        return listing(ResultsTable::columns(t), ResultsTable::rows(t));
    }
    if (command == QStringLiteral("player-games")) {
        if (args.size() != 3)
            return usageError(command, QStringLiteral("FILE N"));
        Result<RoundRobinTournament> loaded = loadRoundRobin(args.at(1));
        if (!loaded)
            return loadFailure(loaded);
        const RoundRobinTournament& t = *loaded;
        const std::optional<int> number = parseNumberArgument(args.at(2));
        if (!number || *number < 1 || *number > t.participantCount())
            return CliOutput::failure(QStringLiteral("ladya-cli: player-games: ") +
                                      numberArgumentError(QStringLiteral("participant"), args.at(2),
                                                          t.participantCount()));
        return listing(participantGamesColumns(), participantGames(t, *number));
    }
    if (command == QStringLiteral("report"))
        return runReport(args);
    if (command == QStringLiteral("withdraw"))
        return runWithdraw(args);
    if (command == QStringLiteral("tiebreaks"))
        return runTieBreaks(args);
    return CliOutput::failure(
        QStringLiteral("ladya-cli: %1: not available for round-robin files yet").arg(command));
}

} // namespace ladya
