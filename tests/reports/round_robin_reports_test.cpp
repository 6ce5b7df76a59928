#include "reports/pairing_sheet.h"
#include "reports/round_robin_reports.h"
#include "roundrobin/round_robin_test_util.h"
#include "support/test_support.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace ladya;

namespace {

// An expected page under tests/data/reports, named
// <tournament>.crosstable.html, <tournament>.schedule.html, <tournament>.stats.<N>.html or
// <tournament>.final.html beside <tournament>.kr2 (and its .krx when it keeps a list). Every page
// was checked against the rules, not copied from the program.
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
    if (page.kind == QStringLiteral("pairings"))
        return pairingSheetReport(roundRobinPairingSheet(t, page.number));
    const RoundRobinResults results = computeRoundRobin(t);
    if (page.kind == QStringLiteral("final"))
        return roundRobinFinalStandingsReport(t, results);
    if (page.kind == QStringLiteral("stats"))
        return participantStatisticsReport(t, results, page.number);
    return crosstableReport(t, results);
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
        test::updateGoldenIfAsked(page.name, render(page, t).bytes());
        QStringList args = {QStringLiteral("report"), page.kind, page.tournament};
        if (page.number > 0)
            args << QString::number(page.number);
        const test::ProgramRun run = test::runProgram(args);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.err, QByteArray());
        EXPECT_EQ(run.out, expected);
    }
}

TEST(RoundRobinReports, ParticipantOutsideTheTableGivesAnEmptyPage) {
    const RoundRobinTournament t = loadData(QStringLiteral("reports/example_three_players.kr2"));
    const RoundRobinResults results = computeRoundRobin(t);
    const QString empty = html::HtmlReport(html::PageLayout::Narrow).text();
    EXPECT_EQ(participantStatisticsReport(t, results, 0).text(), empty);
    EXPECT_EQ(participantStatisticsReport(t, results, 5).text(), empty);
}
