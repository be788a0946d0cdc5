#include "batch.h"

#include "files/project.h"
#include "map/map.h"
#include "prompts/prompts.h"
#include "scene/mapview.h"

#include <QDir>
#include <QTextStream>

namespace {

// Prints every message to standard error and remembers that one was shown. Nothing is
// asked in a batch run: questions are answered No and dialogs cancelled.
class StderrPrompts final : public Prompts {
public:
    StderrPrompts()
        : previous_(setPrompts(this)) {}
    ~StderrPrompts() override { setPrompts(previous_); }
    StderrPrompts(const StderrPrompts&) = delete;
    StderrPrompts& operator=(const StderrPrompts&) = delete;

    void message(const QString& caption, const QString& text) override {
        print(caption, text);
        shown = true;
    }
    bool ask(const QString& caption, const QString& text) override {
        print(caption, text);
        return false;
    }
    std::optional<QString> openFile(const FileDialog&) override { return std::nullopt; }
    std::optional<QString> saveFile(const FileDialog&) override { return std::nullopt; }

    bool shown = false;

private:
    static void print(const QString& caption, const QString& text) {
        QTextStream(stderr) << caption << ": " << text << Qt::endl;
    }

    Prompts* previous_;
};

} // namespace

int RunBatch(const QString& kind, const QString& projectPath) {
    StderrPrompts messages;
    SceneryKind sceneryKind;
    if (kind == QLatin1String("thermik")) {
        sceneryKind = SceneryKind::thermik;
    } else if (kind == QLatin1String("cumulus")) {
        sceneryKind = SceneryKind::cumulus;
    } else {
        messages.message("Error", "Unknown scenery kind \"" + kind + "\": use thermik or cumulus");
        return 2;
    }

    const QString toolDir = QDir::currentPath();
    Map map;
    ThermalList thermals;
    // The panel the loader places thermals on; it is never shown.
    MapView panel(map);
    Project project(map, thermals);
    project.Load(projectPath, panel, false);
    const bool generated = GenerateScenery(sceneryKind, toolDir, thermals, project.fileName);
    return generated && !messages.shown ? 0 : 1;
}
