// Loading and saving a large project: 100,000 thermals, every line with both sections, each
// beside its floor, the same work done with nothing but std::from_chars / std::to_chars and
// the file calls. The run ends with the figures against their targets.

#include "codecs/projectfile.h"
#include "document/document.h"
#include "documentwindow.h"
#include "io/filestore.h"
#include "scene/mapview.h"

#include <charconv>
#include <cstdio>
#include <fcntl.h>
#include <map>
#include <random>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

constexpr int kThermals = 100'000;
constexpr int kFieldsPerLine = 28;
// Fields 16, 17 and 19 of a line are decimal numbers; the others are integers.
constexpr bool IsDecimalField(int field) {
    return field == 15 || field == 16 || field == 18;
}

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
        bytes = text;
    }

    QString path() const { return dir.filePath("large.prj"); }
    QString savedPath() const { return dir.filePath("saved.prj"); }

    QTemporaryDir dir;
    std::string bytes;
};

LargeProject& Files() {
    static LargeProject files;
    return files;
}

using Window = DocumentWindow;

// The numbers of every thermal line, as the floors keep them.
struct Numbers {
    std::vector<long> integers;
    std::vector<float> decimals;
};

// The floor of a parse: the 28 numbers of every line with std::from_chars and nothing else.
Numbers ParseFloor(std::string_view data) {
    Numbers numbers;
    numbers.integers.reserve(kThermals * (kFieldsPerLine - 3));
    numbers.decimals.reserve(kThermals * 3);
    std::size_t at = 0;
    for (int line = 0; line < 5; ++line)
        at = data.find('\n', at) + 1;
    const char* p = data.data() + at;
    const char* const end = data.data() + data.size();
    while (p < end) {
        for (int field = 0; field < kFieldsPerLine; ++field) {
            if (IsDecimalField(field))
                p = std::from_chars(p, end, numbers.decimals.emplace_back()).ptr + 1;
            else
                p = std::from_chars(p, end, numbers.integers.emplace_back()).ptr + 1;
        }
        ++p; // the line feed after the carriage return
    }
    return numbers;
}

void BM_ParseFloor(benchmark::State& state) {
    for (auto _ : state) {
        const auto read = ReadFileBytes(Files().path());
        benchmark::DoNotOptimize(ParseFloor(ByteView(std::get<QByteArray>(read))));
    }
}
BENCHMARK(BM_ParseFloor)->Unit(benchmark::kMillisecond)->Iterations(5);

// The text work of a load alone: reading the file and parsing every thermal line.
void BM_ParseProject(benchmark::State& state) {
    for (auto _ : state) {
        const auto read = ReadFileBytes(Files().path());
        std::size_t offset = 0;
        const std::string_view bytes = ByteView(std::get<QByteArray>(read));
        ReadProjectHeader(bytes, offset);
        if (ReadThermalLines(bytes, offset).value.thermals.size() != kThermals)
            state.SkipWithError("not every thermal was read");
    }
}
BENCHMARK(BM_ParseProject)->Unit(benchmark::kMillisecond)->Iterations(5);

// Read, parse, and every glyph placed on the map in the panel's scene.
void BM_LoadProject(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<Window>();
        state.ResumeTiming();
        window->document.LoadProject(Files().path(), false);
        // The scene's own work on new items, which it does before the first paint.
        QCoreApplication::processEvents();
        state.PauseTiming();
        if (window->view.glyphs().glyphs().size() != kThermals)
            state.SkipWithError("not every thermal got its glyph");
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadProject)->Unit(benchmark::kMillisecond)->Iterations(5);

// The load followed by the panel's first painted frame.
void BM_LoadAndFirstFrame(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto window = std::make_unique<Window>();
        window->view.show();
        state.ResumeTiming();
        window->document.LoadProject(Files().path(), false);
        benchmark::DoNotOptimize(window->view.viewport()->grab());
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadAndFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(3);

// The floor of a save: the same numbers written with std::to_chars, then written, flushed
// to the disk and renamed over the old file, as a safe save must.
void BM_SaveFloor(benchmark::State& state) {
    const Numbers numbers = ParseFloor(Files().bytes);
    const std::string path = Files().savedPath().toStdString();
    const std::string temporary = path + ".new";
    for (auto _ : state) {
        std::string out(Files().bytes.substr(0, Files().bytes.find("\r\n4") + 2));
        out.reserve(Files().bytes.size());
        char buffer[32];
        std::size_t integer = 0;
        std::size_t decimal = 0;
        for (int line = 0; line < kThermals; ++line) {
            for (int field = 0; field < kFieldsPerLine; ++field) {
                const char* end =
                    IsDecimalField(field)
                        ? std::to_chars(buffer, buffer + sizeof buffer, numbers.decimals[decimal++])
                              .ptr
                        : std::to_chars(buffer, buffer + sizeof buffer, numbers.integers[integer++])
                              .ptr;
                out.append(buffer, static_cast<std::size_t>(end - buffer));
                out += field + 1 < kFieldsPerLine ? "," : "\r\n";
            }
        }
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd < 0 || ::write(fd, out.data(), out.size()) != ssize_t(out.size()) ||
            ::fsync(fd) != 0 || ::close(fd) != 0 ||
            std::rename(temporary.c_str(), path.c_str()) != 0)
            state.SkipWithError("the floor's file could not be written");
    }
}
BENCHMARK(BM_SaveFloor)->Unit(benchmark::kMillisecond)->Iterations(10);

// Writing every line with both sections and replacing the file.
void BM_SaveProject(benchmark::State& state) {
    Window window;
    window.document.LoadProject(Files().path(), false);
    for (auto _ : state)
        window.document.SaveProjectTo(Files().savedPath(), true);
    QFile saved(Files().savedPath());
    saved.open(QIODevice::ReadOnly);
    if (saved.readAll().toStdString() != Files().bytes)
        state.SkipWithError("the saved file differs from the loaded one");
}
BENCHMARK(BM_SaveProject)->Unit(benchmark::kMillisecond)->Iterations(10);

// The text work of a save alone, without the file.
void BM_FormatProject(benchmark::State& state) {
    Window window;
    window.document.LoadProject(Files().path(), false);
    std::size_t offset = 0;
    const std::string header = ReadProjectHeader(Files().bytes, offset).value.text;
    for (auto _ : state)
        benchmark::DoNotOptimize(ProjectFileBytes(header, window.document.thermals(), true));
}
BENCHMARK(BM_FormatProject)->Unit(benchmark::kMillisecond)->Iterations(10);

// Keeps each benchmark's time per iteration for the figures at the end.
class Figures : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            ms[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    double Of(const std::string& prefix) const {
        const auto it = ms.lower_bound(prefix);
        return it == ms.end() ? 0 : it->second;
    }
    std::map<std::string, double> ms;
};

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Figures figures;
    benchmark::RunSpecifiedBenchmarks(&figures);
    benchmark::Shutdown();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const auto line = [](const char* what, double value, const char* target) {
        std::printf("%-28s %8.2f   %s\n", what, value, target);
    };
    line("parse / its floor", figures.Of("BM_ParseProject") / figures.Of("BM_ParseFloor"),
         "target at most 2");
    line("save / its floor", figures.Of("BM_SaveProject") / figures.Of("BM_SaveFloor"),
         "target at most 1.2");
    line("load (ms)", figures.Of("BM_LoadProject"), "target at most 300");
    line("load to first frame (ms)", figures.Of("BM_LoadAndFirstFrame"), "target at most 500");
    line("peak memory (max RSS, MB)", double(usage.ru_maxrss) / 1024, "target at most 300");
    return 0;
}
