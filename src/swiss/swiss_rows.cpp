#include "swiss/swiss_rows.h"

#include "scoring/tiebreak_columns.h"
#include "swiss/swiss_tiebreaks.h"

#include <QCoreApplication>

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

QVector<int> swissShownBoards(const SwissTournament& t, int round) {
    QVector<int> boards;
    boards.reserve(t.boardCount());
    const bool paired = round >= 1 && round <= t.roundCount();
    for (int b = 1; b <= t.boardCount(); ++b) {
        if (!paired || b > t.rounds[round - 1].size() || !t.game(round, b).isEmpty())
            boards.append(b);
    }
    return boards;
}

QStringList swissAbsenceRow(const SwissTournament& t, const RoundAbsence& a) {
    QString what;
    if (a.withdrawn)
        what = QCoreApplication::translate("SwissRows", "выбыл");
    else if (a.late)
        what = QCoreApplication::translate("SwissRows", "поздний участник");
    else if (a.kind == Absence::HalfBye)
        what = QCoreApplication::translate("SwissRows", "бай ½");
    else if (a.kind == Absence::FullBye)
        what = QCoreApplication::translate("SwissRows", "бай 1");
    else
        what = QCoreApplication::translate("SwissRows", "не играет");
    static const QString points[] = {QStringLiteral("0"), QStringLiteral("½"), QStringLiteral("1")};
    return {QString(), t.nameOf(a.participant), what, points[absenceHalves(a.kind)]};
}

QVector<QStringList> swissGameRows(const SwissTournament& t, int round) {
    QVector<QStringList> rows;
    rows.reserve(t.boardCount());
    for (int b : swissShownBoards(t, round))
        rows.append(swissGameRow(t, round, b));
    if (round >= 1 && round <= t.roundCount()) {
        for (const RoundAbsence& a : roundAbsences(t.extras, round, t.participantCount()))
            rows.append(swissAbsenceRow(t, a));
    }
    return rows;
}

int swissUnplayedCount(const SwissTournament& t) {
    const int r = t.roundCount();
    if (r == 0)
        return 0;
    int count = 0;
    for (const SwissGame& g : t.rounds[r - 1]) {
        if (!g.isEmpty() && g.whiteResult.isEmpty())
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
    // A participant who has left the tournament for good is marked where he stands.
    const QString name = !t.extras.isEmpty() && withdrawnAfter(t, number)
                             ? p.name + u' ' + QCoreApplication::translate("SwissWindow", "(выбыл)")
                             : p.name;
    return {QString::number(place),
            name,
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

namespace {

// Where the list's columns go: right after "Очки".
constexpr int TieBreakColumn = 5;
constexpr int TieBreakColumnWidth = 45;

} // namespace

SwissRankedStandings rankSwissStandings(const SwissTournament& t, const SwissStandings& s,
                                        const TieBreakList& list) {
    SwissRankedStandings ranked{list, {}, s};
    if (list.empty())
        return ranked;
    ranked.ranking = rankByTieBreaks(swissTieBreakField(t), list);
    SwissStandings& shown = ranked.standings;
    shown.order.clear();
    shown.order.reserve(qsizetype(ranked.ranking.order.size()));
    for (SwissFigures& f : shown.figures)
        f.place = 0;
    for (const int index : ranked.ranking.order) {
        shown.order.append(index + 1);
        shown.figures[index].place = int(shown.order.size());
    }
    return ranked;
}

QString SwissRankedStandings::placeText(int row) const {
    const std::size_t index = std::size_t(participantAt(row) - 1);
    return sharedPlaceText(ranking.firstPlace.at(index), ranking.lastPlace.at(index));
}

QStringList SwissRankedStandings::tieBreakCells(int row) const {
    return ladya::tieBreakCells(list, ranking, participantAt(row) - 1);
}

QVector<ListColumn> swissStandingsColumns(const TieBreakList& list) {
    QVector<ListColumn> columns = swissStandingsColumns();
    for (size_t k = 0; k < list.size(); ++k)
        columns.insert(TieBreakColumn + qsizetype(k),
                       {tieBreakTitle(list[k]), TieBreakColumnWidth});
    return columns;
}

QStringList swissStandingsRow(const SwissTournament& t, const SwissRankedStandings& ranked,
                              int place) {
    QStringList row = swissStandingsRow(t, ranked.standings, place);
    if (ranked.list.empty())
        return row;
    const size_t index = size_t(ranked.standings.participantAt(place) - 1);
    const TieBreakRanking& r = ranked.ranking;
    row[0] = sharedPlaceText(r.firstPlace[index], r.lastPlace[index]);
    for (size_t k = 0; k < ranked.list.size(); ++k)
        row.insert(TieBreakColumn + qsizetype(k),
                   tieBreakValueText(ranked.list[k], r.values[index][k]));
    return row;
}

} // namespace ladya
