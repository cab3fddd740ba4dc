#include "readback/look_verification.h"

#include <vector>

#include "readback/look_file_comparison.h"

namespace zel {

LookNodes standInLook(int size) {
    LookNodes look;
    look.size = size >= 2 && size <= 255 ? size : 2;
    const auto n = static_cast<std::size_t>(look.size);
    look.values.resize(look.nodeCount() * 4);
    const auto step = static_cast<float>(n - 1);
    float* node = look.values.data();
    for (std::size_t r = 0; r < n; ++r) {
        for (std::size_t g = 0; g < n; ++g) {
            for (std::size_t b = 0; b < n; ++b, node += 4) {
                node[0] = static_cast<float>(r) / step;
                node[1] = static_cast<float>(g) / step;
                node[2] = static_cast<float>(b) / step;
                node[3] = 0.0f;
            }
        }
    }
    return look;
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
    LookComparison closest;
    for (const LookFileBytes& reference : references) {
        const LookComparison c = compareLookFiles(file.data(), file.size(), reference.data(),
                                                  reference.size(), sameLook, false);
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
            compareLookFiles(file.data(), file.size(), best->data(), best->size(), sameLook).damage;
    }
    if (!sameLook) {
        const std::vector<std::string> invariants =
            checkLookWordInvariants(file.data(), file.size());
        result.damage.insert(result.damage.end(), invariants.begin(), invariants.end());
    }
    return result;
}

Verification verifyLookFile(const LookFileBytes& file, const LookFacts& facts,
                            const LookNodes* look, const ReferenceMaker& makeReferences) {
    const bool sameLook = look != nullptr;
    const LookNodes standIn = sameLook ? LookNodes() : standInLook(facts.gridSize);
    // A sound file matches the reference of its own options exactly: the others need not be
    // made.
    const ReferenceWanted exact = [&](const LookFileBytes& reference) {
        const LookComparison c = compareLookFiles(file.data(), file.size(), reference.data(),
                                                  reference.size(), sameLook);
        return !c.lengthDiffers && c.differingBytes == 0;
    };
    return verifyLookFile(file, makeReferences(facts, sameLook ? *look : standIn, exact), sameLook);
}

}  // namespace zel
