#ifndef ZEL_READBACK_BLOCK_CHECKS_H
#define ZEL_READBACK_BLOCK_CHECKS_H

// What a colourist can act on in a decoded look file without the source look: which cubes
// carry data, how much of each cube sits at black or at full scale (values the camera
// clips), whether the 1D LUTs rise, and which blocks are missing or malformed. Whether the
// words themselves are the ones make writes is look_reference.h's business.

#include <array>
#include <string>
#include <vector>

#include "readback/look_blocks_decoder.h"

namespace zel {

// A channel with at least this share of its nodes at 0 or at full scale, in a cube that
// reads the look's own gamut, is reported as clipping.
constexpr double kClippingShare = 0.05;

struct CubeFindings {
    int pass = 0;
    int grid = 0;
    double domainLow = 0.0;  // code values the nodes span
    double domainHigh = 0.0;
    bool positionsFromPage = false;  // node positions read from the control page
    // The cube reads another gamut than the look's: its clipped nodes include the colours
    // outside the look's gamut, so they do not count as the look's own clipping.
    bool movedGamut = false;
    std::array<double, 3> atZero{};  // share of nodes at 0, per channel
    std::array<double, 3> atFull{};  // share of nodes at or above full scale (1.0)
};

struct LutFindings {
    int pass = 0;
    std::string name;
    int memories = 0;  // 0: the camera's own table
    bool monotonic = true;
    std::string fall;  // where a memory falls
};

struct MatrixFindings {
    int pass = 0;
    std::string name;
    std::array<std::array<double, 3>, 3> matrix{};
    bool identity = false;
};

struct BlockReport {
    zel::LookFacts facts;
    std::vector<CubeFindings> cubes;
    std::vector<LutFindings> luts;
    std::vector<MatrixFindings> matrices;
    std::vector<std::string> damage;  // missing or malformed blocks
    bool clipping = false;
    // Why the body carries no colour blocks, when it carries none; empty otherwise.
    std::string noColourBlocks;

    bool damaged() const { return !damage.empty(); }
};

BlockReport checkBlocks(const zel::DecodedLook& look);

// Names for the report.
std::string layoutName(const zel::LookFacts& facts);
std::string sourceName(int encoding);
std::string outputName(int curve, int range);

}  // namespace zel

#endif  // ZEL_READBACK_BLOCK_CHECKS_H
