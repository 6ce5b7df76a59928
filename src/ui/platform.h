// What the windows ask of the desktop: message boxes, the open-file dialog and
// today's date. Tests put a scripted implementation in its place.
#pragma once

#include "common/message.h"

#include <QDate>
#include <QString>

class QWidget;

namespace ladya::ui {

// The "description|*.a;*.b" filter as a Qt name filter "description (*.a *.b)".
QString toQtNameFilter(const QString& filter);

class Platform {
public:
    virtual ~Platform() = default;
    // Shows a modal message box with one OK button; returns when it is closed.
    virtual void showMessage(QWidget* parent, const Message& message) = 0;
    // `filter` is "description|*.a;*.b". Returns the chosen path, "" when cancelled.
    virtual QString openFile(QWidget* parent, const QString& title, const QString& startDir,
                             const QString& filter) = 0;
    virtual QDate today() const = 0;
};

class QtPlatform final : public Platform {
public:
    void showMessage(QWidget* parent, const Message& message) override;
    QString openFile(QWidget* parent, const QString& title, const QString& startDir,
                     const QString& filter) override;
    QDate today() const override;
};

} // namespace ladya::ui
