// The pairing dialog at the size limit: 300 participants (299 players and the bye
// participant) after 20 rounds with every result entered. One click in the player list,
// from the mouse to the repainted candidate list. Run with QT_QPA_PLATFORM=offscreen.
#include "full_swiss_tournament.h"
#include "swiss/swiss_controller.h"
#include "swiss/swiss_standings.h"
#include "ui/platform.h"
#include "views/pairing_dialog.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <algorithm>
#include <benchmark/benchmark.h>

using namespace ladya;

namespace {

void click(QWidget* target, QPoint pos) {
    const QPointF local(pos);
    const QPointF global(target->mapToGlobal(pos));
    QMouseEvent press(QEvent::MouseButtonPress, local, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, local, global, Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(target, &release);
}

// Counts the paint events of a widget.
struct PaintCounter : QObject {
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

struct Dialog {
    SwissTournament tournament = bench::fullSwissTournament();
    ui::QtPlatform platform;
    PairingWindow window{platform, tournament, computeSwissStandings(tournament)};
    ui::MultiColumnList* players = window.findChild<ui::MultiColumnList*>("playerList");
    ui::MultiColumnList* candidates = window.findChild<ui::MultiColumnList*>("candidateList");

    Dialog() {
        window.show();
        QApplication::processEvents();
    }
    // The centre of a player row, scrolled into view: the middle of the standings has
    // the largest score groups.
    QPoint rowCentre(int row) {
        const QModelIndex index = players->model()->index(row, 1);
        players->scrollTo(index);
        return players->visualRect(index).center();
    }
};

// A click on another player: the candidates searched, the list refilled, and the
// visible rows laid out and painted.
void BM_PlayerClickToRepaintedCandidates(benchmark::State& st) {
    Dialog d;
    const int middle = d.players->rowCount() / 2;
    const QPoint rows[] = {d.rowCentre(middle), d.rowCentre(middle + 1)};
    QApplication::processEvents();
    PaintCounter counter;
    d.candidates->viewport()->installEventFilter(&counter);
    int k = 0;
    qsizetype listed = 0;
    for (auto _ : st) {
        click(d.players->viewport(), rows[k++ & 1]);
        d.candidates->viewport()->repaint();
        QApplication::processEvents();
        listed += d.candidates->rowCount();
    }
    st.counters["candidates"] = double(listed) / double(std::max(k, 1));
    st.counters["paints"] = double(counter.paints) / double(std::max(k, 1));
}
BENCHMARK(BM_PlayerClickToRepaintedCandidates)->Unit(benchmark::kMillisecond);

// The largest candidate list: "Принудить" lists every participant not yet met.
void BM_ForceToRepaintedCandidates(benchmark::State& st) {
    Dialog d;
    const int middle = d.players->rowCount() / 2;
    const QPoint row = d.rowCentre(middle);
    auto* force = d.window.findChild<QPushButton*>("forceButton");
    int k = 0;
    for (auto _ : st) {
        st.PauseTiming();
        // Choosing the player again clears the forced list.
        click(d.players->viewport(), row + QPoint(0, (k++ & 1) ? 1 : 0));
        QApplication::processEvents();
        st.ResumeTiming();
        force->click();
        d.candidates->viewport()->repaint();
        QApplication::processEvents();
    }
    st.counters["candidates"] = d.candidates->rowCount();
}
BENCHMARK(BM_ForceToRepaintedCandidates)->Unit(benchmark::kMillisecond);

// Opening: the engine's lists, every column fitted to every participant, the first paint.
void BM_OpenToPaintedDialog(benchmark::State& st) {
    const SwissTournament tournament = bench::fullSwissTournament();
    const SwissStandings standings = computeSwissStandings(tournament);
    ui::QtPlatform platform;
    for (auto _ : st) {
        PairingWindow window(platform, tournament, standings);
        window.show();
        window.repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_OpenToPaintedDialog)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
