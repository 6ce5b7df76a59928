// Leads the user from window to window: start-up messages, the main menu, and the
// activities it starts. One tournament at a time; a tournament window leads back to a
// fresh menu by its "Главное меню", and its close box ends the program.
#pragma once

#include "app/main_menu.h"
#include "app/main_menu_window.h"
#include "club/club_list_window.h"
#include "common/file_lock.h"
#include "views/round_robin_creation_window.h"
#include "views/round_robin_window.h"
#include "views/swiss_creation_window.h"
#include "views/swiss_window.h"

#include <QObject>
#include <QPointer>
#include <memory>

namespace ladya {
class Application;

namespace ui {
class Platform;
}

class Shell : public QObject {
    Q_OBJECT
public:
    Shell(Application& app, ui::Platform& platform, QObject* parent = nullptr);
    ~Shell() override;

    // Start-up: working folder, player database (its messages shown), main menu.
    void start();
    void showMainMenu();
    MainMenuWindow* mainMenu() const { return m_mainMenu; }
    RoundRobinCreationWindow* roundRobinCreation() const { return m_creation; }
    RoundRobinWindow* roundRobinWindow() const { return m_roundRobin; }
    SwissCreationWindow* swissCreation() const { return m_swissCreation; }
    SwissWindow* swissWindow() const { return m_swiss; }
    ClubListWindow* clubList() const { return m_clubList; }

signals:
    // The program should end (the main menu or a tournament window was closed).
    void exitRequested();

private:
    void openTournamentFile(MainMenu::FileKind kind, const QString& path);
    void openRoundRobinCreation();
    void openRoundRobin(RoundRobinTournament tournament);
    // "Главное меню" of a tournament window: the tournament is let go and a fresh menu
    // shows with a fresh tournament state.
    void leaveTournament(QWidget* window);
    void openSwissCreation();
    // Loads the file and opens its window; an unreadable file is reported and the
    // menu comes back.
    void openSwissFile(const QString& path);
    void closeMainMenu();
    // The club list over the hidden menu; the menu shows again when it closes.
    void openClubList();
    // The menu again (a fresh one when it is gone) with a fresh tournament state.
    void returnToMenu();
    // Holds the tournament file for as long as its window is open. When another copy
    // of the program has it open, says so and shows the menu again.
    bool lockTournament(const QString& path);

    Application& m_app;
    ui::Platform& m_platform;
    QPointer<MainMenuWindow> m_mainMenu;
    QPointer<RoundRobinCreationWindow> m_creation;
    QPointer<RoundRobinWindow> m_roundRobin;
    QPointer<SwissCreationWindow> m_swissCreation;
    QPointer<SwissWindow> m_swiss;
    QPointer<ClubListWindow> m_clubList;
    std::unique_ptr<FileLock> m_tournamentLock;
};

} // namespace ladya
