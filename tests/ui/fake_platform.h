#pragma once

#include "ui/platform.h"

#include <QStringList>
#include <QVector>
#include <functional>

namespace ladya::test {

// Records every message box instead of showing it, and answers the open-file dialog
// from a script, so no test ever waits on a modal window.
class FakePlatform final : public ui::Platform {
public:
    QVector<Message> messages;
    QStringList fileAnswers; // answered in order; "" once exhausted
    QStringList fileDialogTitles;
    QString lastStartDir;
    QString lastFilter;
    QDate date{2026, 12, 6};
    std::function<void(const Message&)> onMessage;

    void showMessage(QWidget*, const Message& message) override {
        messages.append(message);
        if (onMessage)
            onMessage(message);
    }
    QString openFile(QWidget*, const QString& title, const QString& startDir,
                     const QString& filter) override {
        fileDialogTitles.append(title);
        lastStartDir = startDir;
        lastFilter = filter;
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
    QDate today() const override { return date; }
};

} // namespace ladya::test
