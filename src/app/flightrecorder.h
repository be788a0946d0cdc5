#pragma once

#include "flight/igcwriter.h"

#include <cstdint>
#include <optional>

#include <QDateTime>
#include <QFile>
#include <QObject>
#include <QString>

class QTimer;
class SimLink;

// Records the simulator's flight as an IGC flight log: one fix a second, while the link is
// live, from the position and altitude the link last read. Each fix goes to the file as it
// is written, so a crash loses at most the second being flown.
class FlightRecorder : public QObject {
    Q_OBJECT
public:
    explicit FlightRecorder(SimLink& link, QObject* parent = nullptr);
    ~FlightRecorder() override;

    // Writes the header to path (replacing a file of that name), dated today in UTC, and
    // starts the clock. False, after a message naming the file and the reason, when the
    // file cannot be written.
    bool Start(const QString& path, IgcLogHeader names);
    void Stop();
    bool recording() const { return file_.isOpen(); }
    const QString& path() const { return path_; }
    int fixes() const { return fixes_; }

    // A fix at utc when the link is live and that second has none yet; the clock calls it
    // every quarter second.
    void Record(const QDateTime& utc);

signals:
    // The recording ended by itself: the file could no longer be written.
    void stopped();

private:
    SimLink& link_;
    QFile file_;
    QString path_;
    QTimer* clock_;
    std::optional<std::int64_t> lastSecond_;
    int fixes_ = 0;
};
