#include "views/swiss_creation_window.h"

#include "players/workspace.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>

namespace ladya {

SwissCreationWindow::SwissCreationWindow(Workspace& workspace, ui::Platform& platform,
                                         QWidget* parent)
    : TournamentCreationWindow(SwissCreationController::windowTitle(),
                               QStringLiteral("swissCreationWindow"), NameField::Growing, workspace,
                               platform, parent) {
    // The count and the rounds above the three buttons.
    auto* middle = new QGridLayout;
    middle->setHorizontalSpacing(10);
    middle->setVerticalSpacing(10);
    m_count = ui::makeLabel(m_creation.countLabel(), QStringLiteral("countLabel"), 150);
    middle->addWidget(m_count, 0, 0);
    auto* roundsLine = new QHBoxLayout;
    roundsLine->setSpacing(10);
    roundsLine->addWidget(
        ui::makeLabel(SwissCreationTexts::RoundsLabel, QStringLiteral("roundsLabel")));
    m_rounds = new ui::DropDown(SwissCreationController::roundItems());
    m_rounds->setObjectName(QStringLiteral("roundsSelector"));
    m_rounds->setMinimumSize(55, 25);
    roundsLine->addWidget(m_rounds);
    m_baku = new QCheckBox(SwissCreationTexts::bakuCheckBox());
    m_baku->setObjectName(QStringLiteral("bakuCheckBox"));
    roundsLine->addWidget(m_baku);
    roundsLine->addStretch();
    middle->addLayout(roundsLine, 0, 1);
    int column = 0;
    for (QPushButton* button : {m_add, m_remove, m_finish}) {
        button->setMinimumSize(170, 25);
        middle->addWidget(button, 1, column++);
    }
    // What "Завершить" still waits for.
    m_missing = ui::makeLabel(m_creation.missingText(), QStringLiteral("missingLabel"));
    m_missing->setWordWrap(true);
    m_missing->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);

    connect(m_rounds, &QComboBox::currentIndexChanged, this, [this] {
        m_creation.setRoundsText(m_rounds->text());
        applyRules();
    });
    connect(m_baku, &QCheckBox::toggled, this, [this](bool on) {
        m_creation.setBaku(on);
        applyRules();
    });
    open(m_creation, middle, m_missing);
}

void SwissCreationWindow::showSummary() {
    const QSignalBlocker block(m_rounds); // the rules' text, not a choice of the user
    const QSignalBlocker blockBaku(m_baku);
    m_rounds->setEnabled(m_creation.roundsEnabled());
    m_baku->setEnabled(m_creation.roundsEnabled());
    m_baku->setChecked(m_creation.baku());
    if (m_rounds->text() != m_creation.roundsText())
        m_rounds->setText(m_creation.roundsText());
    m_count->setText(m_creation.countLabel());
    m_missing->setText(m_creation.missingText());
}

Result<> SwissCreationWindow::save(const QDate& today) {
    Result<SwissTournament> done = m_creation.finish(workspace().workingDir(), today);
    if (!done)
        return done.failure();
    m_created = std::move(done).value();
    return {};
}

} // namespace ladya
