#include "readback/look_check.h"

namespace zel {

namespace {

// The one verdict, last: damage first, then the limits.
std::string verdictText(const BlockReport& report, bool measured, bool withinLimits,
                        bool lookGiven) {
    if (report.damaged()) {
        return "the look file is DAMAGED (it differs from what make writes); do not load it, "
               "make it again";
    }
    if (!report.noColourBlocks.empty()) {
        return report.noColourBlocks + ": the camera shows no look from it";
    }
    if (measured && !withinLimits) {
        return "the look file is sound, but the camera does NOT render the look within the "
               "limits";
    }
    if (measured) {
        return "the look file is sound and the camera renders the look faithfully";
    }
    if (lookGiven) {
        return "the look file is sound (every word is what make writes from the look)";
    }
    return "the look file's structure is sound; without the look (--look) its cube and 1D LUT "
           "words cannot be told from damaged ones";
}

}  // namespace

CheckOutcome checkLookFile(const std::uint8_t* bytes, std::size_t size, const LookNodes* look,
                           const ReferenceMaker& makeReferences) {
    CheckOutcome outcome;
    const DecodedLook decoded = decodeLookBlocks(bytes, size);
    outcome.report = checkBlocks(decoded);
    const LookFileBytes file(bytes, bytes + size);
    const Verification verified = verifyLookFile(file, decoded.facts, look, makeReferences);
    BlockReport& report = outcome.report;
    report.damage.insert(report.damage.end(), verified.damage.begin(), verified.damage.end());
    outcome.lookWordsVerified = verified.lookWordsVerified;
    outcome.measured = look != nullptr && !decoded.passes.empty() && !report.damaged();
    if (outcome.measured) {
        outcome.fidelity = measureFidelity(decoded, sourceLattice(look->size, look->data()));
    }
    const bool within = outcome.measured && outcome.fidelity.withinLimits();
    outcome.verdict = verdictText(report, outcome.measured, within, look != nullptr);
    outcome.sound =
        !report.damaged() && report.noColourBlocks.empty() && (!outcome.measured || within);
    return outcome;
}

}  // namespace zel
