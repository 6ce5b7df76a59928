#include "club/club_cli.h"

#include "club/club_list.h"
#include "common/tournament_state.h"
#include "reports/club_reports.h"
#include "reports/report_cli.h"

#include <QDir>
#include <optional>

namespace ladya {

namespace {

CliOutput usageError(const QString& usage) {
    return CliOutput::failure(QStringLiteral("ladya-cli: usage: ladya-cli %1").arg(usage));
}

// The rows the club list window shows for the folder; both files must be readable. The
// failure's text is the command line's error line.
Result<QVector<QStringList>> loadClubRows(const QString& dirPath) {
    const QDir dir(dirPath);
    if (dirPath.isEmpty() || !dir.exists())
        return Message{QString(), QStringLiteral("ladya-cli: %1: no such folder").arg(dirPath)};
    QString reason;
    const std::optional<QStringList> members =
        readTextLines(dir.filePath(FileNames::Club), &reason);
    if (!members)
        return Message{QString(), QStringLiteral("ladya-cli: cannot read %1: %2")
                                      .arg(dir.filePath(FileNames::Club), reason)};
    const std::optional<PlayerDatabase> db =
        loadPlayerDatabase(dir.filePath(FileNames::Players), &reason);
    if (!db)
        return Message{QString(), QStringLiteral("ladya-cli: cannot read %1: %2")
                                      .arg(dir.filePath(FileNames::Players), reason)};
    return clubListRows(*members, *db);
}

// report club DIR [--date DD.MM.YYYY] [-o PATH] [--pdf OUT.pdf]
// report rating-change DIR NAME CITY [-o PATH] [--pdf OUT.pdf]
CliOutput runReport(const QStringList& args, const QDate& today) {
    const bool club = args.value(1) == QStringLiteral("club");
    const QString usage =
        club ? QStringLiteral("report club DIR [--date DD.MM.YYYY] [-o PATH] [--pdf OUT.pdf]")
             : QStringLiteral("report rating-change DIR NAME CITY [-o PATH] [--pdf OUT.pdf]");
    QVector<CliOption> options{CliOption{QStringLiteral("-o")}, CliOption{QStringLiteral("--pdf")}};
    if (club)
        options.append(CliOption{QStringLiteral("--date")});
    const CliArguments parsed = parseCliArguments(args, 2, options);
    if (!parsed.ok())
        return CliOutput::failure(
            QStringLiteral("ladya-cli: report: %1; usage: ladya-cli %2").arg(parsed.error, usage));
    const QStringList& operands = parsed.operands;
    const std::optional<QString> outputPath = parsed.value(QStringLiteral("-o"));
    const std::optional<QString> pdfPath = parsed.value(QStringLiteral("--pdf"));
    const std::optional<QString> dateText = parsed.value(QStringLiteral("--date"));
    if (operands.size() != (club ? 1 : 3))
        return usageError(usage);
    for (const std::optional<QString>& path : {outputPath, pdfPath})
        if (path)
            if (std::optional<CliOutput> refused = refuseDataFileOutput(*path))
                return *refused;

    if (club) {
        QDate date = today;
        if (dateText) {
            date = parseDate(*dateText);
            if (!date.isValid())
                return CliOutput::failure(
                    QStringLiteral("ladya-cli: report: '%1' is not a date DD.MM.YYYY")
                        .arg(*dateText));
        }
        const Result<QVector<QStringList>> loaded = loadClubRows(operands.at(0));
        if (!loaded)
            return CliOutput::failure(loaded.failure().text);
        return deliverReport(outputPath, pdfPath, clubListReport(*loaded, date),
                             clubListPageHeader(date));
    }
    const QString& dirPath = operands.at(0);
    if (dirPath.isEmpty() || !QDir(dirPath).exists())
        return CliOutput::failure(QStringLiteral("ladya-cli: %1: no such folder").arg(dirPath));
    const QString& name = operands.at(1);
    const QString& city = operands.at(2);
    return deliverReport(outputPath, pdfPath,
                         ratingChangeReport(readRatingChangeRows(dirPath, name, city)),
                         ratingChangePageHeader(name, city));
}

} // namespace

bool isClubCommand(const QStringList& args) {
    const QString command = args.value(0);
    if (command == QStringLiteral("club"))
        return true;
    return command == QStringLiteral("report") &&
           (args.value(1) == QStringLiteral("club") ||
            args.value(1) == QStringLiteral("rating-change"));
}

CliOutput runClubCli(const QStringList& args) {
    if (args.value(0) == QStringLiteral("report"))
        return runReport(args, QDate::currentDate());
    if (args.size() != 2)
        return usageError(QStringLiteral("club DIR"));
    const Result<QVector<QStringList>> loaded = loadClubRows(args.at(1));
    if (!loaded)
        return CliOutput::failure(loaded.failure().text);
    return {0, formatListing(columnTitles(clubListColumns()), *loaded), QByteArray()};
}

} // namespace ladya
