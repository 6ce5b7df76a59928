// The pairing dialog of a Swiss round: the unpaired players, the candidate opponents
// of the one chosen and the pairs made so far, over PairingController. It runs modal to
// the tournament window, which is hidden meanwhile.
#pragma once

#include "pairing/pairing_controller.h"
#include "swiss/swiss_file.h"
#include "swiss/swiss_standings.h"
#include "ui/widgets.h"

#include <QWidget>
#include <optional>

class QCheckBox;
class QLabel;
class QPushButton;

namespace ladya {
namespace ui {
class DropDown;
class Platform;
} // namespace ui

namespace PairingDialog {
// Pairs the next round of `tournament` with the standings as they stand. Returns the
// tournament the commit saved and read back, or nothing when the dialog was closed
// without committing.
std::optional<SwissTournament> run(ui::Platform& platform, const SwissTournament& tournament,
                                   const SwissStandings& standings, QWidget* caller);
} // namespace PairingDialog

// The window behind PairingDialog::run. With the keyboard: arrows choose the player
// (the candidates follow at once), Enter goes to the best candidate (or to "Спуск"
// when there is none), Enter on a candidate opens the creation dialog, Enter on a pair
// opens the editing dialog; once everyone is paired the focus is on "Завершить
// жеребьёвку", and Enter commits.
// Closes after a successful commit or on the close box, then emits finished().
class PairingWindow : public ui::Window {
    Q_OBJECT
public:
    PairingWindow(ui::Platform& platform, const SwissTournament& tournament,
                  const SwissStandings& standings, QWidget* parent = nullptr);

    const PairingController& controller() const { return m_controller; }
    // The tournament the commit saved and read back; nothing before a commit.
    const std::optional<SwissTournament>& committed() const { return m_committed; }

signals:
    void finished();

private:
    void playerClicked();
    void playerActivated();
    void candidateClicked();
    void candidateActivated();
    void raiseAllowance();
    void force();
    void createPair();
    void pairClicked();
    void pairActivated();
    void editPair();
    void finishPairing();
    void autoPair();
    void closeBox();
    void showPlayers();
    void showCandidates();
    void showPairs();
    void applyRules();
    void focusCandidatesIfAny();

    ui::Platform& m_platform;
    PairingController m_controller;
    std::optional<SwissTournament> m_committed;
    QLabel* m_pairsCaption = nullptr;
    QLabel* m_step1Caption = nullptr;
    QLabel* m_step2Caption = nullptr;
    ui::MultiColumnList* m_pairs = nullptr;
    ui::MultiColumnList* m_players = nullptr;
    ui::MultiColumnList* m_candidates = nullptr;
    QPushButton* m_allowance = nullptr;
    QPushButton* m_create = nullptr;
    QPushButton* m_edit = nullptr;
    QPushButton* m_finish = nullptr;
    QPushButton* m_force = nullptr;
    QPushButton* m_autoPair = nullptr;
    ui::DropDown* m_initialColour = nullptr;
    QCheckBox* m_lastRound = nullptr;
};

} // namespace ladya
