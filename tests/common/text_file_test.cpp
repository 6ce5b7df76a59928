#include "common/text_file.h"
#include "support/test_support.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;

TEST(SplitLines, EndsLinesAtCrLfAndCrLf) {
    EXPECT_EQ(splitLines("a\r\nb\rc\nd"), (QStringList{"a", "b", "c", "d"}));
    // CR LF is one terminator, LF CR is two.
    EXPECT_EQ(splitLines("a\n\rb"), (QStringList{"a", "", "b"}));
    EXPECT_EQ(splitLines("a\r\r\nb"), (QStringList{"a", "", "b"}));
}

TEST(SplitLines, FinalTerminatorGivesNoEmptyLineButBlankLinesStay) {
    EXPECT_EQ(splitLines("a\r\n"), QStringList{"a"});
    EXPECT_EQ(splitLines("a\r"), QStringList{"a"});
    EXPECT_EQ(splitLines("a\r\n\r\n"), (QStringList{"a", ""}));
    EXPECT_TRUE(splitLines("").isEmpty());
    EXPECT_EQ(splitLines("\r\n"), QStringList{""});
}

TEST(SplitLines, SkipsByteOrderMarkAndDecodesUtf8) {
    EXPECT_EQ(splitLines("\xEF\xBB\xBF"
                         "ИВАНОВ|МОСКВА\r\n"),
              QStringList{"ИВАНОВ|МОСКВА"});
    // A mark further in is data, not skipped, and survives a save (found by fuzzing:
    // it was lost on every load).
    const QStringList marked = splitLines("a\n\xEF\xBB\xBF"
                                          "b");
    EXPECT_EQ(marked.value(1), QChar(0xFEFF) + QStringLiteral("b"));
    EXPECT_EQ(splitLines(joinLinesCrLf(marked)), marked);
    // Only the file's first three bytes are a mark: further marks opening the first line
    // are its text, and survive a save as they do on any other line (found by fuzzing).
    for (const QStringList& lines :
         {QStringList{QStringLiteral("\uFEFF")}, QStringList{QStringLiteral("\uFEFF\uFEFFa"), "b"},
          QStringList{"", QStringLiteral("\uFEFF\uFEFF")}})
        EXPECT_EQ(splitLines(joinLinesCrLf(lines)), lines) << lines.join(u'|').toStdString();
    EXPECT_EQ(splitLines("\xEF\xBB\xBF\xEF\xBB\xBF\xEF\xBB\xBF"),
              QStringList{QStringLiteral("\uFEFF\uFEFF")});
}

TEST(LenientInt, ReadsPrefixAndDefaultsToZero) {
    struct Case {
        const char* text;
        int value;
    };
    const Case cases[] = {{"1500", 1500},
                          {" \t-3", -3},
                          {"+42x", 42},
                          {"12 34", 12},
                          {"", 0},
                          {"abc", 0},
                          {"-", 0},
                          {" 1", 1},
                          {"\n5", 0},
                          {"007", 7},
                          {"99999999999", 2147483647},
                          {"-99999999999", -2147483647 - 1}};
    for (const Case& c : cases) {
        EXPECT_EQ(parseLenientInt(QString::fromUtf8(c.text)), c.value) << c.text;
        EXPECT_EQ(parseLenientInt(QByteArrayView(c.text)), c.value) << "bytes: " << c.text;
    }
}

TEST(LenientDouble, ReadsPointDecimals) {
    EXPECT_DOUBLE_EQ(parseLenientDouble(u"2.75"), 2.75);
    EXPECT_DOUBLE_EQ(parseLenientDouble(u" -0.5abc"), -0.5);
    EXPECT_DOUBLE_EQ(parseLenientDouble(u"3"), 3.0);
    EXPECT_DOUBLE_EQ(parseLenientDouble(u""), 0.0);
    EXPECT_DOUBLE_EQ(parseLenientDouble(u"1,5"), 1.0);
    EXPECT_DOUBLE_EQ(parseLenientDouble(u"x"), 0.0);
}

