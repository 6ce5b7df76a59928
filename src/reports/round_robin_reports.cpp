#include "reports/round_robin_reports.h"

#include "common/tournament_creation.h"
#include "common/tournament_state.h"
#include "reports/final_standings.h"
#include "reports/report_print.h"
#include "roundrobin/round_robin_tiebreak_list.h"
#include "scoring/tiebreak_columns.h"

#include <QCoreApplication>
#include <QDir>

namespace ladya {

namespace {

const QString Left = QStringLiteral("LEFT");
const QString Center = QStringLiteral("CENTER");

// The title, caption and summary lines of the statistics page span its eight columns.
constexpr int StatisticsSpan = 8;

QString pairing(const RoundRobinGame& game) {
    return game.white + QStringLiteral(" - ") + game.black;
}

// A schedule cell: two schedule cells stand on one line, so the rows are written whole.
QString scheduleCell(const QString& alignment, const QString& text) {
    return QStringLiteral("<TD ALIGN=\"") + alignment + QStringLiteral("\"><B>") +
           html::escape(text) + QStringLiteral("</B></TD>");
}

QString roundTitle(int round) {
    return QString::number(round) + QStringLiteral(" ТУР");
}

// The game in white–black notation. A double forfeit keeps both losses: reading it
// from White's code alone would hand Black a win he never had.
QString whiteBlackResult(const RoundRobinGame& game) {
    if (game.isDoubleForfeit())
        return QStringLiteral("(-)-(-)");
    if (game.result == GameResult::Win)
        return QStringLiteral("1-0");
    if (game.result == GameResult::Loss)
        return QStringLiteral("0-1");
    if (game.result == GameResult::Draw)
        return QStringLiteral("1/2-1/2");
    if (game.result == GameResult::ForfeitWin)
        return QStringLiteral("(+)-(-)");
    if (game.result == GameResult::ForfeitLoss)
        return QStringLiteral("(-)-(+)");
    return QString();
}

// The first row bearing the name, 0 when none does.
int participantNamed(const RoundRobinTournament& tournament, const QString& name) {
    for (int k = 1; k <= tournament.participantCount(); ++k) {
        if (tournament.participant(k).name == name)
            return k;
    }
    return 0;
}

QString tr(const char* text) {
    return QCoreApplication::translate("RoundRobinReports", text);
}

// The chosen tie-break list; empty when none is chosen (or the stored text, which
// loading has checked, does not read).
TieBreakList chosenList(const RoundRobinTournament& t) {
    if (t.tieBreaks.isEmpty())
        return {};
    const Result<TieBreakList> list = parseTieBreakList(t.tieBreaks);
    return list ? *list : TieBreakList();
}

// What the crosstable's own columns mean: they are abbreviated, and a page handed
// round a tournament hall has to explain itself.
QStringList ownColumnLegend() {
    return {tr("Разряд — спортивный разряд или звание"),
            tr("К.ЭЛО — рейтинг до турнира"),
            tr("1, 2, … — очки против участника с этим номером (*** — клетка самого участника)"),
            tr("Очки — набранные очки"),
            tr("Место — место в турнире"),
            tr("(+) — число побед без игры (неявка соперника)"),
            tr("КЗБ — коэффициент Зонненборна-Бергера: сумма очков побеждённых соперников "
               "и половины очков соперников, с которыми сыграна ничья (без побед без игры)"),
            tr("NN Эло — новый рейтинг"),
            tr("(+/-) Эло — изменение рейтинга"),
            tr("Ср. эло — средний рейтинг соперников в партиях, учитываемых для рейтинга"),
            tr("Ож. итог — ожидаемое число очков по рейтингу")};
}

} // namespace

html::HtmlReport crosstableReport(const RoundRobinTournament& tournament,
                                  const RoundRobinResults& results) {
    const int n = tournament.participantCount();
    const TieBreakList list = chosenList(tournament);
    const int columns = n + 13 + int(list.size());
    html::HtmlReport report(html::PageLayout::Landscape, columns);
    for (const int width : {30, 150, 40, 50})
        report.addColumnGroup(width);
    report.addColumnGroup(35, n);
    report.addColumnGroup(5);

    QVector<ListColumn> titles = resultsTableColumns(n);
    QVector<QStringList> rows;
    if (list.empty()) {
        rows = resultsTableRows(tournament, results);
    } else {
        titles = roundRobinTieBreakTableColumns(n, list);
        rows = roundRobinTieBreakTableRows(tournament, results,
                                           roundRobinTieBreakStandings(tournament, list));
    }
    report.addRow(html::crosstableCells(columnTitles(titles)));
    for (qsizetype k = 0; k < rows.size(); ++k) {
        if (k < n)
            report.addRow(html::crosstableCells(rows.at(k)));
        else
            report.addRow(html::CellStyle::Center, rows.at(k));
    }
    if (!list.empty())
        addLegend(report, tieBreakLegendLines(list) + ownColumnLegend(), columns);
    return report;
}

html::HtmlReport scheduleReport(const RoundRobinTournament& tournament) {
    html::HtmlReport report(html::PageLayout::Narrow);
    report.addTextRow(QStringLiteral("РАСПИСАНИЕ ТУРОВ"), Center);
    report.addSpacerRow();
    const int rounds = tournament.roundCount();
    const int boards = tournament.boardCount();
    for (int r = 1; r <= rounds; r += 2) {
        if (r < rounds) {
            QString block = QStringLiteral("\n<TR> ") + scheduleCell(Center, roundTitle(r)) + u' ' +
                            scheduleCell(Center, roundTitle(r + 1)) + QStringLiteral("</TR>");
            for (int b = 1; b <= boards; ++b)
                block += QStringLiteral("\n<TR> ") +
                         scheduleCell(Left, pairing(tournament.game(r, b))) + QStringLiteral("  ") +
                         scheduleCell(Left, pairing(tournament.game(r + 1, b))) +
                         QStringLiteral("</TR>");
            report.addRaw(block);
        } else {
            report.addTextRow(roundTitle(r), Center);
            for (int b = 1; b <= boards; ++b)
                report.addTextRow(pairing(tournament.game(r, b)), Left);
        }
        report.addSpacerRow();
    }
    return report;
}

html::HtmlReport participantStatisticsReport(const RoundRobinTournament& tournament,
                                             const RoundRobinResults& results, int number) {
    html::HtmlReport report(html::PageLayout::Narrow);
    if (number < 1 || number > tournament.participantCount())
        return report;
    const Participant& p = tournament.participant(number);
    report.addTextRow(QStringLiteral("Название турнира: ") + tournament.displayName(), Left,
                      StatisticsSpan);
    report.addTextRow(QStringLiteral("Статистика результатов участника: ") + p.name +
                          QStringLiteral(", разряд - ") + p.category +
                          QStringLiteral(", К.Эло - ") + p.rating,
                      Left, StatisticsSpan);
    report.addSpacerRow();
    report.addRow(html::CellStyle::BoxCenter,
                  {QStringLiteral("ТУР"), QStringLiteral("ФИО соперника"), QStringLiteral("Разряд"),
                   QStringLiteral("К.Эло"), QStringLiteral("Цвет фигур"),
                   QStringLiteral("Результат"), QStringLiteral("Очки"), QStringLiteral("Место")});

    for (int r = 1; r <= tournament.roundCount(); ++r) {
        QStringList cells;
        for (int b = 1; b <= tournament.boardCount(); ++b) {
            const RoundRobinGame& g = tournament.game(r, b);
            const bool white = g.white == p.name;
            if (!white && g.black != p.name)
                continue;
            const QString& opponentName = white ? g.black : g.white;
            const int opponent = participantNamed(tournament, opponentName);
            Participant o;
            QString points;
            QString place;
            if (opponent > 0) {
                o = tournament.participant(opponent);
                const StandingsEntry& s = results.standings.of(opponent);
                points = formatFixed(s.points, 1);
                place = QString::number(s.place);
            }
            const auto boxed = [](const QString& text) {
                return html::cell(html::CellStyle::BoxCenter, text);
            };
            cells << boxed(QString::number(r)) << html::cell(html::CellStyle::BoxLeft, opponentName)
                  << boxed(o.category) << boxed(o.rating)
                  << boxed(white ? QStringLiteral("Черные") : QStringLiteral("Белые"))
                  << boxed(whiteBlackResult(g)) << boxed(points) << boxed(place);
            break;
        }
        report.addRow(cells);
    }

    const CoefficientAndNorms& c = results.norms;
    if (c.coefficient >= 1.0) {
        report.addTextRow(QStringLiteral("Коэффициент турнира: ") + c.coefficientText(), Left,
                          StatisticsSpan);
        report.addTextRow(QStringLiteral("Норма %1 разряда: ").arg(c.normCategoryFirst) +
                              c.normPointsFirstText(),
                          Left, StatisticsSpan);
        report.addTextRow(QStringLiteral("Норма %1 разряда: ").arg(c.normCategorySecond) +
                              c.normPointsSecondText(),
                          Left, StatisticsSpan);
    }
    const StandingsEntry& s = results.standings.of(number);
    report.addSpacerRow(StatisticsSpan);
    report.addTextRow(QStringLiteral("Итоговые результаты участника"), Left, StatisticsSpan);
    report.addTextRow(formatFixed(s.points, 1) + QStringLiteral(" очков, ") +
                          QString::number(s.place) + QStringLiteral(" место, ") +
                          QString::number(results.ratings.at(number - 1).newRating) +
                          QStringLiteral(" рейтинг"),
                      Left, StatisticsSpan);
    return report;
}

html::HtmlReport roundRobinFinalStandingsReport(const RoundRobinTournament& t,
                                                const RoundRobinResults& results) {
    FinalStandings f;
    f.tournamentName = t.displayName();
    const auto row = [&t, &results](int number, const QString& place) {
        const Participant& p = t.participant(number);
        return FinalStandings::Row{place,
                                   p.number,
                                   p.name,
                                   p.rating,
                                   formatFixed(results.standings.of(number).points, 1),
                                   QStringList()};
    };
    const TieBreakList list = chosenList(t);
    if (list.empty()) {
        // The program's own order: points, then Sonneborn-Berger, every place its own.
        f.valueTitles = QStringList{QStringLiteral("КЗБ")};
        f.legend = QStringList{ownColumnLegend().at(6)};
        for (const int number : results.standings.placeOrder) {
            if (isByeRow(t.participant(number)))
                continue;
            FinalStandings::Row r =
                row(number, QString::number(results.standings.of(number).place));
            r.values << formatFixed(results.standings.of(number).sonnebornBerger, 2);
            f.rows.append(r);
        }
        return finalStandingsReport(f);
    }
    const RoundRobinTieBreakStandings ranked = roundRobinTieBreakStandings(t, list);
    f.valueTitles = columnTitles(tieBreakColumns(list));
    f.legend = tieBreakLegendLines(list);
    for (int k = 1; k <= ranked.rowCount(); ++k) {
        const int number = ranked.participantAt(k);
        FinalStandings::Row r = row(number, ranked.placeOf(number));
        r.values = ranked.tieBreakCells(number);
        f.rows.append(r);
    }
    return finalStandingsReport(f);
}

QString roundRobinPageHeader(const RoundRobinTournament& tournament) {
    return tournamentPageHeader(tournamentNameOfFile(tournament.state.path), tournament.state);
}

Result<> writeReportFile(const QString& workingDir, const html::HtmlReport& report) {
    const QString path = QDir(workingDir).filePath(FileNames::Report);
    const Result<> written = html::writeReport(path, report);
    if (written)
        return {};
    return Message{QStringLiteral("Ошибка"),
                   QStringLiteral("Не удалось записать отчёт в файл ") + FileNames::Report +
                       QStringLiteral("\nВозможно файл открыт в другой программе или у вас нет "
                                      "прав на запись в папку.\n") +
                       fileFailureDetail(path, written.failure().text)};
}

} // namespace ladya
