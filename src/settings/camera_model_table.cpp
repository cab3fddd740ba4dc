#include <array>

#include "settings/look_settings.h"

namespace {

constexpr std::array<std::int32_t, 12> kFirstGenerationShortChain = {2,  6, 4,  5,  8,  3,
                                                                     10, 9, 12, 14, 13, 16};
constexpr std::array<std::int32_t, 17> kFirstGenerationLongChain = {0,  7, 1,  2,  6,  4,  5,  8, 3,
                                                                    10, 9, 11, 15, 12, 14, 13, 16};
constexpr std::array<std::int32_t, 9> kSecondGenerationShortChain = {2, 6, 4, 5, 8, 3, 10, 9, 17};
constexpr std::array<std::int32_t, 13> kSecondGenerationLongChain = {0, 7, 1,  2, 6,  4, 5,
                                                                     8, 3, 10, 9, 17, 18};

template <std::size_t N>
std::vector<std::int32_t> toList(const std::array<std::int32_t, N>& blocks) {
    return std::vector<std::int32_t>(blocks.begin(), blocks.end());
}

}  // namespace

void applyModelTable(ZelLookSettings& settings, const ZelSettingsSeed& seed) {
    settings.passCount = 0;
    settings.blockList.clear();
    settings.blockOrder.clear();
    settings.passTable.clear();
    settings.sourceEncoding = seed.sourceEncoding;
    settings.outputCurve = seed.outputCurve;
    settings.outputRange = seed.outputRange;
    settings.longChain = seed.longChain;

    // Exact, case-sensitive comparison of the whole model string.
    if (seed.model == "CAMB-001" || seed.model == "CAMA-001") {
        settings.generationMode = zel::kFirstGeneration;
        settings.blockCount = 17;
        settings.blockList =
            seed.longChain ? toList(kFirstGenerationLongChain) : toList(kFirstGenerationShortChain);
    } else if (seed.model == "CAMB-002") {
        settings.passCount = 3;
        settings.generationMode = zel::kSecondGeneration;
        settings.blockCount = 19;
        settings.blockList = seed.longChain ? toList(kSecondGenerationLongChain)
                                            : toList(kSecondGenerationShortChain);
    } else {
        // A model the table does not know: no blocks. The job rejects it after the
        // settings builder has run.
        settings.generationMode = zel::kFirstGeneration;
        settings.blockCount = 0;
    }
    settings.blockListLength = static_cast<std::int32_t>(settings.blockList.size());
    settings.entryTag = 0;
}
