#include "app/main_menu_window.h"

#include "app/application.h"
#include "exchange/trf.h"
#include "ui/platform.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ladya {

namespace {

QPushButton* addButton(QVBoxLayout* layout, const QString& text, const char* name) {
    auto* button = new QPushButton(text);
    button->setObjectName(QLatin1StringView(name));
    button->setMinimumHeight(25);
    // Enter presses the focused button, as Space does.
    button->setAutoDefault(true);
    layout->addWidget(button);
    return button;
}

} // namespace

MainMenuWindow::MainMenuWindow(Application& app, ui::Platform& platform, QWidget* parent)
    : ui::Window(MainMenu::Title, MainMenu::Width, MainMenu::Height, parent), m_app(app),
      m_platform(platform) {
    setObjectName(QStringLiteral("mainMenuWindow"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);

    QPushButton* open = addButton(layout, MainMenu::OpenButton, "openButton");
    layout->addSpacing(30);
    auto* create = new QLabel(MainMenu::CreateLabel);
    create->setObjectName(QStringLiteral("createLabel"));
    create->setAlignment(Qt::AlignCenter);
    layout->addWidget(create);
    QPushButton* oneCycle = addButton(layout, MainMenu::OneCycleButton, "oneCycleButton");
    QPushButton* twoCycles = addButton(layout, MainMenu::TwoCyclesButton, "twoCyclesButton");
    QPushButton* swiss = addButton(layout, MainMenu::SwissButton, "swissButton");
    layout->addSpacing(20);
    QPushButton* club = addButton(layout, MainMenu::ClubButton, "clubButton");
    layout->addStretch();
    fixSize();

    connect(open, &QPushButton::clicked, this, &MainMenuWindow::openTournament);
    connect(oneCycle, &QPushButton::clicked, this, [this] {
        startCreation(TournamentKind::OneCycle, &MainMenuWindow::roundRobinCreationRequested);
    });
    connect(twoCycles, &QPushButton::clicked, this, [this] {
        startCreation(TournamentKind::TwoCycles, &MainMenuWindow::roundRobinCreationRequested);
    });
    connect(swiss, &QPushButton::clicked, this, [this] {
        startCreation(TournamentKind::Swiss, &MainMenuWindow::swissCreationRequested);
    });
    connect(club, &QPushButton::clicked, this, [this] {
        hide();
        emit clubListRequested();
    });
}

void MainMenuWindow::startCreation(const QString& kind, void (MainMenuWindow::*signal)()) {
    m_app.state().kind = kind;
    hide();
    emit(this->*signal)();
}

void MainMenuWindow::openTournament() {
    hide();
    const QString path = m_platform.openFile(this, MainMenu::OpenDialogTitle, m_app.workingDir(),
                                             MainMenu::OpenDialogFilter);
    const MainMenu::OpenDecision decision = MainMenu::decideOpen(path);
    switch (decision.kind) {
    case MainMenu::FileKind::None:
        show();
        return;
    case MainMenu::FileKind::Unknown:
        m_platform.showMessage(this, *decision.message);
        show();
        return;
    case MainMenu::FileKind::RoundRobin:
    case MainMenu::FileKind::Swiss:
        emit tournamentChosen(decision.kind, decision.path);
        return;
    case MainMenu::FileKind::Trf: {
        // Imported into a new tournament file, which then opens as any other. A name
        // already taken today (or no file name) is asked again, not only refused.
        const Result<QString> imported =
            importTrfIntoFolder(decision.path, m_app.workingDir(), m_platform.today(),
                                [this](const Message& question, const QString& refusedName) {
                                    return m_platform.askText(this, question, refusedName);
                                });
        if (!imported)
            m_platform.showMessage(this, imported.failure());
        if (!imported || imported->isEmpty()) {
            show();
            return;
        }
        emit tournamentChosen(MainMenu::FileKind::Swiss, *imported);
        return;
    }
    }
}

} // namespace ladya
