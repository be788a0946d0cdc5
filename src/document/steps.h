#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include <QUndoCommand>

class Document;

// A step of the document's history, and the file whose contents it changes.
class DocumentStep : public QUndoCommand {
public:
    enum class File { project, waypoints };

    DocumentStep(File file, const QString& text)
        : QUndoCommand(text)
        , file(file) {}

    const File file;
};

// Puts a run of values into a list at an index, or takes it out, and the reverse on undo.
// Values out of the list live on here, without their glyphs, so that they come back as
// they were.
template <class T> class ListStep final : public DocumentStep {
public:
    // Puts run in at index at.
    ListStep(Document& document, const QString& text, std::size_t at,
             std::vector<std::unique_ptr<T>> run);
    // Takes count values out from index at.
    ListStep(Document& document, const QString& text, std::size_t at, std::size_t count);

    void redo() override;
    void undo() override;

private:
    void Put();
    void Take();

    Document& document_;
    const bool puts_;
    const std::size_t at_;
    const std::size_t count_;
    std::vector<std::unique_ptr<T>> kept_;
};

// New values for values of a list, by their index, and the old ones back on undo.
template <class T> class ValueStep final : public DocumentStep {
public:
    struct Change {
        std::size_t index;
        T before;
        T after;
    };

    ValueStep(Document& document, const QString& text, std::vector<Change> changes);

    void redo() override;
    void undo() override;

private:
    Document& document_;
    std::vector<Change> changes_;
};
