#include "players/workspace.h"

#include <QDir>

namespace ladya {

QString Workspace::filePath(const QString& fileName) const {
    return QDir(m_workingDir).filePath(fileName);
}

} // namespace ladya
