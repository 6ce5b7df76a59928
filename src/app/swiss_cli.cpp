#include "app/swiss_cli.h"

#include "pairing/pairing_workbench.h"
#include "players/player_database.h"
#include "reports/report_cli.h"
#include "reports/swiss_reports.h"
#include "swiss/swiss_acceleration.h"
#include "swiss/swiss_controller.h"
#include "swiss/swiss_events.h"
#include "swiss/swiss_file.h"
#include "swiss/swiss_standings.h"
#include "swiss/swiss_tiebreak_list.h"

#include <QDir>
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

// "W-B,W-B,…" into pair rows, in the order given.
std::optional<QString> parsePairs(const QString& text, PairingWorkbench& workbench) {
    const SwissTournament& t = workbench.tournament();
    QVector<int> used;
    for (const QString& item : text.split(u',', Qt::SkipEmptyParts)) {
        const QStringList sides = item.split(u'-');
        const std::optional<int> white = sides.size() == 2 ? strictInt(sides[0]) : std::nullopt;
        const std::optional<int> black = sides.size() == 2 ? strictInt(sides[1]) : std::nullopt;
        if (!white || !black)
            return QStringLiteral("bad pair '%1' (expected WHITE-BLACK)").arg(item);
        if (*white == *black)
            return QStringLiteral("pair '%1': a participant cannot play himself").arg(item);
        for (int number : {*white, *black}) {
            if (!t.hasParticipant(number))
                return QStringLiteral("pair '%1': no participant %2 (1..%3)")
                    .arg(item, QString::number(number), QString::number(t.participantCount()));
            if (used.contains(number))
                return QStringLiteral("pair '%1': participant %2 is already in a pair")
                    .arg(item, QString::number(number));
            used.append(number);
        }
        workbench.pairList().append(workbench.makePairRow(*white, *black));
    }
    workbench.buildUnpairedList();
    return std::nullopt;
}

// pair's options: the initial colour counts before round 1 only (later rounds read it
// back from round 1); --rounds N (by default the planned rounds) makes round N the
// last, with its own rules.
std::optional<DutchOptions> dutchOptions(const CliArguments& parsed, const SwissTournament& t) {
    DutchOptions options;
    const std::optional<QString> colour = parsed.value(QStringLiteral("--initial-colour"));
    if (colour == QStringLiteral("black"))
        options.initialColour = InitialColour::Black;
    else if (colour && colour != QStringLiteral("white"))
        return std::nullopt;
    if (t.roundCount() > 0)
        options.initialColour = initialColourFromRoundOne(t).value_or(options.initialColour);
    // The tournament's own planned rounds, unless --rounds says otherwise.
    if (t.extras.plannedRounds > t.roundCount())
        options.plannedRounds = t.extras.plannedRounds;
    if (const std::optional<QString> rounds = parsed.value(QStringLiteral("--rounds"))) {
        const std::optional<int> n = parseNumberArgument(*rounds);
        if (!n || *n <= t.roundCount() || *n > Limits::SwissRounds)
            return std::nullopt;
        options.plannedRounds = *n;
    }
    return options;
}

QString dutchOptionsError(const CliArguments& parsed, const SwissTournament& t) {
    const QString colour = parsed.value(QStringLiteral("--initial-colour")).value_or(QString());
    if (!colour.isEmpty() && colour != QStringLiteral("white") && colour != QStringLiteral("black"))
        return QStringLiteral("bad initial colour '%1' (white or black)").arg(colour);
    return QStringLiteral("bad number of rounds '%1' (the tournament has %2 rounds, the next "
                          "is %3, and at most %4 are allowed)")
        .arg(parsed.value(QStringLiteral("--rounds")).value_or(QString()),
             QString::number(t.roundCount()), QString::number(t.roundCount() + 1),
             QString::number(Limits::SwissRounds));
}

