#include "simlog.h"

#include <algorithm>
#include <thread>

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

std::vector<SimRecord> ReadSimLog(const QString& path) {
    std::vector<SimRecord> records;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return records;
    const QByteArray data = file.readAll();
    for (const QByteArray& line : data.left(data.lastIndexOf('\n') + 1).split('\n')) {
        const QJsonObject o = QJsonDocument::fromJson(line).object();
        if (o.isEmpty())
            continue;
        records.push_back({o["time"].toDouble(), o["op"].toString() == "write",
                           static_cast<unsigned>(o["offset"].toInt()),
                           static_cast<unsigned>(o["size"].toInt()),
                           o["bytes"].toString().toLatin1()});
    }
    return records;
}

namespace {

std::vector<SimRecord> Select(const std::vector<SimRecord>& log, unsigned offset, bool write) {
    std::vector<SimRecord> selected;
    std::copy_if(log.begin(), log.end(), std::back_inserter(selected),
                 [&](const SimRecord& r) { return r.offset == offset && r.write == write; });
    return selected;
}

} // namespace

std::vector<SimRecord> Writes(const std::vector<SimRecord>& log, unsigned offset) {
    return Select(log, offset, true);
}

std::vector<SimRecord> Reads(const std::vector<SimRecord>& log, unsigned offset) {
    return Select(log, offset, false);
}

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}
