#ifndef ZEL_READBACK_LOOK_FILE_COMPARISON_H
#define ZEL_READBACK_LOOK_FILE_COMPARISON_H

// Compares a look file with a reference the library made with the same settings (camera,
// layout, source, output curve and range, options). Every byte of the body is fixed by
// those settings and the look: with the same look as reference, any byte that differs is
// damage; with a stand-in look, only the look's own words (the cube memory lists, the
// fallback chain's colour matrix and 1D LUT memory) are free, and every other byte (chunk
// head, entry table, markers, addresses, the camera's register tables, the other matrices,
// control pages, padding) must still match. The headers before the body carry texts and
// the time the file was made, and are not compared.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zel {

struct LookComparison {
    // Located differences, one line each, worst first; empty when the file matches.
    std::vector<std::string> damage;
    // The number of compared bytes that differ, and whether the lengths differ: a measure of
    // how far the reference is from the file (the reference settings that match best are
    // those of the file).
    std::size_t differingBytes = 0;
    bool lengthDiffers = false;
};

// `sameLook`: the reference was made from the file's own look, so its look words count
// too. `locate`: describe the differences (else only count them, which is quicker). Throws
// DecodeError when either file does not lead to a body.
LookComparison compareLookFiles(const std::uint8_t* file, std::size_t size,
                                const std::uint8_t* reference, std::size_t referenceSize,
                                bool sameLook, bool locate = true);

// The invariants the writers keep in the look's own words, for a file checked without its
// look: each row of a fallback colour matrix sums to 1 (to the rounding of its
// coefficients) unless a coefficient of the row sits at the end of the register range.
std::vector<std::string> checkLookWordInvariants(const std::uint8_t* file, std::size_t size);

// Where byte `at` of a look file lies, in the file's own terms: the file header, the look
// header, the metadata list or one of its blocks, the body's chunk head, an entry of its
// entry table, a part of a register record (a marker, a register's address or value, the
// padding) or the body's data outside its records; with the byte's place inside it. Headers
// that do not lead to a body leave the body's parts unnamed rather than throw.
std::string describeLookFileByte(const std::uint8_t* bytes, std::size_t size, std::size_t at);

// The first byte at which `file` differs from `reference`, with its place in the reference
// (describeLookFileByte) and both values; a file that is only longer or shorter says where
// the shorter one ends. "" when the two are the same bytes.
std::string describeFirstDifference(const std::uint8_t* file, std::size_t size,
                                    const std::uint8_t* reference, std::size_t referenceSize);

}  // namespace zel

#endif  // ZEL_READBACK_LOOK_FILE_COMPARISON_H
