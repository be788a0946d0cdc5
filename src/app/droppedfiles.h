#pragma once

#include <QList>
#include <QString>
#include <QUrl>

// The files of a drop on the main window that it can open: the first local project file
// (".prj") and the first local waypoint file (".dat"), in any letter case.
struct DroppedFiles {
    QString project;
    QString waypoints;
};

DroppedFiles ClassifyDroppedFiles(const QList<QUrl>& urls);
