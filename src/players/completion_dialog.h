// The completion dialogs. A round-robin's: the end date, "Завершить турнир" (disabled
// once the tournament has an end date) and "Вернуться к просмотру"; it is left through
// its two buttons only. A Swiss tournament's: a warning, the end date, "ОТМЕНА" and
// "ЗАВЕРШИТЬ"; its close box cancels. Either asks first about an end date after today,
// and stays open after a refused or failed completion so that it can be tried again once
// the cause is fixed.
#pragma once

#include "players/completion.h"
#include "ui/widgets.h"

#include <functional>
#include <optional>

class QPushButton;

namespace ladya {
namespace ui {
class Platform;
}

class CompletionDialog : public ui::Window {
    Q_OBJECT
public:
    enum class Kind { RoundRobin, Swiss };
    // `complete` runs the write-back with the chosen end date; nothing when the window
    // behind has no completion open, and nothing was tried.
    using CompleteFunction = std::function<std::optional<Result<>>(const QString& endDate)>;

    CompletionDialog(Kind kind, ui::Platform& platform, bool alreadyFinished,
                     CompleteFunction complete, QWidget* parent = nullptr);

    bool completed() const { return m_completed; }

signals:
    void finished();

private:
    void onComplete();
    void leave();

    ui::Platform& m_platform;
    CompleteFunction m_complete;
    ui::DatePicker* m_date = nullptr;
    QPushButton* m_completeButton = nullptr;
    bool m_completed = false;
};

} // namespace ladya
