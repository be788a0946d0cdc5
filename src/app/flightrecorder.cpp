#include "flightrecorder.h"

#include "io/filestore.h"
#include "prompts/prompts.h"
#include "simlink/simlink.h"

#include <string>

#include <QTimer>

FlightRecorder::FlightRecorder(SimLink& link, QObject* parent)
    : QObject(parent)
    , link_(link)
    , clock_(new QTimer(this)) {
    // Four looks a second find every second of the clock, however the timer drifts.
    clock_->setInterval(250);
    connect(clock_, &QTimer::timeout, this, [this] { Record(QDateTime::currentDateTimeUtc()); });
}

FlightRecorder::~FlightRecorder() {
    Stop();
}

bool FlightRecorder::Start(const QString& path, IgcLogHeader names) {
    Stop();
    const QDate today = QDateTime::currentDateTimeUtc().date();
    names.date = {today.year(), today.month(), today.day()};
    const std::string header = IgcHeaderText(names);
    file_.setFileName(path);
    // Unbuffered: every write is in the file when it returns.
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered) ||
        file_.write(header.data(), qint64(header.size())) != qint64(header.size())) {
        ShowFileMessage("File Error", "The flight cannot be recorded.", ShownPath(path),
                        file_.errorString().toStdString());
        file_.close();
        return false;
    }
    path_ = path;
    lastSecond_.reset();
    fixes_ = 0;
    clock_->start();
    return true;
}

void FlightRecorder::Stop() {
    clock_->stop();
    file_.close();
}

void FlightRecorder::Record(const QDateTime& utc) {
    const std::optional<GeoPoint> position = link_.Position();
    const std::int64_t second = utc.toSecsSinceEpoch();
    if (!recording() || !link_.Status().live || !position || lastSecond_ == second)
        return;
    const QTime time = utc.time();
    const std::string line =
        IgcFixLine(time.msecsSinceStartOfDay() / 1000, *position, link_.GetAltitude());
    if (file_.write(line.data(), qint64(line.size())) != qint64(line.size())) {
        const std::string reason = file_.errorString().toStdString();
        Stop();
        ShowFileMessage("File Error", "The flight recording stopped.", ShownPath(path_), reason);
        emit stopped();
        return;
    }
    lastSecond_ = second;
    ++fixes_;
}
