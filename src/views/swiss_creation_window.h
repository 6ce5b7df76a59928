#pragma once

#include "swiss/swiss_creation.h"
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

// Sets up a new Swiss tournament: name, start date, planned number of rounds and the
// participants taken from the player database. Either the user closes it (cancelled())
// or finishing saves the new tournament file (created(), then takeTournament()). Either
// way it has closed itself before the signal.
class SwissCreationWindow : public ui::Window {
    Q_OBJECT
public:
    SwissCreationWindow(Workspace& workspace, ui::Platform& platform, QWidget* parent = nullptr);

    const SwissCreationController& controller() const { return m_creation; }
    // The new tournament as saved, once created() was emitted.
    std::optional<SwissTournament> takeTournament() { return std::exchange(m_created, {}); }

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
    SwissCreationController m_creation;
    std::optional<SwissTournament> m_created;
    QLineEdit* m_name = nullptr;
    ui::DatePicker* m_date = nullptr;
    QLabel* m_count = nullptr;
    QLabel* m_missing = nullptr;
    ui::DropDown* m_rounds = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_finish = nullptr;
    ui::MultiColumnList* m_list = nullptr;
};

} // namespace ladya
