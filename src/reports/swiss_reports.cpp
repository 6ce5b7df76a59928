#include "reports/swiss_reports.h"

#include "common/tournament_creation.h"
#include "reports/final_standings.h"
#include "reports/report_print.h"
#include "scoring/tiebreak_columns.h"
#include "swiss/swiss_rows.h"
#include "swiss/swiss_tiebreak_list.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace ladya {

namespace {

const QString Left = QStringLiteral("LEFT");

// The title, caption and summary lines of the statistics page span its eight columns.
constexpr int StatisticsSpan = 8;

// The standings list's columns the crosstable writes before the rounds, and those it
// writes after them; "Соперники" (13) is left out, the round cells say it better.
constexpr int ColumnsBeforeRounds = 4;
constexpr int OpponentsColumn = 13;

// The list's row with the round cells put in place of "Соперники" (which stands
// `shift` columns further right when a tie-break list adds its columns).
QStringList withRounds(const QStringList& listRow, const QStringList& rounds, qsizetype shift = 0) {
    QStringList texts = listRow.mid(0, ColumnsBeforeRounds);
    texts << rounds;
    for (qsizetype k = ColumnsBeforeRounds; k < listRow.size(); ++k) {
        if (k != OpponentsColumn + shift)
            texts << listRow.at(k);
    }
    return texts;
}

// The first board of the round on which the participant plays, white side tested first;
// nullptr when the participant has no game that round.
const SwissGame* boardOf(const SwissTournament& t, int round, int number) {
    for (const SwissGame& g : t.rounds[round - 1]) {
        if (g.white == number || g.black == number)
            return &g;
    }
    return nullptr;
}

// A result code in the crosstable's notation, from its own side's view.
QString ownResultText(const QString& code) {
    switch (codeByte(code)) {
    case '1':
        return QStringLiteral("1");
    case '0':
        return QStringLiteral("0");
    case '%':
        return QStringLiteral("1/2");
    case '+':
        return QStringLiteral("+");
    case '-':
        return QStringLiteral("-");
    default:
        return QString();
    }
}

QString tr(const char* text) {
    return QCoreApplication::translate("SwissReports", text);
}

// A round sat out by the tournament's records shows what it brought: "½" for a
// half-point bye, "1" for a full one, "0" for an absence, "–" for a withdrawn round.
// Nothing without records, so that a plain tournament's pages stay as they were.
QString absenceMark(const SwissTournament& t, int round, int number) {
    if (t.extras.isEmpty())
        return QString();
    const std::optional<Absence> kind = t.extras.absence(number, round);
    if (!kind)
        return QString();
    if (t.extras.isWithdrawn(number, round))
        return QStringLiteral("–");
    switch (*kind) {
    case Absence::HalfBye:
        return QStringLiteral("½");
    case Absence::FullBye:
        return QStringLiteral("1");
    case Absence::ZeroBye:
        break;
    }
    return QStringLiteral("0");
}

// The name as the pages show it: a participant who has left for good is marked, as the
// standings list marks him.
QString markedName(const SwissTournament& t, int number, const QString& name) {
    if (t.extras.isEmpty() || !withdrawnAfter(t, number))
        return name;
    return name + u' ' + tr("(выбыл)");
}

// A participant's cell of one round: the opponent's current place, the colour letter
// and the result ("3б1"). A forfeit drops the letter ("7+", a double forfeit "7-"); a
// game against the bye participant has no opponent to place and shows the result alone.
QString roundCell(const SwissTournament& t, const SwissStandings& s, int round, int number) {
    const SwissGame* g = boardOf(t, round, number);
    if (!g)
        return absenceMark(t, round, number);
    const bool white = g->white == number;
    const QString& code = white ? g->whiteResult : g->blackResult;
    const int opponent = white ? g->black : g->white;
    const QString result = ownResultText(code);
    if (opponent == t.byeNumber || !t.hasParticipant(opponent))
        return result;
    const char c = codeByte(code);
    const bool forfeit = c == '+' || c == '-';
    const QString colour = forfeit ? QString() : white ? QStringLiteral("б") : QStringLiteral("ч");
    return QString::number(s.placeOf(opponent)) + colour + result;
}

// The game in white–black notation. A double forfeit keeps both losses: reading it
// from White's code alone would hand Black a win he never had.
QString whiteBlackResult(const SwissGame& g) {
    const char white = codeByte(g.whiteResult);
    if (white == '-' && codeByte(g.blackResult) == '-')
        return QStringLiteral("(-)-(-)");
    switch (white) {
    case '1':
        return QStringLiteral("1-0");
    case '0':
        return QStringLiteral("0-1");
    case '%':
        return QStringLiteral("1/2-1/2");
    case '+':
        return QStringLiteral("(+)-(-)");
    case '-':
        return QStringLiteral("(-)-(+)");
    default:
        return QString();
    }
}

// The tournament's name: the file name without its folder and its extension.
QString tournamentName(const SwissTournament& t) {
    const QString file = QFileInfo(t.state.path).fileName();
    return file.chopped(std::min<qsizetype>(4, file.size()));
}

// The chosen tie-break list; empty when none is chosen (or the stored text, which
// loading has checked, does not read).
TieBreakList chosenList(const SwissTournament& t) {
    if (t.extras.tieBreaks.isEmpty())
        return {};
    const Result<TieBreakList> list = parseTieBreakList(t.extras.tieBreaks);
    return list ? *list : TieBreakList();
}

// What the crosstable's own columns mean: they are abbreviated, and a page handed
// round a tournament hall has to explain itself.
QStringList ownColumnLegend() {
    return {tr("Разр — спортивный разряд или звание"),
            tr("ЭЛО — рейтинг до турнира"),
            tr("1, 2, … — туры: место соперника, цвет (б — белые, ч — чёрные) и результат "
               "(1, 1/2, 0; + и - — победа и поражение без игры)"),
            tr("Очки — набранные очки"),
            tr("К.Бхг — коэффициент Бухгольца: сумма очков соперников (без партий с баем)"),
            tr("К.Прг — прогрессивный коэффициент: сумма очков, набранных к концу каждого тура"),
            tr("Ср.Эло — средний рейтинг соперников в партиях, не решённых неявкой"),
            tr("Бел., Чёр. — число партий белыми и чёрными"),
            tr("Сп. — спуски: на сколько очков соперники отставали перед туром, сумма со "
               "2-го тура"),
            tr("Пд. — подъёмы: на сколько очков соперники опережали перед туром, сумма со "
               "2-го тура"),
            tr("(+) — число побед без игры (неявка соперника или бай)"),
            tr("N ож — ожидаемое число очков по рейтингу"),
            tr("NN Эло — новый рейтинг")};
}

// The crosstable ranked by the list: the rows in its order, its places, its columns
// after "Очки", and the legend.
html::HtmlReport rankedCrosstable(const SwissTournament& t, const SwissStandings& s,
                                  const TieBreakList& list) {
    const int rounds = t.roundCount();
    const qsizetype shift = qsizetype(list.size());
    const int columns = rounds + 15 + int(shift);
    html::HtmlReport report(html::PageLayout::Landscape, columns);
    QStringList roundTitles;
    for (int r = 1; r <= rounds; ++r)
        roundTitles << QString::number(r);
    report.addRow(html::crosstableCells(
        withRounds(columnTitles(swissTieBreakStandingsColumns(list)), roundTitles, shift)));
    const SwissTieBreakStandings ranked = swissTieBreakStandings(t, s, list);
    const QVector<QStringList> rows = swissTieBreakStandingsRows(t, ranked);
    for (int row = 1; row <= ranked.rowCount(); ++row) {
        const int number = ranked.participantAt(row);
        QStringList cells;
        for (int r = 1; r <= rounds; ++r)
            cells << roundCell(t, ranked.standings, r, number);
        report.addRow(html::crosstableCells(withRounds(rows.at(row - 1), cells, shift)));
    }
    addLegend(report, tieBreakLegendLines(list) + ownColumnLegend(), columns);
    return report;
}

} // namespace

