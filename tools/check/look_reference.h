#ifndef ZELGEN_LOOK_REFERENCE_H
#define ZELGEN_LOOK_REFERENCE_H

// Verifies a look file against what the library makes: the look file is made again, with
// the settings its headers name (camera, layout, source, output curve and range, grid) and
// each option set the layout allows (long chain, full domain), from the source look when it
// is given, else from a stand-in look of the same grid. The option set whose file matches
// best is the file's; every difference from it is damage (with the source look, any byte
// of the body; without it, any byte but the look's own words).

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "cube/node_table.h"
#include "io/look_blocks_decoder.h"

namespace zelgen {

using LookFileBytes = std::vector<std::uint8_t>;

// Says whether a reference is the one sought, so that no more need be made.
using ReferenceWanted = std::function<bool(const LookFileBytes&)>;

// The look files the library makes from `lattice` with the settings of `facts`, one per
// option set, until one is `wanted`; an option set the library refuses gives none.
std::vector<LookFileBytes> referenceLookFiles(const zel::LookFacts& facts, const NodeTable& lattice,
                                              const ReferenceWanted& wanted = nullptr);

// The identity look of `size` nodes an axis, a stand-in for a look that is not given.
NodeTable standInLattice(int size);

struct Verification {
    std::vector<std::string> damage;  // located, one line each; empty when the file matches
    bool lookWordsVerified = false;   // the source look was given
};

// Compares `file` with the best matching of `references`. `sameLook`: they were made from
// the file's own look.
Verification verifyLookFile(const LookFileBytes& file, const std::vector<LookFileBytes>& references,
                            bool sameLook);

// Both steps; `lattice` null: without the source look.
Verification verifyLookFile(const LookFileBytes& file, const zel::LookFacts& facts,
                            const NodeTable* lattice);

}  // namespace zelgen

#endif  // ZELGEN_LOOK_REFERENCE_H
