#include "app/application.h"

#include <QDir>

namespace ladya {

Application::Application(const QString& startDir)
    : m_workingDir(QDir(startDir).absoluteFilePath(QStringLiteral("TOURNAMENT"))) {}

QString Application::filePath(const QString& fileName) const {
    return QDir(m_workingDir).filePath(fileName);
}

QVector<Message> Application::startUp() {
    QVector<Message> messages;
    if (!QDir().mkpath(m_workingDir)) {
        messages.append(
            {QStringLiteral("Ошибка"), QStringLiteral("Не удалось создать рабочую папку ") +
                                           QDir::toNativeSeparators(m_workingDir)});
    }
    m_state = TournamentState{};
    if (std::optional<PlayerDatabase> db = loadPlayerDatabase(playersPath()))
        m_players = std::move(*db);
    else
        messages.append(playersLoadFailedMessage());
    return messages;
}

void Application::resetTournament() {
    m_state = TournamentState{};
}

} // namespace ladya
