#pragma once

#include "prompts/prompts.h"

#include <QString>

class QFileDialog;
class QWidget;

// Converts the program's "Text|*.EXT" dialog filters into Qt's "Text (*.ext *.EXT)" form.
// Both spellings of the extension are listed because Linux names are case-sensitive.
QString QtFileFilter(const QString& filter);

// Prepares an open (save false) or save dialog: filter, default suffix and initial folder,
// the current working directory when none is given.
void PrepareFileDialog(QFileDialog& fileDialog, const Prompts::FileDialog& dialog, bool save);

// The prompts as message boxes and file dialogs, parented to the main window.
class QtPrompts final : public Prompts {
public:
    explicit QtPrompts(QWidget* parent = nullptr)
        : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void message(const std::string& caption, const std::string& text) override;
    bool ask(const std::string& caption, const std::string& text, Preferred preferred) override;
    std::optional<std::string> askText(const std::string& caption, const std::string& label,
                                       const std::string& initial) override;
    Unsaved askUnsaved(const std::string& caption, const std::string& text) override;
    std::optional<std::string> openFile(const FileDialog& dialog) override;
    std::optional<std::string> saveFile(const FileDialog& dialog) override;

private:
    std::optional<std::string> runFileDialog(const FileDialog& dialog, bool save);

    QWidget* parent_;
};
