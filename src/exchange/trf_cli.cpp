#include "exchange/trf_cli.h"

#include "common/tournament_creation.h"
#include "exchange/trf.h"

#include <QDir>

namespace ladya {

namespace {

const QString Export = QStringLiteral("trf");
const QString Import = QStringLiteral("import-trf");

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

} // namespace

bool isTrfCommand(const QStringList& args) {
    return !args.isEmpty() && (args.first() == Export || args.first() == Import);
}

CliOutput runTrfCli(const QStringList& args) {
    return args.value(0) == Export ? runExport(args) : runImport(args);
}

} // namespace ladya
