#include "reports/html_frame.h"
#include "support/test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;
using namespace ladya::html;

TEST(HtmlFrame, CellTemplatesAndEscaping) {
    EXPECT_EQ(cell(CellStyle::BoxLeft, "A"),
              "<TD STYLE=\"border-top: 1px solid #000000; border-bottom: 1px solid #000000; "
              "border-left: 1px solid #000000; border-right: 1px solid #000000\" "
              "ALIGN=\"LEFT\"><B>A</B></TD>");
    EXPECT_TRUE(cell(CellStyle::BoxCenter, "A").contains("ALIGN=\"CENTER\"><B>A</B>"));
    EXPECT_EQ(cell(CellStyle::Center, "<b>Smith & Co \"x\"</b>"),
              "<TD ALIGN=\"CENTER\"><B>&lt;b&gt;Smith &amp; Co &quot;x&quot;&lt;/b&gt;</B></TD>");
    // A placeholder-looking name is data, not a second substitution.
    EXPECT_EQ(cell(CellStyle::Center, "get_table_column_text"),
              "<TD ALIGN=\"CENTER\"><B>get_table_column_text</B></TD>");
    HtmlReport r(PageLayout::Narrow);
    r.addTextRow("<i>", "LEFT");
    EXPECT_TRUE(r.text().contains("<B>&lt;i&gt;</B>"));
}

TEST(HtmlFrame, SecondReportReplacesTheFirst) {
    QTemporaryDir dir;
    const QString path = dir.filePath("file.html");
    HtmlReport first(PageLayout::Narrow);
    first.addTextRow("first", "LEFT");
    ASSERT_TRUE(writeReport(path, first).ok());
    HtmlReport second(PageLayout::Narrow);
    ASSERT_TRUE(writeReport(path, second).ok());
    EXPECT_EQ(test::readBytes(path), second.bytes());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"file.html"});
}
