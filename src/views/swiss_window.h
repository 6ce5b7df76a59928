#pragma once

#include "players/completion.h"
#include "swiss/swiss_controller.h"
#include "ui/widgets.h"

class QLabel;
class QPushButton;

namespace ladya {
class Workspace;
namespace ui {
class Platform;
}

// The working window of an open Swiss tournament: a round's games and result entry
// beside the standings, the pairing of the next round, completion, the two reports and
// the way back to the main menu. Its close box ends the program.
class SwissWindow : public ui::Window {
    Q_OBJECT
public:
    SwissWindow(Workspace& workspace, ui::Platform& platform, SwissWindowController controller,
                QWidget* parent = nullptr);

    const SwissWindowController& controller() const { return m_controller; }

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
    void fillRoundChooser();
    void roundChosen();
    void gameClicked();
    void resultChosen();
    void writeResult();
    bool writeResultByKey(int key, Qt::KeyboardModifiers modifiers);
    // After a result was stored (or its save failed): both lists and the rules anew.
    void showWritten(const Result<>& written);
    void standingsClicked();
    void writeStatistics();
    void writeCrosstable();
    void writePairingSheet();
    void exportTrf();
    void pairNextRound();
    void openCompletion();
    void closeBox();
    // The director's actions; each asks through the platform and shows what it did.
    void participantMenu();
    void lateEntry();
    void undoPairing();
    void plannedRounds();
    void acceleration();
    void tieBreaks();
    // The standings list's columns as the tie-break list asks, the rows anew.
    void showStandings();
    void showAction(const Result<>& done);
    void backToMainMenu();
    // Saves what a failed save left behind and closes; false when the window has to stay.
    bool leave();
    void syncState();

    Workspace& m_workspace;
    ui::Platform& m_platform;
    SwissWindowController m_controller;
    ui::DropDown* m_round = nullptr;
    ui::MultiColumnList* m_games = nullptr;
    QLabel* m_selectedPair = nullptr;
    ui::DropDown* m_result = nullptr;
    QPushButton* m_write = nullptr;
    QLabel* m_entryHint = nullptr;
    QLabel* m_info = nullptr;
    ui::MultiColumnList* m_standings = nullptr;
    QPushButton* m_pairing = nullptr;
    QPushButton* m_finish = nullptr;
    QPushButton* m_statistics = nullptr;
    QPushButton* m_report = nullptr;
    QPushButton* m_pairingSheet = nullptr;
    QPushButton* m_trf = nullptr;
    QPushButton* m_mainMenu = nullptr;
    QLabel* m_progress = nullptr;
    QPushButton* m_plannedRounds = nullptr;
    QPushButton* m_acceleration = nullptr;
    QPushButton* m_participant = nullptr;
    QPushButton* m_lateEntry = nullptr;
    QPushButton* m_undoPairing = nullptr;
    QPushButton* m_tieBreaks = nullptr;
};

} // namespace ladya
