// What the windows ask of the desktop: message boxes, questions, the open-file dialog,
// today's date, the browser and the printer. Tests put a scripted implementation in its place.
#pragma once

#include "common/message.h"
#include "common/print_document.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>

class QObject;
class QWidget;

namespace ladya::ui {

// Installs Qt's own Russian texts ("Отмена", the file dialog's captions), owned by
// `owner`, from `directory` (Qt's translations by default). Returns false, and
// changes nothing, when the file is missing: the program then runs with Qt's English.
bool installQtTranslations(QObject* owner, const QString& directory = {});

// The "description|*.a;*.b" filter as a Qt name filter "description (*.a *.b)".
QString toQtNameFilter(const QString& filter);

class Platform {
public:
    virtual ~Platform() = default;
    // Shows a modal message box with one OK button; returns when it is closed.
    virtual void showMessage(QWidget* parent, const Message& message) = 0;
    // Asks a yes-or-no question; true for "yes". "No" is the default answer, and
    // closing the box answers it.
    virtual bool confirm(QWidget* parent, const Message& question) = 0;
    // `filter` is "description|*.a;*.b". Returns the chosen path, "" when cancelled.
    virtual QString openFile(QWidget* parent, const QString& title, const QString& startDir,
                             const QString& filter) = 0;
    virtual QDate today() const = 0;
    // A modal box with one button per choice, the first the default and the last the
    // one Escape presses. Returns the index of the choice, -1 when there was none.
    virtual int ask(QWidget* parent, const Message& message, const QStringList& choices) = 0;
    // Asks for one line of text, the field showing `text` at first. nullopt when the
    // director cancels (Escape or the close box).
    virtual std::optional<QString> askText(QWidget* parent, const Message& question,
                                           const QString& text) = 0;
    // Hands a file or address to the desktop's program for it (a page to the browser)
    // without waiting for it. False when none could be started.
    virtual bool openUrl(const QUrl& url) = 0;
    // The modal print preview of a page, from which it is printed or saved as PDF.
    virtual void printPreview(QWidget* parent, const PrintDocument& document) = 0;
};

class QtPlatform final : public Platform {
public:
    void showMessage(QWidget* parent, const Message& message) override;
    bool confirm(QWidget* parent, const Message& question) override;
    QString openFile(QWidget* parent, const QString& title, const QString& startDir,
                     const QString& filter) override;
    QDate today() const override;
    int ask(QWidget* parent, const Message& message, const QStringList& choices) override;
    std::optional<QString> askText(QWidget* parent, const Message& question,
                                   const QString& text) override;
    bool openUrl(const QUrl& url) override;
    void printPreview(QWidget* parent, const PrintDocument& document) override;
};

} // namespace ladya::ui
