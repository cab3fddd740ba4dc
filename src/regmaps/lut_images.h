#ifndef ZEL_REGMAPS_LUT_IMAGES_H
#define ZEL_REGMAPS_LUT_IMAGES_H

// The camera's default LUT memory images. Each image is a head of three registers, the
// data registers of its memory window (16-bit words, low byte at the even address) and
// a tail of two registers. The words are computed from the image's curve at the sample
// positions that its LUT control page describes, so the memory and the page that tells
// the camera how to read it cannot disagree.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "camera/lut_sampling.h"
#include "camera/register_entry.h"
#include "regmaps/register_tables.h"

namespace zel::regmaps {

enum class LutCurve : std::uint8_t {
    Log,        // linear light to the camera's log code (Q-Enc3)
    AcesCc,     // linear light to ACEScc
    AcesCct,    // linear light to ACEScct
    LogDecode,  // the camera's log code back to linear light (the image 0183)
};

struct LutImage {
    const char* name;
    LutCurve curve;
    std::int32_t generation;      // 0 or 2: the generation whose scaling the words follow
    const RegisterPage* control;  // the LUT control page that gives the sample positions
    std::uint16_t controlBase;    // head and tail registers are controlBase + 03, 09, 0F
    std::uint16_t window;         // address of the first data register
    std::size_t wordCount;        // 512 (1024 data registers) or 1024 (2048)
};

// The segment table a LUT control page describes: first-generation pages hold 16-bit
// boundaries at base + 2C, second-generation pages 32-bit boundaries at 0150; the step
// exponents are at base + 3E in both.
LutSegmentTable segmentTableOf(const RegisterPage& control, std::int32_t generation,
                               std::uint16_t controlBase);

// The image's data words, wordCount of them.
std::vector<std::uint16_t> lutImageWords(const LutImage& image);

// Resizes `list` to the image's 3 + 2 x wordCount + 2 entries and fills it: head, data,
// tail. Returns the entry count.
std::size_t loadLutImage(const LutImage& image, RegisterList& list);

extern const LutImage kLutImageLogFirst;
extern const LutImage kLutImageAcesCcFirst;
extern const LutImage kLutImageAcesCctFirst;
extern const LutImage kLutImageLogSecond;
extern const LutImage kLutImageAcesCcSecond;
extern const LutImage kLutImageAcesCctSecond;
extern const LutImage kLutImage0183;

}  // namespace zel::regmaps

#endif  // ZEL_REGMAPS_LUT_IMAGES_H
