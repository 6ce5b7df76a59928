#include "app/cli.h"

#include "app/cli_commands.h"
#include "app/main_menu.h"
#include "app/round_robin_cli.h"
#include "app/swiss_cli.h"
#include "app/trf_check.h"
#include "app/trf_generate.h"
#include "club/club_cli.h"
#include "common/file_lock.h"
#include "exchange/trf_cli.h"

namespace ladya {

namespace {

// The files a command writes: every "-o" and "--pdf" target, and the tournament of a
// commit or a director's command without one, which is then rewritten in place.
QStringList writeTargets(const QStringList& args) {
    QStringList targets;
    const QString pdfEquals = QStringLiteral("--pdf=");
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if ((a == QStringLiteral("-o") || a == QStringLiteral("--pdf")) && i + 1 < args.size())
            targets.append(args.at(i + 1));
        else if (a.startsWith(pdfEquals))
            targets.append(a.sliced(pdfEquals.size()));
    }
    // The commands that rewrite their tournament in place.
    static const QStringList inPlace = {
        QStringLiteral("commit"),   QStringLiteral("rounds"),       QStringLiteral("withdraw"),
        QStringLiteral("bye"),      QStringLiteral("late-entry"),   QStringLiteral("forbid"),
        QStringLiteral("result"),   QStringLiteral("undo-pairing"), QStringLiteral("accelerate"),
        QStringLiteral("tiebreaks")};
    if (targets.isEmpty() && inPlace.contains(args.first()) && args.size() > 1)
        targets.append(args.at(1));
    targets.removeAll(QString());
    return targets;
}

CliOutput dispatch(const QStringList& args);

} // namespace

CliOutput runCli(const QStringList& args) {
    if (args.isEmpty())
        return {2, QByteArray(), cliHelpText().toUtf8()};
    // One writer per file: a tournament open in the program is not written behind its
    // back, and its next save would not drop what this command wrote.
    std::vector<std::unique_ptr<FileLock>> locks;
    for (const QString& target : writeTargets(args)) {
        auto& lock = locks.emplace_back(std::make_unique<FileLock>(target));
        if (!lock->tryLock())
            return CliOutput::failure(
                QStringLiteral(
                    "ladya-cli: %1: the file is open in another copy of the program (%2)")
                    .arg(target, lock->holder(true)));
    }
    return dispatch(args);
}

namespace {

CliOutput dispatch(const QStringList& args) {
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
    if (command == QStringLiteral("check"))
        return runTrfCheckCli(args);
    if (command == QStringLiteral("generate"))
        return runGenerateCli(args);

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

} // namespace

} // namespace ladya
