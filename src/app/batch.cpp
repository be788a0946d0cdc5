#include "batch.h"

#include "document/document.h"
#include "io/scenerytool.h"
#include "prompts/prompts.h"

#include <cstdio>

#include <QDir>

namespace {

// Prints every message to standard error. Nothing is asked in a batch run: questions are
// answered No (unsaved work: Cancel) and dialogs cancelled.
class StderrPrompts final : public Prompts {
public:
    StderrPrompts()
        : previous_(setPrompts(this)) {}
    ~StderrPrompts() override { setPrompts(previous_); }
    StderrPrompts(const StderrPrompts&) = delete;
    StderrPrompts& operator=(const StderrPrompts&) = delete;

    void message(const std::string& caption, const std::string& text) override {
        print(caption, text);
    }
    bool ask(const std::string& caption, const std::string& text, Preferred) override {
        print(caption, text);
        return false;
    }
    Unsaved askUnsaved(const std::string& caption, const std::string& text) override {
        print(caption, text);
        return Unsaved::cancel;
    }
    std::optional<std::string> openFile(const FileDialog&) override { return std::nullopt; }
    std::optional<std::string> saveFile(const FileDialog&) override { return std::nullopt; }

private:
    static void print(const std::string& caption, const std::string& text) {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
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
        messages.message("Error", "Unknown scenery kind \"" + kind.toStdString() +
                                      "\": use thermik or cumulus");
        return 2;
    }

    // A project that was not read whole still gives its scenery, as the window's command does,
    // but the run counts as failed.
    Document document;
    const bool loaded = document.LoadProject(projectPath, false);
    const auto run = SceneryRun::Prepare(sceneryKind, QDir::currentPath(), document.thermals(),
                                         document.projectPath());
    const bool generated = run && run->RunToEnd();
    return loaded && generated ? 0 : 1;
}
