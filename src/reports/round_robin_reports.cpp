#include "reports/round_robin_reports.h"

#include "common/tournament_creation.h"
#include "common/tournament_state.h"
#include "reports/report_print.h"

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

} // namespace

html::HtmlReport crosstableReport(const RoundRobinTournament& tournament,
                                  const RoundRobinResults& results) {
    const int n = tournament.participantCount();
    html::HtmlReport report(html::PageLayout::Landscape, n + 13);
    for (const int width : {30, 150, 40, 50})
        report.addColumnGroup(width);
    report.addColumnGroup(35, n);
    report.addColumnGroup(5);

    report.addRow(html::crosstableCells(columnTitles(resultsTableColumns(n))));
    const QVector<QStringList> rows = resultsTableRows(tournament, results);
    for (qsizetype k = 0; k < rows.size(); ++k) {
        if (k < n)
            report.addRow(html::crosstableCells(rows.at(k)));
        else
            report.addRow(html::CellStyle::Center, rows.at(k));
    }
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
