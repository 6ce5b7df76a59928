#pragma once

#include "common/message.h"
#include "common/result.h"
#include "ui/widgets.h"

#include <QDate>
#include <optional>

class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

namespace ladya {
class TournamentCreation;
class Workspace;
namespace ui {
class Platform;
}

// Sets up a new tournament of either kind: name, start date and the participants taken
// from the player database, with "Добавить участника", "Удалить участника" and
// "Завершить". Either the user closes it (cancelled()) or finishing saves the new
// tournament file (created(), then the kind's takeTournament()). Either way it has
// closed itself before the signal. A kind lays out its own summary around the three
// buttons and shows it anew after every change.
class TournamentCreationWindow : public ui::Window {
    Q_OBJECT
signals:
    void cancelled();
    void created();

protected:
    // Whether the name field takes the room a wider window gives.
    enum class NameField { Fixed, Growing };

    // Builds the name line and the buttons; open() completes the window.
    TournamentCreationWindow(const QString& title, const QString& objectName, NameField nameField,
                             Workspace& workspace, ui::Platform& platform, QWidget* parent);

    // Below the name line: the kind's `summary` holding the three buttons, then `note`
    // when there is one, then the list. Called once, at the end of the kind's
    // constructor, once the kind's own `creation` is constructed.
    void open(TournamentCreation& creation, QLayout* summary, QWidget* note = nullptr);

    void applyRules();
    // The kind's own labels and controls, as the rules stand after a change.
    virtual void showSummary() = 0;

    // "Завершить" with the name and date handed on: the kind saves its tournament and
    // keeps it for takeTournament().
    virtual Result<> save(const QDate& today) = 0;
    // Which FIDE lists the tie-break editor recommends.
    virtual bool roundRobin() const = 0;

    const Workspace& workspace() const { return m_workspace; }

    QPushButton* m_add = nullptr;
    QPushButton* m_remove = nullptr;
    QPushButton* m_finish = nullptr;

private:
    void showRows();
    void addParticipant();
    void removeParticipant();
    void rowClicked();
    void finish();
    void chooseTieBreaks();

    Workspace& m_workspace;
    ui::Platform& m_platform;
    TournamentCreation* m_creation = nullptr;
    QVBoxLayout* m_layout = nullptr;
    QLineEdit* m_name = nullptr;
    ui::DatePicker* m_date = nullptr;
    ui::MultiColumnList* m_list = nullptr;
    QLabel* m_tieBreaksLabel = nullptr;
    QPushButton* m_tieBreaks = nullptr;
};

} // namespace ladya
