#pragma once

#include <chrono>
#include <functional>
#include <vector>

#include <QByteArray>
#include <QString>

// One request record of brevan-sim's --log.
struct SimRecord {
    double time = 0; // seconds since the stand-in started
    bool write = false;
    unsigned offset = 0;
    unsigned size = 0;
    QByteArray bytes; // written bytes, hex
};

// The complete lines of the log so far; a line still being written is left for later.
std::vector<SimRecord> ReadSimLog(const QString& path);

// The records that touch one offset, in order.
std::vector<SimRecord> Writes(const std::vector<SimRecord>& log, unsigned offset);
std::vector<SimRecord> Reads(const std::vector<SimRecord>& log, unsigned offset);

// Polls until the condition holds or the limit passes; true when it held.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit);
