#ifndef ZEL_TESTS_CAMERA_CAMERA_BLOCKS_H
#define ZEL_TESTS_CAMERA_CAMERA_BLOCKS_H

// Processing blocks and register views shared by the camera tests.

#include <string>
#include <vector>

#include "camera/register_entry.h"
#include "color/color_converter.h"

namespace camera_test {

inline ZelColorConverter matrixBlock(std::uint32_t code, std::uint32_t instance,
                                     std::vector<double> values) {
    ZelColorConverter block;
    block.initLattice(zel::kKindMatrix, 3, 1);
    block.loadFlatTable(values);
    block.typeCode = code;
    block.instance = instance;
    return block;
}

inline ZelColorConverter identityBlock(std::uint32_t code, std::uint32_t instance) {
    return matrixBlock(code, instance, {1, 0, 0, 0, 1, 0, 0, 0, 1});
}

// A cube whose node (i, j, k) holds (i, j, k) / 100.
inline ZelColorConverter cubeBlock(std::uint32_t instance, int size, std::uint8_t flagD = 0) {
    ZelColorConverter block;
    block.initLattice(zel::kKindCube, size, 3);
    for (int i = 0; i < size; ++i) {
        for (int j = 0; j < size; ++j) {
            for (int k = 0; k < size; ++k) {
                double* node = block.node(i, j, k);
                node[0] = i / 100.0;
                node[1] = j / 100.0;
                node[2] = k / 100.0;
            }
        }
    }
    block.typeCode = zel::kCodeCube;
    block.instance = instance;
    block.flagD = flagD;
    return block;
}

// A 1D table of 17 rows over the span 0..16 whose channel c rises as (c + 1) * row / 16,
// so that the first 1D LUT's curve is (c + 1) * code below code 7008.
inline ZelColorConverter rampBlock(std::uint32_t code, int channels, std::uint8_t flagC = 1) {
    ZelColorConverter block;
    block.initLattice(zel::kKind1d, 17, channels);
    for (int row = 0; row < 17; ++row) {
        for (int c = 0; c < channels; ++c) {
            block.table(row, c) = (c + 1) * row / 16.0;
        }
    }
    block.inputFirst = 0;
    block.inputLast = 16;
    block.typeCode = code;
    block.flagC = flagC;
    return block;
}

// The extended job's blocks in the second generation: three 34-grid cubes, an empty first
// 1D LUT that the camera replaces by its own page, the gain and second matrices.
inline std::vector<ZelColorConverter> secondGenerationJob() {
    ZelColorConverter firstLut;
    firstLut.initLattice(zel::kKind1d, 0, 3);
    firstLut.typeCode = zel::kCodeFirstLut;
    firstLut.flagA = 1;
    return {cubeBlock(0, 34),    cubeBlock(1, 34),    cubeBlock(2, 34),    firstLut,
            identityBlock(4, 0), identityBlock(4, 1), identityBlock(5, 0), identityBlock(5, 1)};
}

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
    for (const RegisterEntry& entry : list) {
        if (entry != RegisterEntry()) {
            return false;
        }
    }
    return true;
}

}  // namespace camera_test

#endif  // ZEL_TESTS_CAMERA_CAMERA_BLOCKS_H
