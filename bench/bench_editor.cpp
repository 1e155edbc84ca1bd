// The editor's windows: starting up, a click on a cell, and the commands that
// walk over every cell.
#include "BenchSupport.h"
#include "mainwindow/MDIVellumor.h"
#include "mapview/frmChildMap.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QPaintEvent>

#include <benchmark/benchmark.h>

#include <memory>

namespace vellumor::bench {
namespace {

// Both start-up benchmarks end the same way: shown, painted in full, and every
// event that showing posted delivered.
void paintShown(QWidget &window)
{
    window.show();
    window.repaint();
    paintPending();
}

void BM_StartBareWindow(benchmark::State &state)
{
    for (auto _ : state) {
        auto window = std::make_unique<QMainWindow>();
        window->setCentralWidget(new QMdiArea);
        paintShown(*window);
        state.PauseTiming();
        window.reset();
        paintPending();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartBareWindow)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

void BM_StartEditor(benchmark::State &state)
{
    for (auto _ : state) {
        Standard document;
        YesPrompt prompt;
        auto window = std::make_unique<MDIVellumor>(document, prompt);
        paintShown(*window);
        state.PauseTiming();
        window.reset();
        paintPending();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartEditor)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

// Adds up what every widget of a window paints.
class PaintMeter : public QObject
{
public:
    qint64 mapPixels = 0;
    int otherPaints = 0;

    explicit PaintMeter(MDIVellumor &window)
        : m_map(window.mapView())
    {
        for (QWidget *widget : window.findChildren<QWidget *>())
            widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        if (watched != m_map) {
            ++otherPaints;
            return false;
        }
        for (const QRect &rect : static_cast<QPaintEvent *>(event)->region())
            mapPixels += qint64(rect.width()) * rect.height();
        return false;
    }

private:
    QWidget *m_map;
};

struct ShownEditor
{
    Standard document;
    YesPrompt prompt;
    MDIVellumor window {document, prompt};

    // Large enough for the whole map to be in view, as on a desktop screen.
    explicit ShownEditor(benchmark::State &state)
    {
        document.CurrentSymbol = 17;
        window.resize(1024, 768);
        paintShown(window);
        if (map().visibleRegion() != QRegion(map().rect()))
            state.SkipWithError("part of the map is out of view");
    }

    frmChildMap &map() { return *window.mapView(); }

    void fillMap()
    {
        const MapCodes codes = fullMap();
        for (int i = 0; i < kCellCount; ++i)
            map().PaintCell(i, codes[std::size_t(i)]);
        paintPending();
    }
};

void press(QWidget &widget, QPoint position)
{
    QMouseEvent down(QEvent::MouseButtonPress, position, widget.mapToGlobal(position),
        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, position, widget.mapToGlobal(position),
        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&widget, &up);
}

// A left click on a cell in the middle of the map, and the repaint it causes.
void BM_ClickCell(benchmark::State &state)
{
    ShownEditor editor(state);
    PaintMeter meter(editor.window);
    const QRect cell = frmChildMap::cellRect(437);
    for (auto _ : state) {
        press(editor.map(), cell.center());
        paintPending();
    }
    const double clicks = double(state.iterations());
    state.counters["painted_px"] = double(meter.mapPixels) / clicks;
    state.counters["cell_px"] = double(cell.width() * cell.height());
    state.counters["other_paints"] = meter.otherPaints / clicks;
}
BENCHMARK(BM_ClickCell)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

// What every command below is held against: the map view painted once in full,
// asked for and delivered the way the commands' repaints are.
void BM_FullRepaint(benchmark::State &state)
{
    ShownEditor editor(state);
    editor.fillMap();
    for (auto _ : state) {
        editor.map().update();
        paintPending();
    }
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

void BM_GridLines(benchmark::State &state)
{
    ShownEditor editor(state);
    editor.fillMap();
    for (auto _ : state) {
        editor.window.mnuView_GridLines_Click();
        paintPending();
    }
}
BENCHMARK(BM_GridLines)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

template<void (MDIVellumor::*command)()> void clearFullMap(benchmark::State &state)
{
    ShownEditor editor(state);
    for (auto _ : state) {
        state.PauseTiming();
        editor.fillMap();
        state.ResumeTiming();
        (editor.window.*command)();
        paintPending();
    }
}

void BM_NewMap(benchmark::State &state)
{
    clearFullMap<&MDIVellumor::mnuFile_NewMap_Click>(state);
}
BENCHMARK(BM_NewMap)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

void BM_ClearMap(benchmark::State &state)
{
    clearFullMap<&MDIVellumor::mnuEdit_ClearMap_Click>(state);
}
BENCHMARK(BM_ClearMap)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

} // namespace
} // namespace vellumor::bench
