#include "roundrobin/round_robin_rows.h"

#include "roundrobin/round_robin_tiebreaks.h"
#include "scoring/expected_score.h"

#include <algorithm>

namespace ladya {

RoundRobinResults computeRoundRobin(const RoundRobinTournament& tournament) {
    const GameLinks links = linkGames(tournament);
    RoundRobinResults r;
    r.standings = computeStandings(tournament, links);
    r.norms = computeCoefficientAndNorms(tournament);
    r.ratings = computeRatings(tournament, r.standings, links);
    orderPlaces(r.standings);
    r.crosstable = buildCrosstable(tournament, links);
    return r;
}

QVector<ListColumn> gameListColumns() {
    return {{QStringLiteral("№"), 30},
            {QStringLiteral("Белые"), 140},
            {QStringLiteral("Черные"), 140},
            {QStringLiteral("Результат"), 100}};
}

QVector<QStringList> gameRows(const RoundRobinTournament& tournament, int round) {
    QVector<QStringList> rows;
    if (round < 1 || round > tournament.roundCount())
        return rows;
    rows.reserve(tournament.boardCount());
    for (int b = 1; b <= tournament.boardCount(); ++b) {
        const RoundRobinGame& g = tournament.game(round, b);
        rows.append({QString::number(b), g.white, g.black,
                     g.isPlayed() ? g.result + u'-' + g.mirrorResult : QString()});
    }
    return rows;
}

QVector<ListColumn> standingsColumns() {
    return {{QStringLiteral("Место"), 60},  {QStringLiteral("Участник"), 150},
            {QStringLiteral("Разряд"), 70}, {QStringLiteral("Рейтинг"), 70},
            {QStringLiteral("Очки"), 70},   {QStringLiteral("Коэфф ЗБ"), 70}};
}

QVector<QStringList> standingsRows(const RoundRobinTournament& tournament,
                                   const RoundRobinStandings& standings) {
    QVector<QStringList> rows;
    rows.reserve(standings.placeOrder.size());
    for (int k = 0; k < standings.placeOrder.size(); ++k) {
        const int number = standings.placeOrder.at(k);
        const Participant& p = tournament.participant(number);
        const StandingsEntry& s = standings.of(number);
        rows.append({QString::number(k + 1), p.name, p.category, p.rating, formatFixed(s.points, 1),
                     formatFixed(s.sonnebornBerger, 2)});
    }
    return rows;
}

namespace {

constexpr int StandingsTieBreakColumn = 5; // right after "Очки"
constexpr int ResultsTieBreakOffset = 6;   // "Очки" of the results table is column N + 5
constexpr int TieBreakColumnWidth = 50;

void insertTieBreakColumns(QVector<ListColumn>& columns, qsizetype at, const TieBreakList& list) {
    for (size_t k = 0; k < list.size(); ++k)
        columns.insert(at + qsizetype(k), {tieBreakTitle(list[k]), TieBreakColumnWidth});
}

void insertTieBreakValues(QStringList& row, qsizetype at, const TieBreakList& list,
                          const TieBreakRanking& ranking, size_t index) {
    for (size_t k = 0; k < list.size(); ++k)
        row.insert(at + qsizetype(k), tieBreakValueText(list[k], ranking.values[index][k]));
}

} // namespace

TieBreakList roundRobinTieBreakList(const RoundRobinTournament& tournament) {
    const Result<TieBreakList> list = parseTieBreakList(tournament.tieBreaks);
    return list ? *list : TieBreakList();
}

TieBreakRanking roundRobinTieBreakRanking(const RoundRobinTournament& tournament,
                                          const TieBreakList& list) {
    return list.empty() ? TieBreakRanking()
                        : rankByTieBreaks(roundRobinTieBreakField(tournament), list);
}

QVector<ListColumn> standingsColumns(const TieBreakList& list) {
    QVector<ListColumn> columns = standingsColumns();
    insertTieBreakColumns(columns, StandingsTieBreakColumn, list);
    return columns;
}

QVector<QStringList> standingsRows(const RoundRobinTournament& tournament,
                                   const RoundRobinStandings& standings, const TieBreakList& list,
                                   const TieBreakRanking& ranking) {
    if (list.empty())
        return standingsRows(tournament, standings);
    QVector<QStringList> rows;
    rows.reserve(qsizetype(ranking.order.size()));
    for (const int index : ranking.order) {
        const size_t i = size_t(index);
        const Participant& p = tournament.participant(index + 1);
        const StandingsEntry& s = standings.of(index + 1);
        QStringList row = {sharedPlaceText(ranking.firstPlace[i], ranking.lastPlace[i]),
                           p.name,
                           p.category,
                           p.rating,
                           formatFixed(s.points, 1),
                           formatFixed(s.sonnebornBerger, 2)};
        insertTieBreakValues(row, StandingsTieBreakColumn, list, ranking, i);
        rows.append(row);
    }
    return rows;
}

QVector<ListColumn> statisticsParticipantColumns() {
    return {{QStringLiteral("№"), 35},
            {QStringLiteral("Список игроков"), 170},
            {QStringLiteral("Разряд"), 60},
            {QStringLiteral("Рейтинг"), 70},
            {QStringLiteral("Очки"), 60}};
}

QVector<QStringList> statisticsParticipantRows(const RoundRobinTournament& tournament,
                                               const RoundRobinStandings& standings) {
    QVector<QStringList> rows;
    rows.reserve(tournament.participantCount());
    for (int k = 1; k <= tournament.participantCount(); ++k) {
        const Participant& p = tournament.participant(k);
        rows.append(
            {p.number, p.name, p.category, p.rating, formatFixed(standings.of(k).points, 1)});
    }
    return rows;
}

QVector<ListColumn> participantGamesColumns() {
    return {{QStringLiteral("  Тур"), 45},
            {QStringLiteral("Белые"), 170},
            {QStringLiteral("Результат"), 100},
            {QStringLiteral("Черные"), 170}};
}

QVector<QStringList> participantGames(const RoundRobinTournament& tournament, int number) {
    QVector<QStringList> rows;
    if (number < 1 || number > tournament.participantCount())
        return rows;
    const QString& name = tournament.participant(number).name;
    for (int r = 1; r <= tournament.roundCount(); ++r) {
        for (int b = 1; b <= tournament.boardCount(); ++b) {
            const RoundRobinGame& g = tournament.game(r, b);
            if (g.white == name || g.black == name)
                rows.append({QString::number(r), g.white,
                             g.result + QStringLiteral(" - ") + g.mirrorResult, g.black});
        }
    }
    return rows;
}

QVector<ListColumn> resultsTableColumns(int participantCount) {
    QVector<ListColumn> columns = {{QStringLiteral("№"), 30},
                                   {QStringLiteral("Участники"), 140},
                                   {QStringLiteral("Разряд"), 55},
                                   {QStringLiteral("К.ЭЛО"), 55}};
    for (int k = 1; k <= participantCount; ++k)
        columns.append({QString::number(k), 30});
    columns += {{QStringLiteral(" "), 15},         {QStringLiteral("Очки"), 45},
                {QStringLiteral("Место"), 50},     {QStringLiteral("(+)"), 30},
                {QStringLiteral("КЗБ"), 50},       {QStringLiteral("NN Эло"), 60},
                {QStringLiteral("(+/-) Эло"), 65}, {QStringLiteral("Ср. эло"), 80},
                {QStringLiteral("Ож. итог"), 80}};
    return columns;
}

QVector<ListColumn> resultsTableColumns(int participantCount, const TieBreakList& list) {
    QVector<ListColumn> columns = resultsTableColumns(participantCount);
    insertTieBreakColumns(columns, participantCount + ResultsTieBreakOffset, list);
    return columns;
}

QVector<QStringList> resultsTableRows(const RoundRobinTournament& tournament,
                                      const RoundRobinResults& results, const TieBreakList& list,
                                      const TieBreakRanking& ranking) {
    QVector<QStringList> rows = resultsTableRows(tournament, results);
    if (list.empty())
        return rows;
    const int n = tournament.participantCount();
    const std::vector<int>& order = ranking.order;
    for (int i = 1; i <= n; ++i) {
        QStringList& row = rows[i - 1];
        const size_t index = size_t(i - 1);
        // The bye row is not ranked: no place and no values.
        if (std::find(order.begin(), order.end(), i - 1) == order.end()) {
            row[n + ResultsTieBreakOffset] = QString();
            for (size_t k = 0; k < list.size(); ++k)
                row.insert(n + ResultsTieBreakOffset, QString());
            continue;
        }
        row[n + ResultsTieBreakOffset] =
            sharedPlaceText(ranking.firstPlace[index], ranking.lastPlace[index]);
        insertTieBreakValues(row, n + ResultsTieBreakOffset, list, ranking, index);
    }
    // The coefficient and norm rows are padded to the wider table.
    for (qsizetype r = n; r < rows.size(); ++r) {
        for (size_t k = 0; k < list.size(); ++k)
            rows[r] << QString();
    }
    return rows;
}

QVector<QStringList> resultsTableRows(const RoundRobinTournament& tournament,
                                      const RoundRobinResults& results) {
    const int n = tournament.participantCount();
    const int width = n + 13;
    QVector<QStringList> rows;
    rows.reserve(n + 4);
    for (int i = 1; i <= n; ++i) {
        const Participant& p = tournament.participant(i);
        const StandingsEntry& s = results.standings.of(i);
        const RatingEntry& e = results.ratings.at(i - 1);
        QStringList row;
        row.reserve(width);
        row << p.number << p.name << p.category << p.rating;
        for (int j = 1; j <= n; ++j)
            row << cellText(results.crosstable.at(i, j));
        const long long change = static_cast<long long>(e.newRating) - ratingValue(p.rating);
        row << QString() << formatFixed(s.points, 1) << QString::number(s.place)
            << QString::number(s.forfeitWins) << formatFixed(s.sonnebornBerger, 2)
            << QString::number(e.newRating) << QString::number(change)
            << QString::number(e.averageOpponentRating) << formatFixed(e.expectedScore, 2);
        rows.append(row);
    }
    const CoefficientAndNorms& c = results.norms;
    if (c.coefficient >= 1.0) {
        const auto padded = [width](QStringList cells) {
            while (cells.size() < width)
                cells << QString();
            return cells;
        };
        const QString first = c.coefficientText().left(1);
        const QString second = formatFixed(c.coefficient + 1.0, 2).left(1);
        rows.append(padded({}));
        rows.append(padded({QString(), QStringLiteral("Коэффиц. турнира"), c.coefficientText()}));
        rows.append(
            padded({QString(), QStringLiteral("Норма  ") + first + QStringLiteral(" разряда"),
                    c.normPointsFirstText(), QStringLiteral("очков")}));
        rows.append(
            padded({QString(), QStringLiteral("Норма  ") + second + QStringLiteral(" разряда"),
                    c.normPointsSecondText(), QStringLiteral("очков")}));
    }
    return rows;
}

} // namespace ladya
