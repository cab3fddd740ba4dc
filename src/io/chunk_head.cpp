#include "io/chunk_head.h"

#include <cstring>

#include "io/byte_order.h"

namespace zel::io {

static_assert(sizeof(ZelBinary::magic) + sizeof(ZelBinary::headLength) +
                      sizeof(ZelBinary::headRest) ==
                  kChunkHeadSize,
              "the standard record's head fields hold the whole chunk head");

void writeChunkHead(std::uint8_t* head, std::uint32_t tableOffset, std::uint32_t dataEnd) {
    std::memset(head, 0, kChunkHeadSize);
    std::memcpy(head + chunk_head::kMagicField.offset, chunk_head::kMagic,
                chunk_head::kMagicField.width);
    putU32le(head + chunk_head::kOwnLength.offset, static_cast<std::uint32_t>(kChunkHeadSize));
    putU32le(head + chunk_head::kTableOffset.offset, tableOffset);
    putU32le(head + chunk_head::kDataEnd.offset, dataEnd);
}

void writeChunkHead(ZelBinary& body, std::uint32_t tableOffset, std::uint32_t dataEnd) {
    std::uint8_t head[kChunkHeadSize];
    writeChunkHead(head, tableOffset, dataEnd);
    std::memcpy(&body.magic, head, sizeof body.magic);
    std::memcpy(&body.headLength, head + 4, sizeof body.headLength);
    std::memcpy(body.headRest, head + 8, sizeof body.headRest);
}

}  // namespace zel::io
