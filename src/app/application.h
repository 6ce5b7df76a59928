// The one application object: the workspace every window is handed, and the start-up
// that prepares it.
#pragma once

#include "common/message.h"
#include "players/workspace.h"

#include <QVector>

namespace ladya {

// The desktop entry starts the program with this variable set to 1. A menu gives the
// program no folder of its own to start in (it starts where the desktop session
// happens to be, often the home folder itself), so it then works in a folder of the
// user's own instead; started from a shell, it works where it is started. The variable
// is the only channel the desktop entry has that needs no command line and no
// settings: its Path= key takes no home-relative folder.
inline constexpr char DesktopStartVariable[] = "LADYA_DESKTOP";
// The folder of the user's own, under the home folder.
inline constexpr char DesktopFolderName[] = "Ladya";

// The folder the program counts as started in: `currentDir`, or `homeDir`/Ladya when
// `desktopStartValue` (the variable's value, empty when unset) is "1".
QString startFolder(const QString& desktopStartValue, const QString& currentDir,
                    const QString& homeDir);

class Application : public Workspace {
public:
    // `startDir` is the folder the program was started in; the working folder is its
    // TOURNAMENT subfolder.
    explicit Application(const QString& startDir);

    // Creates the working folder when missing and loads players.dat. Returns the
    // messages to show, in order (none on a clean start).
    QVector<Message> startUp();
};

} // namespace ladya
