#include "reports/pairing_sheet.h"
#include "reports/swiss_reports.h"
#include "support/test_support.h"
#include "swiss/swiss_test_util.h"

#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace ladya;

namespace {

// An expected page under tests/data/reports/swiss, named <tournament>.crosstable.html or
// <tournament>.stats.<N>.html beside <tournament>.swz. Every page was checked against
// the rules (round cells, places, result texts, escaping) before it was checked in;
// the copied list columns were compared with `ladya-cli standings`.
QStringList reportArguments(const test::GoldenPage& page) {
    QStringList args = {QStringLiteral("report"), page.kind, page.tournament};
    if (page.number > 0)
        args << QString::number(page.number);
    return args;
}

// The rows of a page as lists of their cells' texts.
QVector<QStringList> tableRows(const QString& page) {
    static const QRegularExpression row(QStringLiteral("<TR>(.*?)</TR>"),
                                        QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression cellPattern(QStringLiteral("<TD[^>]*><B>(.*?)</B></TD>"));
    QVector<QStringList> rows;
    for (const QRegularExpressionMatch& r : row.globalMatch(page)) {
        QStringList cells;
        for (const QRegularExpressionMatch& c : cellPattern.globalMatch(r.captured(1)))
            cells << c.captured(1);
        rows.append(cells);
    }
    return rows;
}

} // namespace

// Fresh tournament (R = 0), the worked examples of the standings and the file (byes in
// both rounds, a double forfeit, unplayed games), and a field whose names and file name
// carry markup, "&", quotes and "%1": the functions and `ladya-cli report` give the
// same bytes.
TEST(SwissReports, GoldenPagesFromTheFunctionsAndTheCli) {
    const QVector<test::GoldenPage> pages =
        test::goldenPages(QStringLiteral("reports/swiss"), QStringLiteral("swz"));
    ASSERT_GE(pages.size(), 10);
    for (const test::GoldenPage& page : pages) {
        SCOPED_TRACE(QFileInfo(page.name).fileName().toStdString());
        const Result<SwissTournament> loaded = loadSwiss(page.tournament);
        ASSERT_TRUE(loaded) << loaded.failure().text.toStdString();
        const SwissTournament& t = *loaded;
        const SwissStandings s = computeSwissStandings(t);
        const html::HtmlReport report =
            page.kind == QStringLiteral("stats") ? swissStatisticsReport(t, s, page.number)
            : page.kind == QStringLiteral("pairings")
                ? pairingSheetReport(swissPairingSheet(t, page.number))
            : page.kind == QStringLiteral("final") ? swissFinalStandingsReport(t, s)
                                                   : swissCrosstableReport(t, s);
        const QByteArray expected = test::readBytes(page.name);
        EXPECT_EQ(report.bytes(), expected);
        test::updateGoldenIfAsked(page.name, report.bytes());

        QProcess cli;
        cli.start(QStringLiteral(LADYA_CLI_PATH), reportArguments(page));
        ASSERT_TRUE(cli.waitForFinished(30000));
        EXPECT_EQ(cli.exitCode(), 0);
        EXPECT_EQ(cli.readAllStandardError(), QByteArray());
        EXPECT_EQ(cli.readAllStandardOutput(), expected);
    }
}

// Only a hand-edited file holds these: a participant missing from a round and an
// opponent number beyond the table. The pages keep their shape and show what is known.
// The golden pages pin everything a sound file gives.
TEST(SwissReports, HandEditedRoundsGiveEmptyCellsNotCrashes) {
    const SwissTournament t = test::makeSwiss({"1500", "1400", "1300", "1200"},
                                              {{"1|2|1|0", "3|9|+|-"}, {"1|3|%|%", "1|2|1|0"}});
    const SwissStandings s = computeSwissStandings(t);
    const QVector<QStringList> rows = tableRows(swissCrosstableReport(t, s).text());
    ASSERT_EQ(rows.size(), 5);
    QMap<QString, QStringList> rounds; // name → round cells
    for (const QStringList& cells : rows.mid(1))
        rounds[cells[1]] = cells.mid(4, 2);
    EXPECT_EQ(rounds["P3"].first(), "+"); // against number 9: the result alone
    EXPECT_EQ(rounds["P4"], (QStringList{"", ""}));
    // P1 stands on two boards of round 2: the first one counts.
    EXPECT_TRUE(rounds["P1"][1].endsWith("б1/2"));

    const QVector<QStringList> stats = tableRows(swissStatisticsReport(t, s, 3).text());
    ASSERT_EQ(stats.size(), 3 + 1 + 2 + 3); // title, caption, spacer, header, rounds, summary
    EXPECT_EQ(stats[4], (QStringList{"1", "", "", "", "Черные", "(+)-(-)", "", ""}));
    const QVector<QStringList> absent = tableRows(swissStatisticsReport(t, s, 4).text());
    EXPECT_EQ(absent[4], QStringList{});

    // A number outside the table gives the empty page.
    const QString empty = html::HtmlReport(html::PageLayout::Narrow).text();
    EXPECT_EQ(swissStatisticsReport(t, s, 0).text(), empty);
    EXPECT_EQ(swissStatisticsReport(t, s, 5).text(), empty);
}

// After a pairing the window keeps the standings of the rounds before it until the
// next result: the new round is written with the places as they stand.
TEST(SwissReports, NewRoundWithTheStandingsOfTheRoundsBefore) {
    const SwissTournament before =
        test::makeSwiss({"1500", "1400", "1300", "1200"}, {{"1|2|0|1", "3|4|1|0"}});
    SwissTournament after = before;
    after.rounds.append({{3, 2, {}, {}}, {1, 4, {}, {}}});
    after.deriveCounts();
    const SwissStandings stale = computeSwissStandings(before);
    const QVector<QStringList> rows = tableRows(swissCrosstableReport(after, stale).text());
    ASSERT_EQ(rows.size(), 5);
    // Places 1..4 are P2, P3, P1, P4.
    EXPECT_EQ(rows[1].mid(0, 6), (QStringList{"1", "P2", "1", "1400", "3ч1", "2ч"}));
    EXPECT_EQ(rows[4].mid(0, 6), (QStringList{"4", "P4", "1", "1200", "2ч0", "3ч"}));
    EXPECT_EQ(tableRows(swissStatisticsReport(after, stale, 1).text())[5],
              (QStringList{"2", "P4", "1", "1200", "Черные", "", "0.0", "4"}));
}

// The records of a real open: P4 takes a half-point bye in round 2 and P5 withdraws from
// it; the odd field left gives P2 the pairing-allocated bye and leaves a board empty.
// The sheet skips the empty board, puts the bye on a line of its own and lists who sits
// out; the crosstable and the statistics show what the round brought and mark P5.
TEST(SwissReports, RoundsSatOutAndWithdrawalsAreShown) {
    SwissTournament t =
        test::makeSwiss({"1500", "1400", "1300", "1200", "1100", "**"},
                        {{"1|2|1|0", "3|4|%|%", "5|6|+|-"}, {"1|3||", "6|2|-|+", "0|0||"}});
    t.extras.byes = {{4, 2, Absence::HalfBye}};
    t.extras.withdrawals = {{5, 2, 0}};

    const PairingSheet sheet = swissPairingSheet(t, 2);
    EXPECT_EQ(sheet.lines,
              (QVector<QStringList>{{"1", "P1", "1.0", "1500", "P3", "0.5", "1300", ""},
                                    {"", "P2", "0.0", "1400", "без пары", "", "", "(+)-(-)"}}));
    EXPECT_EQ(sheet.sittingOut, (QStringList{"P4 — пропуск тура, ½ очка", "P5 — выбыл(а)"}));
    const QVector<QStringList> page = tableRows(pairingSheetReport(sheet).text());
    EXPECT_EQ(page.back(), QStringList{"P5 — выбыл(а)"});

    const SwissStandings s = computeSwissStandings(t);
    QMap<QString, QString> round2; // name → round-2 cell
    for (const QStringList& cells : tableRows(swissCrosstableReport(t, s).text()).mid(1))
        round2[cells[1]] = cells[5];
    EXPECT_EQ(round2["P4"], "½");
    EXPECT_EQ(round2["P5 (выбыл)"], "–");
    EXPECT_EQ(tableRows(swissStatisticsReport(t, s, 4).text())[5],
              (QStringList{"2", "не играл(а) в туре", "", "", "", "½", "", ""}));
    EXPECT_TRUE(tableRows(swissStatisticsReport(t, s, 5).text())[1][0].contains("P5 (выбыл)"));
}
