#include "app/shell.h"

#include "app/application.h"
#include "app/main_menu_window.h"
#include "ui/platform.h"
#include "views/round_robin_creation_window.h"
#include "views/round_robin_window.h"
#include "views/swiss_creation_window.h"
#include "views/swiss_window.h"

namespace ladya {

Shell::Shell(Application& app, ui::Platform& platform, QObject* parent)
    : QObject(parent), m_app(app), m_platform(platform) {}

Shell::~Shell() {
    delete m_mainMenu;
    delete m_creation;
    delete m_roundRobin;
    delete m_swissCreation;
    delete m_swiss;
    delete m_clubList;
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
    connect(menu, &ui::Window::closeRequested, this, [this, menu] {
        menu->closeWindow();
        emit exitRequested();
    });
    connect(menu, &MainMenuWindow::tournamentChosen, this, &Shell::openTournamentFile);
    connect(menu, &MainMenuWindow::roundRobinCreationRequested, this,
            &Shell::openRoundRobinCreation);
    connect(menu, &MainMenuWindow::swissCreationRequested, this, &Shell::openSwissCreation);
    connect(menu, &MainMenuWindow::clubListRequested, this, &Shell::openClubList);
    menu->show();
    menu->centreOnScreen();
}

void Shell::openTournamentFile(MainMenu::FileKind kind, const QString& path) {
    if (kind == MainMenu::FileKind::Swiss) {
        openSwissFile(path);
        return;
    }
    if (!lockTournament(path))
        return;
    Result<RoundRobinTournament> loaded = loadRoundRobin(path);
    if (!loaded) {
        // Never an empty tournament in its place: back to the menu.
        m_platform.showMessage(nullptr, loaded.failure());
        m_tournamentLock.reset();
        returnToMenu();
        return;
    }
    closeMainMenu();
    openRoundRobin(std::move(*loaded));
}

void Shell::openRoundRobinCreation() {
    auto* creation = new RoundRobinCreationWindow(m_app, m_platform);
    m_creation = creation;
    connect(creation, &RoundRobinCreationWindow::cancelled, this, [this, creation] {
        creation->deleteLater();
        returnToMenu();
    });
    connect(creation, &RoundRobinCreationWindow::created, this, [this, creation] {
        std::optional<RoundRobinTournament> tournament = creation->takeTournament();
        creation->deleteLater();
        if (!lockTournament(tournament->state.path))
            return;
        closeMainMenu();
        openRoundRobin(std::move(*tournament));
    });
    creation->show();
    creation->centreOnScreen();
}

void Shell::openRoundRobin(RoundRobinTournament tournament) {
    auto* window = new RoundRobinWindow(m_app, m_platform, std::move(tournament));
    m_roundRobin = window;
    connect(window, &RoundRobinWindow::mainMenuRequested, this,
            [this, window] { leaveTournament(window); });
    // The tournament is let go before the program ends: nothing writes it any more.
    connect(window, &RoundRobinWindow::exitRequested, this, [this] { m_tournamentLock.reset(); });
    connect(window, &RoundRobinWindow::exitRequested, this, &Shell::exitRequested);
    window->show();
    window->centreOnScreen();
}

void Shell::leaveTournament(QWidget* window) {
    window->deleteLater();
    m_tournamentLock.reset();
    m_app.resetTournament();
    showMainMenu();
}

void Shell::openSwissCreation() {
    auto* creation = new SwissCreationWindow(m_app, m_platform);
    m_swissCreation = creation;
    connect(creation, &SwissCreationWindow::cancelled, this, [this, creation] {
        creation->deleteLater();
        returnToMenu();
    });
    connect(creation, &SwissCreationWindow::created, this, [this, creation] {
        const QString path = creation->takeTournament()->state.path;
        creation->deleteLater();
        openSwissFile(path);
    });
    creation->show();
    creation->centreOnScreen();
}

void Shell::openSwissFile(const QString& path) {
    if (!lockTournament(path))
        return;
    // The window shows what the file holds, a new tournament as much as an old one.
    Result<SwissWindowController> opened = openSwissWindow(path);
    if (!opened) {
        // Never an empty tournament in its place: back to the menu.
        m_platform.showMessage(nullptr, opened.failure());
        m_tournamentLock.reset();
        returnToMenu();
        return;
    }
    closeMainMenu();
    auto* window = new SwissWindow(m_app, m_platform, std::move(*opened));
    m_swiss = window;
    connect(window, &SwissWindow::mainMenuRequested, this,
            [this, window] { leaveTournament(window); });
    connect(window, &SwissWindow::exitRequested, this, [this] { m_tournamentLock.reset(); });
    connect(window, &SwissWindow::exitRequested, this, &Shell::exitRequested);
    window->show();
    window->centreOnScreen();
}

void Shell::openClubList() {
    auto* club = new ClubListWindow(m_app, m_platform);
    m_clubList = club;
    connect(club, &ClubListWindow::finished, this, [this, club] {
        club->deleteLater();
        returnToMenu();
    });
    club->show();
    club->centreOnScreen();
    club->loadList();
}

void Shell::closeMainMenu() {
    // It may be the sender of the signal being handled.
    if (m_mainMenu) {
        m_mainMenu->closeWindow();
        m_mainMenu->deleteLater();
    }
    m_mainMenu = nullptr;
}

bool Shell::lockTournament(const QString& path) {
    auto lock = std::make_unique<FileLock>(path);
    if (!lock->tryLock()) {
        // Opening it here as well would let the two copies' saves drop each other's
        // results; the window is not opened at all.
        m_platform.showMessage(nullptr, tournamentLockedMessage(*lock));
        returnToMenu();
        return false;
    }
    m_tournamentLock = std::move(lock);
    return true;
}

void Shell::returnToMenu() {
    m_app.resetTournament();
    if (m_mainMenu)
        m_mainMenu->show();
    else
        showMainMenu();
}

} // namespace ladya
