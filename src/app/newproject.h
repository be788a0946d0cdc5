#pragma once

#include <QString>

// `brevan --new-project MAP [--bounds N,S,W,E] [--force] OUT.prj`, without a window: writes
// a project
// with no thermals on the picture mapPath, placed by bounds ("N,S,W,E", each edge as the map
// edges dialog takes it) or, when bounds is empty, by its world file or GeoTIFF tags.
// Messages go to standard error as "caption: text". Returns 0 when the project was written
// and no message was shown, else 1; an existing project file is left as it is unless force.
// Needs only a QCoreApplication.
int RunNewProject(const QString& mapPath, const QString& bounds, const QString& projectPath,
                  bool force);
