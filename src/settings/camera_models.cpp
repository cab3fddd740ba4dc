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

// Every look file gives its texts the same room: the look file's name 128 bytes, the note
// 128, the look text 512, the file header's text 32 and tag 16, the second name 28 (the
// extended files of some models give it more).
constexpr CameraModelBuilder withTextRooms(CameraModelBuilder builder) {
    return builder.textRooms(128, 128, 512, 32, 16, 28);
}

constexpr CameraModel firstGeneration(const char* name, int registerColumn, int metadataMode) {
    const bool longNames = metadataMode != 0;
    return withTextRooms(CameraModelBuilder(name))
        .generation(1)
        .blockCount(17)
        .passCount(0)
        .layouts(true, false, false)
        .chains(numbers(kFirstGenerationShortChain), numbers(kFirstGenerationLongChain))
        .reusedByPass(numbers(kFirstGenerationPass0Reuse), numbers(kFirstGenerationPass1Reuse),
                      kNone)
        .registerColumn(registerColumn)
        .extendedMetadata(metadataMode, 6, longNames ? 63 : 32, longNames ? 59 : 28)
        .build();
}

constexpr CameraModel kModels[] = {
    firstGeneration("CAMB-001", 0, 0),
    withTextRooms(CameraModelBuilder("CAMB-002"))
        .generation(2)
        .blockCount(19)
        .passCount(3)
        .layouts(false, true, true)
        .chains(numbers(kSecondGenerationShortChain), numbers(kSecondGenerationLongChain))
        .reusedByPass(kNone, numbers(kSecondGenerationLaterPassReuse),
                      numbers(kSecondGenerationLaterPassReuse))
        .registerColumn(1)
        .extendedMetadata(2, 9, 63, 59)
        .build(),
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
