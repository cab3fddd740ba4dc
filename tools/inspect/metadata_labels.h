#ifndef ZELGEN_METADATA_LABELS_H
#define ZELGEN_METADATA_LABELS_H

// The 16-byte universal labels a look file's metadata blocks use to name encodings.

#include <cstdint>
#include <string>

namespace zelgen {

// The label's name ("transfer PQ", "primaries Q-Prims3", ...), "" for sixteen zero bytes,
// or the bytes in hexadecimal for a label this tool does not know.
std::string labelName(const std::uint8_t* label);

}  // namespace zelgen

#endif  // ZELGEN_METADATA_LABELS_H
