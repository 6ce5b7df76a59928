// The one application object: owns the working folder, the player database and the
// state of the open tournament, and is handed to every window.
#pragma once

#include "app/message.h"
#include "app/tournament_state.h"
#include "players/player_database.h"

#include <QString>
#include <QVector>

namespace ladya {

class Application {
public:
    // `startDir` is the folder the program was started in; the working folder is its
    // TOURNAMENT subfolder.
    explicit Application(const QString& startDir);

    // Creates the working folder when missing and loads players.dat. Returns the
    // messages to show, in order (none on a clean start).
    QVector<Message> startUp();

    const QString& workingDir() const { return m_workingDir; }
    QString filePath(const QString& fileName) const;
    QString playersPath() const { return filePath(FileNames::Players); }
    QString historyPath() const { return filePath(FileNames::History); }

    PlayerDatabase& players() { return m_players; }
    const PlayerDatabase& players() const { return m_players; }

    TournamentState& state() { return m_state; }
    const TournamentState& state() const { return m_state; }

    // Back to the main menu: a fresh tournament state; the player database stays.
    void resetTournament();

private:
    QString m_workingDir;
    PlayerDatabase m_players;
    TournamentState m_state;
};

} // namespace ladya
