#pragma once

#include "roundrobin/round_robin_controller.h"
#include "ui/widgets.h"

class QPushButton;

namespace ladya {
namespace ui {
class Platform;
}

// The participants with their points and, for the one selected, all of that
// participant's games; the statistics report of the selected participant. Shows the
// tournament as it stood when opened. Closes on the close box and emits finished().
class ParticipantStatisticsWindow : public ui::Window {
    Q_OBJECT
public:
    ParticipantStatisticsWindow(ui::Platform& platform, QString workingDir,
                                const RoundRobinTournament& tournament,
                                const RoundRobinResults& results, QWidget* parent = nullptr);

    const ParticipantStatistics& controller() const { return m_statistics; }

signals:
    void finished();

private:
    void participantClicked();
    void writeReport();
    void applyRules();

    ui::Platform& m_platform;
    QString m_workingDir;
    ParticipantStatistics m_statistics;
    ui::MultiColumnList* m_participants = nullptr;
    ui::MultiColumnList* m_games = nullptr;
    QPushButton* m_report = nullptr;
};

} // namespace ladya
