#ifndef ZEL_API_LOOK_FILE_IMAGE_H
#define ZEL_API_LOOK_FILE_IMAGE_H

// The look file a finished job left in its output record, as the bytes a file holds.

#include <cstdint>
#include <vector>

#include "zel/records.h"

namespace zel {

// The standard job's file: the `zel` record's header part, then the body. False when the
// record states a length beyond its room.
bool takeLookFile(const ZelGenOutput& output, std::vector<std::uint8_t>& file);

// The extended job's file: header part, body head, entry table, data.
bool takeLookFile(const ZelGenOutputExtended& output, std::vector<std::uint8_t>& file);

}  // namespace zel

#endif  // ZEL_API_LOOK_FILE_IMAGE_H
