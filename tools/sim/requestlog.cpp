#include "requestlog.h"

#include <cstdio>

RequestLog::RequestLog(std::ostream& out, OffsetSpace& inner)
    : out_(out)
    , inner_(inner)
    , start_(std::chrono::steady_clock::now()) {}

void RequestLog::ReadOffset(std::uint32_t offset, std::span<std::byte> data) {
    Line("read", offset, data, false);
    inner_.ReadOffset(offset, data);
}

void RequestLog::WriteOffset(std::uint32_t offset, std::span<const std::byte> data) {
    Line("write", offset, data, true);
    inner_.WriteOffset(offset, data);
}

void RequestLog::Line(const char* op, std::uint32_t offset, std::span<const std::byte> data,
                      bool bytes) {
    const std::chrono::duration<double> time = std::chrono::steady_clock::now() - start_;
    char head[128];
    std::snprintf(head, sizeof head, R"({"time":%.6f,"op":"%s","offset":%u,"size":%zu)",
                  time.count(), op, offset, data.size());
    out_ << head;
    if (bytes) {
        out_ << R"(,"bytes":")";
        char hex[3];
        for (const std::byte b : data) {
            std::snprintf(hex, sizeof hex, "%02x", std::to_integer<unsigned>(b));
            out_ << hex;
        }
        out_ << '"';
    }
    out_ << "}\n";
}
