#include "app/cli.h"

#include "app/club_cli.h"
#include "app/main_menu.h"
#include "common/file_lock.h"
#include "roundrobin/round_robin_cli.h"
#include "swiss/swiss_cli.h"

namespace ladya {

QString cliHelpText() {
    return QStringLiteral(
        "Usage: ladya-cli COMMAND [ARGS]\n"
        "\n"
        "Reads Ladya tournament files and prints their lists as the program shows them:\n"
        "UTF-8, one line per row, cells separated by TAB, column titles first.\n"
        "The kind of tournament is chosen by the file name's ending (kr2 or swz).\n"
        "\n"
        "Commands:\n"
        "  games FILE ROUND           the game list of a round\n"
        "  standings FILE             the standings list\n"
        "  table FILE                 the round-robin results table\n"
        "  player-games FILE N        the games of participant N (round-robin)\n"
        "  report crosstable FILE [-o PATH]\n"
        "  report schedule FILE [-o PATH]   (round-robin)\n"
        "  report stats FILE N [-o PATH]\n"
        "                             an HTML report, the bytes file.html would receive\n"
        "  unpaired FILE [--pairs W-B,...]\n"
        "                             Swiss: the players still to pair\n"
        "  candidates FILE S [--allowance A] [--force] [--pairs W-B,...]\n"
        "                             Swiss: the candidate opponents of player S\n"
        "  commit FILE --pairs W-B,... [-o OUT]\n"
        "                             Swiss: store the pairs as the next round\n"
        "  club DIR                   the club rating list of the working folder DIR\n"
        "  report club DIR [--date DD.MM.YYYY] [-o PATH]\n"
        "  report rating-change DIR NAME CITY [-o PATH]\n"
        "                             the club list page, or one member's rating changes\n"
        "\n"
        "Options:\n"
        "  -h, --help                 show this help\n"
        "  --version                  show the version\n"
        "\n"
        "Exit status: 0 on success, 2 on any error (the message goes to stderr).\n");
}

namespace {

// The files a command writes: every "-o" target, and the tournament of a commit
// without one, which is then rewritten in place.
QStringList writeTargets(const QStringList& args) {
    QStringList targets;
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args.at(i) == QStringLiteral("-o"))
            targets.append(args.at(i + 1));
    }
    if (targets.isEmpty() && args.first() == QStringLiteral("commit") && args.size() > 1)
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
        command == QStringLiteral("help"))
        return {0, cliHelpText().toUtf8(), QByteArray()};
    if (command == QStringLiteral("--version"))
        return {0, QByteArrayLiteral("ladya-cli " LADYA_VERSION "\n"), QByteArray()};

    // The club commands name a working folder, not a tournament file.
    if (isClubCommand(args))
        return runClubCli(args);

    static const QStringList commands = {
        QStringLiteral("games"),        QStringLiteral("standings"), QStringLiteral("table"),
        QStringLiteral("player-games"), QStringLiteral("report"),    QStringLiteral("unpaired"),
        QStringLiteral("candidates"),   QStringLiteral("commit")};
    if (!commands.contains(command))
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
