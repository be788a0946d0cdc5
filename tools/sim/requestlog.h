#pragma once

#include "serve.h"

#include <chrono>
#include <ostream>

// Passes every record on to the offset space and writes it as one JSON line:
// {"time":1.234,"op":"read","offset":1376,"size":16} and, for a write, "bytes":"0a1b...".
// Time is seconds since the log was created.
class RequestLog : public OffsetSpace {
public:
    RequestLog(std::ostream& out, OffsetSpace& inner);

    void ReadOffset(std::uint32_t offset, std::span<std::byte> data) override;
    void WriteOffset(std::uint32_t offset, std::span<const std::byte> data) override;

private:
    void Line(const char* op, std::uint32_t offset, std::span<const std::byte> data, bool bytes);

    std::ostream& out_;
    OffsetSpace& inner_;
    std::chrono::steady_clock::time_point start_;
};
