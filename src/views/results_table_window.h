#pragma once

#include "roundrobin/round_robin_controller.h"
#include "ui/widgets.h"

namespace ladya {
namespace ui {
class Platform;
}

// The full crosstable with points, places, Sonneborn-Berger and rating figures,
// then the coefficient and norms; the crosstable report. Shows the tournament as it
// stood when opened. Closes on the close box and emits finished().
class ResultsTableWindow : public ui::Window {
    Q_OBJECT
public:
    ResultsTableWindow(ui::Platform& platform, QString workingDir,
                       const RoundRobinTournament& tournament, QWidget* parent = nullptr);

signals:
    void finished();

private:
    void writeReport();

    ui::Platform& m_platform;
    QString m_workingDir;
    RoundRobinTournament m_tournament;
    ui::MultiColumnList* m_list = nullptr;
};

} // namespace ladya
