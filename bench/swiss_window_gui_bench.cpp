// The Swiss tournament window at its limits, 300 participants and 20 played rounds:
// one "Записать", from the click to the repainted game and standings lists. Run with
// QT_QPA_PLATFORM=offscreen.
#include "app/application.h"
#include "full_swiss_tournament.h"
#include "swiss/swiss_controller.h"
#include "ui/platform.h"
#include "views/swiss_window.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace ladya;

namespace {

// A game clicked, its result chosen and "Записать" pressed: store, atomic save, read
// back, standings and ratings recomputed, then both lists repainted.
void BM_StoreToRepaintedLists(benchmark::State& st) {
    QTemporaryDir start;
    QDir(start.path()).mkdir(QStringLiteral("TOURNAMENT"));
    Application app(start.path());
    ui::QtPlatform platform;
    const QString path = QDir(app.workingDir()).filePath(QStringLiteral("bench.swz"));
    if (!saveSwiss(bench::fullSwissTournament(path))) {
        st.SkipWithError("cannot write the tournament");
        return;
    }
    Result<SwissWindowController> opened = openSwissWindow(path);
    SwissWindow window(app, platform, std::move(*opened));
    window.show();
    QApplication::processEvents();
    auto* games = window.findChild<ui::MultiColumnList*>(QStringLiteral("gameList"));
    auto* standings = window.findChild<ui::MultiColumnList*>(QStringLiteral("standingsList"));
    auto* result = window.findChild<ui::DropDown*>(QStringLiteral("resultSelector"));
    auto* store = window.findChild<QPushButton*>(QStringLiteral("storeButton"));
    int k = 0;
    for (auto _ : st) {
        games->selectRow(k % 20);
        result->setText((k & 1) ? QStringLiteral("%") : QStringLiteral("1"));
        store->click();
        if (st.range(0) == 0) {
            // Both lists' viewports are dirty after the store; the forced repaint of one
            // paints every dirty region of the window, the other list included.
            games->viewport()->repaint();
            QApplication::processEvents();
        } else {
            // The whole window painted anew, every control, as an upper bound.
            benchmark::DoNotOptimize(window.grab());
        }
        ++k;
    }
    st.counters["standingsRows"] = standings->rowCount();
}
BENCHMARK(BM_StoreToRepaintedLists)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

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
