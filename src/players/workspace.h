// What every window works on: the working folder, the player database and the state
// of the open tournament. The application owns the one instance and hands it down.
#pragma once

#include "common/tournament_state.h"
#include "players/player_database.h"

#include <QString>

namespace ladya {

class Workspace {
public:
    // `workingDir` is the TOURNAMENT folder all files live in.
    explicit Workspace(QString workingDir) : m_workingDir(std::move(workingDir)) {}

    const QString& workingDir() const { return m_workingDir; }
    QString filePath(const QString& fileName) const;
    QString playersPath() const { return filePath(FileNames::Players); }
    QString historyPath() const { return filePath(FileNames::History); }

    PlayerDatabase& players() { return m_players; }
    const PlayerDatabase& players() const { return m_players; }

    TournamentState& state() { return m_state; }
    const TournamentState& state() const { return m_state; }

    // Back to the main menu: a fresh tournament state; the player database stays.
    void resetTournament() { m_state = TournamentState{}; }

private:
    QString m_workingDir;
    PlayerDatabase m_players;
    TournamentState m_state;
};

} // namespace ladya
