#include "settings/camera_models.h"

#include <array>

namespace zel {

namespace {

template <std::size_t N>
constexpr BlockNumbers numbers(const std::array<std::int32_t, N>& list) {
    return {list.data(), N};
}

constexpr std::array<std::int32_t, 12> kFirstGenerationShortChain = {2,  6, 4,  5,  8,  3,
                                                                     10, 9, 12, 14, 13, 16};
constexpr std::array<std::int32_t, 17> kFirstGenerationLongChain = {0,  7, 1,  2,  6,  4,  5,  8, 3,
                                                                    10, 9, 11, 15, 12, 14, 13, 16};
constexpr std::array<std::int32_t, 9> kSecondGenerationShortChain = {2, 6, 4, 5, 8, 3, 10, 9, 17};
constexpr std::array<std::int32_t, 13> kSecondGenerationLongChain = {0, 7, 1,  2, 6,  4, 5,
                                                                     8, 3, 10, 9, 17, 18};

// The first generation's second path takes the first path's cubes, curves and matrices
// where the two agree; its second pass repeats the first.
constexpr std::array<std::int32_t, 4> kFirstGenerationPass0Reuse = {11, 13, 15, 16};
constexpr std::array<std::int32_t, 14> kFirstGenerationPass1Reuse = {0, 1,  3,  4,  5,  6,  7,
                                                                     8, 10, 11, 13, 14, 15, 16};
// The second generation's later passes share the first pass's fixed blocks.
constexpr std::array<std::int32_t, 6> kSecondGenerationLaterPassReuse = {0, 1, 3, 5, 8, 10};
constexpr BlockNumbers kNone = {nullptr, 0};

constexpr CameraModel firstGeneration(const char* name, int registerColumn, int metadataMode) {
    return CameraModel{
        {name, 1, true, false, false, 6},
        kFirstGeneration,
        17,
        0,
        numbers(kFirstGenerationShortChain),
        numbers(kFirstGenerationLongChain),
        {numbers(kFirstGenerationPass0Reuse), numbers(kFirstGenerationPass1Reuse), kNone},
        registerColumn,
        metadataMode,
        6,
        metadataMode == 0 ? std::size_t{32} : std::size_t{63},
        metadataMode == 0 ? std::size_t{28} : std::size_t{59},
    };
}

constexpr CameraModel kModels[] = {
    firstGeneration("CAMB-001", 0, 0),
    CameraModel{
        {"CAMB-002", 2, false, true, true, 9},
        kSecondGeneration,
        19,
        3,
        numbers(kSecondGenerationShortChain),
        numbers(kSecondGenerationLongChain),
        {kNone, numbers(kSecondGenerationLaterPassReuse), numbers(kSecondGenerationLaterPassReuse)},
        1,
        2,
        9,
        63,
        59,
    },
    firstGeneration("CAMA-001", 2, 3),
};

}  // namespace

const CameraModel* findCameraModel(std::string_view name) {
    for (const CameraModel& model : kModels) {
        if (name == model.info.name) {
            return &model;
        }
    }
    return nullptr;
}

const CameraModel* cameraModelAt(std::size_t index) {
    return index < std::size(kModels) ? &kModels[index] : nullptr;
}

}  // namespace zel
