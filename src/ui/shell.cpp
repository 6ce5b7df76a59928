#include "ui/shell.h"

#include "app/application.h"
#include "app/main_menu_window.h"
#include "ui/platform.h"

namespace ladya::ui {

Shell::Shell(Application& app, Platform& platform, QObject* parent)
    : QObject(parent), m_app(app), m_platform(platform) {}

Shell::~Shell() {
    delete m_mainMenu;
}

void Shell::start() {
    for (const Message& message : m_app.startUp())
        m_platform.showMessage(nullptr, message);
    showMainMenu();
}

void Shell::showMainMenu() {
    // Each return to the menu gets a fresh window, as the old one may be mid-event.
    if (m_mainMenu)
        m_mainMenu->deleteLater();
    auto* menu = new MainMenuWindow(m_app, m_platform);
    m_mainMenu = menu;
    connect(menu, &Window::closeRequested, this, [this, menu] {
        menu->closeWindow();
        emit exitRequested();
    });
    connect(menu, &MainMenuWindow::tournamentChosen, this, &Shell::openTournamentFile);
    connect(menu, &MainMenuWindow::roundRobinCreationRequested, this,
            [this] { notYetAvailable(QStringLiteral("Создание кругового турнира.")); });
    connect(menu, &MainMenuWindow::swissCreationRequested, this, [this] {
        notYetAvailable(QStringLiteral("Создание турнира по швейцарской системе."));
    });
    connect(menu, &MainMenuWindow::clubListRequested, this,
            [this] { notYetAvailable(QStringLiteral("Клубный рейтинг-лист.")); });
    menu->show();
    menu->centreOnScreen();
}

void Shell::openTournamentFile(MainMenu::FileKind kind, const QString& path) {
    Q_UNUSED(path);
    notYetAvailable(kind == MainMenu::FileKind::RoundRobin
                        ? QStringLiteral("Открытие кругового турнира.")
                        : QStringLiteral("Открытие турнира по швейцарской системе."));
}

void Shell::notYetAvailable(const QString& what) {
    m_platform.showMessage(nullptr, MainMenu::notAvailableMessage(what));
    m_app.resetTournament();
    if (m_mainMenu)
        m_mainMenu->show();
}

} // namespace ladya::ui
