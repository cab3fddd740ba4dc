#ifndef ZEL_CAMERA_LUT3D_WRITER_H
#define ZEL_CAMERA_LUT3D_WRITER_H

// The camera's 3D LUT as a cube memory: a fixed grid of nodes (20 per axis in the first
// generation, 34 in the second) whose RGB values are 16-bit words in eight banks, one per
// parity of the three node indices, so that the eight corners of every interpolation cell
// lie in eight different banks. The control page at "0400" tells the camera where the
// nodes sit on the input axis.

#include <array>
#include <cstdint>
#include <vector>

#include "camera/engine.h"
#include "camera/ini_buf.h"
#include "camera/param_buf.h"

constexpr int kFirstGenerationGrid = 20;
constexpr int kSecondGenerationGrid = 34;

// The memory words: 1.0 is the word 2000 (13 fraction bits), so one step is 1/8192.
constexpr double kCubeWordsPerUnit = 8192.0;
constexpr double kCubeWordStep = 1.0 / kCubeWordsPerUnit;

// The control page: registers from "0400", 108 in the first generation, 28 in the second.
// The first-generation page holds the node positions in 20 slots of four registers from
// "041C", each a 16-bit word, low byte first.
constexpr std::uint32_t kCubeControlBase = 0x0400;
constexpr std::size_t kCubeFirstGenerationPageEntries = 108;
constexpr std::size_t kCubeSecondGenerationPageEntries = 28;
constexpr std::size_t kCubePositionOffset = 0x1C;
constexpr std::size_t kCubePositionSlots = 20;

// The memory is written through an access register (begin "01", end "00"), a list select
// register and a data window at A000; three channels of eight banks make its 24 lists.
constexpr std::uint32_t kCubeMemoryAccessRegister = 0x0409;
constexpr std::uint32_t kCubeListSelectRegister = 0x040A;
constexpr std::size_t kCubeBanks = 8;
constexpr std::size_t kCubeLists = 3 * kCubeBanks;

// The address of byte `index` of a memory list: the window has 13 address bits, held at
// its last (8191) past the end, and its last three hexadecimal digits follow the A.
constexpr std::uint32_t cubeWindowAddress(std::size_t index) {
    const std::uint32_t window = index < 8191 ? static_cast<std::uint32_t>(index) : 8191u;
    return 0xA000u | (window & 0xFFFu);
}

// The register blocks of one cube instance.
struct CubeBlocks {
    int control;
    int begin;
    int select;
    int data;
    int end;
};

// Grid nodes as three doubles each; in a node list the x index runs fastest, then y,
// then z.
using CubeNodes = std::vector<double>;
// Bank b = 4 (z mod 2) + 2 (y mod 2) + (x mod 2); node (x, y, z) at position
// x/2 + (G/2) (y/2) + (G/2)^2 (z/2) of its bank.
using CubeBanks = std::array<CubeNodes, 8>;

// First generation: writes cube `instance` (instance 0 into blocks 42-46, every other one
// into 47-51) into the 20-grid memory and its control page, computed when fullCodeRange is 1, else
// the fixed page of the source encoding. A cube the parameter buffer does not hold whole
// is skipped.
void writeCubeBlock(const EngineConfig& config, const ZelSharedParamBuf& paramBuf,
                    ZelSharedIniBuf& iniBuf, std::uint8_t sourceEncoding, std::uint32_t instance,
                    std::int32_t fullCodeRange);

// Second generation (mode 2; another mode writes as the first generation does): the
// 34-grid memory of instance 0, 1 or 2 and later (blocks 42, 47 or 52 onward) and the
// fixed 28-entry control page, whatever fullCodeRange says.
void writeCubeBlock(const EngineConfig& config, const ZelSharedParamBuf& paramBuf,
                    ZelSharedIniBuf& iniBuf, std::uint8_t sourceEncoding, std::uint32_t instance,
                    std::int32_t fullCodeRange, std::uint32_t mode);

// The grid^3 nodes of the cube memory: node (x, y, z) holds the cube's node with red index
// z, green y and blue x while all three are below the cube's size (header entry 0), else
// the padding value 255.0; a cube value beyond the largest memory word (FFFF) is held
// there. `cube` must hold size^3 nodes.
CubeNodes embedCube(int grid, const ParamCube& cube, const ParamHeader& header);

// Splits the nodes of a grid (even) into the eight banks.
CubeBanks splitBanks(const CubeNodes& nodes, int grid);

// Formats the banks as memory words and stores them: the begin and end entries, per list
// (channel ch, bank b: list 8 ch + b) its select entry and its data, two entries per word,
// low byte first. Entries a block does not have are not written.
void storeCubeMemory(const CubeBanks& banks, ZelSharedIniBuf& iniBuf, const CubeBlocks& blocks);

// The 16-bit memory word of a node value: 1.0 is 2000 (13 fraction bits), a value below 0
// gives 0, a value beyond the word's range saturates at FFFF, and the padding value 255.0
// (or more) gives E000.
std::uint32_t cubeMemoryWord(double value);

// The fixed control pages: each sizes `list` (108 entries, 28 for the second generation),
// fills it and returns the entry count. The first-generation pages hold the node positions
// of the log encodings (0 and 1), of ACEScc and of ACEScct.
int loadCubeControlLog(RegisterList& list);
int loadCubeControlAcesCc(RegisterList& list);
int loadCubeControlAcesCct(RegisterList& list);
int loadCubeControlSecondGeneration(RegisterList& list);

// The computed first-generation control page of a cube of `size` nodes per axis, written
// over the entries `list` has: offset and channel flags from the configuration and
// min(20, size) evenly spread node positions.
void computeCubeControl(RegisterList& list, const EngineConfig& config, std::int32_t size);

#endif  // ZEL_CAMERA_LUT3D_WRITER_H
