#include "droppedfiles.h"

#include <QFileInfo>

DroppedFiles ClassifyDroppedFiles(const QList<QUrl>& urls) {
    DroppedFiles files;
    for (const QUrl& url : urls) {
        if (!url.isLocalFile())
            continue;
        const QString path = url.toLocalFile();
        const QString suffix = QFileInfo(path).suffix();
        if (files.project.isEmpty() &&
            suffix.compare(QLatin1String("prj"), Qt::CaseInsensitive) == 0)
            files.project = path;
        else if (files.waypoints.isEmpty() &&
                 suffix.compare(QLatin1String("dat"), Qt::CaseInsensitive) == 0)
            files.waypoints = path;
        else if (files.log.isEmpty() &&
                 suffix.compare(QLatin1String("igc"), Qt::CaseInsensitive) == 0)
            files.log = path;
    }
    return files;
}
