#include "roundrobin/round_robin_standings.h"

#include <QHash>
#include <utility>

namespace ladya {

GameLinks::Code GameLinks::codeOf(const QString& code) {
    // Every code is one character; anything else scores as an unplayed game.
    if (code.size() != 1)
        return Code::Unplayed;
    switch (code.front().unicode()) {
    case u'1':
        return Code::Win;
    case u'0':
        return Code::Loss;
    case u'%':
        return Code::Draw;
    case u'+':
        return Code::ForfeitWin;
    case u'-':
        return Code::ForfeitLoss;
    default:
        return Code::Unplayed;
    }
}

GameLinks linkGames(const RoundRobinTournament& t) {
    const int n = t.participantCount();
    GameLinks links;
    links.nextSameName.fill(-1, n);
    QHash<QString, int> firstRow;
    firstRow.reserve(n);
    // Names in the games usually share their text with the participant rows (the
    // loader and the schedule arrange it), so identity finds most of them without
    // hashing the text.
    QHash<const QChar*, int> firstRowByText;
    firstRowByText.reserve(n);
    for (int k = 0; k < n; ++k) {
        const QString& name = t.participants.at(k).name;
        const auto it = firstRow.constFind(name);
        if (it == firstRow.constEnd()) {
            firstRow.insert(name, k);
            firstRowByText.insert(name.constData(), k);
        } else {
            // Chain the rows of one name in table order.
            int last = *it;
            while (links.nextSameName.at(last) >= 0)
                last = links.nextSameName.at(last);
            links.nextSameName[last] = k;
        }
    }
    const auto rowOf = [&](const QString& name) {
        const auto it = firstRowByText.constFind(name.constData());
        if (it != firstRowByText.constEnd() && t.participants.at(*it).name.size() == name.size())
            return *it;
        return firstRow.value(name, -1);
    };
    links.games.reserve(t.roundCount() * t.boardCount());
    for (const auto& round : t.games) {
        for (const RoundRobinGame& g : round) {
            links.games.append({rowOf(g.white), rowOf(g.black), GameLinks::codeOf(g.result),
                                GameLinks::codeOf(g.mirrorResult),
                                g.white == ByeText || g.black == ByeText});
        }
    }
    return links;
}

namespace {

using Code = GameLinks::Code;

float pointsOf(Code code) {
    switch (code) {
    case Code::Win:
    case Code::ForfeitWin:
        return 1.0f;
    case Code::Draw:
        return 0.5f;
    default:
        return 0.0f;
    }
}

// Applies `f` to every row bearing the name whose first row is `first`.
template <typename F> void forEachRow(const GameLinks& links, int first, F&& f) {
    for (int k = first; k >= 0; k = links.nextSameName.at(k))
        f(k);
}

} // namespace

RoundRobinStandings computeStandings(const RoundRobinTournament& tournament) {
    return computeStandings(tournament, linkGames(tournament));
}

RoundRobinStandings computeStandings(const RoundRobinTournament& tournament,
                                     const GameLinks& links) {
    RoundRobinStandings s;
    s.rows.resize(tournament.participantCount());
    for (const GameLinks::Game& g : links.games) {
        forEachRow(links, g.white, [&](int k) {
            s.rows[k].points += pointsOf(g.whiteCode);
            s.rows[k].forfeitWins += g.whiteCode == Code::ForfeitWin ? 1 : 0;
        });
        forEachRow(links, g.black, [&](int k) {
            s.rows[k].points += pointsOf(g.blackCode);
            s.rows[k].forfeitWins += g.blackCode == Code::ForfeitWin ? 1 : 0;
        });
    }
    // Sonneborn-Berger once every participant's points are complete: the opponent's
    // full points (forfeit wins included) for a win over the board, half for a draw.
    const auto share = [&](Code code, int opponent) -> double {
        const double opponentPoints = opponent >= 0 ? double(s.rows.at(opponent).points) : 0.0;
        if (code == Code::Win)
            return opponentPoints;
        if (code == Code::Draw)
            return opponentPoints / 2.0;
        return 0.0;
    };
    for (const GameLinks::Game& g : links.games) {
        if (g.white >= 0) {
            const double add = share(g.whiteCode, g.black);
            forEachRow(links, g.white, [&](int k) { s.rows[k].sonnebornBerger += add; });
        }
        if (g.black >= 0) {
            const double add = share(g.blackCode, g.white);
            forEachRow(links, g.black, [&](int k) { s.rows[k].sonnebornBerger += add; });
        }
    }
    return s;
}

void orderPlaces(RoundRobinStandings& standings) {
    const int n = static_cast<int>(standings.rows.size());
    QVector<float> points(n);
    QVector<double> sb(n);
    QVector<int> order(n);
    for (int k = 0; k < n; ++k) {
        points[k] = standings.rows.at(k).points;
        sb[k] = standings.rows.at(k).sonnebornBerger;
        order[k] = k + 1;
    }
    const auto exchange = [&](int i, int j) {
        std::swap(points[i], points[j]);
        std::swap(sb[i], sb[j]);
        std::swap(order[i], order[j]);
    };
    for (int i = 0; i < n - 1; ++i) {
        for (int j = i + 1; j < n; ++j) {
            if (points[j] > points[i])
                exchange(i, j);
            if (points[j] == points[i] && sb[j] > sb[i])
                exchange(i, j);
        }
    }
    standings.placeOrder = order;
    for (int k = 0; k < n; ++k)
        standings.rows[order.at(k) - 1].place = k + 1;
}

namespace {

double crosstableValue(Code code) {
    switch (code) {
    case Code::Win:
    case Code::ForfeitWin:
        return 1.0;
    case Code::Draw:
        return 0.5;
    case Code::Loss:
    case Code::ForfeitLoss:
        return -10.0;
    case Code::Unplayed:
        break;
    }
    return -100.0;
}

} // namespace

Crosstable buildCrosstable(const RoundRobinTournament& tournament) {
    return buildCrosstable(tournament, linkGames(tournament));
}

Crosstable buildCrosstable(const RoundRobinTournament& tournament, const GameLinks& links) {
    Crosstable c;
    c.size = tournament.participantCount();
    c.cells.fill(0.0, c.size * c.size);
    for (const GameLinks::Game& g : links.games) {
        if (g.white < 0 || g.black < 0)
            continue;
        const double whiteValue = crosstableValue(g.whiteCode);
        const double blackValue = crosstableValue(g.blackCode);
        forEachRow(links, g.white, [&](int i) {
            forEachRow(links, g.black, [&](int j) {
                c.cells[i * c.size + j] += whiteValue;
                c.cells[j * c.size + i] += blackValue;
            });
        });
    }
    for (int i = 0; i < c.size; ++i)
        c.cells[i * c.size + i] = CrosstableDiagonal;
    return c;
}

QString cellText(double value) {
    const QString oneDecimal = formatFixed(value, 1);
    static const QHash<QString, QString> replacements = {
        {QStringLiteral("88.0"), QStringLiteral("***")},
        {QStringLiteral("-9.0"), QStringLiteral("1")},
        {QStringLiteral("-9.5"), QStringLiteral("0.5")},
        {QStringLiteral("-99.0"), QStringLiteral("1")},
        {QStringLiteral("-99.5"), QStringLiteral("0.5")},
        {QStringLiteral("-110.0"), QStringLiteral("0")},
        {QStringLiteral("-10.0"), QStringLiteral("0")},
        {QStringLiteral("-20.0"), QStringLiteral("0")},
        {QStringLiteral("-100.0"), QString()},
        {QStringLiteral("-200.0"), QString()}};
    const auto it = replacements.constFind(oneDecimal);
    if (it != replacements.constEnd())
        return *it;
    if (oneDecimal.endsWith(u'0'))
        return formatFixed(value, 0);
    return oneDecimal;
}

} // namespace ladya
