#ifndef ZEL_SETTINGS_CAMERA_MODELS_H
#define ZEL_SETTINGS_CAMERA_MODELS_H

// The camera model table: every fact of a camera model that a stage needs, in one place.
// Stages ask it by model string; a model it does not know has no entry.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "zel/camera_models.h"

namespace zel {

// Camera generation modes.
constexpr std::int32_t kFirstGeneration = 0;
constexpr std::int32_t kSecondGeneration = 2;

// A read-only list of block numbers.
struct BlockNumbers {
    const std::int32_t* numbers;
    std::size_t count;

    const std::int32_t* begin() const { return numbers; }
    const std::int32_t* end() const { return numbers + count; }
};

struct CameraModel {
    ZelCameraModelInfo info;      // what a host sees of the model
    std::int32_t generationMode;  // kFirstGeneration or kSecondGeneration
    std::int32_t blockCount;      // block numbers per pass
    std::int32_t passCount;       // output passes the settings record; 0 means two
    BlockNumbers shortChain;      // processing blocks in chain order
    BlockNumbers longChain;       // the same with the long chain's second path
    // The block numbers each output pass takes from an earlier pass instead of writing.
    BlockNumbers reusedByPass[3];
    int registerColumn;  // which column of the register image's block sizes it uses
    // Its extended look file's metadata: mode, block count, name and second name lengths.
    int metadataMode;
    int metadataBlocks;
    std::size_t metadataNameLength;
    std::size_t metadataSecondNameLength;
};

// The model named `name` (exact, case-sensitive, the whole string), or null.
const CameraModel* findCameraModel(std::string_view name);

// The models in table order; null past the end.
const CameraModel* cameraModelAt(std::size_t index);

}  // namespace zel

#endif  // ZEL_SETTINGS_CAMERA_MODELS_H
