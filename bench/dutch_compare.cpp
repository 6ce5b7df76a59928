// Compares the Dutch pairing engine with bbpPairings, used as a black box: the reference
// generates random tournaments with its own Dutch engine, and every round of them is
// paired again here from the rounds before it. Not a test: CI has no bbpPairings, and
// the tool says so and exits cleanly when it cannot find the program.
//
//   dutch_compare [--bbp PATH] [--count N] [--first-seed S] [--min-players A]
//                 [--max-players B] [--save DIR] [--save-identical DIR] [--verbose]
//                 [--check-p] [--restrictions] [--from DIR]
//
// --from compares the tournaments kept in DIR (as --save keeps them) instead of
// generating new ones; their rounds are the rounds they hold.
// Players the generator leaves out of a round (half-point and zero-point byes) come in
// through the import as absences, and the round is paired without them.
// --restrictions adds, before every round, random forbidden pairs (260, partly among
// the pairs the reference had made) and announced byes (240) to the cut TRF; both
// engines pair that file, the program from its own import of it.
// --save keeps the generated TRF of every tournament with a difference in DIR,
// --save-identical those paired identically in every round (the golden tests' data);
// --check-p also asks the reference to pair each truncated tournament (-p) and checks
// that its answer is the round it generated.
#include "exchange/trf.h"
#include "pairing/dutch_pairing.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <set>
#include <tuple>

using namespace ladya;

