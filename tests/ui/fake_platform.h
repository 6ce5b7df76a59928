#pragma once

#include "ui/platform.h"

#include <QStringList>
#include <QVector>
#include <functional>

namespace ladya::test {

// Records every message box, question, browser request and print preview instead of
// showing it, and answers the open-file dialog and the questions from a script, so no
// test ever waits on a modal window.
class FakePlatform final : public ui::Platform {
public:
    QVector<Message> messages;
    QStringList fileAnswers; // answered in order; "" once exhausted
    QStringList fileDialogTitles;
    QString lastStartDir;
    QString lastFilter;
    QDate date{2026, 12, 6};
    std::function<void(const Message&)> onMessage;
    struct Question {
        Message message;
        QStringList choices;
    };
    QVector<Question> questions;
    QVector<int> answers; // answered in order; -1 (no choice) once exhausted
    QVector<QUrl> openedUrls;
    bool openUrlSucceeds = true;
    QVector<PrintDocument> printed;
    QVector<Message> confirmations;
    QList<bool> confirmAnswers; // answered in order; "yes" once exhausted
    struct TextQuestion {
        Message message;
        QString text;
    };
    QVector<TextQuestion> textQuestions;
    QList<std::optional<QString>> textAnswers; // answered in order; cancelled once exhausted

    void showMessage(QWidget*, const Message& message) override {
        messages.append(message);
        if (onMessage)
            onMessage(message);
    }
    bool confirm(QWidget*, const Message& question) override {
        confirmations.append(question);
        return confirmAnswers.isEmpty() ? true : confirmAnswers.takeFirst();
    }
    QString openFile(QWidget*, const QString& title, const QString& startDir,
                     const QString& filter) override {
        fileDialogTitles.append(title);
        lastStartDir = startDir;
        lastFilter = filter;
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
    QDate today() const override { return date; }
    int ask(QWidget*, const Message& message, const QStringList& choices) override {
        questions.append({message, choices});
        return answers.isEmpty() ? -1 : answers.takeFirst();
    }
    std::optional<QString> askText(QWidget*, const Message& question,
                                   const QString& text) override {
        textQuestions.append({question, text});
        return textAnswers.isEmpty() ? std::nullopt : textAnswers.takeFirst();
    }
    bool openUrl(const QUrl& url) override {
        openedUrls.append(url);
        return openUrlSucceeds;
    }
    void printPreview(QWidget*, const PrintDocument& document) override {
        printed.append(document);
    }
};

} // namespace ladya::test
