// Clear All of 100,000 thermals on the map, its undo and its redo, each with the scene's work
// on the glyphs it lets go or makes, and the memory the history keeps after that Clear All.
// Each runs three times; the median is the figure (targets: 300 ms each, 1.5 times the
// thermals).

#include "codecs/mapfiles.h"
#include "codecs/projectfile.h"
#include "document/document.h"
#include "documentwindow.h"
#include "scene/mapview.h"

#include <malloc.h>
#include <random>

#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QUndoStack>

#include <benchmark/benchmark.h>

namespace {

constexpr int kThermals = 100'000;

// A map of 47-46 N, 8-10 E, a project of it without thermals, and one with 100,000.
class Projects {
public:
    Projects() {
        QImage picture(1600, 1000, QImage::Format_RGB32);
        picture.fill(QColor(120, 160, 90));
        picture.save(dir.filePath("map.bmp"));
        const std::string header = ProjectHeaderText("map.bmp", {47, 46, 8, 10});
        ThermalList thermals;
        std::mt19937 random(1);
        std::uniform_real_distribution<double> lat(46, 47), lon(8, 10);
        for (int i = 0; i < kThermals; ++i) {
            thermals.push_back(std::make_unique<Thermal>());
            thermals.back()->SetPosition({lat(random), lon(random)});
        }
        Write(empty(), ProjectFileBytes(header, {}, true));
        Write(large(), ProjectFileBytes(header, thermals, true));
    }
    QString empty() const { return dir.filePath("empty.prj"); }
    QString large() const { return dir.filePath("large.prj"); }

private:
    static void Write(const QString& path, const std::string& bytes) {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes.data(), qint64(bytes.size()));
    }
    QTemporaryDir dir;
};

const Projects& Files() {
    static const Projects files;
    return files;
}

// The document with the large project loaded and every thermal's glyph on the map.
struct Window : DocumentWindow {
    Window() {
        document.LoadProject(Files().large(), false);
        Settle();
    }
};

void BM_ClearAll(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<Window>();
        state.ResumeTiming();
        window->document.ClearAllThermals();
        Window::Settle();
        state.PauseTiming();
        if (!window->document.thermals().empty() || !window->view.glyphs().glyphs().empty())
            state.SkipWithError("a thermal or glyph stayed");
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ClearAll)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

void BM_UndoClearAll(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<Window>();
        window->document.ClearAllThermals();
        Window::Settle();
        state.ResumeTiming();
        window->document.history().undo();
        Window::Settle();
        state.PauseTiming();
        if (window->view.glyphs().glyphs().size() != kThermals)
            state.SkipWithError("not every thermal came back with its glyph");
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_UndoClearAll)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

// Clear All again at once after its undo, before the event loop has run.
void BM_RedoClearAll(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<Window>();
        window->document.ClearAllThermals();
        Window::Settle();
        window->document.history().undo();
        state.ResumeTiming();
        window->document.history().redo();
        Window::Settle();
        state.PauseTiming();
        if (!window->view.glyphs().glyphs().empty())
            state.SkipWithError("a glyph stayed");
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RedoClearAll)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

std::size_t HeapInUse() {
    return mallinfo2().uordblks;
}

// The heap in use, counted by the allocator, from a project with its map but no thermals:
// after the thermals were added (their memory) and after Clear All (what the history holds
// then, the thermals it keeps included), as a ratio.
void BM_HistoryMemory(benchmark::State& state) {
    for (auto _ : state) {
        Document document;
        document.LoadProject(Files().empty(), false);
        const std::size_t before = HeapInUse();
        document.LoadProject(Files().large(), true);
        const std::size_t withThermals = HeapInUse();
        document.ClearAllThermals();
        const std::size_t afterClear = HeapInUse();
        state.counters["thermals_MB"] = double(withThermals - before) / 1e6;
        state.counters["history_MB"] = double(afterClear - before) / 1e6;
        state.counters["ratio"] = double(afterClear - before) / double(withThermals - before);
    }
}
BENCHMARK(BM_HistoryMemory)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

} // namespace
