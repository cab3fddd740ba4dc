#ifndef ZEL_READBACK_LOOK_BLOCKS_DECODER_H
#define ZEL_READBACK_LOOK_BLOCKS_DECODER_H

// Reads a look file's colour blocks back: the facts of its headers that say how to read
// the look (layout, camera generation, source encoding, output curve and range) and, per
// output pass, the processing blocks its body's register records carry: the cube, the
// colour matrix and second 1D LUT of the fallback chain, the first 1D LUT, the gain and
// second matrices. It walks the body chunk the way the output conversion wrote it: the
// entries of one block follow each other, so an entry's place in its run says which part
// of the block its record holds.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "camera/lut1d_decoder.h"
#include "camera/lut3d_decoder.h"
#include "camera/matrix_decoder.h"
#include "platform/decode_error.h"

namespace zel {

enum class LookLayout : std::uint8_t { Standard, Extended };

struct LookFacts {
    LookLayout layout = LookLayout::Standard;
    std::string model;
    int generation = 0;       // 0 first-generation camera, 2 second
    int sourceEncoding = -1;  // 0 to 3, -1 when the look header names none
    int outputCurve = -1;     // 0 Rec.709, 1 PQ, 2 HLG, -1 unknown
    int outputRange = -1;     // 0 full, 1 legal, -1 unknown
    int gridSize = 0;         // the source look's grid
};

// The colour blocks of one output pass; pass p carries the blocks of instance p.
struct LookPass {
    int pass = 0;
    std::optional<DecodedCube> cube;
    std::optional<DecodedMatrix> colorMatrix;
    std::optional<DecodedLut1d> secondLut;
    std::optional<DecodedLut1d> firstLut;
    std::optional<DecodedMatrix> gainMatrix;
    std::optional<DecodedMatrix> secondMatrix;
};

struct DecodedLook {
    LookFacts facts;
    std::vector<LookPass> passes;
    // Blocks that are missing or malformed, each with its place; empty for a sound file.
    std::vector<std::string> problems;
    // The body holds no colour blocks at all (as in an extended look file of a
    // first-generation camera); named in `problems` too.
    bool noColourBlocks = false;
};

// Where a look file's body lies: its chunk head, its entry table of `slots` entries and the
// `length` bytes the head states from the table on.
struct BodySpan {
    LookFacts facts;
    std::size_t bodyAt = 0;
    std::size_t tableAt = 0;
    std::size_t slots = 0;
    std::size_t length = 0;
    // The end of the body as its head states it; a sound file ends exactly there.
    std::size_t statedEnd() const { return tableAt + length; }
};

// Throws DecodeError when the headers do not lead to a body chunk.
BodySpan locateBody(const std::uint8_t* bytes, std::size_t size);

// Throws DecodeError when the file cannot be walked at all; a block that cannot be
// read is left out of its pass and named in `problems`, and so is a file that does not end
// where its body says (cut short or with bytes appended).
DecodedLook decodeLookBlocks(const std::uint8_t* bytes, std::size_t size);

}  // namespace zel

#endif  // ZEL_READBACK_LOOK_BLOCKS_DECODER_H
