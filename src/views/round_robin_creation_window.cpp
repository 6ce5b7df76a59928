#include "views/round_robin_creation_window.h"

#include "players/workspace.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

namespace ladya {

RoundRobinCreationWindow::RoundRobinCreationWindow(Workspace& workspace, ui::Platform& platform,
                                                   QWidget* parent)
    : TournamentCreationWindow(RoundRobinCreation::windowTitle(),
                               QStringLiteral("roundRobinCreationWindow"), NameField::Fixed,
                               workspace, platform, parent),
      m_creation(workspace.state().kind, workspace.workingDir()) {
    // The summary in two columns of labels, the three buttons beside them.
    auto* summary = new QGridLayout;
    summary->setHorizontalSpacing(20);
    summary->setVerticalSpacing(3);
    summary->addWidget(ui::makeLabel(m_creation.cycleLabel(), QStringLiteral("cycleLabel"), 190), 0,
                       0);
    m_coefficient =
        ui::makeLabel(m_creation.coefficientLabel(), QStringLiteral("coefficientLabel"), 190);
    m_average =
        ui::makeLabel(m_creation.averageRatingLabel(), QStringLiteral("averageRatingLabel"), 190);
    m_participants =
        ui::makeLabel(m_creation.participantsLabel(), QStringLiteral("participantsLabel"), 150);
    m_rounds = ui::makeLabel(m_creation.roundsLabel(), QStringLiteral("roundsLabel"), 150);
    m_games = ui::makeLabel(m_creation.gamesLabel(), QStringLiteral("gamesLabel"), 150);
    summary->addWidget(m_coefficient, 1, 0);
    summary->addWidget(m_average, 2, 0);
    summary->addWidget(m_participants, 0, 1);
    summary->addWidget(m_rounds, 1, 1);
    summary->addWidget(m_games, 2, 1);
    int row = 0;
    for (QPushButton* button : {m_add, m_remove, m_finish}) {
        button->setMinimumSize(150, 22);
        summary->addWidget(button, row++, 3);
    }
    summary->setColumnStretch(2, 1);
    open(m_creation, summary);
}

void RoundRobinCreationWindow::showSummary() {
    m_participants->setText(m_creation.participantsLabel());
    m_rounds->setText(m_creation.roundsLabel());
    m_games->setText(m_creation.gamesLabel());
    m_coefficient->setText(m_creation.coefficientLabel());
    m_average->setText(m_creation.averageRatingLabel());
}

Result<> RoundRobinCreationWindow::save(const QDate& today) {
    Result<RoundRobinTournament> done = m_creation.finish(today);
    if (!done)
        return done.failure();
    m_created = std::move(done).value();
    return {};
}

} // namespace ladya
