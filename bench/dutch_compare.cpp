// Compares the Dutch pairing engine with bbpPairings, used as a black box: the reference
// generates random tournaments with its own Dutch engine, and every round of them is
// paired again here from the rounds before it. Not a test: CI has no bbpPairings, and
// the tool says so and exits cleanly when it cannot find the program.
//
//   dutch_compare [--bbp PATH] [--count N] [--first-seed S] [--min-players A]
//                 [--max-players B] [--save DIR] [--save-identical DIR] [--verbose]
//                 [--check-p]
//
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
                                const QString& outPath) {
    QFile::remove(outPath);
    if (!runBbp(bbp, {QStringLiteral("--dutch"), trfPath, QStringLiteral("-p"), outPath}))
        return std::nullopt;
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
    }
    if (!QFileInfo(bbp).isExecutable()) {
        std::printf("bbpPairings not found at %s: nothing compared\n", qPrintable(bbp));
        return 0;
    }
    QTemporaryDir tmp;
    int tournaments = 0;
    int compared = 0;
    int identical = 0;
    int referenceMismatch = 0;
    int skipped = 0; // generated tournaments the program cannot hold
    qint64 ownNs = 0;
    QElapsedTimer clock;
    for (int k = 0; k < count; ++k) {
        const quint32 seed = firstSeed + quint32(k);
        // Sizes, rounds, draws and forfeits spread deterministically over the seeds.
        const int players =
            minPlayers + int((seed * 2654435761u) % quint32(maxPlayers - minPlayers + 1));
        const int rounds = 5 + int((seed * 40503u) % 7u);
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
        const QString gen = tmp.filePath(QStringLiteral("gen.trf"));
        if (!runBbp(bbp,
                    {QStringLiteral("--dutch"), QStringLiteral("-g"), cfg, QStringLiteral("-o"),
                     gen, QStringLiteral("-s"), QString::number(seed)})) {
            std::printf("seed %u: the reference could not generate a tournament\n", seed);
            continue;
        }
        QFile g(gen);
        g.open(QIODevice::ReadOnly);
        // The generator writes no start date, which the import requires.
        const QByteArray text = "042 2026/01/01\r\n" + g.readAll();
        // A player left out of a round (a zero-point bye) has no place in the program's
        // data, where every player of an odd field meets the bye participant.
        if (text.contains("0000 - Z")) {
            ++skipped;
            continue;
        }
        const Result<TrfImported> imported = trfImportSwiss(text);
        if (!imported) {
            std::printf("seed %u: import refused: %s\n", seed, qPrintable(imported.failure().text));
            ++skipped;
            continue;
        }
        const SwissTournament& full = imported->tournament;
        ++tournaments;
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
            clock.start();
            const DutchPairing own = pairDutch(before, options);
            ownNs += clock.nsecsElapsed();
            ++compared;
            const PairSet got = pairSet(own.pairs);
            if (got == expected) {
                ++identical;
                continue;
            }
            allSame = false;
            std::printf("seed %u (%d players, %d rounds) round %d differs\n", seed, players, rounds,
                        r);
            if (verbose) {
                PairSet onlyRef, onlyOwn;
                std::set_difference(expected.begin(), expected.end(), got.begin(), got.end(),
                                    std::inserter(onlyRef, onlyRef.end()));
                std::set_difference(got.begin(), got.end(), expected.begin(), expected.end(),
                                    std::inserter(onlyOwn, onlyOwn.end()));
                std::printf("  reference only: %s\n  own only:       %s\n",
                            qPrintable(pairsText(onlyRef)), qPrintable(pairsText(onlyOwn)));
            }
        }
        // A line per tournament, so that a run stopped early can still be counted.
        std::printf("seed %u: %d players, %d of %d rounds identical\n", seed, players,
                    identical - identicalBefore, full.roundCount());
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
    std::printf("generated tournaments left out (absent players, half-point byes): %d\n", skipped);
    if (checkP)
        std::printf("reference -p answers differing from its generated rounds: %d\n",
                    referenceMismatch);
    return 0;
}
