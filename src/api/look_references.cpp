#include "api/look_references.h"

#include <cstring>
#include <memory>

#include "api/job_hooks.h"
#include "api/look_file_image.h"
#include "zel/generator.h"
#include "zel/records.h"

namespace zel {

namespace {

constexpr std::uint32_t kLongChain = ZelGenInput::kLongChainFlag;
constexpr std::uint32_t kFullDomain = ZelGenInput::kFullDomainFlag;

template <typename Output>
bool runReference(ZelGenInput& input, LookFileBytes& file) {
    ZelGenerator generator;
    generator.zel_set_console(nullptr, nullptr);
    generator.zel_initialize();
    // Only the look file is kept: the job leaves out the re-indexed look.
    detail::GeneratorAccess::setReindexedLookWanted(generator, false);
    auto output = std::make_unique<Output>();
    generator.zel_exec(input, *output);
    return generator.zel_get_status() == ZelEnum::ZEL_STATUS_DONE && takeLookFile(*output, file);
}

}  // namespace

std::vector<LookFileBytes> referenceLookFiles(const LookFacts& facts, const LookNodes& look,
                                              const ReferenceWanted& wanted) {
    std::vector<LookFileBytes> files;
    if (facts.sourceEncoding < 0 || facts.outputCurve < 0 || facts.outputRange < 0 ||
        look.size < 2 || look.size > 255 || !look.complete()) {
        return files;
    }
    const bool extended = facts.layout == LookLayout::Extended;
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
        input.gridSize = static_cast<std::uint8_t>(look.size);
        input.nodeValues = look.data();
        input.flags = flags;
        LookFileBytes file;
        const bool made = extended ? runReference<ZelGenOutputExtended>(input, file)
                                   : runReference<ZelGenOutput>(input, file);
        if (made) {
            files.push_back(std::move(file));
            if (wanted && wanted(files.back())) {
                break;
            }
        }
    }
    return files;
}

}  // namespace zel
