#include "ui/platform.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QTranslator>

namespace ladya::ui {

bool installQtTranslations(QObject* owner, const QString& directory) {
    auto* translator = new QTranslator(owner);
    const QString dir =
        directory.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : directory;
    if (!translator->load(QStringLiteral("qtbase_ru"), dir) ||
        !QCoreApplication::installTranslator(translator)) {
        delete translator;
        return false;
    }
    return true;
}

QString toQtNameFilter(const QString& filter) {
    const qsizetype bar = filter.indexOf(u'|');
    if (bar < 0)
        return filter;
    QString patterns = filter.sliced(bar + 1);
    patterns.replace(u';', u' ');
    return filter.first(bar) + QStringLiteral(" (") + patterns + u')';
}

void QtPlatform::showMessage(QWidget* parent, const Message& message) {
    // A hidden parent would keep the box off screen on some window managers.
    QWidget* owner = parent && parent->isVisible() ? parent : nullptr;
    QMessageBox box(QMessageBox::NoIcon, message.title, message.text, QMessageBox::Ok, owner);
    box.exec();
}

QString QtPlatform::openFile(QWidget* parent, const QString& title, const QString& startDir,
                             const QString& filter) {
    QWidget* owner = parent && parent->isVisible() ? parent : nullptr;
    return QFileDialog::getOpenFileName(owner, title, startDir, toQtNameFilter(filter));
}

QDate QtPlatform::today() const {
    return QDate::currentDate();
}

} // namespace ladya::ui
