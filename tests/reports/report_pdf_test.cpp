// `ladya-cli report … --pdf`: the real program writes a PDF of the page, each sheet
// headed by the tournament and its number, in the orientation the table's width asks.
#include "support/test_support.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSizeF>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;

namespace {

struct PdfCase {
    const char* name;
    QStringList args; // before --pdf; "DATA/" stands for tests/data/
    int sheets;
    bool landscape;
    QStringList texts; // found in the PDF's text, header included
};

void PrintTo(const PdfCase& c, std::ostream* os) {
    *os << c.name;
}

QStringList withData(const QStringList& args) {
    QStringList out;
    for (const QString& a : args)
        out << (a.startsWith(QStringLiteral("DATA/")) ? test::dataPath(a.mid(5)) : a);
    return out;
}

// The sheets of a PDF as Qt writes them: one page object each, with its media box.
QVector<QSizeF> sheetSizes(const QByteArray& pdf) {
    static const QRegularExpression page(
        QStringLiteral("/Type /Page\\b(?!s)[^>]*?/MediaBox \\[0 0 ([\\d.]+) ([\\d.]+)\\]"),
        QRegularExpression::DotMatchesEverythingOption);
    QVector<QSizeF> sizes;
    for (const QRegularExpressionMatch& m : page.globalMatch(QString::fromLatin1(pdf)))
        sizes.append(QSizeF(m.captured(1).toDouble(), m.captured(2).toDouble()));
    return sizes;
}

QString pdfText(const QString& path) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty())
        return {};
    QProcess p;
    p.start(tool, {QStringLiteral("-layout"), path, QStringLiteral("-")});
    p.waitForFinished(30000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

class ReportPdfTest : public testing::TestWithParam<PdfCase> {};

TEST_P(ReportPdfTest, WritesThePageAsAPdf) {
    const PdfCase& c = GetParam();
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("отчёт.pdf"));
    const test::ProgramRun run =
        test::runProgram(withData(c.args) << QStringLiteral("--pdf") << out);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_TRUE(run.out.isEmpty()); // the PDF replaces the page on stdout
    const QByteArray pdf = test::readBytes(out);
    ASSERT_TRUE(pdf.startsWith("%PDF-")) << c.name;
    const QVector<QSizeF> sheets = sheetSizes(pdf);
    ASSERT_EQ(sheets.size(), c.sheets) << c.name;
    for (const QSizeF& s : sheets)
        EXPECT_EQ(s.width() > s.height(), c.landscape) << c.name;

    const QString text = pdfText(out);
    if (text.isEmpty())
        GTEST_SKIP() << "pdftotext is not installed (poppler-utils)";
    QStringList expected = c.texts;
    for (int k = 1; k <= c.sheets; ++k)
        expected << QStringLiteral("Страница %1 из %2").arg(k).arg(c.sheets);
    for (const QString& t : expected)
        EXPECT_TRUE(text.contains(t)) << c.name << ": " << t.toStdString();
}

const QString Nine = QStringLiteral("DATA/reports/random_nine_two_cycles.kr2");

