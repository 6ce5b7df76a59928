#include "app/trf_check.h"

#include "common/text_file.h"
#include "exchange/trf.h"

#include <algorithm>

namespace ladya {

namespace {

// Whether a line of the text starts with `tag`.
bool hasRecord(QByteArrayView text, QByteArrayView tag) {
    for (qsizetype at = 0; at < text.size(); ++at) {
        if ((at == 0 || text[at - 1] == '\r' || text[at - 1] == '\n') &&
            text.sliced(at).startsWith(tag))
            return true;
    }
    return false;
}

// The round's pairs, the bye participant's game with the player first, as the engine
// gives the pairing-allocated bye.
QVector<DutchPair> filePairs(const SwissTournament& t, int round) {
    QVector<DutchPair> pairs;
    for (const SwissGame& g : t.rounds[round - 1]) {
        if (g.isEmpty())
            continue;
        pairs.append(g.white == t.byeNumber && t.byeNumber != 0 ? DutchPair{g.black, g.white}
                                                                : DutchPair{g.white, g.black});
    }
    return pairs;
}

QVector<DutchPair> missingFrom(const QVector<DutchPair>& pairs, const QVector<DutchPair>& other) {
    QVector<DutchPair> missing;
    for (const DutchPair& p : pairs) {
        if (!other.contains(p))
            missing.append(p);
    }
    return missing;
}

} // namespace

bool TrfCheck::agrees() const {
    return std::all_of(rounds.begin(), rounds.end(),
                       [](const TrfRoundCheck& r) { return r.agrees(); });
}

Result<TrfCheck> checkTrfPairings(QByteArrayView text) {
    // The start date matters to no pairing, and pairing programs' files often have none:
    // one is added after the last line, so that the import's refusals keep their lines.
    QByteArray bytes = text.toByteArray();
    if (!hasRecord(text, "042"))
        bytes += QByteArrayLiteral("\n042 2000/01/01\n");
    const Result<TrfImported> imported = trfImportSwiss(bytes, TrfLimits::Format);
    if (!imported)
        return imported.failure();
    const SwissTournament& full = imported->tournament;
    DutchOptions options;
    options.plannedRounds = std::max(imported->plannedRounds, full.roundCount());
    options.initialColour = initialColourFromRoundOne(full).value_or(InitialColour::White);
    TrfCheck check;
    check.byeNumber = full.byeNumber;
    for (int r = 1; r <= full.roundCount(); ++r) {
        SwissTournament before = full;
        before.rounds.resize(r - 1);
        before.deriveCounts();
        const DutchPairing dutch = pairDutch(before, options);
        const QVector<DutchPair> file = filePairs(full, r);
        TrfRoundCheck round;
        round.round = r;
        round.dutchFound = dutch.found();
        round.fileOnly = missingFrom(file, dutch.pairs);
        round.dutchOnly = missingFrom(dutch.pairs, file);
        check.rounds.append(round);
    }
    return check;
}

QByteArray trfCheckText(const TrfCheck& check) {
    const auto number = [&](int n) {
        return n == check.byeNumber && n != 0 ? QByteArrayLiteral("bye") : QByteArray::number(n);
    };
    const auto pairLine = [&](const char* who, const DutchPair& p) {
        return QByteArray("  ") + who + ": " + number(p.white) + " - " + number(p.black) + '\n';
    };
    QByteArray out;
    for (const TrfRoundCheck& r : check.rounds) {
        out += "round " + QByteArray::number(r.round) + (r.agrees() ? ": ok\n" : ": differs\n");
        for (const DutchPair& p : r.fileOnly)
            out += pairLine("file", p);
        if (!r.dutchFound)
            out += "  Dutch: no pairing within the absolute criteria\n";
        for (const DutchPair& p : r.dutchOnly)
            out += pairLine("Dutch", p);
    }
    return out;
}

CliOutput runTrfCheckCli(const QStringList& args) {
    const auto fail = [](const QString& text) {
        return CliOutput::failure(
            QStringLiteral("ladya-cli: check: %1").arg(QString(text).replace(u'\n', u' ')));
    };
    const CliArguments read = parseCliArguments(args, 1, {});
    if (!read.ok())
        return fail(QStringLiteral("%1 (see --help)").arg(read.error));
    if (read.operands.size() > 1)
        return fail(
            QStringLiteral("unexpected argument '%1' (see --help)").arg(read.operands.at(1)));
    if (read.operands.isEmpty() || read.operands.first().isEmpty())
        return fail(QStringLiteral("missing FILE (see --help)"));
    const QString file = read.operands.first();
    QString error;
    const std::optional<QByteArray> bytes = readFileBytes(file, &error);
    if (!bytes)
        return fail(QStringLiteral("%1: %2").arg(file, error));
    const Result<TrfCheck> check = checkTrfPairings(*bytes);
    if (!check)
        return fail(QStringLiteral("%1: %2").arg(file, check.failure().text));
    // 1, not 2: a script tells a pairing that differs from a file it could not check.
    return {check->agrees() ? 0 : 1, trfCheckText(*check), QByteArray()};
}

} // namespace ladya
