#include "players/completion_dialog.h"

#include "ui/platform.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ladya {

namespace {

const QString Title = QStringLiteral("Завершение турнира");
const QString EndDateCaption = QStringLiteral("Дата завершения турнира");
const QString SwissWarning = QStringLiteral(
    "После нажатия на кнопку ЗАВЕРШИТЬ, турнир будет считаться оконченным. Создание туров и "
    "дальнейшее редактирование партий турнира будет невозможно. Чтобы отказаться нажмите "
    "ОТМЕНА.");

} // namespace

CompletionDialog::CompletionDialog(Kind kind, ui::Platform& platform, bool alreadyFinished,
                                   CompleteFunction complete, QWidget* parent)
    : ui::Window(Title, kind == Kind::Swiss ? 320 : 220, kind == Kind::Swiss ? 170 : 150, parent),
      m_platform(platform), m_complete(std::move(complete)) {
    setObjectName(QStringLiteral("completionDialog"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);
    auto* caption = ui::makeLabel(EndDateCaption, QStringLiteral("endDateLabel"));
    m_date = new ui::DatePicker(platform.today());
    m_date->setObjectName(QStringLiteral("endDatePicker"));
    QPushButton* back = nullptr;
    if (kind == Kind::RoundRobin) {
        layout->addWidget(caption);
        layout->addWidget(m_date, 0, Qt::AlignLeft);
        m_completeButton = ui::makeButton(QStringLiteral("Завершить турнир"),
                                          QStringLiteral("completeButton"), 200);
        layout->addWidget(m_completeButton);
        back = ui::makeButton(QStringLiteral("Вернуться к просмотру"), QStringLiteral("backButton"),
                              200);
        layout->addWidget(back);
    } else {
        auto* warning = ui::makeLabel(SwissWarning, QStringLiteral("warningLabel"), 300, 90);
        warning->setWordWrap(true);
        warning->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        layout->addWidget(warning);
        auto* dateLine = new QHBoxLayout;
        dateLine->addWidget(caption);
        dateLine->addWidget(m_date);
        dateLine->addStretch();
        layout->addLayout(dateLine);
        auto* buttons = new QHBoxLayout;
        back = ui::makeButton(QStringLiteral("ОТМЕНА"), QStringLiteral("backButton"), 100);
        m_completeButton =
            ui::makeButton(QStringLiteral("ЗАВЕРШИТЬ"), QStringLiteral("completeButton"), 100);
        buttons->addWidget(back);
        buttons->addStretch();
        buttons->addWidget(m_completeButton);
        layout->addLayout(buttons);
        // Closing the Swiss dialog is its "ОТМЕНА"; the round-robin one ignores it.
        connect(this, &ui::Window::closeRequested, this, &CompletionDialog::leave);
    }
    m_completeButton->setEnabled(!alreadyFinished);
    // Enter on a button presses it; Enter in the date field completes, and Escape
    // leaves as the button back does.
    m_completeButton->setAutoDefault(true);
    back->setAutoDefault(true);
    setDefaultButton(m_completeButton);
    setCancelOnEscape(back);
    fixSize();

    connect(m_completeButton, &QPushButton::clicked, this, &CompletionDialog::onComplete);
    connect(back, &QPushButton::clicked, this, &CompletionDialog::leave);
    m_date->setFocus();
}

void CompletionDialog::leave() {
    closeWindow();
    emit finished();
}

void CompletionDialog::onComplete() {
    const QString endDate = m_date->dateText();
    // "No" leaves the dialog open with the date to correct; nothing is written.
    const std::optional<Message> question = futureEndDateQuestion(endDate, m_platform.today());
    if (question && !m_platform.confirm(this, *question))
        return;
    const std::optional<Result<>> completed = m_complete(endDate);
    if (completed && !*completed)
        m_platform.showMessage(this, completed->failure());
    if (!completed || !*completed)
        return; // stays open: the cause can be fixed and completion tried again
    m_completed = true;
    leave();
}

} // namespace ladya
