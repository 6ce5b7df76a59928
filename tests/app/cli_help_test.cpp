#include "app/cli_commands.h"
#include "support/test_support.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace ladya;

namespace {

QString manPage() {
    return QString::fromUtf8(
        test::readBytes(test::dataPath(QStringLiteral("../../packaging/ladya-cli.1"))));
}

} // namespace

// Every command of the table, asked for help in each way, through the real program.
TEST(CliHelp, EveryCommandPrintsItsUsageAndSucceeds) {
    ASSERT_GE(cliCommands().size(), 13);
    const QString man = manPage();
    ASSERT_FALSE(man.isEmpty());
    for (const CliCommand& command : cliCommands()) {
        const QStringList words = command.name.split(u' ');
        const QByteArray usage = ("Usage: ladya-cli " + command.name + ' ').toUtf8();
        for (const QStringList& args :
             {words + QStringList{"--help"}, words + QStringList{"FILE", "-h"},
              QStringList{"help"} + words}) {
            const test::ProgramRun run = test::runProgram(args);
            const std::string what = args.join(' ').toStdString();
            EXPECT_EQ(run.status, 0) << what;
            EXPECT_TRUE(run.out.startsWith(usage)) << what << ": " << run.out.toStdString();
            EXPECT_TRUE(run.out.contains("Exit status: 0")) << what;
            EXPECT_TRUE(run.err.isEmpty()) << what;
        }
        // The overview and the manual page name the command with its arguments.
        EXPECT_TRUE(cliHelpText().contains("  " + command.name + ' ' + command.synopsis))
            << command.name.toStdString();
        QString manName = command.name;
        manName.replace('-', "\\-");
        EXPECT_TRUE(man.contains(manName)) << command.name.toStdString();
        // And the manual page every option of its synopsis.
        static const QRegularExpression option(QStringLiteral("--[a-z][a-z-]*"));
        for (const QRegularExpressionMatch& m : option.globalMatch(command.synopsis)) {
            QString manOption = m.captured(0);
            manOption.replace('-', "\\-");
            EXPECT_TRUE(man.contains(manOption))
                << command.name.toStdString() << " " << m.captured(0).toStdString();
        }
    }
}

TEST(CliHelp, ReportAloneListsEveryReportAndUnknownCommandsFail) {
    const test::ProgramRun reports = test::runProgram({"report", "--help"});
    EXPECT_EQ(reports.status, 0);
    for (const CliCommand& command : cliCommands()) {
        if (command.name.startsWith("report ")) {
            EXPECT_TRUE(reports.out.contains(command.name.toUtf8())) << command.name.toStdString();
        }
    }
    for (const QStringList& bad : {QStringList{"frobnicate", "--help"}, QStringList{"help", "nope"},
                                   QStringList{"frobnicate"}}) {
        const test::ProgramRun run = test::runProgram(bad);
        EXPECT_EQ(run.status, 2) << bad.join(' ').toStdString();
        EXPECT_TRUE(run.out.isEmpty());
        EXPECT_TRUE(run.err.contains("unknown command")) << run.err.toStdString();
    }
}

TEST(CliHelp, ManualPageDocumentsTheExitStatuses) {
    const QString man = manPage();
    const qsizetype section = man.indexOf(".SH EXIT STATUS");
    ASSERT_GE(section, 0);
    const QString text = man.mid(section, man.indexOf(".SH", section + 1) - section);
    EXPECT_TRUE(text.contains(".B 0\nSuccess, also when the list printed has no rows"));
    EXPECT_TRUE(text.contains(".B 2\nAny error"));
}
