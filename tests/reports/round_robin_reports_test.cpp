#include "reports/round_robin_reports.h"
#include "roundrobin/round_robin_test_util.h"
#include "support/test_support.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;

namespace {

// An expected page under tests/data/reports, named
// <tournament>.crosstable.html, <tournament>.schedule.html or <tournament>.stats.<N>.html
// beside <tournament>.kr2. Every page was checked against the rules, not copied from
// the program.
RoundRobinTournament loadFile(const QString& path) {
    Result<RoundRobinTournament> loaded = loadRoundRobin(path);
    if (!loaded) {
        ADD_FAILURE() << loaded.failure().text.toStdString();
        return {};
    }
    return std::move(*loaded);
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

TEST(RoundRobinReports, GoldenPages) {
    const QVector<test::GoldenPage> pages =
        test::goldenPages(QStringLiteral("reports"), QStringLiteral("kr2"));
    // Even and odd fields, one and two cycles, coefficients below 1.0, at 3.00 and
    // above 4.0, forfeits, a double forfeit, unplayed games and names full of markup.
    ASSERT_GE(pages.size(), 20);
    for (const test::GoldenPage& page : pages) {
        const RoundRobinTournament t = loadFile(page.tournament);
        EXPECT_EQ(render(page, t).bytes(), test::readBytes(page.name))
            << QFileInfo(page.name).fileName().toStdString();
    }
}

TEST(RoundRobinReports, CrosstableOfSixPlayersHasNineteenColumnsEverywhere) {
    const RoundRobinTournament t = loadData(QStringLiteral("reports/six_players_all_drawn.kr2"));
    const QString page = crosstableReport(t, computeRoundRobin(t)).text();
    EXPECT_TRUE(page.contains(QStringLiteral("COLS=\"19\"")));
    EXPECT_TRUE(page.contains(QStringLiteral("\n<TABLE CELLSPACING=\"0\" COLS=\"19\" BORDER=\"0\">"
                                             "\n<COLGROUP WIDTH=\"30\"></COLGROUP>"
                                             "\n<COLGROUP WIDTH=\"150\"></COLGROUP>"
                                             "\n<COLGROUP WIDTH=\"40\"></COLGROUP>"
                                             "\n<COLGROUP WIDTH=\"50\"></COLGROUP>"
                                             "\n<COLGROUP SPAN=\"6\" WIDTH=\"35\"></COLGROUP>"
                                             "\n<COLGROUP WIDTH=\"5\"></COLGROUP>\n<TR>\n")));
    const QVector<QStringList> rows = tableRows(page);
    ASSERT_EQ(rows.size(), 1 + 6 + 4); // header, participants, blank + coefficient + norms
    for (const QStringList& cells : rows)
        EXPECT_EQ(cells.size(), 19);
    // The name column is boxed on the left, the summary rows carry no box.
    EXPECT_TRUE(rows[1][1].contains(QStringLiteral("ALIGN=\"LEFT\"><B>Д1</B>")));
    EXPECT_TRUE(rows[1][4].contains(QStringLiteral("ALIGN=\"CENTER\"><B>***</B>")));
    EXPECT_EQ(rows[8][1], QStringLiteral("<TD ALIGN=\"CENTER\"><B>Коэффиц. турнира</B></TD>"));
}

TEST(RoundRobinReports, SchedulePairsRoundsAndLeavesAnOddLastRoundAlone) {
    const RoundRobinTournament t = loadData(QStringLiteral("reports/six_players_all_drawn.kr2"));
    ASSERT_EQ(t.roundCount(), 5);
    const QString page = scheduleReport(t).text();
    const QString both = QStringLiteral("\n<TR> <TD ALIGN=\"CENTER\"><B>%1 ТУР</B></TD> <TD "
                                        "ALIGN=\"CENTER\"><B>%2 ТУР</B></TD></TR>");
    EXPECT_TRUE(page.contains(both.arg(1).arg(2)));
    EXPECT_TRUE(page.contains(both.arg(3).arg(4)));
    EXPECT_TRUE(
        page.contains(QStringLiteral("\n<TR> <TD ALIGN=\"CENTER\"><B>5 ТУР</B></TD></TR>"
                                     "\n<TR> <TD ALIGN=\"LEFT\"><B>Д3 - Д6</B></TD></TR>")));
    EXPECT_TRUE(page.contains(QStringLiteral("<TD ALIGN=\"LEFT\"><B>Д1 - Д6</B></TD>  <TD "
                                             "ALIGN=\"LEFT\"><B>Д6 - Д4</B></TD></TR>")));
    EXPECT_FALSE(page.contains(QStringLiteral("6 ТУР")));
    // Title, spacer, and per block a title row, three boards and a spacer.
    EXPECT_EQ(tableRows(page).size(), 2 + 3 * 5);

    const RoundRobinTournament odd = loadData(QStringLiteral("reports/example_three_players.kr2"));
    const QString oddPage = scheduleReport(odd).text();
    EXPECT_TRUE(oddPage.contains(QStringLiteral("<B>ИВАНОВ И.И. - **</B>")));
    EXPECT_TRUE(oddPage.contains(QStringLiteral("<B>** - СИДОРОВ С.С.</B>")));
    EXPECT_TRUE(oddPage.contains(QStringLiteral("<B>ПЕТРОВ П.П. - **</B>")));
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

TEST(RoundRobinReports, StatisticsBelowCoefficientOneHasNoNormRows) {
    const RoundRobinTournament t = loadData(QStringLiteral("reports/example_three_players.kr2"));
    ASSERT_LT(computeRoundRobin(t).norms.coefficient, 1.0);
    const QString page = statisticsPage(t, 1);
    EXPECT_FALSE(page.contains(QStringLiteral("Коэффициент")));
    EXPECT_FALSE(page.contains(QStringLiteral("Норма")));
    EXPECT_TRUE(page.contains(QStringLiteral("<TR> <TD COLSPAN=8 ALIGN=\"LEFT\"><B>.</B></TD></TR>"
                                             "\n<TR> <TD COLSPAN=8 ALIGN=\"LEFT\"><B>Итоговые "
                                             "результаты участника</B></TD></TR>")));
    // Round 1 is unplayed: the result cell is there, empty.
    const QVector<QStringList> rows = tableRows(page);
    ASSERT_GE(rows.size(), 5);
    ASSERT_EQ(rows[4].size(), 8); // title, caption, spacer, header, round 1
    EXPECT_TRUE(rows[4][5].endsWith(QStringLiteral("ALIGN=\"CENTER\"><B></B></TD>")));
}

TEST(RoundRobinReports, ParticipantOutsideTheTableGivesAnEmptyPage) {
    const RoundRobinTournament t = loadData(QStringLiteral("reports/example_three_players.kr2"));
    const RoundRobinResults results = computeRoundRobin(t);
    const QString empty = html::HtmlReport(html::PageLayout::Narrow).text();
    EXPECT_EQ(participantStatisticsReport(t, results, 0).text(), empty);
    EXPECT_EQ(participantStatisticsReport(t, results, 5).text(), empty);
}

TEST(RoundRobinReports, ReportFileIsReplacedAndAFailureIsSaid) {
    QTemporaryDir dir;
    const RoundRobinTournament t = loadData(QStringLiteral("reports/example_three_players.kr2"));
    const html::HtmlReport schedule = scheduleReport(t);
    const html::HtmlReport crosstable = crosstableReport(t, computeRoundRobin(t));
    EXPECT_TRUE(writeReportFile(dir.path(), crosstable));
    EXPECT_TRUE(writeReportFile(dir.path(), schedule));
    EXPECT_EQ(test::readBytes(dir.filePath("file.html")), schedule.bytes());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"file.html"});

    const Result<> failed = writeReportFile(dir.filePath("missing"), schedule);
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.failure().title, QStringLiteral("Ошибка"));
    EXPECT_TRUE(failed.failure().text.contains(QStringLiteral("file.html")));
}

// ladya-cli report prints exactly the bytes the buttons write.
TEST(RoundRobinReportCli, PrintsTheGoldenPages) {
    for (const test::GoldenPage& page :
         test::goldenPages(QStringLiteral("reports"), QStringLiteral("kr2"))) {
        QStringList args = {QStringLiteral("report"), page.kind, page.tournament};
        if (page.kind == QStringLiteral("stats"))
            args << QString::number(page.number);
        QProcess p;
        p.start(QStringLiteral(LADYA_CLI_PATH), args);
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), 0) << args.join(' ').toStdString();
        EXPECT_EQ(p.readAllStandardError(), QByteArray());
        EXPECT_EQ(p.readAllStandardOutput(), test::readBytes(page.name))
            << QFileInfo(page.name).fileName().toStdString();
    }
}