namespace {

using PairSet = std::set<std::pair<int, int>>;

PairSet pairSet(const QVector<DutchPair>& pairs) {
    PairSet s;
    for (const DutchPair& p : pairs)
        s.insert({p.white, p.black});
    return s;
}

// The pairs of a round as stored: participant numbers, White first, the bye as
// (player, bye participant).
PairSet storedRound(const SwissTournament& t, int round) {
    PairSet s;
    for (const SwissGame& g : t.rounds[round - 1]) {
        if (g.isEmpty())
            continue;
        if (g.white == t.byeNumber && t.byeNumber > 0)
            s.insert({g.black, g.white});
        else
            s.insert({g.white, g.black});
    }
    return s;
}

SwissTournament truncated(const SwissTournament& t, int rounds) {
    SwissTournament c = t;
    c.rounds.resize(rounds);
    c.deriveCounts();
    return c;
}

QString pairsText(const PairSet& s) {
    QStringList parts;
    for (const auto& [w, b] : s)
        parts << QStringLiteral("%1-%2").arg(w).arg(b);
    return parts.join(u' ');
}

bool runBbp(const QString& bbp, const QStringList& args) {
    QProcess p;
    p.start(bbp, args);
    if (!p.waitForFinished(600000))
        return false;
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

// The reference's answer to -p: "count" then "white black" lines in TRF numbers, the bye
// as "player 0".
std::optional<PairSet> bbpPairs(const QString& bbp, const QString& trfPath, int byeNumber,
                                const QString& outPath, bool* failed = nullptr) {
    QFile::remove(outPath);
    if (!runBbp(bbp, {QStringLiteral("--dutch"), trfPath, QStringLiteral("-p"), outPath})) {
        if (failed)
            *failed = true;
        return std::nullopt;
    }
    QFile f(outPath);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QStringList lines = QString::fromLatin1(f.readAll()).split(u'\n', Qt::SkipEmptyParts);
    PairSet s;
    for (int i = 1; i < lines.size(); ++i) {
        const QStringList f2 = lines[i].simplified().split(u' ');
        if (f2.size() != 2)
            continue;
        const int w = f2[0].toInt();
        const int b = f2[1].toInt();
        s.insert({w, b == 0 ? byeNumber : b});
    }
    return s;
}

// Random restrictions for round `round` of `t` (the rounds before it): forbidden pairs,
// half of them among the pairs the reference made that round, and announced byes.
void addRestrictions(SwissTournament& t, const PairSet& made, int round, quint32 seed) {
    quint32 state = seed * 747796405u + quint32(round) * 2891336453u + 1u;
    const auto next = [&](quint32 bound) {
        state = state * 1664525u + 1013904223u;
        return (state >> 8) % bound;
    };
    const int n = t.participantCount() - (t.byeNumber > 0 ? 1 : 0);
    const auto playing = [&](int p) { return p != t.byeNumber && !t.extras.absence(p, round); };
    const std::vector<std::pair<int, int>> pairs(made.begin(), made.end());
    const int forbidden = int(next(6));
    for (int k = 0; k < forbidden; ++k) {
        int a = 1 + int(next(quint32(n)));
        int b = 1 + int(next(quint32(n)));
        if (k % 2 == 0 && !pairs.empty()) {
            std::tie(a, b) = pairs[next(quint32(pairs.size()))];
        }
        if (a == b || !t.hasParticipant(a) || !t.hasParticipant(b) || a == t.byeNumber ||
            b == t.byeNumber)
            continue;
        const int from = 1 + int(next(quint32(round)));
        const int to = next(2) == 0 ? 0 : round + int(next(3));
        t.extras.forbidden.append({a, b, from, to});
    }
    const int byes = int(next(4));
    for (int k = 0; k < byes; ++k) {
        const int p = 1 + int(next(quint32(n)));
        if (!playing(p))
            continue;
        static const Absence kinds[] = {Absence::HalfBye, Absence::ZeroBye, Absence::FullBye};
        t.extras.byes.append({p, round, kinds[next(3)]});
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QString bbp = QStringLiteral("/work/scratch-bbp/bbpPairings.exe");
    int count = 100;
    quint32 firstSeed = 1;
    int minPlayers = 10;
    int maxPlayers = 300;
    QString saveDir;
    QString identicalDir;
    bool verbose = false;
    bool checkP = false;
    bool restrictions = false;
    QString fromDir;
    int restrictedRounds = 0;
    int restrictedFailures = 0; // rounds neither engine could pair
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto next = [&] { return i + 1 < args.size() ? args[++i] : QString(); };
        if (a == u"--bbp")
            bbp = next();
        else if (a == u"--count")
            count = next().toInt();
        else if (a == u"--first-seed")
            firstSeed = next().toUInt();
        else if (a == u"--min-players")
            minPlayers = next().toInt();
        else if (a == u"--max-players")
            maxPlayers = next().toInt();
        else if (a == u"--save")
            saveDir = next();
        else if (a == u"--save-identical")
            identicalDir = next();
        else if (a == u"--verbose")
            verbose = true;
        else if (a == u"--check-p")
            checkP = true;
        else if (a == u"--restrictions")
            restrictions = true;
        else if (a == u"--from")
            fromDir = next();
    }
    if (!QFileInfo(bbp).isExecutable()) {
        std::printf("bbpPairings not found at %s: nothing compared\n", qPrintable(bbp));
        return 0;
    }
    QTemporaryDir tmp;
    QStringList kept;
    if (!fromDir.isEmpty()) {
        const QDir dir(fromDir);
        for (const QString& name : dir.entryList({QStringLiteral("*.trf")}, QDir::Files))
            kept.append(dir.filePath(name));
        count = int(kept.size());
    }
    int tournaments = 0;
    int compared = 0;
    int identical = 0;
    int referenceMismatch = 0;
    int skipped = 0;      // generated tournaments the program cannot hold
    int withAbsences = 0; // generated tournaments with half-point or zero-point byes
    qint64 ownNs = 0;
    QElapsedTimer clock;
    for (int k = 0; k < count; ++k) {
        const quint32 seed = firstSeed + quint32(k);
        // Sizes, rounds, draws and forfeits spread deterministically over the seeds.
        int players = minPlayers + int((seed * 2654435761u) % quint32(maxPlayers - minPlayers + 1));
        int rounds = 5 + int((seed * 40503u) % 7u);
        const int draws = int((seed * 7919u) % 50u);
        const int forfeitRate = 2 + int((seed * 104729u) % 40u);
        const QString cfg = tmp.filePath(QStringLiteral("cfg.txt"));
        {
            QFile f(cfg);
            f.open(QIODevice::WriteOnly);
            f.write(QStringLiteral("PlayersNumber=%1\nRoundsNumber=%2\nDrawPercentage=%3\n"
                                   "ForfeitRate=%4\n")
                        .arg(players)
                        .arg(rounds)
                        .arg(draws)
                        .arg(forfeitRate)
                        .toLatin1());
        }
        QString gen = tmp.filePath(QStringLiteral("gen.trf"));
        if (!kept.isEmpty()) {
            gen = kept[k];
            std::printf("%s\n", qPrintable(gen));
        } else if (!runBbp(bbp, {QStringLiteral("--dutch"), QStringLiteral("-g"), cfg,
                                 QStringLiteral("-o"), gen, QStringLiteral("-s"),
                                 QString::number(seed)})) {
            std::printf("seed %u: the reference could not generate a tournament\n", seed);
            continue;
        }
        QFile g(gen);
        g.open(QIODevice::ReadOnly);
        // The generator writes no start date, which the import requires.
        const QByteArray text = "042 2026/01/01\r\n" + g.readAll();
        const Result<TrfImported> imported = trfImportSwiss(text);
        if (!imported) {
            std::printf("seed %u: import refused: %s\n", seed, qPrintable(imported.failure().text));
            ++skipped;
            continue;
        }
        const SwissTournament& full = imported->tournament;
        if (!kept.isEmpty()) {
            rounds = full.roundCount();
            players = full.participantCount() - (full.byeNumber > 0 ? 1 : 0);
        }
        ++tournaments;
        if (!full.extras.byes.isEmpty())
            ++withAbsences;
        bool allSame = true;
        const int identicalBefore = identical;
        for (int r = 1; r <= full.roundCount(); ++r) {
            const SwissTournament before = truncated(full, r - 1);
            const PairSet expected = storedRound(full, r);
            if (checkP) {
                const QString in = tmp.filePath(QStringLiteral("in.trf"));
                QFile f(in);
                f.open(QIODevice::WriteOnly);
                f.write(trfExport(before, rounds));
                // Before any colour is given the reference must be told the initial one.
                f.write(initialColourFromRoundOne(full).value_or(InitialColour::White) ==
                                InitialColour::White
                            ? "XXC white1\r\n"
                            : "XXC black1\r\n");
                f.close();
                const auto ref = bbpPairs(bbp, in, full.byeNumber, tmp.filePath("out.txt"));
                if (!ref || *ref != expected) {
                    ++referenceMismatch;
                    std::printf("seed %u round %d: the reference's -p differs from its own round\n",
                                seed, r);
                }
            }
            DutchOptions options;
            options.plannedRounds = rounds;
            options.initialColour = initialColourFromRoundOne(full).value_or(InitialColour::White);
            PairSet got;
            PairSet reference = expected;
            bool ownFound = true;
            if (restrictions) {
                // Both engines read the same cut file with the restrictions in it.
                SwissTournament restricted = before;
                addRestrictions(restricted, expected, r, seed);
                const QString in = tmp.filePath(QStringLiteral("cut.trf"));
                QFile f(in);
                f.open(QIODevice::WriteOnly);
                // Before any colour is given the reference must be told the initial one.
                const QByteArray cut =
                    trfExport(restricted, rounds) + (options.initialColour == InitialColour::White
                                                         ? "XXC white1\r\n"
                                                         : "XXC black1\r\n");
                f.write(cut);
                f.close();
                const Result<TrfImported> read = trfImportSwiss(cut);
                if (!read) {
                    std::printf("seed %u round %d: the cut file does not import: %s\n", seed, r,
                                qPrintable(read.failure().text));
                    allSame = false;
                    continue;
                }
                const SwissTournament& mine = read->tournament;
                const int byeNumber =
                    mine.byeNumber > 0 ? mine.byeNumber : mine.participantCount() + 1;
                bool refused = false;
                const auto ref = bbpPairs(bbp, in, byeNumber, tmp.filePath("out.txt"), &refused);
                clock.start();
                const DutchPairing own = pairDutch(mine, options);
                ownNs += clock.nsecsElapsed();
                ++compared;
                ++restrictedRounds;
                if (!ref && !own.found()) {
                    ++identical;
                    ++restrictedFailures;
                    continue;
                }
                reference = ref.value_or(PairSet{});
                got = pairSet(own.pairs);
                ownFound = own.found();
            } else {
                clock.start();
                const DutchPairing own = pairDutch(before, options);
                ownNs += clock.nsecsElapsed();
                ++compared;
                got = pairSet(own.pairs);
                ownFound = own.found();
            }
            const PairSet& expectedHere = reference;
            if (got == expectedHere) {
                ++identical;
                continue;
            }
            allSame = false;
            std::printf("seed %u (%d players, %d rounds) round %d differs%s\n", seed, players,
                        rounds, r, ownFound ? "" : " (own: no pairing)");
            if (restrictions && !saveDir.isEmpty()) {
                QDir().mkpath(saveDir);
                QFile::copy(
                    tmp.filePath(QStringLiteral("cut.trf")),
                    QDir(saveDir).filePath(QStringLiteral("seed%1-r%2.trf").arg(seed).arg(r)));
            }
            if (verbose) {
                PairSet onlyRef, onlyOwn;
                std::set_difference(expectedHere.begin(), expectedHere.end(), got.begin(),
                                    got.end(), std::inserter(onlyRef, onlyRef.end()));
                std::set_difference(got.begin(), got.end(), expectedHere.begin(),
                                    expectedHere.end(), std::inserter(onlyOwn, onlyOwn.end()));
                std::printf("  reference only: %s\n  own only:       %s\n",
                            qPrintable(pairsText(onlyRef)), qPrintable(pairsText(onlyOwn)));
            }
        }
        // A line per tournament, so that a run stopped early can still be counted.
        std::printf("seed %u: %d players, %d of %d rounds identical%s\n", seed, players,
                    identical - identicalBefore, full.roundCount(),
                    full.extras.byes.isEmpty() ? "" : " (players sitting out rounds)");
        if (allSame && !identicalDir.isEmpty()) {
            QDir().mkpath(identicalDir);
            QFile::copy(
                gen,
                QDir(identicalDir)
                    .filePath(
                        QStringLiteral("seed%1-%2p-%3r.trf").arg(seed).arg(players).arg(rounds)));
        }
        if (!allSame && !saveDir.isEmpty()) {
            QDir().mkpath(saveDir);
            QFile::copy(gen, QDir(saveDir).filePath(QStringLiteral("seed%1.trf").arg(seed)));
        }
        std::fflush(stdout);
    }
    std::printf(
        "tournaments %d, rounds compared %d, rounds identical %d, own pairing time %.3f s\n",
        tournaments, compared, identical, double(ownNs) / 1e9);
    std::printf("of them with players sitting out a round (H, Z): %d\n", withAbsences);
    std::printf("generated tournaments left out (refused by the import): %d\n", skipped);
    if (restrictions)
        std::printf("rounds with restrictions %d, of which neither engine could pair %d\n",
                    restrictedRounds, restrictedFailures);
    if (checkP)
        std::printf("reference -p answers differing from its generated rounds: %d\n",
                    referenceMismatch);
    return 0;
}
