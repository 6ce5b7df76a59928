#include "players/completion_dialog.h"

#include "ui/platform.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ladya {

RoundRobinCompletionDialog::RoundRobinCompletionDialog(ui::Platform& platform, bool alreadyFinished,
                                                       CompleteFunction complete, QWidget* parent)
    : ui::Window(QStringLiteral("Завершение турнира"), 220, 150, parent), m_platform(platform),
      m_complete(std::move(complete)) {
    setObjectName(QStringLiteral("completionDialog"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(10);
    auto* caption = new QLabel(QStringLiteral("Дата завершения турнира"));
    caption->setObjectName(QStringLiteral("endDateLabel"));
    layout->addWidget(caption);
    m_date = new ui::DatePicker(platform.today());
    m_date->setObjectName(QStringLiteral("endDatePicker"));
    layout->addWidget(m_date, 0, Qt::AlignLeft);
    m_completeButton = new QPushButton(QStringLiteral("Завершить турнир"));
    m_completeButton->setObjectName(QStringLiteral("completeButton"));
    m_completeButton->setEnabled(!alreadyFinished);
    layout->addWidget(m_completeButton);
    auto* back = new QPushButton(QStringLiteral("Вернуться к просмотру"));
    back->setObjectName(QStringLiteral("backButton"));
    layout->addWidget(back);
    fixSize();

    connect(m_completeButton, &QPushButton::clicked, this, &RoundRobinCompletionDialog::onComplete);
    connect(back, &QPushButton::clicked, this, [this] {
        closeWindow();
        emit finished();
    });
}

void RoundRobinCompletionDialog::onComplete() {
    const CompletionResult result = m_complete(m_date->dateText());
    if (result.message)
        m_platform.showMessage(this, *result.message);
    if (!result.completed)
        return; // stays open: the cause can be fixed and completion tried again
    m_completed = true;
    closeWindow();
    emit finished();
}

} // namespace ladya
