#include "swiss/swiss_cli.h"

#include "pairing/pairing_engine.h"
#include "reports/report_cli.h"
#include "reports/swiss_reports.h"
#include "swiss/swiss_controller.h"
#include "swiss/swiss_file.h"
#include "swiss/swiss_standings.h"

#include <cmath>
#include <optional>

namespace ladya {

namespace {

CliOutput fail(const QString& command, const QString& text) {
    return CliOutput::failure(QStringLiteral("ladya-cli: %1: %2").arg(command, text));
}

CliOutput listing(const QVector<ListColumn>& columns, const QVector<QStringList>& rows) {
    return {0, formatListing(columnTitles(columns), rows), QByteArray()};
}

CliOutput listing(const QStringList& titles, const QVector<QStringList>& rows) {
    return {0, formatListing(titles, rows), QByteArray()};
}

std::optional<int> strictInt(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

// The options after the positional arguments.
struct Options {
    std::optional<QString> pairs;
    std::optional<QString> allowance;
    std::optional<QString> output;
    bool force = false;
};

// Reads "--name VALUE" and "--name=VALUE" forms of the options `allowed` names.
std::optional<QString> parseOptions(const QStringList& args, int from, const QStringList& allowed,
                                    Options& options) {
    for (int i = from; i < args.size(); ++i) {
        QString name = args[i];
        std::optional<QString> value;
        const qsizetype eq = name.indexOf(u'=');
        if (name.startsWith(QStringLiteral("--")) && eq > 0) {
            value = name.mid(eq + 1);
            name = name.left(eq);
        }
        if (!allowed.contains(name))
            return QStringLiteral("unexpected argument '%1' (see --help)").arg(args[i]);
        if (name == QStringLiteral("--force")) {
            if (value)
                return QStringLiteral("--force takes no value");
            options.force = true;
            continue;
        }
        if (!value) {
            if (i + 1 >= args.size())
                return QStringLiteral("%1 needs a value").arg(name);
            value = args[++i];
        }
        if (name == QStringLiteral("--pairs"))
            options.pairs = value;
        else if (name == QStringLiteral("--allowance"))
            options.allowance = value;
        else
            options.output = value;
    }
    return std::nullopt;
}

// "W-B,W-B,…" into pair rows, in the order given.
std::optional<QString> parsePairs(const QString& text, PairingEngine& engine) {
    const SwissTournament& t = engine.tournament();
    QVector<int> used;
    for (const QString& item : text.split(u',', Qt::SkipEmptyParts)) {
        const QStringList sides = item.split(u'-');
        const std::optional<int> white = sides.size() == 2 ? strictInt(sides[0]) : std::nullopt;
        const std::optional<int> black = sides.size() == 2 ? strictInt(sides[1]) : std::nullopt;
        if (!white || !black)
            return QStringLiteral("bad pair '%1' (expected WHITE-BLACK)").arg(item);
        for (int number : {*white, *black}) {
            if (!t.hasParticipant(number))
                return QStringLiteral("pair '%1': no participant %2 (1..%3)")
                    .arg(item)
                    .arg(number)
                    .arg(t.participantCount());
            if (used.contains(number))
                return QStringLiteral("pair '%1': participant %2 is already in a pair")
                    .arg(item)
                    .arg(number);
            used.append(number);
        }
        engine.pairList().append(engine.makePairRow(*white, *black));
    }
    engine.buildUnpairedList();
    return std::nullopt;
}

// report crosstable|stats FILE [N] [-o PATH] [--pdf OUT.pdf]: the page goes to stdout
// exactly as file.html would receive it, or with -o replaces PATH atomically; --pdf
// prints it.
CliOutput runReport(const QStringList& args) {
    const QString command = args.value(0);
    if (args.value(1) == QStringLiteral("schedule"))
        return fail(command, QStringLiteral("a Swiss tournament has no schedule report: its "
                                            "rounds are paired one at a time (reports: "
                                            "crosstable, stats)"));
    const ParsedReportRequest parsed =
        parseReportRequest(args, {QStringLiteral("crosstable"), QStringLiteral("stats")});
    if (!parsed.request)
        return parsed.error;
    const ReportRequest& request = *parsed.request;

    SwissLoadResult loaded = loadSwiss(request.file);
    if (!loaded)
        return fail(command, loaded.error.text.replace(u'\n', u' '));
    const SwissTournament& t = *loaded.tournament;
    std::optional<int> number;
    if (request.kind == QStringLiteral("stats")) {
        number = request.participantNumber(t.participantCount());
        if (!number)
            return request.participantOutOfRange(t.participantCount());
    }
    const SwissStandings standings = computeSwissStandings(t);
    const html::HtmlReport page =
        number ? swissStatisticsReport(t, standings, *number) : swissCrosstableReport(t, standings);
    return deliverReport(request, page, swissPageHeader(t));
}

} // namespace

CliOutput runSwissCli(const QStringList& args) {
    const QString command = args.value(0);
    const QString path = args.value(1);
    if (command == QStringLiteral("report"))
        return runReport(args);

    Options options;
    int positional = 2;
    QStringList allowed;
    if (command == QStringLiteral("games"))
        positional = 3;
    else if (command == QStringLiteral("unpaired"))
        allowed = {QStringLiteral("--pairs")};
    else if (command == QStringLiteral("candidates")) {
        positional = 3;
        allowed = {QStringLiteral("--pairs"), QStringLiteral("--allowance"),
                   QStringLiteral("--force")};
    } else if (command == QStringLiteral("commit"))
        allowed = {QStringLiteral("--pairs"), QStringLiteral("-o")};
    else if (command != QStringLiteral("standings"))
        return fail(command, QStringLiteral("not available for Swiss tournaments"));
    if (args.size() < positional)
        return fail(command, QStringLiteral("missing argument (see --help)"));
    if (std::optional<QString> bad = parseOptions(args, positional, allowed, options))
        return fail(command, *bad);

    SwissLoadResult loaded = loadSwiss(path);
    if (!loaded)
        return fail(command, loaded.error.text.replace(u'\n', u' '));
    const SwissTournament& t = *loaded.tournament;

    if (command == QStringLiteral("games")) {
        const std::optional<int> round = strictInt(args[2]);
        const bool valid = round && ((*round >= 1 && *round <= t.roundCount()) ||
                                     (*round == 0 && t.roundCount() == 0));
        if (!valid)
            return fail(command, QStringLiteral("no round '%1' (the tournament has %2)")
                                     .arg(args[2])
                                     .arg(t.roundCount()));
        return listing(swissGameColumns(), swissGameRows(t, *round));
    }

    const SwissStandings standings = computeSwissStandings(t);
    if (command == QStringLiteral("standings"))
        return listing(swissStandingsColumns(), swissStandingsRows(t, standings));

    PairingEngine engine(t, standings);
    engine.buildUnpairedList();
    if (command == QStringLiteral("commit") && !options.pairs)
        return fail(command, QStringLiteral("--pairs is required"));
    if (options.pairs) {
        if (std::optional<QString> bad = parsePairs(*options.pairs, engine))
            return fail(command, *bad);
    }

    if (command == QStringLiteral("unpaired"))
        return listing(playerListTitles(), engine.unpairedRows());

    if (command == QStringLiteral("candidates")) {
        const std::optional<int> first = strictInt(args[2]);
        if (!first || !t.hasParticipant(*first))
            return fail(command, QStringLiteral("no participant '%1' (1..%2)")
                                     .arg(args[2])
                                     .arg(t.participantCount()));
        float allowance = 0.0f;
        if (options.allowance) {
            bool ok = false;
            const double value = options.allowance->toDouble(&ok);
            if (!ok || !std::isfinite(value))
                return fail(command, QStringLiteral("bad allowance '%1'").arg(*options.allowance));
            allowance = float(value);
        }
        engine.clearCandidates();
        engine.buildCandidates(*first, allowance);
        if (options.force)
            engine.forceCandidates(*first);
        return listing(playerListTitles(), engine.candidateRows());
    }

    // commit
    PairingEngine::CommitResult committed =
        engine.commitRoundPairing(options.output.value_or(path));
    if (committed.message)
        return fail(command, committed.message->text.replace(u'\n', u' '));
    return {0, QByteArray(), QByteArray()};
}

} // namespace ladya
