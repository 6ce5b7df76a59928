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

// The desktop's platform, but the director answers "Да" at once: replacing a stored
// result asks first, and an unanswered box would stop the benchmark for good. The time
// measured is the program's, from the answer to the repainted lists.
class AnsweringYes final : public ui::Platform {
public:
    void showMessage(QWidget* parent, const Message& message) override {
        m_desktop.showMessage(parent, message);
    }
    bool confirm(QWidget*, const Message&) override { return true; }
    QString openFile(QWidget* parent, const QString& title, const QString& startDir,
                     const QString& filter) override {
        return m_desktop.openFile(parent, title, startDir, filter);
    }
    QDate today() const override { return m_desktop.today(); }
    int ask(QWidget* parent, const Message& message, const QStringList& choices) override {
        return m_desktop.ask(parent, message, choices);
    }
    std::optional<QString> askText(QWidget* parent, const Message& question,
                                   const QString& text) override {
        return m_desktop.askText(parent, question, text);
    }
    bool openUrl(const QUrl& url) override { return m_desktop.openUrl(url); }
    void printPreview(QWidget* parent, const PrintDocument& document) override {
        m_desktop.printPreview(parent, document);
    }

private:
    ui::QtPlatform m_desktop;
};

// A game clicked, its result chosen and "Записать" pressed: store, atomic save, read
// back, standings and ratings recomputed, then both lists repainted.
void BM_StoreToRepaintedLists(benchmark::State& st) {
    QTemporaryDir start;
    QDir(start.path()).mkdir(QStringLiteral("TOURNAMENT"));
    Application app(start.path());
    AnsweringYes platform;
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
