#ifndef ZEL_IO_CHUNK_HEAD_H
#define ZEL_IO_CHUNK_HEAD_H

// The 64-byte head of the look file's body chunk: the magic "CHIP", the head's own
// length, the offset of the entry table and the end of the data (both counted from the
// end of the head). Every body, standard or extended, gets its head from here.

#include <cstddef>
#include <cstdint>

#include "io/look_file_layout.h"
#include "zel/records.h"

namespace zel::io {

constexpr std::size_t kChunkHeadSize = chunk_head::kLength;

// Writes the whole head into `head` (kChunkHeadSize bytes). A body that is not written yet
// has a table offset and data end of 0.
void writeChunkHead(std::uint8_t* head, std::uint32_t tableOffset, std::uint32_t dataEnd);

// The same head, into the standard record's head fields.
void writeChunkHead(ZelBinary& body, std::uint32_t tableOffset, std::uint32_t dataEnd);

}  // namespace zel::io

#endif  // ZEL_IO_CHUNK_HEAD_H