html::HtmlReport swissCrosstableReport(const SwissTournament& t, const SwissStandings& s) {
    if (const TieBreakList list = chosenList(t); !list.empty())
        return rankedCrosstable(t, s, list);
    const int rounds = t.roundCount();
    html::HtmlReport report(html::PageLayout::Landscape, rounds + 15);

    QStringList roundTitles;
    for (int r = 1; r <= rounds; ++r)
        roundTitles << QString::number(r);
    report.addRow(
        html::crosstableCells(withRounds(columnTitles(swissStandingsColumns()), roundTitles)));

    for (int place = 1; place <= s.order.size(); ++place) {
        const int number = s.participantAt(place);
        if (isByeRow(t.participant(number)))
            continue;
        QStringList cells;
        for (int r = 1; r <= rounds; ++r)
            cells << roundCell(t, s, r, number);
        QStringList row = swissStandingsRow(t, s, place);
        report.addRow(html::crosstableCells(withRounds(row, cells)));
    }
    return report;
}

html::HtmlReport swissStatisticsReport(const SwissTournament& t, const SwissStandings& s,
                                       int number) {
    html::HtmlReport report(html::PageLayout::Narrow);
    if (!t.hasParticipant(number))
        return report;
    const Participant& p = t.participant(number);
    report.addTextRow(QStringLiteral("Название турнира: ") + tournamentName(t), Left,
                      StatisticsSpan);
    report.addTextRow(QStringLiteral("Статистика результатов участника: ") +
                          markedName(t, number, p.name) + QStringLiteral(", разряд - ") +
                          p.category + QStringLiteral(", К.Эло - ") + p.rating,
                      Left, StatisticsSpan);
    report.addSpacerRow();
    report.addRow(html::CellStyle::BoxCenter,
                  {QStringLiteral("ТУР"), QStringLiteral("ФИО соперника"), QStringLiteral("Разряд"),
                   QStringLiteral("К.Эло"), QStringLiteral("Цвет фигур"),
                   QStringLiteral("Результат"), QStringLiteral("Очки"), QStringLiteral("Место")});

    const auto boxed = [](const QString& text) {
        return html::cell(html::CellStyle::BoxCenter, text);
    };
    for (int r = 1; r <= t.roundCount(); ++r) {
        QStringList cells;
        if (const SwissGame* g = boardOf(t, r, number)) {
            const bool white = g->white == number;
            const int opponent = white ? g->black : g->white;
            // A number outside the table comes only from a hand-edited file: the row
            // keeps its round, colour and result and leaves the opponent blank.
            Participant o;
            QString points;
            QString place;
            if (t.hasParticipant(opponent)) {
                o = t.participant(opponent);
                points = pointsText(s.of(opponent).points);
                place = QString::number(s.placeOf(opponent));
            }
            cells << boxed(QString::number(r)) << html::cell(html::CellStyle::BoxLeft, o.name)
                  << boxed(o.category) << boxed(o.rating)
                  << boxed(white ? QStringLiteral("Черные") : QStringLiteral("Белые"))
                  << boxed(whiteBlackResult(*g)) << boxed(points) << boxed(place);
        } else if (const QString mark = absenceMark(t, r, number); !mark.isEmpty()) {
            const QString why =
                t.extras.isWithdrawn(number, r) ? tr("выбыл(а)") : tr("не играл(а) в туре");
            cells << boxed(QString::number(r)) << html::cell(html::CellStyle::BoxLeft, why)
                  << boxed(QString()) << boxed(QString()) << boxed(QString()) << boxed(mark)
                  << boxed(QString()) << boxed(QString());
        }
        report.addRow(cells);
    }

    const SwissFigures& f = s.of(number);
    report.addSpacerRow(StatisticsSpan);
    report.addTextRow(QStringLiteral("Итоговые результаты участника"), Left, StatisticsSpan);
    report.addTextRow(pointsText(f.points) + QStringLiteral(" очков, ") + QString::number(f.place) +
                          QStringLiteral(" место, ") + QString::number(f.newRating) +
                          QStringLiteral(" рейтинг"),
                      Left, StatisticsSpan);
    return report;
}

