#include "serve.h"

#include "simlink/records.h"

void ServeRecords(std::span<std::byte> area, OffsetSpace& space) {
    std::size_t at = 0;
    while (area.size() - at >= 4) {
        std::byte* record = area.data() + at;
        const std::uint32_t id = records::LoadU32(record);
        const std::uint32_t header = id == records::readId    ? records::readHeader
                                     : id == records::writeId ? records::writeHeader
                                                              : 0;
        if (header == 0 || area.size() - at < header)
            return;
        const std::uint32_t offset = records::LoadU32(record + 4);
        const std::uint32_t size = records::LoadU32(record + 8);
        if (size > area.size() - at - header)
            return;
        const std::span<std::byte> data = area.subspan(at + header, size);
        if (id == records::readId)
            space.ReadOffset(offset, data);
        else
            space.WriteOffset(offset, data);
        at += header + size;
    }
}
