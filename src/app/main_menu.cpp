#include "app/main_menu.h"

#include <QDir>
#include <QFileInfo>

namespace ladya::MainMenu {

OpenDecision decideOpen(const QString& chosenPath) {
    OpenDecision d;
    d.path = chosenPath;
    if (chosenPath.isEmpty())
        return d;
    const QString tail = chosenPath.right(3);
    if (tail == QStringLiteral("kr2")) {
        d.kind = FileKind::RoundRobin;
    } else if (tail == QStringLiteral("swz")) {
        d.kind = FileKind::Swiss;
    } else if (tail == QStringLiteral("trf")) {
        d.kind = FileKind::Trf;
    } else {
        d.kind = FileKind::Unknown;
        d.message = Message{QStringLiteral("Ошибка"),
                            QStringLiteral("Файл ") + QFileInfo(chosenPath).fileName() +
                                QStringLiteral(" не является файлом турнира.\nВыберите файл с "
                                               "расширением kr2 или swz.")};
    }
    return d;
}

} // namespace ladya::MainMenu
