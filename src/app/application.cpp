#include "app/application.h"

#include <QDir>
#include <QFileInfo>

namespace ladya {

QString startFolder(const QString& desktopStartValue, const QString& currentDir,
                    const QString& homeDir) {
    if (desktopStartValue != QStringLiteral("1") || homeDir.isEmpty())
        return currentDir;
    return QDir(homeDir).filePath(QLatin1StringView(DesktopFolderName));
}

Application::Application(const QString& startDir)
    : Workspace(QDir(startDir).absoluteFilePath(QStringLiteral("TOURNAMENT"))) {}

QVector<Message> Application::startUp() {
    QVector<Message> messages;
    if (!QDir().mkpath(workingDir())) {
        messages.append(
            {QStringLiteral("Ошибка"), QStringLiteral("Не удалось создать рабочую папку ") +
                                           QDir::toNativeSeparators(workingDir())});
    }
    resetTournament();
    QString reason;
    if (std::optional<PlayerDatabase> db = loadPlayerDatabase(playersPath(), &reason))
        players() = std::move(*db);
    else if (QFileInfo::exists(playersPath()))
        messages.append(playersLoadFailedMessage(playersPath(), reason));
    else
        messages.append(playersLoadFailedMessage());
    return messages;
}

} // namespace ladya
