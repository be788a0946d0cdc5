// The main window's display tick and zoom step with a large project on the map.
#include "app/livetracking.h"
#include "app/mainform.h"
#include "dialogs/liftprofile.h"
#include "dialogs/thermaldata.h"
#include "fakelink.h"
#include "scene/mapview.h"
#include "scene/trailitem.h"

#include <cmath>
#include <string>

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QStyleOptionGraphicsItem>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// A window with every timer off and a project of n thermals spread over the map.
struct LoadedForm {
    explicit LoadedForm(int n) {
        QFile settings(dir.filePath(QStringLiteral("brevan.INI")));
        settings.open(QIODevice::WriteOnly);
        settings.write("[Timers]\nDataRead=0\nProfiler=0\nDisplay=0\n");
        settings.close();

        QImage picture(1000, 500, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        picture.save(dir.filePath(QStringLiteral("map.bmp")), "BMP");
        std::string text = "map.bmp\r\n47:30.000N\r\n47:00.000N\r\n7:30.000E\r\n8:30.000E\r\n";
        for (int i = 0; i < n; ++i) {
            const int lat = 4700000 + (i * 7919) % 50000;
            const int lon = 750000 + (i * 104729) % 100000;
            text += std::to_string(lat) + ',' + std::to_string(lon) +
                    ",1,0,1500,300,270,5,1,450,1800,800,2,1,7,-1,-1,0,-0.5,-1,-1,450,2,4,"
                    "100,50,10,90\r\n";
        }
        const QString project = dir.filePath(QStringLiteral("big.prj"));
        QFile file(project);
        file.open(QIODevice::WriteOnly);
        file.write(text.data(), static_cast<qint64>(text.size()));
        file.close();

        auto fake = std::make_unique<FakeLink>();
        link = fake.get();
        link->lat = 47.25;
        link->lon = 8.0;
        form =
            std::make_unique<TMainForm>([&](auto) { return std::move(fake); }, settings.fileName());
        form->show();
        form->LoadProjectFile(project, false);
    }

    QTemporaryDir dir;
    FakeLink* link = nullptr;
    std::unique_ptr<TMainForm> form;
};

// Flies a 36,000-point trail (30 minutes of reads) circling over the map.
void FlyTrail(LoadedForm& loaded) {
    for (int i = 0; i < 36'000; ++i) {
        const double angle = i * 0.001;
        loaded.link->lat = 47.25 + 0.1 * std::sin(angle);
        loaded.link->lon = 8.0 + 0.2 * std::cos(angle);
        loaded.link->altitude = 1500 + 100 * std::sin(angle * 7);
        loaded.form->liveTracking().ReadDataTimerTimer();
    }
}

// A display tick with following on, the trail of 36,000 points and 100,000 thermals.
void BM_DisplayTick(benchmark::State& state) {
    LoadedForm loaded(static_cast<int>(state.range(0)));
    FlyTrail(loaded);
    loaded.form->action(Command::FollowAircraft)->setChecked(true);
    double step = 0.0001;
    for (auto _ : state) {
        loaded.link->lat += step;
        step = -step;
        loaded.form->liveTracking().DisplayUpdateTimerTimer();
    }
    state.counters["thermals"] = static_cast<double>(loaded.form->document().thermals().size());
    state.counters["trail"] =
        static_cast<double>(loaded.form->liveTracking().trail().points().size());
}
BENCHMARK(BM_DisplayTick)->Arg(100'000)->Unit(benchmark::kMicrosecond);

// The 36,000-point trail painted over the whole panel.
void BM_TrailPaint(benchmark::State& state) {
    LoadedForm loaded(0);
    FlyTrail(loaded);
    loaded.form->liveTracking().DisplayUpdateTimerTimer();
    MapView& panel = loaded.form->imagePanel();
    TrailItem* trail = nullptr;
    for (QGraphicsItem* item : panel.scene()->items())
        trail = trail ? trail : dynamic_cast<TrailItem*>(item);
    QImage canvas(panel.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    QStyleOptionGraphicsItem option;
    option.exposedRect = panel.mapToScene(panel.viewport()->rect()).boundingRect();
    for (auto _ : state) {
        QPainter painter(&canvas);
        painter.translate(-option.exposedRect.topLeft());
        trail->paint(&painter, &option, nullptr);
    }
    state.counters["trail"] =
        static_cast<double>(loaded.form->liveTracking().trail().points().size());
}
BENCHMARK(BM_TrailPaint)->Unit(benchmark::kMillisecond);

// A wheel notch in and one out about the panel's middle, each with the repaint it causes.
void BM_WheelZoomStepWithRepaint(benchmark::State& state) {
    LoadedForm loaded(static_cast<int>(state.range(0)));
    MapView& panel = loaded.form->imagePanel();
    const QPoint middle = panel.viewport()->rect().center();
    bool in = true;
    for (auto _ : state) {
        loaded.form->ZoomAbout(loaded.form->zoomFactor() * (in ? 1.25 : 0.8), middle);
        in = !in;
        benchmark::DoNotOptimize(panel.viewport()->grab());
    }
    state.counters["thermals"] = static_cast<double>(loaded.form->document().thermals().size());
}
BENCHMARK(BM_WheelZoomStepWithRepaint)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(6);

// The lift-profile picture after a value changes: the profile computed and painted.
void BM_ProfileRedraw(benchmark::State& state) {
    LoadedForm loaded(0);
    TThermalData& data = loaded.form->thermalData();
    auto* radius = data.findChild<QLineEdit*>(QStringLiteral("radius"));
    int value = 500;
    for (auto _ : state) {
        radius->setText(QString::number(value += 10));
        benchmark::DoNotOptimize(const_cast<LiftProfileView&>(data.liftProfile()).grab());
    }
}
BENCHMARK(BM_ProfileRedraw)->Unit(benchmark::kMillisecond);

// "Clear All" on a large project that has been on screen: every glyph leaves the scene.
void BM_ClearAllThermals(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        LoadedForm loaded(static_cast<int>(state.range(0)));
        loaded.form->repaint();
        QCoreApplication::processEvents();
        state.ResumeTiming();
        loaded.form->action(Command::ClearAllThermals)->trigger();
        QCoreApplication::processEvents();
        state.PauseTiming();
        loaded.form.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ClearAllThermals)->Arg(100'000)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
