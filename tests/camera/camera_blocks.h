#ifndef ZEL_TESTS_CAMERA_CAMERA_BLOCKS_H
#define ZEL_TESTS_CAMERA_CAMERA_BLOCKS_H

// Processing blocks and register views shared by the camera tests.

#include <algorithm>
#include <string>
#include <vector>

#include "camera/engine.h"
#include "color/color_converter.h"

namespace camera_test {

inline ZelColorConverter identityBlock(std::uint32_t code, std::uint32_t instance) {
    ZelColorConverter block;
    block.initLattice(zel::kKindMatrix, 3, 1);
    block.loadFlatTable({1, 0, 0, 0, 1, 0, 0, 0, 1});
    block.typeCode = code;
    block.instance = instance;
    return block;
}

// A cube whose node (i, j, k) holds (i, j, k) / 100.
inline ZelColorConverter cubeBlock(std::uint32_t instance, int size,
                                   std::uint8_t fullCodeRange = 0) {
    ZelColorConverter block;
    block.initLattice(zel::kKindCube, size, 3);
    for (std::size_t node = 0; node < block.cube.size() / 3; ++node) {
        const std::size_t n = static_cast<std::size_t>(size);
        block.cube[3 * node] = static_cast<double>(node / (n * n)) / 100.0;
        block.cube[3 * node + 1] = static_cast<double>(node / n % n) / 100.0;
        block.cube[3 * node + 2] = static_cast<double>(node % n) / 100.0;
    }
    block.typeCode = zel::kCodeCube;
    block.instance = instance;
    block.fullCodeRange = fullCodeRange;
    return block;
}

// A 1D table of 17 rows over the span 0..16 whose channel c rises as (c + 1) * row / 16,
// so that the first 1D LUT's curve is (c + 1) * code below code 7008.
inline ZelColorConverter rampBlock(std::uint32_t code, int channels,
                                   std::uint8_t writeToMemory = 1) {
    ZelColorConverter block;
    block.initLattice(zel::kKind1d, 17, channels);
    for (int row = 0; row < 17; ++row) {
        for (int c = 0; c < channels; ++c) {
            block.table(row, c) = (c + 1) * row / 16.0;
        }
    }
    block.inputLast = 16;
    block.typeCode = code;
    block.writeToMemory = writeToMemory;
    return block;
}

// The extended job's blocks in the second generation: three 34-grid cubes, an empty first
// 1D LUT that the camera replaces by its own page, the gain and second matrices.
inline std::vector<ZelColorConverter> secondGenerationJob() {
    ZelColorConverter firstLut;
    firstLut.initLattice(zel::kKind1d, 0, 3);
    firstLut.typeCode = zel::kCodeFirstLut;
    firstLut.useFixedTable = 1;
    return {cubeBlock(0, 34),    cubeBlock(1, 34),    cubeBlock(2, 34),    firstLut,
            identityBlock(4, 0), identityBlock(4, 1), identityBlock(5, 0), identityBlock(5, 1)};
}

// Stages 4 and 5 of a job made of `blocks`.
struct CameraJob {
    CameraJob(std::int32_t mode, const char* model, const std::vector<ZelColorConverter>& blocks,
              std::uint8_t sourceEncoding = zel::kSourceAcesCct)
        : iniBuf(model) {
        settings.generationMode = mode;
        fillParamBuffer(settings, blocks, paramBuf);
        copyBlockOrder(settings, order);
        runEngine(initEngineConfig(config, mode), order, sourceEncoding, 0, paramBuf, iniBuf);
    }
    ZelLookSettings settings;
    ZelSharedParamBuf paramBuf;
    std::vector<BlockOrderEntry> order;
    ZelSharedIniBuf iniBuf;
    EngineConfig config;
};

inline std::vector<std::string> values(const RegisterList& list, std::size_t from = 0,
                                       std::size_t count = std::string::npos) {
    std::vector<std::string> out;
    for (std::size_t i = from; i < list.size() && out.size() < count; ++i) {
        out.push_back(list[i].value());
    }
    return out;
}

// True when no entry of the list has been written.
inline bool untouched(const RegisterList& list) {
    return std::all_of(list.begin(), list.end(),
                       [](const RegisterEntry& entry) { return entry == RegisterEntry(); });
}

}  // namespace camera_test

#endif  // ZEL_TESTS_CAMERA_CAMERA_BLOCKS_H