html::HtmlReport swissFinalStandingsReport(const SwissTournament& t, const SwissStandings& s) {
    FinalStandings f;
    f.tournamentName = tournamentName(t);
    const auto row = [&t, &s](int number, const QString& place) {
        const Participant& p = t.participant(number);
        return FinalStandings::Row{place,
                                   p.number,
                                   markedName(t, number, p.name),
                                   p.rating,
                                   pointsText(s.of(number).points),
                                   QStringList()};
    };
    const TieBreakList list = chosenList(t);
    if (list.empty()) {
        // The program's own order: points, then Buchholz, every place its own.
        f.valueTitles = QStringList{QStringLiteral("К.Бхг")};
        f.legend = QStringList{ownColumnLegend().at(4)};
        for (int place = 1; place <= s.order.size(); ++place) {
            const int number = s.participantAt(place);
            if (isByeRow(t.participant(number)))
                continue;
            FinalStandings::Row r = row(number, QString::number(place));
            r.values << coefficientText(s.of(number).buchholz);
            f.rows.append(r);
        }
        return finalStandingsReport(f);
    }
    const SwissTieBreakStandings ranked = swissTieBreakStandings(t, s, list);
    f.valueTitles = columnTitles(tieBreakColumns(list));
    f.legend = tieBreakLegendLines(list);
    for (int place = 1; place <= ranked.rowCount(); ++place) {
        FinalStandings::Row r = row(ranked.participantAt(place), ranked.placeText(place));
        r.values = ranked.tieBreakCells(place);
        f.rows.append(r);
    }
    return finalStandingsReport(f);
}

QString swissPageHeader(const SwissTournament& tournament) {
    return tournamentPageHeader(tournamentNameOfFile(tournament.state.path), tournament.state);
}

} // namespace ladya
