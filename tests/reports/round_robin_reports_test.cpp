#include "reports/round_robin_reports.h"
#include "roundrobin/round_robin_test_util.h"
#include "support/test_support.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace ladya;

namespace {

// An expected page under tests/data/reports, named
// <tournament>.crosstable.html, <tournament>.schedule.html or <tournament>.stats.<N>.html
// beside <tournament>.kr2. Every page was checked against the rules, not copied from
// the program.
RoundRobinTournament loadFile(const QString& path) {
    RoundRobinLoad loaded = loadRoundRobin(path);
    if (!loaded) {
        ADD_FAILURE() << loaded.error.text.toStdString();
        return {};
    }
    return std::move(*loaded.tournament);
}

RoundRobinTournament loadData(const QString& relative) {
    return loadFile(test::dataPath(relative));
}

html::HtmlReport render(const test::GoldenPage& page, const RoundRobinTournament& t) {
    if (page.kind == QStringLiteral("schedule"))
        return scheduleReport(t);
    const RoundRobinResults results = computeRoundRobin(t);
    if (page.kind == QStringLiteral("stats"))
        return participantStatisticsReport(t, results, page.number);
    return crosstableReport(t, results);
}

// The rows of a page as lists of their cells' markup.
QVector<QStringList> tableRows(const QString& page) {
    static const QRegularExpression row(QStringLiteral("<TR>(.*?)</TR>"),
                                        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression cellPattern(QStringLiteral("<TD[^>]*>.*?</TD>"));
    QVector<QStringList> rows;
    for (const QRegularExpressionMatch& r : row.globalMatch(page)) {
        QStringList cells;
        for (const QRegularExpressionMatch& c : cellPattern.globalMatch(r.captured(1)))
            cells << c.captured(0);
        rows.append(cells);
    }
    return rows;
}

QString statisticsPage(const RoundRobinTournament& t, int number) {
    return participantStatisticsReport(t, computeRoundRobin(t), number).text();
}

} // namespace

// The functions and `ladya-cli report` give the very bytes of every page.
TEST(RoundRobinReports, GoldenPages) {
    const QVector<test::GoldenPage> pages =
        test::goldenPages(QStringLiteral("reports"), QStringLiteral("kr2"));
    // Even and odd fields, one and two cycles, coefficients below 1.0, at 3.00 and
    // above 4.0, forfeits, a double forfeit, unplayed games and names full of markup.
    ASSERT_GE(pages.size(), 20);
    for (const test::GoldenPage& page : pages) {
        SCOPED_TRACE(QFileInfo(page.name).fileName().toStdString());
        const RoundRobinTournament t = loadFile(page.tournament);
        const QByteArray expected = test::readBytes(page.name);
        EXPECT_EQ(render(page, t).bytes(), expected);
        QStringList args = {QStringLiteral("report"), page.kind, page.tournament};
        if (page.kind == QStringLiteral("stats"))
            args << QString::number(page.number);
        const test::ProgramRun run = test::runProgram(args);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, QByteArray());
        EXPECT_EQ(run.out, expected);
    }
}
TEST(RoundRobinReports, StatisticsResultTextsFromBothSides) {
    RoundRobinTournament t = test::makeRoundRobin(
        {{"А", "2", "1600"}, {"Б", "2", "1500"}, {"В", "3", "1400"}, {"Г", "3", "1300"}});
    // Round 1: А–Г and Б–В; round 2: Г–В and А–Б; round 3: Б–Г and В–А.
    test::setResult(t, 1, QStringLiteral("А"), QStringLiteral("00"));
    test::setResult(t, 1, QStringLiteral("Б"), GameResult::ForfeitLoss);
    test::setResult(t, 2, QStringLiteral("Г"), GameResult::ForfeitWin);
    test::setResult(t, 2, QStringLiteral("А"), GameResult::Draw);

    const auto resultCells = [&t](int number) {
        QStringList texts;
        const QVector<QStringList> rows = tableRows(statisticsPage(t, number));
        for (const QStringList& cells : rows) {
            if (cells.size() == 8)
                texts << cells[5]
                             .section(QStringLiteral("<B>"), 1)
                             .section(QStringLiteral("</B>"), 0, 0);
        }
        return texts;
    };
    // A double forfeit is a loss for both, whichever side the report is written for.
    EXPECT_EQ(resultCells(1), (QStringList{"Результат", "(-)-(-)", "1/2-1/2", ""}));
    EXPECT_EQ(resultCells(4), (QStringList{"Результат", "(-)-(-)", "(+)-(-)", ""}));
    EXPECT_EQ(resultCells(2), (QStringList{"Результат", "(-)-(+)", "1/2-1/2", ""}));
    EXPECT_EQ(resultCells(3), (QStringList{"Результат", "(-)-(+)", "(+)-(-)", ""}));

    const QString page = statisticsPage(t, 1);
    EXPECT_TRUE(page.contains(QStringLiteral("<B>Название турнира: Тест_(01.12.2026)</B>")));
    // Coefficient 2.50: 63 and 40 per cent of three games, categories 2 and 3.
    EXPECT_TRUE(page.contains(QStringLiteral("<B>Коэффициент турнира: 2.50</B>")));
    EXPECT_TRUE(page.contains(QStringLiteral("<B>Норма 2 разряда: 1.89</B>")));
    EXPECT_TRUE(page.contains(QStringLiteral("<B>Норма 3 разряда: 1.20</B>")));
}

TEST(RoundRobinReports, ParticipantOutsideTheTableGivesAnEmptyPage) {
    const RoundRobinTournament t = loadData(QStringLiteral("reports/example_three_players.kr2"));
    const RoundRobinResults results = computeRoundRobin(t);
    const QString empty = html::HtmlReport(html::PageLayout::Narrow).text();
    EXPECT_EQ(participantStatisticsReport(t, results, 0).text(), empty);
    EXPECT_EQ(participantStatisticsReport(t, results, 5).text(), empty);
}
