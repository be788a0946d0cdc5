#pragma once

#include "document/document.h"
#include "geo/units.h"
#include "scene/mapview.h"

#include <QCoreApplication>

// What the window does with a project: the document reads it and the view makes the glyphs.
struct DocumentWindow {
    DocumentWindow() {
        QObject::connect(&document, &Document::thermalsAdded, &view,
                         [this](std::size_t first, std::size_t count) {
                             view.AdoptThermals(document.thermals(), first, count);
                         });
        view.resize(800, 600);
        document.map().Resize(800, 600);
    }
    // Until the event loop has run, the scene keeps new items in lists that it searches
    // for every item it lets go.
    ~DocumentWindow() { Settle(); }
    static void Settle() { QCoreApplication::processEvents(); }

    Document document;
    DisplayUnits units;
    MapView view{document.map(), units};
};
