#include "app/cli.h"

#include "app/cli_commands.h"
#include "app/club_cli.h"
#include "app/main_menu.h"
#include "exchange/trf_cli.h"
#include "roundrobin/round_robin_cli.h"
#include "swiss/swiss_cli.h"

namespace ladya {

CliOutput runCli(const QStringList& args) {
    if (args.isEmpty())
        return {2, QByteArray(), cliHelpText().toUtf8()};
    const QString& command = args.first();
    if (command == QStringLiteral("-h") || command == QStringLiteral("--help") ||
        (command == QStringLiteral("help") && args.size() == 1))
        return {0, cliHelpText().toUtf8(), QByteArray()};
    if (command == QStringLiteral("--version"))
        return {0, QByteArrayLiteral("ladya-cli " LADYA_VERSION "\n"), QByteArray()};
    // "help COMMAND" and "COMMAND ... --help" print that command's help and run nothing.
    const bool helpFirst = command == QStringLiteral("help");
    if (helpFirst || asksForHelp(args)) {
        const QStringList words = helpFirst ? args.mid(1) : args;
        const QString help = cliCommandHelpText(words);
        if (help.isEmpty())
            return CliOutput::failure(
                QStringLiteral("ladya-cli: unknown command '%1' (see --help)").arg(words.first()));
        return {0, help.toUtf8(), QByteArray()};
    }

    // The club commands name a working folder, not a tournament file.
    if (isClubCommand(args))
        return runClubCli(args);
    if (isTrfCommand(args))
        return runTrfCli(args);

    if (!isCliCommandWord(command))
        return CliOutput::failure(
            QStringLiteral("ladya-cli: unknown command '%1' (see --help)").arg(command));

    const int fileIndex = command == QStringLiteral("report") ? 2 : 1;
    if (args.size() <= fileIndex)
        return CliOutput::failure(
            QStringLiteral("ladya-cli: %1: missing FILE (see --help)").arg(command));
    switch (MainMenu::decideOpen(args.at(fileIndex)).kind) {
    case MainMenu::FileKind::RoundRobin:
        return runRoundRobinCli(args);
    case MainMenu::FileKind::Swiss:
        return runSwissCli(args);
    default:
        return CliOutput::failure(
            QStringLiteral("ladya-cli: %1: not a tournament file (the name must end in kr2 or swz)")
                .arg(args.at(fileIndex)));
    }
}

} // namespace ladya
