#pragma once

#include "roundrobin/round_robin_creation.h"
#include "ui/widgets.h"

#include <optional>
#include <utility>

class QLabel;
class QLineEdit;
class QPushButton;

namespace ladya {
class Workspace;
namespace ui {
class Platform;
}

// Sets up a new round-robin: name, start date and the participants taken from the
// player database. Either the user closes it (cancelled()) or finishing saves the new
// tournament and reads it back (created(), then takeTournament()). Either way it has
// closed itself before the signal.
class RoundRobinCreationWindow : public ui::Window {
    Q_OBJECT
public:
    // The kind ("1_krug" or "2_kruga") is the one the main menu put in workspace.state().
    RoundRobinCreationWindow(Workspace& workspace, ui::Platform& platform,
                             QWidget* parent = nullptr);

    const RoundRobinCreation& controller() const { return m_creation; }
    // The tournament loaded back from its new file, once created() was emitted.
    std::optional<RoundRobinTournament> takeTournament() { return std::exchange(m_created, {}); }

signals:
    void cancelled();
    void created();

private:
    void applyRules();
    void showRows();
    void addParticipant();
    void removeParticipant();
    void rowClicked();
    void finish();

    Workspace& m_workspace;
    ui::Platform& m_platform;
    RoundRobinCreation m_creation;
    std::optional<RoundRobinTournament> m_created;
    QLineEdit* m_name = nullptr;
    ui::DatePicker* m_date = nullptr;
    QLabel* m_coefficient = nullptr;
    QLabel* m_average = nullptr;
    QLabel* m_participants = nullptr;
    QLabel* m_rounds = nullptr;
    QLabel* m_games = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_finish = nullptr;
    ui::MultiColumnList* m_list = nullptr;
};

} // namespace ladya