// report crosstable|stats FILE [N] [-o PATH] [--pdf OUT.pdf]: the page goes to stdout
// exactly as file.html would receive it, or with -o replaces PATH atomically; --pdf
// prints it.
CliOutput runReport(const QStringList& args) {
    const QString command = args.value(0);
    if (args.value(1) == QStringLiteral("schedule"))
        return fail(command, QStringLiteral("a Swiss tournament has no schedule report: its "
                                            "rounds are paired one at a time (reports: "
                                            "crosstable, stats, pairings, final)"));
    const ParsedReportRequest parsed =
        parseReportRequest(args, {QStringLiteral("crosstable"), QStringLiteral("stats"),
                                  QStringLiteral("pairings"), QStringLiteral("final")});
    if (!parsed.request)
        return parsed.error;
    const ReportRequest& request = *parsed.request;

    Result<SwissTournament> loaded = loadSwiss(request.file);
    if (!loaded)
        return fail(command, QString(loaded.failure().text).replace(u'\n', QStringLiteral(": ")));
    const SwissTournament& t = *loaded;
    if (request.kind == QStringLiteral("pairings"))
        return deliverPairingSheet(request, t);
    std::optional<int> number;
    if (request.kind == QStringLiteral("stats")) {
        number = request.participantNumber(t.participantCount());
        if (!number)
            return request.participantOutOfRange(t.participantCount());
    }
    const SwissStandings standings = computeSwissStandings(t);
    const html::HtmlReport page = number ? swissStatisticsReport(t, standings, *number)
                                  : request.kind == QStringLiteral("final")
                                      ? swissFinalStandingsReport(t, standings)
                                      : swissCrosstableReport(t, standings);
    return deliverReport(request, page, swissPageHeader(t));
}

// The director's commands: each edits the tournament and rewrites FILE (or writes OUT).
const QStringList DirectorCommands = {
    QStringLiteral("rounds"),     QStringLiteral("withdraw"),   QStringLiteral("bye"),
    QStringLiteral("late-entry"), QStringLiteral("forbid"),     QStringLiteral("undo-pairing"),
    QStringLiteral("result"),     QStringLiteral("accelerate"), QStringLiteral("tiebreaks")};

QString messageLine(const Message& m) {
    return QString(m.text).replace(u'\n', QStringLiteral(": "));
}

// "F-L" or "F" (from F to the end) into the rounds of a forbidden pair.
std::optional<std::pair<int, int>> roundRange(const QString& text) {
    const QStringList parts = text.split(u'-');
    const std::optional<int> first = parseNumberArgument(parts.value(0));
    const std::optional<int> last =
        parts.size() == 1 ? std::optional<int>(0) : parseNumberArgument(parts.value(1));
    if (!first || !last || parts.size() > 2)
        return std::nullopt;
    return std::pair{*first, *last};
}

// The player NAME of CITY in the working folder's players.dat, as a participant.
Result<Participant> databasePlayer(const QString& dirPath, const QString& name,
                                   const QString& city) {
    const QString file = QDir(dirPath).filePath(FileNames::Players);
    QString reason;
    const std::optional<PlayerDatabase> db = loadPlayerDatabase(file, &reason);
    if (!db)
        return Message{QString(), QStringLiteral("cannot read %1: %2").arg(file, reason)};
    QVector<int> found = db->find(name, city);
    if (found.isEmpty())
        found = db->find(name.toUpper(), city);
    if (found.isEmpty())
        return Message{QString(),
                       QStringLiteral("no player '%1' of '%2' in %3").arg(name, city, file)};
    const QString& record = db->record(found.first());
    return Participant{QString(), recordField(record, 1), recordField(record, 3),
                       recordField(record, 4), recordField(record, 2)};
}

