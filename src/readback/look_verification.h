#ifndef ZEL_READBACK_LOOK_VERIFICATION_H
#define ZEL_READBACK_LOOK_VERIFICATION_H

// Verifies a look file against what the library makes: the look file is made again, with
// the settings its headers name (camera, layout, source, output curve and range, grid) and
// each option set the layout allows (long chain, full domain), from the source look when it
// is given, else from a stand-in look of the same grid. The option set whose file matches
// best is the file's; every difference from it is damage (with the source look, any byte
// of the body; without it, any byte but the look's own words). Making the references is the
// job driver's business (api/look_references.h); this stage compares.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "readback/look_blocks_decoder.h"
#include "readback/look_nodes.h"

namespace zel {

using LookFileBytes = std::vector<std::uint8_t>;

// Says whether a reference is the one sought, so that no more need be made.
using ReferenceWanted = std::function<bool(const LookFileBytes&)>;

// Makes the look files the library writes from a look with the settings of a file's facts,
// one per option set, until one is wanted.
using ReferenceMaker = std::function<std::vector<LookFileBytes>(const LookFacts&, const LookNodes&,
                                                                const ReferenceWanted&)>;

// The identity look of `size` nodes an axis, a stand-in for a look that is not given.
LookNodes standInLook(int size);

struct Verification {
    std::vector<std::string> damage;  // located, one line each; empty when the file matches
    bool lookWordsVerified = false;   // the source look was given
};

// Compares `file` with the best matching of `references`. `sameLook`: they were made from
// the file's own look.
Verification verifyLookFile(const LookFileBytes& file, const std::vector<LookFileBytes>& references,
                            bool sameLook);

// Both steps; `look` null: without the source look.
Verification verifyLookFile(const LookFileBytes& file, const LookFacts& facts,
                            const LookNodes* look, const ReferenceMaker& makeReferences);

}  // namespace zel

#endif  // ZEL_READBACK_LOOK_VERIFICATION_H
