// The player selection dialog at the database limit: one keystroke in the search
// field, from the key to the repainted list. Run with QT_QPA_PLATFORM=offscreen.
#include "app/application.h"
#include "players/select_player_dialog.h"
#include "ui/platform.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace ladya;

namespace {

// A working folder holding players.dat with `count` records.
struct Fixture {
    QTemporaryDir start;
    Application app{start.path()};
    ui::QtPlatform platform;

    explicit Fixture(int count) {
        QDir(start.path()).mkdir(QStringLiteral("TOURNAMENT"));
        static const char* const surnames[] = {"ИВАНОВ",  "ПЕТРОВ", "СИДОРОВ",  "КУЗНЕЦОВ",
                                               "СМИРНОВ", "ПОПОВ",  "ВАСИЛЬЕВ", "НОВИКОВ"};
        QByteArray bytes;
        for (int i = 0; i < count; ++i) {
            bytes += QByteArray(surnames[i % 8]) + " ИГРОК " + QByteArray::number(i) + "|ГОРОД " +
                     QByteArray::number(i % 50) + "|1|" + QByteArray::number(1000 + i % 1500) +
                     "|Новый участник|01.01.2026\r\n";
        }
        QFile file(app.playersPath());
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
        file.close();
        app.startUp();
    }
};

// A keystroke that changes the search (typing "В" after "И", then taking it back),
// the list model reset, and the visible rows laid out and painted.
void BM_KeystrokeToRepaintedList(benchmark::State& st) {
    Fixture f(10000);
    SelectPlayerDialog dialog(f.app, f.platform);
    dialog.show();
    QApplication::processEvents();
    auto* search = dialog.findChild<QLineEdit*>(QStringLiteral("searchEdit"));
    auto* list = dialog.findChild<ui::MultiColumnList*>(QStringLiteral("playerList"));
    search->setText(QStringLiteral("И"));
    int k = 0;
    for (auto _ : st) {
        if (k++ & 1)
            search->backspace();
        else
            search->insert(QStringLiteral("В"));
        list->viewport()->repaint();
        QApplication::processEvents();
    }
    st.counters["rows"] = list->rowCount();
}
BENCHMARK(BM_KeystrokeToRepaintedList)->Unit(benchmark::kMillisecond);

// Clearing the search: every one of the 10,000 records is listed again.
void BM_ClearSearchToRepaintedList(benchmark::State& st) {
    Fixture f(10000);
    SelectPlayerDialog dialog(f.app, f.platform);
    dialog.show();
    QApplication::processEvents();
    auto* search = dialog.findChild<QLineEdit*>(QStringLiteral("searchEdit"));
    auto* list = dialog.findChild<ui::MultiColumnList*>(QStringLiteral("playerList"));
    int k = 0;
    for (auto _ : st) {
        search->setText((k++ & 1) ? QString() : QStringLiteral("ИГРОК 999"));
        list->viewport()->repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ClearSearchToRepaintedList)->Unit(benchmark::kMillisecond);

// The model reset alone, with 10,000 rows.
void BM_ListModelReset(benchmark::State& st) {
    Fixture f(0);
    ui::MultiColumnList list;
    for (int c = 0; c < 7; ++c)
        list.addColumn(QString::number(c), 100);
    QVector<QStringList> rows;
    for (int i = 0; i < 10000; ++i)
        rows.append({QString::number(i + 1), QStringLiteral("ИГРОК %1").arg(i), "ГОРОД", "1",
                     "1500", "Новый участник", "01.01.2026"});
    list.resize(780, 410);
    list.show();
    for (auto _ : st) {
        list.setRows(rows);
        list.viewport()->repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ListModelReset)->Unit(benchmark::kMillisecond);

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
