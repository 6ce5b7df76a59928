// The one application object: the workspace every window is handed, and the start-up
// that prepares it.
#pragma once

#include "common/message.h"
#include "players/workspace.h"

#include <QVector>

namespace ladya {

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
