#pragma once

#include "swiss/swiss_creation.h"
#include "views/tournament_creation_window.h"

#include <optional>
#include <utility>

class QCheckBox;
class QLabel;

namespace ladya {

// The creation window of a Swiss tournament, which also asks for the planned number of
// rounds and says what "Завершить" still waits for.
class SwissCreationWindow : public TournamentCreationWindow {
    Q_OBJECT
public:
    SwissCreationWindow(Workspace& workspace, ui::Platform& platform, QWidget* parent = nullptr);

    // The new tournament as saved, once created() was emitted.
    std::optional<SwissTournament> takeTournament() { return std::exchange(m_created, {}); }

private:
    void showSummary() override;
    Result<> save(const QDate& today) override;
    bool roundRobin() const override { return false; }

    SwissCreationController m_creation;
    std::optional<SwissTournament> m_created;
    QLabel* m_count = nullptr;
    QLabel* m_missing = nullptr;
    ui::DropDown* m_rounds = nullptr;
    QCheckBox* m_baku = nullptr;
};

} // namespace ladya
