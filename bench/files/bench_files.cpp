// Loading and saving a large project: 100,000 thermals, every line with both sections.

#include "files/filestore.h"
#include "files/project.h"
#include "files/thermalline.h"
#include "geo/textfields.h"
#include "map/map.h"
#include "scene/mapview.h"

#include <cstdio>
#include <random>
#include <string>
#include <sys/resource.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kThermals = 100'000;

// A project of 47-46 N, 8-10 E over a 1600 x 1000 map, written once per process.
class LargeProject {
public:
    LargeProject() {
        QImage picture(1600, 1000, QImage::Format_RGB32);
        picture.fill(QColor(120, 160, 90));
        picture.save(dir.filePath("map.bmp"));

        std::string text = "map.bmp\r\n47:00.000N\r\n46:00.000N\r\n8:00.000E\r\n10:00.000E\r\n";
        std::mt19937 random(1);
        std::uniform_int_distribution<int> lat(4'600'000, 4'700'000), lon(800'000, 1'000'000),
            type(1, 4), wind(0, 359), height(0, 3000), percent(0, 100);
        for (int i = 0; i < kThermals; ++i) {
            const std::string ground = std::to_string(height(random));
            text += std::to_string(lat(random)) + ',' + std::to_string(lon(random)) + ',' +
                    std::to_string(type(random)) + ",0," + std::to_string(height(random)) +
                    ",500," + std::to_string(wind(random)) + ",30000,1," + ground +
                    ",1500,1000,1,1,7,-1,-1,0,-0.5,-1,-1," + ground + ",2,4," +
                    std::to_string(percent(random)) + ",60,20,80\r\n";
        }
        QFile file(path());
        file.open(QIODevice::WriteOnly);
        file.write(text.data(), qint64(text.size()));
        bytes = text.size();
    }

    QString path() const { return dir.filePath("large.prj"); }
    QString savedPath() const { return dir.filePath("saved.prj"); }

    QTemporaryDir dir;
    std::size_t bytes = 0;
};

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

LargeProject& Files() {
    static LargeProject files;
    return files;
}

struct Window {
    Window() { view.resize(800, 600); }
    // Until the event loop has run, the scene keeps new items in lists that it searches
    // for every item it lets go.
    ~Window() { QCoreApplication::processEvents(); }

    Map map;
    MapView view{map};
    ThermalList thermals;
    Project project{map, thermals};
};

// Read, parse, and create every glyph placed on the map in the panel's scene.
void BM_LoadProject(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<Window>();
        state.ResumeTiming();
        window->project.Load(Files().path(), window->view, false);
        // The scene's own work on new items, which it does before the first paint.
        QCoreApplication::processEvents();
        state.PauseTiming();
        if (window->thermals.size() != kThermals)
            state.SkipWithError("not every thermal was loaded");
        window.reset();
        state.ResumeTiming();
    }
    state.counters["MB"] = double(Files().bytes) / 1e6;
}
BENCHMARK(BM_LoadProject)->Unit(benchmark::kMillisecond)->Iterations(5);

// The text work of a load alone: reading the file and parsing every thermal line.
void BM_ParseProject(benchmark::State& state) {
    for (auto _ : state) {
        const auto read = ReadFileBytes(Files().path());
        const std::string_view bytes = ByteView(std::get<QByteArray>(read));
        std::size_t offset = 0;
        int parsed = 0;
        for (std::string line = ReadLine(bytes, offset); !line.empty();
             line = ReadLine(bytes, offset))
            parsed += ParseThermalLine(line) ? 1 : 0;
        benchmark::DoNotOptimize(parsed);
    }
}
BENCHMARK(BM_ParseProject)->Unit(benchmark::kMillisecond)->Iterations(5);

// The load followed by the panel's first painted frame.
void BM_LoadAndFirstPaint(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<Window>();
        window->view.show();
        state.ResumeTiming();
        window->project.Load(Files().path(), window->view, false);
        benchmark::DoNotOptimize(window->view.viewport()->grab());
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadAndFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(3);

// Writing every line with both sections and replacing the file.
void BM_SaveProject(benchmark::State& state) {
    Window window;
    window.project.Load(Files().path(), window.view, false);
    for (auto _ : state)
        window.project.SaveTo(Files().savedPath(), true);
    if (ReadAll(Files().savedPath()) != ReadAll(Files().path()))
        state.SkipWithError("the saved file differs from the loaded one");
}
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond)->Iterations(10);

// The text work of a save alone, without the file: what is left is the write and the
// flush to the disk that keeps the old file until the new one is whole.
void BM_FormatProject(benchmark::State& state) {
    Window window;
    window.project.Load(Files().path(), window.view, false);
    for (auto _ : state) {
        std::string out;
        out.reserve(window.thermals.size() * 112);
        for (const auto& thermal : window.thermals)
            window.project.WriteThermal(out, *thermal, true);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_FormatProject)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak memory (max RSS): %.1f MB\n", double(usage.ru_maxrss) / 1024);
    return 0;
}
