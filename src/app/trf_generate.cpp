#include "app/trf_generate.h"

#include "common/tournament_state.h"
#include "exchange/trf.h"
#include "pairing/dutch_pairing.h"
#include "roundrobin/round_robin_file.h"
#include "scoring/expected_score.h"
#include "swiss/swiss_acceleration.h"

#include <QRegularExpression>
#include <algorithm>
#include <limits>
#include <random>

namespace ladya {

namespace {

// Uniform choices from the engine's raw output only: the standard distributions may
// give other numbers on another standard library.
class Dice {
public:
    explicit Dice(std::uint64_t seed) : m_engine(seed) {}

    // 0..n-1, each equally likely: draws from the biased top of the range are redrawn.
    std::uint64_t below(std::uint64_t n) {
        constexpr std::uint64_t top = std::numeric_limits<std::uint64_t>::max();
        const std::uint64_t biased = (top % n + 1) % n;
        std::uint64_t v = m_engine();
        while (v > top - biased)
            v = m_engine();
        return v % n;
    }
    bool chance(int millionths) { return int(below(1000000)) < millionths; }

private:
    std::mt19937_64 m_engine;
};

int ratingOf(const SwissTournament& t, int number) {
    return t.participant(number).rating.toInt();
}

// White's and Black's codes of one game: a forfeit, a draw, or a win of the higher-rated
// player as often as the rating table expects him to score.
std::pair<QString, QString> playedResult(const SwissTournament& t, int white, int black,
                                         const GenerateSettings& s, Dice& dice) {
    if (dice.chance(s.forfeitRate))
        return dice.below(2) == 0 ? std::pair{GameResult::ForfeitWin, GameResult::ForfeitLoss}
                                  : std::pair{GameResult::ForfeitLoss, GameResult::ForfeitWin};
    if (dice.chance(s.drawRate))
        return {GameResult::Draw, GameResult::Draw};
    const int difference = ratingOf(t, white) - ratingOf(t, black);
    const bool higherWins = int(dice.below(100)) < higherRatedPercentage(difference);
    const bool whiteWins = (difference >= 0) == higherWins;
    return whiteWins ? std::pair{GameResult::Win, GameResult::Loss}
                     : std::pair{GameResult::Loss, GameResult::Win};
}

} // namespace

Result<SwissTournament> generateSwiss(const GenerateSettings& s) {
    Dice dice(s.seed);
    SwissTournament t;
    t.state.kind = TournamentKind::Swiss;
    t.state.path = QStringLiteral("generated_%1.swz").arg(s.seed);
    t.state.startDate = QStringLiteral("01.01.2026");
    QVector<int> ratings;
    for (int p = 0; p < s.players; ++p)
        ratings.append(s.ratingMin + int(dice.below(std::uint64_t(s.ratingMax - s.ratingMin) + 1)));
    std::stable_sort(ratings.begin(), ratings.end(), std::greater<>());
    for (int p = 1; p <= s.players; ++p)
        t.participants.append({QString::number(p),
                               QStringLiteral("PLAYER %1").arg(p, 3, 10, QLatin1Char('0')),
                               QString(), QString::number(ratings[p - 1]), QString()});
    t.extras.plannedRounds = s.rounds;
    t.extras.acceleration.baku = s.baku;
    const long long pairCount = (long long)s.players * (s.players - 1) / 2;
    while (t.extras.forbidden.size() < qMin<long long>(s.forbidden, pairCount)) {
        const int a = 1 + int(dice.below(std::uint64_t(s.players)));
        const int b = 1 + int(dice.below(std::uint64_t(s.players)));
        const ForbiddenPair f{qMin(a, b), qMax(a, b), 1, 0};
        if (a != b && !t.extras.forbidden.contains(f))
            t.extras.forbidden.append(f);
    }
    t.deriveCounts();

    DutchOptions options;
    options.plannedRounds = s.rounds;
    for (int round = 1; round <= s.rounds; ++round) {
        // Absences are announced before the round, as a director would record them.
        QVector<RequestedBye> away;
        for (int p = 1; p <= s.players; ++p) {
            if (dice.chance(s.absenceRate))
                away.append({p, round, Absence::ZeroBye});
            else if (dice.chance(s.halfByeRate))
                away.append({p, round, Absence::HalfBye});
        }
        // A round needs at least a game.
        if (s.players - away.size() < 2)
            away.clear();
        t.extras.byes += away;
        if ((s.players - away.size()) % 2 == 1 && t.byeNumber == 0) {
            t.participants.append(makeByeRow(t.participantCount() + 1));
            for (QVector<SwissGame>& past : t.rounds)
                past.resize(t.boardCount());
            t.deriveCounts();
        }
        const DutchPairing pairing = pairDutch(t, options);
        if (!pairing.found())
            return Message{QString(),
                           QStringLiteral("round %1 cannot be paired: no pairing meets the "
                                          "absolute criteria")
                               .arg(round)};
        QVector<SwissGame> games(t.boardCount());
        for (qsizetype b = 0; b < pairing.pairs.size(); ++b) {
            SwissGame& g = games[b];
            g.white = pairing.pairs[b].white;
            g.black = pairing.pairs[b].black;
            if (g.black == t.byeNumber || g.white == t.byeNumber) {
                const bool whiteIsBye = g.white == t.byeNumber;
                g.whiteResult = whiteIsBye ? GameResult::ForfeitLoss : GameResult::ForfeitWin;
                g.blackResult = whiteIsBye ? GameResult::ForfeitWin : GameResult::ForfeitLoss;
            } else {
                std::tie(g.whiteResult, g.blackResult) = playedResult(t, g.white, g.black, s, dice);
            }
        }
        t.rounds.append(std::move(games));
        t.deriveCounts();
        fixBakuGroups(t);
    }
    return t;
}

// ---- ladya-cli generate ----

namespace {

const QString Generate = QStringLiteral("generate");

CliOutput fail(const QString& command, const QString& text) {
    return CliOutput::failure(
        QStringLiteral("ladya-cli: %1: %2").arg(command, QString(text).replace(u'\n', u' ')));
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

} // namespace

CliOutput runGenerateCli(const QStringList& args) {
    const QStringList numbers{"--players",    "--rounds",     "--seed",
                              "--rating-min", "--rating-max", "--forbidden"};
    const QStringList rates{"--draw-rate", "--forfeit-rate", "--absence-rate", "--half-bye-rate"};
    QVector<CliOption> options{CliOption{QStringLiteral("-o")},
                               CliOption{QStringLiteral("--baku"), false}};
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
    } bounded[] = {{"--players", 2, MaxGeneratedPlayers, &s.players},
                   {"--rounds", 1, MaxGeneratedRounds, &s.rounds},
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
    s.baku = read.has(QStringLiteral("--baku"));
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

} // namespace ladya
