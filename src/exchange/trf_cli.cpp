#include "exchange/trf_cli.h"

#include "common/tournament_creation.h"
#include "exchange/trf.h"
#include "exchange/trf_generate.h"

#include <QDir>
#include <QRegularExpression>

namespace ladya {

namespace {

const QString Export = QStringLiteral("trf");
const QString Import = QStringLiteral("import-trf");
const QString Generate = QStringLiteral("generate");

CliOutput fail(const QString& command, const QString& text) {
    return CliOutput::failure(
        QStringLiteral("ladya-cli: %1: %2").arg(command, QString(text).replace(u'\n', u' ')));
}

// The one operand and the options, by the shared parser: an option at most once and never
// empty, since an empty -o would name no file.
struct Arguments {
    QString file;
    std::optional<QString> output;
    std::optional<QString> rounds;
};

std::optional<QString> parse(const QStringList& args, bool takesRounds, Arguments& parsed) {
    QVector<CliOption> options{CliOption{QStringLiteral("-o")}};
    if (takesRounds)
        options.append(CliOption{QStringLiteral("--rounds")});
    const CliArguments read = parseCliArguments(args, 1, options);
    if (!read.ok())
        return QStringLiteral("%1 (see --help)").arg(read.error);
    if (read.operands.size() > 1)
        return QStringLiteral("unexpected argument '%1' (see --help)").arg(read.operands.at(1));
    if (read.operands.isEmpty() || read.operands.first().isEmpty())
        return QStringLiteral("missing FILE (see --help)");
    parsed.file = read.operands.first();
    parsed.output = read.value(QStringLiteral("-o"));
    parsed.rounds = read.value(QStringLiteral("--rounds"));
    return std::nullopt;
}

CliOutput runExport(const QStringList& args) {
    Arguments a;
    if (const std::optional<QString> bad = parse(args, true, a))
        return fail(Export, *bad);
    int planned = 0;
    if (a.rounds) {
        const std::optional<int> n = parseNumberArgument(*a.rounds);
        if (!n || *n < 1 || *n > Limits::SwissRounds)
            return fail(Export, numberArgumentError(QStringLiteral("--rounds"), *a.rounds,
                                                    Limits::SwissRounds));
        planned = *n;
    }
    QByteArray bytes;
    const QString tail = a.file.right(3);
    if (tail == QStringLiteral("kr2")) {
        if (a.rounds)
            return fail(Export, QStringLiteral("--rounds is for a Swiss tournament: a "
                                               "round-robin has all its rounds"));
        Result<RoundRobinTournament> loaded = loadRoundRobin(a.file);
        if (!loaded)
            return fail(Export, loaded.failure().text);
        bytes = trfExport(*loaded);
    } else if (tail == QStringLiteral("swz")) {
        Result<SwissTournament> loaded = loadSwiss(a.file);
        if (!loaded)
            return fail(Export, loaded.failure().text);
        bytes = trfExport(*loaded, planned);
    } else {
        return fail(Export, QStringLiteral("%1: not a tournament file (the name must end in kr2 "
                                           "or swz)")
                                .arg(a.file));
    }
    if (!a.output)
        return {0, bytes, QByteArray()};
    const TrfWritten written = writeTrfFile(*a.output, bytes);
    if (!written.ok)
        return fail(Export, written.message.text);
    return {};
}

CliOutput runImport(const QStringList& args) {
    Arguments a;
    if (const std::optional<QString> bad = parse(args, false, a))
        return fail(Import, *bad);
    if (!a.output)
        return fail(Import, QStringLiteral("missing -o OUT (see --help)"));
    if (a.output->right(3) != QStringLiteral("swz"))
        return fail(Import,
                    QStringLiteral("%1: the new tournament's name must end in swz").arg(*a.output));
    // OUT's name names the tournament as a created file's does: the same rule holds.
    if (const Result<> named = fileNameCheck(trfTournamentName(*a.output)); !named)
        return fail(Import, QStringLiteral("%1: %2").arg(*a.output, named.failure().text));
    if (const Result<> imported = importTrfFile(a.file, *a.output); !imported)
        return fail(Import, QStringLiteral("%1: %2").arg(a.file, imported.failure().text));
    return {};
}

// A rate as typed: a decimal from 0 to 1 with at most six places, in millionths. Read
// by hand so that no floating point decides a figure of the generated file.
std::optional<int> parseRate(const QString& text) {
    static const QRegularExpression pattern(QStringLiteral("^([01])(?:\\.([0-9]{1,6}))?$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch())
        return std::nullopt;
    const int whole = m.captured(1).toInt() * 1000000;
    const int part = m.captured(2).leftJustified(6, u'0').toInt();
    if (whole + part > 1000000)
        return std::nullopt;
    return whole + part;
}

CliOutput runGenerate(const QStringList& args) {
    const QStringList numbers{"--players",    "--rounds",     "--seed",
                              "--rating-min", "--rating-max", "--forbidden"};
    const QStringList rates{"--draw-rate", "--forfeit-rate", "--absence-rate", "--half-bye-rate"};
    QVector<CliOption> options{CliOption{QStringLiteral("-o")}};
    for (const QString& name : numbers + rates)
        options.append(CliOption{name});
    const CliArguments read = parseCliArguments(args, 1, options);
    if (!read.ok())
        return fail(Generate, QStringLiteral("%1 (see --help)").arg(read.error));
    if (!read.operands.isEmpty())
        return fail(
            Generate,
            QStringLiteral("unexpected argument '%1' (see --help)").arg(read.operands.first()));
    GenerateSettings s;
    // Each whole-number option with its range and where it goes.
    const struct {
        QString name;
        int low, high;
        int* target;
    } bounded[] = {{"--players", 2, Limits::SwissParticipants, &s.players},
                   {"--rounds", 1, Limits::SwissRounds, &s.rounds},
                   {"--rating-min", 1, 9999, &s.ratingMin},
                   {"--rating-max", 1, 9999, &s.ratingMax},
                   {"--forbidden", 0, 1000, &s.forbidden}};
    for (const auto& b : bounded) {
        const std::optional<QString> text = read.value(b.name);
        if (!text) {
            if (*b.target == 0 && b.low > 0)
                return fail(Generate, QStringLiteral("missing %1 (see --help)").arg(b.name));
            continue;
        }
        const std::optional<int> n = parseNumberArgument(*text);
        if (!n || *n < b.low || *n > b.high)
            return fail(Generate,
                        QStringLiteral("%1 '%2' is not a number from %3 to %4")
                            .arg(b.name, *text, QString::number(b.low), QString::number(b.high)));
        *b.target = *n;
    }
    if (s.ratingMin > s.ratingMax)
        return fail(Generate, QStringLiteral("--rating-min is above --rating-max"));
    if (s.forbidden > s.players * (s.players - 1) / 2)
        return fail(Generate, QStringLiteral("--forbidden %1: %2 players make only %3 pairs")
                                  .arg(QString::number(s.forbidden), QString::number(s.players),
                                       QString::number(s.players * (s.players - 1) / 2)));
    const std::optional<QString> seed = read.value(QStringLiteral("--seed"));
    if (!seed)
        return fail(Generate, QStringLiteral("missing --seed (see --help)"));
    bool seedOk = !seed->isEmpty() && seed->size() <= 20;
    for (const QChar c : *seed)
        seedOk = seedOk && c >= u'0' && c <= u'9';
    s.seed = seedOk ? seed->toULongLong(&seedOk) : 0;
    if (!seedOk)
        return fail(Generate,
                    QStringLiteral("--seed '%1' is not an unsigned 64-bit number").arg(*seed));
    int* const rateTargets[] = {&s.drawRate, &s.forfeitRate, &s.absenceRate, &s.halfByeRate};
    for (qsizetype k = 0; k < rates.size(); ++k) {
        if (const std::optional<QString> text = read.value(rates[k])) {
            const std::optional<int> rate = parseRate(*text);
            if (!rate)
                return fail(
                    Generate,
                    QStringLiteral("%1 '%2' is not a rate from 0 to 1").arg(rates[k], *text));
            *rateTargets[k] = *rate;
        }
    }
    const Result<SwissTournament> generated = generateSwiss(s);
    if (!generated)
        return fail(Generate, generated.failure().text);
    const QByteArray bytes = trfExport(*generated, s.rounds);
    const std::optional<QString> output = read.value(QStringLiteral("-o"));
    if (!output)
        return {0, bytes, QByteArray()};
    const TrfWritten written = writeTrfFile(*output, bytes);
    if (!written.ok)
        return fail(Generate, written.message.text);
    return {};
}

} // namespace

bool isTrfCommand(const QStringList& args) {
    return !args.isEmpty() &&
           (args.first() == Export || args.first() == Import || args.first() == Generate);
}

CliOutput runTrfCli(const QStringList& args) {
    if (args.value(0) == Generate)
        return runGenerate(args);
    return args.value(0) == Export ? runExport(args) : runImport(args);
}

} // namespace ladya
