// The link's reply walk over an area that a hostile server has rewritten. The input is
// the batch the client queues, then the bytes the server leaves at the start of the area:
//   byte 0        number of reads (0-7)
//   one byte each size (low 6 bits); bit 6 set: a read without destination
//   the rest      written over the area after the server has served it, before it replies 1
// Each destination is a buffer of exactly its read's size, so the sanitizer sees any byte
// written beyond it. Afterwards the link must still serve an honest batch.

#include "check.h"
#include "fakeserver.h"
#include "simlink/fsuipclink.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::size_t reads = std::min<std::size_t>(data[0] % 8, size - 1);
    const std::span<const std::uint8_t> sizes(data + 1, reads);
    const std::span<const std::uint8_t> area(data + 1 + reads, size - 1 - reads);

    FakeServer server;
    FsuipcLink link(server.MakeTransport(), LinkTiming{{}, {}, 1});
    constexpr LinkResult okay = LinkResult::okay;
    Check(link.Open(0) == okay, "the fake server is accepted");

    std::vector<std::unique_ptr<std::byte[]>> buffers;
    for (std::size_t i = 0; i < sizes.size(); ++i) {
        const std::uint32_t bytes = sizes[i] & 0x3F;
        std::byte* destination = nullptr;
        if (!(sizes[i] & 0x40)) {
            buffers.push_back(std::make_unique<std::byte[]>(bytes));
            destination = buffers.back().get();
        }
        Check(link.Read(0x3300 + 4 * static_cast<std::uint32_t>(i), bytes, destination) == okay,
              "a small read is queued");
    }
    Check(link.Write(0x2AE6, 1, "\x10") == okay, "a write is queued");

    server.afterServe = [area](std::span<std::byte> served) {
        std::memcpy(served.data(), area.data(), std::min(area.size(), served.size()));
    };
    Check(link.Process() == okay, "a reply of 1 is a success whatever the area holds");

    server.afterServe = nullptr;
    std::uint32_t version = 0;
    Check(link.Read(0x3304, 4, &version) == okay && link.Process() == okay,
          "the next batch is served");
    Check(version == 0x19980005, "the next batch reads what the server holds");
    return 0;
}
