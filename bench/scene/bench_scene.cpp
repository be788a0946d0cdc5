// Zooming and filling a map that carries many thermal glyphs.

#include "map/map.h"
#include "scene/mapview.h"
#include "scene/thermal.h"

#include <random>

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// A 1600 x 1000 map of 47-46 N, 8-10 E in an 800 x 600 panel.
struct Panel {
    Panel() {
        QImage picture(1600, 1000, QImage::Format_RGB32);
        picture.fill(QColor(120, 160, 90));
        picture.save(dir.filePath("map.bmp"));
        map.Load("map.bmp", dir.path(), 47, 46, 8, 10);
        view.resize(800, 600);
        view.show();
        map.Resize(view.width(), view.height());
    }

    void addThermals(int count) {
        std::mt19937 random(1);
        std::uniform_real_distribution<double> lat(46, 47), lon(8, 10);
        std::uniform_int_distribution<int> type(1, 4), wind(0, 359);
        thermals.reserve(thermals.size() + count);
        for (int i = 0; i < count; ++i) {
            auto t = std::make_unique<TThermal>();
            t->map = &map;
            view.scene()->addItem(t.get());
            t->SetType(type(random));
            t->SetWindDir(wind(random));
            t->SetLat(lat(random));
            t->SetLon(lon(random));
            t->setVisible(true);
            thermals.push_back(std::move(t));
        }
    }

    QTemporaryDir dir;
    Map map;
    MapView view{map};
    ThermalList thermals;
};

// One step of "Zoom In" or "Zoom Out": the map refits, every glyph moves, the panel
// repaints what it shows, and the event loop finishes the work the step left queued.
void BM_ZoomStep(benchmark::State& state) {
    Panel panel;
    panel.addThermals(int(state.range(0)));
    panel.view.viewport()->grab();
    QCoreApplication::processEvents();
    int zoom = 1;
    for (auto _ : state) {
        zoom = zoom == 1 ? 2 : 1;
        panel.map.Resize(panel.view.width() * zoom, panel.view.height() * zoom);
        for (auto& t : panel.thermals)
            t->resize();
        benchmark::DoNotOptimize(panel.view.viewport()->grab());
        QCoreApplication::processEvents();
    }
}
BENCHMARK(BM_ZoomStep)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);

// Creating thermals placed on the map, as a project load does.
void BM_CreateThermals(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto panel = std::make_unique<Panel>();
        state.ResumeTiming();
        panel->addThermals(int(state.range(0)));
        state.PauseTiming();
        panel.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CreateThermals)->Arg(100'000)->Unit(benchmark::kMillisecond);

// The first paint of a panel full of freshly created glyphs.
void BM_FirstPaint(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto panel = std::make_unique<Panel>();
        panel->addThermals(int(state.range(0)));
        state.ResumeTiming();
        benchmark::DoNotOptimize(panel->view.viewport()->grab());
        state.PauseTiming();
        panel.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FirstPaint)->Arg(100'000)->Unit(benchmark::kMillisecond);

// The glyph under the pointer, as a click, a right click or a tooltip looks it up.
void BM_GlyphUnderPointer(benchmark::State& state) {
    Panel panel;
    panel.addThermals(int(state.range(0)));
    panel.view.viewport()->grab();
    QCoreApplication::processEvents();
    int i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(panel.view.glyphAt(QPoint(i % 800, i * 7 % 600)));
        ++i;
    }
}
BENCHMARK(BM_GlyphUnderPointer)->Arg(100'000)->Unit(benchmark::kMicrosecond);

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
