#pragma once

#include "serve.h"

#include <functional>
#include <utility>

// Passes every record on to the offset space, and runs a step before each read: what is
// read is the state of that moment, not of the last time the main loop came round.
class ReadHook : public OffsetSpace {
public:
    ReadHook(OffsetSpace& inner, std::function<void()> beforeRead)
        : inner_(inner)
        , beforeRead_(std::move(beforeRead)) {}

    void ReadOffset(std::uint32_t offset, std::span<std::byte> data) override {
        beforeRead_();
        inner_.ReadOffset(offset, data);
    }
    void WriteOffset(std::uint32_t offset, std::span<const std::byte> data) override {
        inner_.WriteOffset(offset, data);
    }

private:
    OffsetSpace& inner_;
    std::function<void()> beforeRead_;
};
