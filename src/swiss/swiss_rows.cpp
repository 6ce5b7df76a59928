#include "swiss/swiss_rows.h"

namespace ladya {

QVector<ListColumn> swissGameColumns() {
    return {{QStringLiteral("№"), 30},
            {QStringLiteral("Белые"), 140},
            {QStringLiteral("Черные"), 140},
            {QStringLiteral("Результат"), 60}};
}

QStringList swissGameRow(const SwissTournament& t, int round, int board) {
    const bool paired =
        round >= 1 && round <= t.roundCount() && board <= t.rounds[round - 1].size();
    if (!paired)
        return {QString::number(board), QString(), QString(), QString()};
    const SwissGame& g = t.game(round, board);
    const QString result =
        g.whiteResult.isEmpty() ? QString() : g.whiteResult + u'-' + g.blackResult;
    return {QString::number(board), t.nameOf(g.white), t.nameOf(g.black), result};
}

QVector<QStringList> swissGameRows(const SwissTournament& t, int round) {
    QVector<QStringList> rows;
    rows.reserve(t.boardCount());
    for (int b = 1; b <= t.boardCount(); ++b)
        rows.append(swissGameRow(t, round, b));
    return rows;
}

int swissUnplayedCount(const SwissTournament& t) {
    const int r = t.roundCount();
    if (r == 0)
        return 0;
    int count = 0;
    for (const SwissGame& g : t.rounds[r - 1]) {
        if (g.whiteResult.isEmpty())
            ++count;
    }
    return count;
}

QVector<ListColumn> swissStandingsColumns() {
    return {{QStringLiteral("Место"), 40}, {QStringLiteral("ФИО участника"), 130},
            {QStringLiteral("Разр"), 35},  {QStringLiteral("ЭЛО"), 40},
            {QStringLiteral("Очки"), 35},  {QStringLiteral("К.Бхг"), 35},
            {QStringLiteral("К.Прг"), 35}, {QStringLiteral("Ср.Эло"), 45},
            {QStringLiteral("Бел."), 25},  {QStringLiteral("Чёр."), 25},
            {QStringLiteral("Сп."), 25},   {QStringLiteral("Пд."), 25},
            {QStringLiteral("(+)"), 25},   {QStringLiteral("Соперники"), 105},
            {QStringLiteral("N ож"), 30},  {QStringLiteral("NN Эло"), 50}};
}

QStringList swissStandingsRow(const SwissTournament& t, const SwissStandings& s, int place) {
    const int number = s.participantAt(place);
    const Participant& p = t.participant(number);
    const SwissFigures& f = s.of(number);
    return {QString::number(place),
            p.name,
            p.category,
            p.rating,
            pointsText(f.points),
            coefficientText(f.buchholz),
            coefficientText(f.progressive),
            QString::number(f.averageOpponentRating),
            QString::number(f.whiteCount),
            QString::number(f.blackCount),
            floatText(f.downFloat),
            floatText(f.upFloat),
            QString::number(f.forfeitWins),
            opponentPlacesText(s, number),
            floatText(f.expectedScore),
            QString::number(f.newRating)};
}

QVector<QStringList> swissStandingsRows(const SwissTournament& t, const SwissStandings& s) {
    QVector<QStringList> rows;
    rows.reserve(s.order.size());
    for (int place = 1; place <= s.order.size(); ++place)
        rows.append(swissStandingsRow(t, s, place));
    return rows;
}

} // namespace ladya
