#pragma once

#include <QList>
#include <QString>
#include <QUrl>

// The files of a drop on the main window that it can open: the first local project file
// (".prj"), the first local waypoint file (".dat") and the first flight log (".igc"), in any
// letter case.
struct DroppedFiles {
    QString project;
    QString waypoints;
    QString log;
};

DroppedFiles ClassifyDroppedFiles(const QList<QUrl>& urls);
