#include "check/look_reference.h"

#include <cstring>
#include <memory>
#include <vector>

#include "io/look_file_comparison.h"
#include "zel/zel.h"
#include "zelgen/look_file_image.h"

namespace zelgen {

namespace {

constexpr std::uint32_t kLongChain = 1u << 4;
constexpr std::uint32_t kFullDomain = 1u << 8;

template <typename Output>
bool runReference(ZelGenInput& input, std::size_t nodeCount, LookFileBytes& file) {
    ZelGenerator generator;
    generator.zel_set_console(nullptr, nullptr);
    generator.zel_initialize();
    auto output = std::make_unique<Output>();
    // The job also returns the look re-indexed; only the look file is kept.
    std::vector<float> reindexed(nodeCount * 4);
    output->floatLut = reindexed.data();
    output->floatLutFilm = reindexed.data();
    generator.zel_exec(input, *output);
    return generator.zel_get_status() == ZelEnum::ZEL_STATUS_DONE && takeLookFile(*output, file);
}

}  // namespace

NodeTable standInLattice(int size) {
    const int n = size >= 2 && size <= 255 ? size : 2;
    NodeTable table(n);
    float* v = table.data();
    const auto step = static_cast<float>(n - 1);
    for (int r = 0; r < n; ++r) {
        for (int g = 0; g < n; ++g) {
            for (int b = 0; b < n; ++b) {
                float* node =
                    v + table.nodeIndex(static_cast<std::size_t>(r), static_cast<std::size_t>(g),
                                        static_cast<std::size_t>(b)) *
                            4;
                node[0] = static_cast<float>(r) / step;
                node[1] = static_cast<float>(g) / step;
                node[2] = static_cast<float>(b) / step;
                node[3] = 0.0f;
            }
        }
    }
    return table;
}

std::vector<LookFileBytes> referenceLookFiles(const zel::LookFacts& facts, const NodeTable& lattice,
                                              const ReferenceWanted& wanted) {
    std::vector<LookFileBytes> files;
    if (facts.sourceEncoding < 0 || facts.outputCurve < 0 || facts.outputRange < 0 ||
        lattice.size() < 2) {
        return files;
    }
    const bool extended = facts.layout == zel::LookLayout::Extended;
    // The full domain applies to the standard layout only.
    const std::uint32_t optionSets[] = {0, kLongChain, kFullDomain, kLongChain | kFullDomain};
    for (const std::uint32_t flags : optionSets) {
        if (extended && (flags & kFullDomain) != 0) {
            continue;
        }
        ZelGenInput input;
        input.sourceEncoding = static_cast<std::uint8_t>(facts.sourceEncoding);
        input.outputCurve = static_cast<std::uint8_t>(facts.outputCurve);
        input.outputRange = static_cast<std::uint8_t>(facts.outputRange);
        std::strncpy(input.modelName, facts.model.c_str(), sizeof input.modelName - 1);
        std::strncpy(input.lookFileName, "reference.zel", sizeof input.lookFileName - 1);
        input.gridSize = static_cast<std::uint8_t>(lattice.size());
        input.nodeValues = lattice.data();
        input.flags = flags;
        LookFileBytes file;
        const bool made = extended
                              ? runReference<ZelGenOutputExtended>(input, lattice.nodeCount(), file)
                              : runReference<ZelGenOutput>(input, lattice.nodeCount(), file);
        if (made) {
            files.push_back(std::move(file));
            if (wanted && wanted(files.back())) {
                break;
            }
        }
    }
    return files;
}

Verification verifyLookFile(const LookFileBytes& file, const std::vector<LookFileBytes>& references,
                            bool sameLook) {
    Verification result;
    result.lookWordsVerified = sameLook;
    if (references.empty()) {
        result.damage.push_back(
            "the library makes no look file with the settings the headers name (camera, layout, "
            "source, output)");
        return result;
    }
    // Counted against every reference, located against the one that matches best.
    const LookFileBytes* best = nullptr;
    zel::LookComparison closest;
    for (const LookFileBytes& reference : references) {
        const zel::LookComparison c = zel::compareLookFiles(
            file.data(), file.size(), reference.data(), reference.size(), sameLook, false);
        const bool better = c.lengthDiffers != closest.lengthDiffers
                                ? !c.lengthDiffers
                                : c.differingBytes < closest.differingBytes;
        if (best == nullptr || better) {
            best = &reference;
            closest = c;
        }
    }
    if (closest.lengthDiffers || closest.differingBytes > 0) {
        result.damage =
            zel::compareLookFiles(file.data(), file.size(), best->data(), best->size(), sameLook)
                .damage;
    }
    if (!sameLook) {
        const std::vector<std::string> invariants =
            zel::checkLookWordInvariants(file.data(), file.size());
        result.damage.insert(result.damage.end(), invariants.begin(), invariants.end());
    }
    return result;
}

Verification verifyLookFile(const LookFileBytes& file, const zel::LookFacts& facts,
                            const NodeTable* lattice) {
    const bool sameLook = lattice != nullptr;
    const NodeTable standIn = sameLook ? NodeTable() : standInLattice(facts.gridSize);
    // A sound file matches the reference of its own options exactly: the others need not be
    // made.
    const ReferenceWanted exact = [&](const LookFileBytes& reference) {
        const zel::LookComparison c = zel::compareLookFiles(
            file.data(), file.size(), reference.data(), reference.size(), sameLook);
        return !c.lengthDiffers && c.differingBytes == 0;
    };
    return verifyLookFile(file, referenceLookFiles(facts, sameLook ? *lattice : standIn, exact),
                          sameLook);
}

}  // namespace zelgen