CliOutput runDirectorCommand(const QStringList& args) {
    const QString command = args.value(0);
    const QString path = args.value(1);
    QVector<CliOption> allowed{CliOption{QStringLiteral("-o")}};
    int operands = 1; // FILE and what follows it
    if (command == QStringLiteral("rounds")) {
        operands = 2;
    } else if (command == QStringLiteral("withdraw")) {
        operands = 3;
        allowed.append(CliOption{QStringLiteral("--return"), false});
    } else if (command == QStringLiteral("bye")) {
        operands = 3;
        for (const char* flag : {"--half", "--absent", "--cancel"})
            allowed.append(CliOption{QString::fromLatin1(flag), false});
    } else if (command == QStringLiteral("late-entry")) {
        operands = 3;
        allowed.append(CliOption{QStringLiteral("--db")});
        allowed.append(CliOption{QStringLiteral("--missed")});
    } else if (command == QStringLiteral("forbid")) {
        operands = 3;
        allowed.append(CliOption{QStringLiteral("--rounds")});
        allowed.append(CliOption{QStringLiteral("--remove"), false});
    } else if (command == QStringLiteral("result")) {
        operands = 4;
    } else if (command == QStringLiteral("accelerate")) {
        allowed.append(CliOption{QStringLiteral("--baku"), false});
        allowed.append(CliOption{QStringLiteral("--off"), false});
    } else if (command == QStringLiteral("tiebreaks")) {
        allowed.append(CliOption{QStringLiteral("--set")});
        allowed.append(CliOption{QStringLiteral("--clear"), false});
    }
    const CliArguments parsed = parseCliArguments(args, 1, allowed);
    if (!parsed.ok())
        return fail(command, parsed.error + QStringLiteral(" (see --help)"));
    if (parsed.operands.size() < operands)
        return fail(command, QStringLiteral("missing argument (see --help)"));
    if (parsed.operands.size() > operands)
        return fail(command, QStringLiteral("unexpected argument '%1' (see --help)")
                                 .arg(parsed.operands.at(operands)));
    if (parsed.operands.first() != path)
        return fail(command, QStringLiteral("FILE must follow the command (see --help)"));

    Result<SwissTournament> loaded = loadSwiss(path);
    if (!loaded)
        return fail(command, messageLine(loaded.failure()));
    SwissTournament t = std::move(loaded).value();
    const QStringList& ops = parsed.operands;
    // The numbers every command but late-entry names after FILE.
    QVector<int> numbers;
    if (command != QStringLiteral("late-entry")) {
        for (qsizetype k = 1; k < ops.size(); ++k) {
            if (command == QStringLiteral("result") && k == 3)
                break; // the entry
            const std::optional<int> n = parseNumberArgument(ops[k]);
            if (!n)
                return fail(command, QStringLiteral("'%1' is not a number").arg(ops[k]));
            numbers.append(*n);
        }
    }

    Result<> done;
    QByteArray out;
    if (command == QStringLiteral("rounds")) {
        done = setPlannedRounds(t, numbers[0]);
    } else if (command == QStringLiteral("withdraw")) {
        done = parsed.has(QStringLiteral("--return"))
                   ? returnParticipant(t, numbers[0], numbers[1])
                   : withdrawParticipant(t, numbers[0], numbers[1]);
    } else if (command == QStringLiteral("bye")) {
        const bool half = parsed.has(QStringLiteral("--half"));
        const bool absent = parsed.has(QStringLiteral("--absent"));
        const bool cancel = parsed.has(QStringLiteral("--cancel"));
        if (int(half) + int(absent) + int(cancel) != 1)
            return fail(command, QStringLiteral("give one of --half, --absent and --cancel"));
        done = cancel ? cancelBye(t, numbers[0], numbers[1])
                      : requestBye(t, numbers[0], numbers[1],
                                   half ? Absence::HalfBye : Absence::ZeroBye);
    } else if (command == QStringLiteral("late-entry")) {
        const std::optional<QString> db = parsed.value(QStringLiteral("--db"));
        const QString missed = parsed.value(QStringLiteral("--missed")).value_or(QString());
        if (!db)
            return fail(command, QStringLiteral("--db DIR is required"));
        if (missed != QStringLiteral("half") && missed != QStringLiteral("zero"))
            return fail(command, QStringLiteral("--missed half or --missed zero is required"));
        const Result<Participant> player = databasePlayer(*db, ops[1], ops[2]);
        if (!player)
            return fail(command, player.failure().text);
        const Result<int> number = addLateEntry(
            t, *player, missed == QStringLiteral("half") ? Absence::HalfBye : Absence::ZeroBye);
        if (number)
            out = QByteArray::number(*number) + '\n';
        else
            done = number.failure();
    } else if (command == QStringLiteral("forbid")) {
        if (parsed.has(QStringLiteral("--remove"))) {
            done = allowPair(t, numbers[0], numbers[1]);
        } else {
            std::pair<int, int> rounds{1, 0};
            if (const std::optional<QString> text = parsed.value(QStringLiteral("--rounds"))) {
                const std::optional<std::pair<int, int>> range = roundRange(*text);
                if (!range)
                    return fail(command, QStringLiteral("bad rounds '%1' (F-L or F)").arg(*text));
                rounds = *range;
            }
            done = forbidPair(t, numbers[0], numbers[1], rounds.first, rounds.second);
        }
    } else if (command == QStringLiteral("undo-pairing")) {
        done = undoLastPairing(t);
    } else if (command == QStringLiteral("accelerate")) {
        const bool baku = parsed.has(QStringLiteral("--baku"));
        if (baku == parsed.has(QStringLiteral("--off")))
            return fail(command, QStringLiteral("give one of --baku and --off"));
        done = setBakuAcceleration(t, baku);
    } else if (command == QStringLiteral("tiebreaks")) {
        const std::optional<QString> list = parsed.value(QStringLiteral("--set"));
        if (list.has_value() == parsed.has(QStringLiteral("--clear")))
            return fail(command, QStringLiteral("give one of --set LIST and --clear"));
        done = setSwissTieBreaks(t, list.value_or(QString()));
    } else {
        done = correctResult(t, numbers[0], numbers[1], ops[3]);
    }
    if (!done)
        return fail(command, messageLine(done.failure()));
    const QString target = parsed.value(QStringLiteral("-o")).value_or(path);
    if (Result<> saved = saveSwiss(t, target); !saved)
        return fail(command, messageLine(saved.failure()));
    return {0, out, QByteArray()};
}

} // namespace

