#include "app/application.h"
#include "app/shell.h"
#include "ui/platform.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    // Windows are hidden while their children run; the program ends only when the
    // main menu or a tournament window is closed, never because a message box was.
    QApplication::setQuitOnLastWindowClosed(false);
    QApplication::setApplicationName(QStringLiteral("Ladya"));
    // Lets the desktop match the windows to the menu entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(LADYA_APP_ID));
    // Qt's own buttons and dialogs speak Russian too; without the file, English.
    ladya::ui::installQtTranslations(&qapp);

    // Read once and dropped, so that a browser or viewer the program opens does not
    // inherit it.
    const QString desktopStart = qEnvironmentVariable(ladya::DesktopStartVariable);
    qunsetenv(ladya::DesktopStartVariable);
    ladya::Application app(ladya::startFolder(desktopStart, QDir::currentPath(), QDir::homePath()));
    ladya::ui::QtPlatform platform;
    ladya::Shell shell(app, platform);
    // exit() rather than quit(): quit() first asks every window to close, and a
    // tournament window answers a close request with its own rules.
    QObject::connect(
        &shell, &ladya::Shell::exitRequested, &qapp, [] { QCoreApplication::exit(0); },
        Qt::QueuedConnection);
    shell.start();
    return QApplication::exec();
}
