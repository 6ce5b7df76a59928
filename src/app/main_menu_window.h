#pragma once

#include "app/main_menu.h"
#include "ui/widgets.h"

class QPushButton;

namespace ladya {
class Application;
namespace ui {
class Platform;
}

// The main menu: open a tournament file, create a tournament, or the club list.
// Navigation is left to the owner through signals.
class MainMenuWindow : public ui::Window {
    Q_OBJECT
public:
    MainMenuWindow(Application& app, ui::Platform& platform, QWidget* parent = nullptr);

    // Button 0: asks for a file and decides what it opens.
    void openTournament();

signals:
    void tournamentChosen(ladya::MainMenu::FileKind kind, const QString& path);
    void roundRobinCreationRequested();
    void swissCreationRequested();
    void clubListRequested();

private:
    void startCreation(const QString& kind, void (MainMenuWindow::*signal)());

    Application& m_app;
    ui::Platform& m_platform;
};

} // namespace ladya