TEST(FormatFixed, RoundsLikePrintf) {
    struct Case {
        double value;
        int decimals;
        const char* text;
    };
    const Case cases[] = {{0.25, 1, "0.2"},     {0.75, 1, "0.8"},    {2.125, 2, "2.12"},
                          {2.375, 2, "2.38"},   {0.5, 0, "0"},       {1.5, 0, "2"},
                          {2.5, 0, "2"},        {1.005, 2, "1.00"},  {4.0, 2, "4.00"},
                          {-1.25, 1, "-1.2"},   {2004.0, 0, "2004"}, {0.0, 2, "0.00"},
                          {-0.001, 2, "-0.00"}, {12.345, 1, "12.3"}, {1e9, 1, "1000000000.0"}};
    for (const Case& c : cases) {
        char expected[64];
        std::snprintf(expected, sizeof expected, "%.*f", c.decimals, c.value);
        EXPECT_EQ(formatFixed(c.value, c.decimals).toStdString(), c.text);
        EXPECT_STREQ(expected, c.text) << "the table itself must agree with printf";
    }
}

TEST(Dates, FormatParseAndRange) {
    EXPECT_EQ(formatDate(QDate(2026, 12, 5)), "05.12.2026");
    EXPECT_EQ(parseDate(u"01.02.2026"), QDate(2026, 2, 1));
    EXPECT_FALSE(parseDate(u"2026-02-01").isValid());
    EXPECT_EQ(dateRange("01.12.2026", "05.12.2026"), "01.12.2026-05.12.2026");
}

TEST(FieldBreakingCharacters, RefusesSeparatorAndControls) {
    EXPECT_FALSE(hasFieldBreakingCharacter(u"ИВАНОВ И.И."));
    EXPECT_FALSE(hasFieldBreakingCharacter(u"Smith & Co <b>"));
    for (const char16_t* bad : {u"A|B", u"A\nB", u"A\rB", u"A\tB", u"A\u2028B", u"\u0085"})
        EXPECT_TRUE(hasFieldBreakingCharacter(bad));
}

class TextFileOnDisk : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
};

TEST_F(TextFileOnDisk, WritesCrLfAndReadsBack) {
    const QString p = path("t.dat");
    ASSERT_TRUE(writeTextLinesAtomic(p, {"ИВАНОВ", "", "x"}).ok());
    EXPECT_EQ(test::readBytes(p), QByteArray("ИВАНОВ\r\n\r\nx\r\n"));
    EXPECT_EQ(readTextLines(p), (QStringList{"ИВАНОВ", "", "x"}));
}

TEST_F(TextFileOnDisk, MissingFileIsAnErrorNotAnEmptyList) {
    QString error;
    EXPECT_FALSE(readTextLines(path("none.dat"), &error).has_value());
    EXPECT_FALSE(error.isEmpty());
}

TEST_F(TextFileOnDisk, AppendCreatesAndKeepsAnUnterminatedLastLineWhole) {
    const QString p = path("h.dat");
    ASSERT_TRUE(appendTextLines(p, {"a"}).ok());
    ASSERT_TRUE(appendTextLines(p, {"b", "c"}).ok());
    EXPECT_EQ(test::readBytes(p), QByteArray("a\r\nb\r\nc\r\n"));

    test::writeBytes(p, "edited by hand");
    ASSERT_TRUE(appendTextLines(p, {"d"}).ok());
    EXPECT_EQ(readTextLines(p), (QStringList{"edited by hand", "d"}));
}

TEST_F(TextFileOnDisk, RewriteThatFailsHalfwayLeavesTheOldFileIntact) {
    const QString p = path("keep.dat");
    ASSERT_TRUE(writeTextLinesAtomic(p, {"old contents"}).ok());
    // Both a write larger than any buffer and a small one that only fails when the
    // buffer is flushed at commit.
    for (const int lineCount : {2000, 10}) {
        SCOPED_TRACE(lineCount);
        const QStringList lines(lineCount, QStringLiteral("a line that will not fit"));

        Result<> r;
        test::withFileSizeLimit(100, [&] { r = writeTextLinesAtomic(p, lines); });
        EXPECT_FALSE(r.ok());
        EXPECT_EQ(test::readBytes(p), QByteArray("old contents\r\n"));
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"keep.dat"})
            << "no temporary file is left behind";
    }
}
