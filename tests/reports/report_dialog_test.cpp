// A report button's page: written as file.html, then one box says where and offers the
// browser or the print preview, all through the platform seam.
#include "reports/report_dialog.h"
#include "reports/report_print.h"
#include "support/test_support.h"
#include "ui/fake_platform.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;

namespace {

html::HtmlReport page() {
    html::HtmlReport report(html::PageLayout::Landscape, 2);
    report.addColumnGroup(30);
    report.addColumnGroup(150);
    report.addRow(html::CellStyle::BoxCenter, {QStringLiteral("№"), QStringLiteral("Участники")});
    return report;
}

struct OfferCase {
    const char* name;
    int answer;
    bool browserStarts;
    int urls, printed, messages;
};

void PrintTo(const OfferCase& c, std::ostream* os) {
    *os << c.name;
}

class ReportOfferTest : public testing::TestWithParam<OfferCase> {};

TEST_P(ReportOfferTest, AsksOnceAndDoesWhatWasChosen) {
    const OfferCase& c = GetParam();
    QTemporaryDir dir;
    test::FakePlatform platform;
    platform.answers = {c.answer};
    platform.openUrlSucceeds = c.browserStarts;
    const QString header = QStringLiteral("Кубок, 01.05.2027 - 03.05.2027");
    writeAndOfferReport(platform, nullptr, dir.path(), page(), header);

    const QString path = QDir(dir.path()).absoluteFilePath(QStringLiteral("file.html"));
    EXPECT_EQ(test::readBytes(path), page().bytes());
    ASSERT_EQ(platform.questions.size(), 1);
    EXPECT_EQ(platform.questions.at(0).message, reportWrittenMessage(path));
    EXPECT_TRUE(platform.questions.at(0).message.text.contains(QDir::toNativeSeparators(path)));
    EXPECT_EQ(platform.questions.at(0).choices,
              QStringList({"Открыть в браузере", "Печать и PDF…", "Закрыть"}));

    ASSERT_EQ(platform.openedUrls.size(), c.urls) << c.name;
    if (c.urls) {
        EXPECT_EQ(platform.openedUrls.at(0), QUrl::fromLocalFile(path));
    }
    ASSERT_EQ(platform.printed.size(), c.printed) << c.name;
    if (c.printed) {
        const PrintDocument& printed = platform.printed.at(0);
        EXPECT_EQ(printed.html, page().text());
        EXPECT_EQ(printed.header, header);
        EXPECT_EQ(printed.columnWidths, QVector<int>({30, 150}));
        EXPECT_TRUE(printed.repeatFirstRow);
    }
    ASSERT_EQ(platform.messages.size(), c.messages) << c.name;
    if (c.messages) {
        EXPECT_EQ(platform.messages.at(0), browserFailedMessage(path));
    }
}

INSTANTIATE_TEST_SUITE_P(Answers, ReportOfferTest,
                         testing::Values(OfferCase{"browser", 0, true, 1, 0, 0},
                                         OfferCase{"noBrowser", 0, false, 1, 0, 1},
                                         OfferCase{"print", 1, true, 0, 1, 0},
                                         OfferCase{"close", 2, true, 0, 0, 0},
                                         OfferCase{"escape", -1, true, 0, 0, 0}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(ReportOffer, APageThatCannotBeWrittenIsReportedAndNothingOffered) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("file.html")));
    test::FakePlatform platform;
    writeAndOfferReport(platform, nullptr, dir.path(), page(), QString());
    EXPECT_EQ(platform.messages.size(), 1);
    EXPECT_TRUE(platform.questions.isEmpty());
}

} // namespace
