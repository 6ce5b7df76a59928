#pragma once

#include "ui/platform.h"

#include <QStringList>
#include <QVector>
#include <functional>

namespace ladya::test {

// Records every message box and question instead of showing it, and answers the open-file dialog
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
    QVector<Message> questions;
    QList<bool> answers; // answered in order; "yes" once exhausted

    void showMessage(QWidget*, const Message& message) override {
        messages.append(message);
        if (onMessage)
            onMessage(message);
    }
    bool ask(QWidget*, const Message& question) override {
        questions.append(question);
        return answers.isEmpty() ? true : answers.takeFirst();
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
