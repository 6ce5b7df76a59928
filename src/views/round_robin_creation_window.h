#pragma once

#include "roundrobin/round_robin_creation.h"
#include "views/tournament_creation_window.h"

#include <optional>
#include <utility>

class QLabel;

namespace ladya {

// The creation window of a round-robin, its summary the counts, the coefficient and the
// average rating of the participants listed.
class RoundRobinCreationWindow : public TournamentCreationWindow {
    Q_OBJECT
public:
    // The kind ("1_krug" or "2_kruga") is the one the main menu put in workspace.state().
    RoundRobinCreationWindow(Workspace& workspace, ui::Platform& platform,
                             QWidget* parent = nullptr);

    // The tournament loaded back from its new file, once created() was emitted.
    std::optional<RoundRobinTournament> takeTournament() { return std::exchange(m_created, {}); }

private:
    void showSummary() override;
    Result<> save(const QDate& today) override;
    bool roundRobin() const override { return true; }

    RoundRobinCreation m_creation;
    std::optional<RoundRobinTournament> m_created;
    QLabel* m_coefficient = nullptr;
    QLabel* m_average = nullptr;
    QLabel* m_participants = nullptr;
    QLabel* m_rounds = nullptr;
    QLabel* m_games = nullptr;
};

} // namespace ladya
