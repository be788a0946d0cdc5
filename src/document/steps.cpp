#include "document/steps.h"

#include "document/document.h"

#include <type_traits>

namespace {

template <class T> DocumentStep::File FileOf() {
    return std::is_same_v<T, Thermal> ? DocumentStep::File::project : DocumentStep::File::waypoints;
}

} // namespace

template <class T>
ListStep<T>::ListStep(Document& document, const QString& text, std::size_t at,
                      std::vector<std::unique_ptr<T>> run)
    : DocumentStep(FileOf<T>(), text)
    , document_(document)
    , puts_(true)
    , at_(at)
    , count_(run.size())
    , kept_(std::move(run)) {}

template <class T>
ListStep<T>::ListStep(Document& document, const QString& text, std::size_t at, std::size_t count)
    : DocumentStep(FileOf<T>(), text)
    , document_(document)
    , puts_(false)
    , at_(at)
    , count_(count) {}

template <class T> void ListStep<T>::redo() {
    puts_ ? Put() : Take();
}

template <class T> void ListStep<T>::undo() {
    puts_ ? Take() : Put();
}

template <class T> void ListStep<T>::Put() {
    document_.Put(kept_, at_);
}

template <class T> void ListStep<T>::Take() {
    document_.Take(kept_, at_, count_);
}

template <class T>
ValueStep<T>::ValueStep(Document& document, const QString& text, std::vector<Change> changes)
    : DocumentStep(FileOf<T>(), text)
    , document_(document)
    , changes_(std::move(changes)) {}

template <class T> void ValueStep<T>::redo() {
    auto& list = document_.ListOf<T>();
    for (const Change& change : changes_)
        list[change.index]->SetValues(change.after);
}

template <class T> void ValueStep<T>::undo() {
    auto& list = document_.ListOf<T>();
    for (auto it = changes_.rbegin(); it != changes_.rend(); ++it)
        list[it->index]->SetValues(it->before);
}

template class ListStep<Thermal>;
template class ListStep<Waypoint>;
template class ValueStep<Thermal>;
template class ValueStep<Waypoint>;