CliOutput runSwissCli(const QStringList& args) {
    const QString command = args.value(0);
    const QString path = args.value(1);
    if (command == QStringLiteral("report"))
        return runReport(args);
    if (DirectorCommands.contains(command))
        return runDirectorCommand(args);

    int positional = 2;
    QVector<CliOption> allowed;
    const CliOption pairsOption{QStringLiteral("--pairs")};
    if (command == QStringLiteral("games"))
        positional = 3;
    else if (command == QStringLiteral("unpaired"))
        allowed = {pairsOption};
    else if (command == QStringLiteral("candidates")) {
        positional = 3;
        allowed = {pairsOption, CliOption{QStringLiteral("--allowance")},
                   CliOption{QStringLiteral("--force"), false}};
    } else if (command == QStringLiteral("commit"))
        allowed = {pairsOption, CliOption{QStringLiteral("-o")}};
    else if (command == QStringLiteral("pair"))
        allowed = {CliOption{QStringLiteral("--initial-colour")},
                   CliOption{QStringLiteral("--rounds")}, CliOption{QStringLiteral("-o")}};
    else if (command == QStringLiteral("standings"))
        allowed = {CliOption{QStringLiteral("--tiebreaks")}};
    else
        return fail(command, QStringLiteral("not available for Swiss tournaments"));
    const CliArguments parsed = parseCliArguments(args, 1, allowed);
    if (!parsed.ok())
        return fail(command, parsed.error + QStringLiteral(" (see --help)"));
    if (parsed.operands.size() < positional - 1)
        return fail(command, QStringLiteral("missing argument (see --help)"));
    if (parsed.operands.size() > positional - 1)
        return fail(command, QStringLiteral("unexpected argument '%1' (see --help)")
                                 .arg(parsed.operands.at(positional - 1)));
    // The file stands second, where the command line dispatch found it.
    if (parsed.operands.first() != path)
        return fail(command, QStringLiteral("FILE must follow the command (see --help)"));
    const QString operand = parsed.operands.value(1);
    const std::optional<QString> pairs = parsed.value(QStringLiteral("--pairs"));
    const std::optional<QString> allowanceText = parsed.value(QStringLiteral("--allowance"));
    const std::optional<QString> output = parsed.value(QStringLiteral("-o"));

    Result<SwissTournament> loaded = loadSwiss(path);
    if (!loaded)
        return fail(command, QString(loaded.failure().text).replace(u'\n', QStringLiteral(": ")));
    const SwissTournament& t = *loaded;

    if (command == QStringLiteral("games")) {
        const std::optional<int> round = parseNumberArgument(operand);
        const bool valid = round && ((*round >= 1 && *round <= t.roundCount()) ||
                                     (*round == 0 && t.roundCount() == 0));
        if (!valid)
            return fail(command, round ? QStringLiteral("no round '%1' (the tournament has %2)")
                                             .arg(operand, QString::number(t.roundCount()))
                                       : QStringLiteral("round '%1' is not a number").arg(operand));
        return listing(swissGameColumns(), swissGameRows(t, *round));
    }

    const SwissStandings standings = computeSwissStandings(t);
    if (command == QStringLiteral("standings")) {
        // The list given, else the one the tournament keeps; none: the program's order.
        const Result<TieBreakList> list = parseTieBreakList(
            parsed.value(QStringLiteral("--tiebreaks")).value_or(t.extras.tieBreaks));
        if (!list)
            return fail(command, messageLine(list.failure()));
        if (list->empty())
            return listing(swissStandingsColumns(), swissStandingsRows(t, standings));
        return listing(swissTieBreakStandingsColumns(*list),
                       swissTieBreakStandingsRows(t, swissTieBreakStandings(t, standings, *list)));
    }

    PairingWorkbench workbench(t, standings);
    workbench.buildUnpairedList();
    if (command == QStringLiteral("pair")) {
        const std::optional<DutchOptions> options = dutchOptions(parsed, t);
        if (!options)
            return fail(command, dutchOptionsError(parsed, t));
        if (const Result<> proposed = workbench.proposeDutchPairing(*options); !proposed)
            return fail(command, proposed.failure().text);
        if (!output) {
            QVector<QStringList> rows;
            for (const PairRow& row : workbench.pairList())
                rows.append({QString::number(row.white), QString::number(row.black)});
            return listing(QStringList{QStringLiteral("Белые"), QStringLiteral("Черные")}, rows);
        }
    } else if (command == QStringLiteral("commit") && !pairs)
        return fail(command, QStringLiteral("--pairs is required"));
    if (pairs) {
        if (std::optional<QString> bad = parsePairs(*pairs, workbench))
            return fail(command, *bad);
    }

    if (command == QStringLiteral("unpaired"))
        return listing(playerListTitles(), workbench.unpairedRows());

    if (command == QStringLiteral("candidates")) {
        const std::optional<int> first = parseNumberArgument(operand);
        if (!first || !t.hasParticipant(*first))
            return fail(command, numberArgumentError(QStringLiteral("participant"), operand,
                                                     t.participantCount()));
        float allowance = 0.0f;
        if (allowanceText) {
            bool ok = false;
            const double value = allowanceText->toDouble(&ok);
            if (!ok || !std::isfinite(value))
                return fail(command, QStringLiteral("bad allowance '%1'").arg(*allowanceText));
            allowance = float(value);
        }
        workbench.clearCandidates();
        workbench.buildCandidates(*first, allowance);
        if (parsed.has(QStringLiteral("--force")))
            workbench.forceCandidates(*first);
        return listing(playerListTitles(), workbench.candidateRows());
    }

    // commit, and pair with -o
    const Result<CommittedRound> committed = workbench.commitRoundPairing(output.value_or(path));
    const std::optional<Message> failed =
        committed ? committed->notReadBack : std::optional<Message>(committed.failure());
    if (failed)
        return fail(command, QString(failed->text).replace(u'\n', QStringLiteral(": ")));
    return {0, QByteArray(), QByteArray()};
}

} // namespace ladya
