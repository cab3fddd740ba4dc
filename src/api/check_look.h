#ifndef ZEL_API_CHECK_LOOK_H
#define ZEL_API_CHECK_LOOK_H

// The check of a look file against the look files the library makes again through its own
// job driver: what zelgen check, the fidelity line of zelgen make, the Python module and
// zel_check report.

#include <cstddef>
#include <cstdint>

#include "readback/look_check.h"

namespace zel {

// `look` null: without the source look. Throws DecodeError when the file cannot be
// walked.
CheckOutcome checkLook(const std::uint8_t* bytes, std::size_t size, const LookNodes* look);

}  // namespace zel

#endif  // ZEL_API_CHECK_LOOK_H
