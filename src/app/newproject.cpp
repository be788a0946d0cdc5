#include "newproject.h"

#include "document/document.h"
#include "geo/mapedges.h"
#include "io/filestore.h"
#include "io/georeference.h"
#include "prompts/prompts.h"

#include <variant>

#include <QFileInfo>
#include <QStringList>

namespace {

std::optional<GeoBounds> EdgesFromText(const QString& bounds) {
    const QStringList parts = bounds.split(QLatin1Char(','));
    if (parts.size() != 4) {
        prompts().message("Error", "--bounds takes four edges, north,south,west,east: \"" +
                                       bounds.toStdString() + "\"");
        return std::nullopt;
    }
    auto edges = ParseMapEdges(parts[0].toStdString(), parts[1].toStdString(),
                               parts[2].toStdString(), parts[3].toStdString());
    if (const auto* problem = std::get_if<std::string>(&edges)) {
        prompts().message("Error", *problem);
        return std::nullopt;
    }
    return std::get<GeoBounds>(edges);
}

} // namespace

int RunNewProject(const QString& mapPath, const QString& bounds, const QString& projectPath,
                  bool force) {
    // A project file holds the user's thermals: it is replaced only when asked to.
    if (!force && QFileInfo::exists(projectPath)) {
        prompts().message("Error", WithDetail("The project file exists already: give --force "
                                              "to replace it.",
                                              ShownPath(projectPath)));
        return 1;
    }
    // With no prompts installed, messages go to standard error; every one of them comes with
    // a failure.
    const auto edges = !bounds.isEmpty() ? EdgesFromText(bounds) : FindMapEdges(mapPath, [] {
        prompts().message("Error", "The map has no world file and no "
                                   "GeoTIFF tags: give its edges with "
                                   "--bounds N,S,W,E");
        return std::optional<GeoBounds>();
    });
    if (!edges)
        return 1;
    Document document;
    return document.NewProjectFromMap(mapPath, *edges) && document.SaveProjectTo(projectPath, true)
               ? 0
               : 1;
}
