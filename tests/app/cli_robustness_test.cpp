// ladya-cli refuses what it cannot do faithfully: unusable options, output it cannot
// write, and it names what it was given, however it reads.
#include "app/cli.h"
#include "common/text_file.h"
#include "support/test_support.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ladya;

namespace {

struct Refusal {
    const char* what;
    QStringList args; // FILE: a Swiss copy, KR2: a round-robin copy, DIR: the folder
    const char* says; // in the message on stderr
};

QStringList resolved(QStringList args, const QDir& dir) {
    for (QString& a : args) {
        if (a == u"FILE")
            a = dir.filePath("t.swz");
        else if (a == u"KR2")
            a = dir.filePath("t.kr2");
        else if (a == u"CUT")
            a = dir.filePath("cut.swz");
        else if (a.startsWith(u"DIR"))
            a.replace(0, 3, dir.path());
    }
    return args;
}

} // namespace

TEST(CliRobustness, RefusesWhatItCannotDoFaithfullyAndChangesNoFile) {
    const Refusal refusals[] = {
        {"empty -o of commit", {"commit", "FILE", "--pairs", "1-3", "-o", ""}, "-o needs a value"},
        {"-o without value", {"commit", "FILE", "--pairs", "1-3", "-o"}, "-o needs a value"},
        {"-o followed by an option",
         {"commit", "FILE", "-o", "--pairs", "1-3"},
         "-o needs a value"},
        {"second -o", {"commit", "FILE", "--pairs", "1-3", "-o", "a", "-o", "b"}, "-o given twice"},
        {"second --pairs",
         {"commit", "FILE", "--pairs", "1-3", "--pairs", "2-4"},
         "--pairs given twice"},
        {"empty --pairs=", {"unpaired", "FILE", "--pairs="}, "--pairs needs a value"},
        {"second --force", {"candidates", "FILE", "1", "--force", "--force"}, "given twice"},
        {"--force=1", {"candidates", "FILE", "1", "--force=1"}, "takes no value"},
        {"unknown option", {"standings", "FILE", "--pairs", "1-3"}, "unknown option"},
        {"empty report -o", {"report", "crosstable", "FILE", "-o", ""}, "-o needs a value"},
        {"second report -o", {"report", "schedule", "KR2", "-o", "a", "-o", "b"}, "given twice"},
        {"second --date",
         {"report", "club", "DIR", "--date", "01.01.2027", "--date", "02.01.2027"},
         "--date given twice"},
        {"empty club -o", {"report", "rating-change", "DIR", "A", "B", "-o", ""}, "needs a value"},
        // Text given is named as given, never taken for a placeholder of the message.
        {"round %2", {"games", "KR2", "%2"}, "round '%2' is not a number"},
        {"participant %1x", {"player-games", "KR2", "%1x"}, "participant '%1x' is not a number"},
        {"stats %3", {"report", "stats", "KR2", "%3"}, "participant '%3' is not a number"},
        {"Swiss round %1", {"games", "FILE", "%1"}, "round '%1' is not a number"},
        {"candidate %2", {"candidates", "FILE", "%2"}, "participant '%2' is not a number"},
        {"round out of range", {"games", "KR2", "9"}, "round '9' is out of range (1..3)"},
        {"self-pair", {"commit", "FILE", "--pairs", "1-1"}, "cannot play himself"},
        {"pair twice", {"commit", "FILE", "--pairs", "1-3,3-2"}, "already in a pair"},
        {"report over its tournament",
         {"report", "schedule", "KR2", "-o", "KR2"},
         "names a tournament or player file"},
        {"report over the database",
         {"report", "club", "DIR", "-o", "DIR/players.dat"},
         "names a tournament or player file"},
        {"generate rate",
         {"generate", "--players", "4", "--rounds", "1", "--seed", "1", "--draw-rate", "1.5", "-o",
          "DIR/a"},
         "--draw-rate '1.5' is not a rate from 0 to 1"},
        {"generate players",
         {"generate", "--players", "10000", "--rounds", "1", "--seed", "1", "-o", "DIR/a"},
         "--players '10000' is not a number from 2 to 9999"},
        {"cut-off file",
         {"standings", "CUT"},
         "standings: Не удалось открыть турнир из файла cut.swz: Файл оборван"},
    };
    QTemporaryDir dir;
    const QDir d(dir.path());
    QFile::copy(test::dataPath("swiss/worked.swz"), d.filePath("t.swz"));
    QFile::copy(test::dataPath("roundrobin/example_three_players.kr2"), d.filePath("t.kr2"));
    const QByteArray swiss = test::readBytes(d.filePath("t.swz"));
    const QByteArray roundRobin = test::readBytes(d.filePath("t.kr2"));
    test::writeBytes(d.filePath("cut.swz"), swiss.first(150));
    for (const Refusal& r : refusals) {
        const CliOutput out = runCli(resolved(r.args, d));
        EXPECT_EQ(out.status, 2) << r.what;
        EXPECT_TRUE(out.out.isEmpty()) << r.what;
        EXPECT_TRUE(QString::fromUtf8(out.err).contains(QString::fromUtf8(r.says)))
            << r.what << ": " << out.err.toStdString();
        EXPECT_EQ(test::readBytes(d.filePath("t.swz")), swiss) << r.what;
        EXPECT_EQ(test::readBytes(d.filePath("t.kr2")), roundRobin) << r.what;
        EXPECT_FALSE(QFileInfo::exists(d.filePath("a"))) << r.what;
    }
}

TEST(CliRobustness, ResultCodeOfTheFileIsQuotedAsItStands) {
    QTemporaryDir dir;
    QByteArray bytes = test::readBytes(test::dataPath("roundrobin/example_three_players.kr2"));
    const QStringList lines = splitLines(bytes);
    QStringList changed = lines;
    changed[6 + 20 + 5] = "%4"; // round 1, board 2
    const QString path = dir.filePath("t.kr2");
    test::writeBytes(path, joinLinesCrLf(changed));
    const CliOutput out = runCli({"games", path, "1"});
    EXPECT_EQ(out.status, 2);
    EXPECT_TRUE(out.err.contains("неизвестный результат партии \"%4\" (тур 1, доска 2)"))
        << out.err.toStdString();
}

TEST(CliRobustness, OutputThatCannotBeWrittenIsAnErrorWithAMessage) {
    const QString swiss = test::dataPath("swiss/big.swz");
    // A listing far beyond any buffer, and one of a few lines.
    for (const QStringList& args : {QStringList{"report", "crosstable", swiss},
                                    QStringList{"games", swiss, "1"}, QStringList{"--version"}}) {
        QProcess p;
        p.setStandardOutputFile("/dev/full");
        p.start(QStringLiteral(LADYA_CLI_PATH), args);
        ASSERT_TRUE(p.waitForFinished(30000));
        EXPECT_EQ(p.exitCode(), 2) << args.join(' ').toStdString();
        EXPECT_TRUE(p.readAllStandardError().startsWith("ladya-cli: cannot write standard output"))
            << args.join(' ').toStdString();
    }
}
