// The round-robin completion dialog: the end date, "Завершить турнир" (disabled once the
// tournament has an end date) and "Вернуться к просмотру". It is left through its two
// buttons only; the close box does nothing.
#pragma once

#include "players/completion.h"
#include "ui/widgets.h"

#include <functional>

class QPushButton;

namespace ladya {
namespace ui {
class Platform;
}

class RoundRobinCompletionDialog : public ui::Window {
    Q_OBJECT
public:
    // `complete` runs the write-back with the chosen end date.
    using CompleteFunction = std::function<CompletionResult(const QString& endDate)>;

    RoundRobinCompletionDialog(ui::Platform& platform, bool alreadyFinished,
                               CompleteFunction complete, QWidget* parent = nullptr);

    bool completed() const { return m_completed; }

signals:
    void finished();

private:
    void onComplete();

    ui::Platform& m_platform;
    CompleteFunction m_complete;
    ui::DatePicker* m_date;
    QPushButton* m_completeButton;
    bool m_completed = false;
};

} // namespace ladya
