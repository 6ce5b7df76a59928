#pragma once

#include "players/completion.h"
#include "roundrobin/round_robin_controller.h"
#include "ui/widgets.h"

class QLabel;
class QPushButton;

namespace ladya {
class Workspace;
namespace ui {
class Platform;
}

// The working window of an open round-robin: one round's games beside the standings,
// result entry, the results table, the statistics, the schedule report, completion
// and the way back to the main menu. It owns the tournament's controller.
class RoundRobinWindow : public ui::Window {
    Q_OBJECT
public:
    RoundRobinWindow(Workspace& workspace, ui::Platform& platform, RoundRobinTournament tournament,
                     QWidget* parent = nullptr);

    const RoundRobinController& controller() const { return m_controller; }

    // The completion write-back with the chosen end date (what the completion
    // dialog's button runs).
    std::optional<Result<>> completeWith(const QString& endDate);

signals:
    // "Главное меню": the window has closed; a fresh main menu should follow.
    void mainMenuRequested();
    // The close box ended the tournament's session: the program should end.
    void exitRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyRules();
    void showGames();
    void showStandings();
    void roundChosen(int index);
    void gameClicked();
    void resultChosen();
    void writeResult();
    bool writeResultByKey(int key, Qt::KeyboardModifiers modifiers);
    // After a result was written (or its save failed): both lists and the rules anew.
    void showWritten(const Result<>& written);
    void openResultsTable();
    void openStatistics();
    void writeSchedule();
    void writePairingSheet();
    void standingsClicked();
    void withdraw();
    void tieBreaks();
    void exportTrf();
    void openCompletion();
    void closeBox();
    void backToMainMenu();
    void syncState();

    Workspace& m_workspace;
    ui::Platform& m_platform;
    RoundRobinController m_controller;
    ui::DropDown* m_round = nullptr;
    QLabel* m_status = nullptr;
    ui::MultiColumnList* m_games = nullptr;
    ui::MultiColumnList* m_standings = nullptr;
    QLabel* m_selectedPlayers = nullptr;
    ui::DropDown* m_result = nullptr;
    QLabel* m_entryHint = nullptr;
    QPushButton* m_write = nullptr;
    QPushButton* m_schedule = nullptr;
    QPushButton* m_pairingSheet = nullptr;
    QPushButton* m_withdraw = nullptr;
    QPushButton* m_tieBreaks = nullptr;
    QPushButton* m_trf = nullptr;
    QPushButton* m_finish = nullptr;
    QPushButton* m_table = nullptr;
    QPushButton* m_statistics = nullptr;
    QPushButton* m_mainMenu = nullptr;
};

} // namespace ladya