INSTANTIATE_TEST_SUITE_P(
    Reports, ReportPdfTest,
    testing::Values(
        // 23 columns: wider than a portrait sheet.
        PdfCase{"crosstable",
                {"report", "crosstable", Nine},
                1,
                true,
                {"random nine two cycles, с 15.03.2027", "ИГРОК 09", "Коэффиц. турнира"}},
        // 29 columns, wider than a landscape sheet too: scaled down to fit one.
        PdfCase{"wide crosstable",
                {"report", "crosstable", "DATA/roundrobin/sixteen_rows_played.kr2"},
                1,
                true,
                {"Ож. итог"}},
        // A finished tournament: both dates in the header.
        PdfCase{
            "statistics",
            {"report", "stats", "DATA/reports/six_players_all_drawn.kr2", "6"},
            1,
            false,
            {"six players all drawn, 01.02.2027 - 07.02.2027", "Итоговые результаты участника"}},
        // 18 rounds of 5 boards run over two sheets.
        PdfCase{"schedule", {"report", "schedule", Nine}, 2, false, {"РАСПИСАНИЕ ТУРОВ", "18 ТУР"}},
        PdfCase{"Swiss crosstable with Cyrillic name",
                {"report", "crosstable", "DATA/reports/swiss/Кубок_&_%1_(05.12.2026).swz"},
                1,
                true,
                {"Кубок & %1, с 05.12.2026", "<B>ЖИРНЫЙ</B>"}},
        // The pairing sheet: a narrow page, headed by the name as typed.
        PdfCase{"pairing sheet",
                {"report", "pairings", "DATA/reports/swiss/Кубок_&_%1_(05.12.2026).swz"},
                1,
                false,
                {"Кубок & %1, с 05.12.2026", "Пары тура 3", "без пары"}},
        PdfCase{"club list",
                {"report", "club", "DATA/club/sample", "--date", "01.03.2013"},
                1,
                false,
                {"Клубный рейтинг-лист на 01.03.2013", "КЛУБНЫЙ РЕЙТИНГ ЛИСТ НА 01.03.2013"}}),
    [](const testing::TestParamInfo<PdfCase>& param) {
        return QString::fromLatin1(param.param.name)
            .replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")), QStringLiteral("_"))
            .toStdString();
    });

// A name stored longer than a new one may be is cut on the sheet, in a cell of its own
// and in a schedule's pair alike; the page keeps it whole.
TEST(ReportPdf, ALongStoredNameIsCutOnTheSheetOnly) {
    QTemporaryDir dir;
    const QString name = QStringLiteral("АБВГДЕЁЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ").repeated(7);
    const QString kr2 = dir.filePath(QStringLiteral("long.kr2"));
    test::writeBytes(
        kr2, test::readBytes(test::dataPath(QStringLiteral("reports/example_three_players.kr2")))
                 .replace("ИВАНОВ И.И.", name.toUtf8()));
    const QString cut = name.first(39) + QStringLiteral("…");
    const QString html = dir.filePath(QStringLiteral("file.html"));
    const QString pdf = dir.filePath(QStringLiteral("file.pdf"));
    for (const QString& report : {QStringLiteral("crosstable"), QStringLiteral("schedule")}) {
        const test::ProgramRun run =
            test::runProgram({QStringLiteral("report"), report, kr2, QStringLiteral("-o"), html,
                              QStringLiteral("--pdf"), pdf});
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        EXPECT_TRUE(QString::fromUtf8(test::readBytes(html)).contains(name));
        const QString text = pdfText(pdf);
        if (text.isEmpty())
            GTEST_SKIP() << "pdftotext is not installed (poppler-utils)";
        EXPECT_TRUE(text.contains(cut)) << report.toStdString();
        EXPECT_FALSE(text.contains(name.first(40))) << report.toStdString();
    }
}

TEST(ReportPdf, WritesBothThePageAndThePdfAndLeavesNothingWhenItCannot) {
    QTemporaryDir dir;
    const QString html = dir.filePath(QStringLiteral("file.html"));
    const QString pdf = dir.filePath(QStringLiteral("file.pdf"));
    const QStringList report = {
        QStringLiteral("report"), QStringLiteral("stats"),
        test::dataPath(QStringLiteral("reports/random_nine_two_cycles.kr2")), QStringLiteral("10")};
    test::ProgramRun run = test::runProgram(QStringList(report) << QStringLiteral("-o") << html
                                                                << QStringLiteral("--pdf") << pdf);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    EXPECT_EQ(test::readBytes(html), test::readBytes(test::dataPath(QStringLiteral(
                                         "reports/random_nine_two_cycles.stats.10.html"))));
    EXPECT_TRUE(test::readBytes(pdf).startsWith("%PDF-"));

    const QString missing = dir.filePath(QStringLiteral("no/such/folder/file.pdf"));
    run = test::runProgram(QStringList(report) << QStringLiteral("--pdf") << missing);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.contains("cannot write")) << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);

    run = test::runProgram(QStringList(report) << QStringLiteral("--pdf"));
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.contains("[--pdf OUT.pdf]")) << run.err.toStdString();
}

} // namespace
