#include "reports/html_frame.h"
#include "support/test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;
using namespace ladya::html;

TEST(HtmlFrame, NarrowDocumentByteForByte) {
    HtmlReport r(PageLayout::Narrow);
    r.addTextRow("Кубок", "CENTER", 4);
    r.addSpacerRow();
    r.addRow(CellStyle::Center, {"1"});
    const QByteArray expected =
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2//EN\">\n<HTML>\n<HEAD>\n"
        "<META HTTP-EQUIV=\"CONTENT-TYPE\" CONTENT=\"text/html; charset=utf-8\">\n"
        "<TITLE></TITLE>\n<META NAME=\"CREATED\" CONTENT=\"20121223;10141600\">\n"
        "<META NAME=\"CHANGED\" CONTENT=\"20121223;11005400\">\n</HEAD>\n"
        "<BODY TEXT=\"#000000\">\n<TABLE CELLSPACING=\"0\" COLS=1 BORDER=\"0\">\n"
        "<TR> <TD COLSPAN=4 ALIGN=\"CENTER\"><B>Кубок</B></TD></TR>\n"
        "<TR> <TD ALIGN=\"LEFT\"><B>.</B></TD></TR>\n"
        "<TR>\n<TD ALIGN=\"CENTER\"><B>1</B></TD>\n</TR>\n</TABLE>\n"
        "<!-- **************************************************************************"
        " -->\n</BODY>\n</HTML>\r\n";
    EXPECT_EQ(r.bytes(), expected);
}

TEST(HtmlFrame, LandscapeCarriesTheStyleAndColumnCount) {
    const QString t = HtmlReport(PageLayout::Landscape, 17).text();
    EXPECT_TRUE(t.contains("\n<STYLE TYPE=\"text/css\">\t<!--\t\t@page { size: 29.7cm 21cm; "
                           "margin: 1cm }\t\tP { margin-bottom: 0.21cm }\t-->\t</STYLE>\n</HEAD>"));
    EXPECT_TRUE(t.contains("\n<TABLE CELLSPACING=\"0\" COLS=\"17\" BORDER=\"0\">"));
    EXPECT_FALSE(HtmlReport(PageLayout::Narrow).text().contains("STYLE TYPE"));
}

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
