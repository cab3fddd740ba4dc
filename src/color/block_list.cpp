// The lists of the camera's processing blocks that a job hands to the parameter buffer,
// in the order the camera stages expect them.

#include <utility>

#include "color/conversion_stage.h"
#include "color/cube_builder.h"
#include "color/curve_and_matrix.h"
#include "platform/job_error.h"
#include "zel/enums.h"

namespace {

const std::vector<double> kIdentity = {1, 0, 0, 0, 1, 0, 0, 0, 1};

ZelColorConverter makeBlock(std::uint32_t typeCode, std::uint32_t instance) {
    ZelColorConverter block;
    block.typeCode = typeCode;
    block.instance = instance;
    return block;
}

ZelColorConverter makeCube(const ConversionSizes& sizes, std::uint32_t instance) {
    ZelColorConverter cube = makeBlock(zel::kCodeCube, instance);
    cube.initLattice(zel::kKindCube, sizes.cubeSize, sizes.cubeColumns);
    return cube;
}

ZelColorConverter makeIdentity(const ConversionSizes& sizes, std::uint32_t typeCode,
                               std::uint32_t instance) {
    ZelColorConverter matrix = makeBlock(typeCode, instance);
    matrix.initLattice(zel::kKindMatrix, sizes.matrixRows, sizes.matrixColumns);
    matrix.loadFlatTable(kIdentity);
    return matrix;
}

// The first 1D LUT carries no table: its flag makes the camera load its fixed one.
ZelColorConverter makeFixedFirstLut(const ConversionSizes& sizes) {
    ZelColorConverter lut = makeBlock(zel::kCodeFirstLut, 0);
    lut.initLattice(zel::kKind1d, 0, sizes.table1dColumns);
    lut.useFixedTable = 1;
    return lut;
}

// The gain and second matrices stay neutral: the look lives in the cubes and curves.
void appendNeutralTail(const ConversionSizes& sizes, std::vector<ZelColorConverter>& blocks) {
    blocks.push_back(makeFixedFirstLut(sizes));
    blocks.push_back(makeIdentity(sizes, zel::kCodeGainMatrix, 0));
    blocks.push_back(makeIdentity(sizes, zel::kCodeGainMatrix, 1));
    blocks.push_back(makeIdentity(sizes, zel::kCodeSecondMatrix, 0));
    blocks.push_back(makeIdentity(sizes, zel::kCodeSecondMatrix, 1));
}

void rejectUnknownEncoding(std::uint8_t sourceEncoding) {
    if (sourceEncoding > zel::kSourceAcesCct) {
        zel::failLattice("the source encoding of the look is not one the library knows");
    }
}

}  // namespace

void buildBlockListStandard(ConversionSizes& sizes, const ConversionEncodings& encodings,
                            const ZelColorConverter& hostLattice,
                            std::vector<ZelColorConverter>& blocks, bool fullDomain) {
    const std::uint8_t source = encodings.sourceEncoding;
    rejectUnknownEncoding(source);

    ZelColorConverter cubes[2] = {makeCube(sizes, 0), makeCube(sizes, 1)};
    for (ZelColorConverter& cube : cubes) {
        buildCubeStandard(sizes, source, cube.instance, hostLattice, cube, fullDomain);
        cube.fullCodeRange = fullDomain ? 1 : 0;
    }

    ZelColorConverter tables[2];
    ZelColorConverter matrices[2];
    for (std::uint32_t instance = 0; instance < 2; ++instance) {
        ZelColorConverter& table = tables[instance];
        table = makeBlock(zel::kCodeSecondLut, instance);
        table.initLattice(zel::kKind1d, sizes.table1dRows, sizes.table1dColumns);
        table.writeToMemory = 1;
        ZelColorConverter& matrix = matrices[instance];
        matrix = makeBlock(zel::kCodeColorMatrix, instance);
        matrix.initLattice(zel::kKindMatrix, sizes.matrixRows, sizes.matrixColumns);
        buildCurveAndMatrix(sizes, source, instance, hostLattice, table, matrix);
    }

    blocks.reserve(blocks.size() + 11);
    blocks.push_back(std::move(cubes[0]));
    blocks.push_back(std::move(cubes[1]));
    blocks.push_back(std::move(tables[0]));
    blocks.push_back(std::move(tables[1]));
    blocks.push_back(std::move(matrices[0]));
    blocks.push_back(std::move(matrices[1]));
    appendNeutralTail(sizes, blocks);
}

void buildBlockListExtended(const ConversionSizes& sizes, const ConversionEncodings& encodings,
                            const ZelColorConverter& hostLattice,
                            std::vector<ZelColorConverter>& blocks) {
    const std::uint8_t source = encodings.sourceEncoding;
    rejectUnknownEncoding(source);

    ZelColorConverter cubes[3] = {makeCube(sizes, 0), makeCube(sizes, 1), makeCube(sizes, 2)};
    for (ZelColorConverter& cube : cubes) {
        buildCubeExtended(sizes, source, cube.instance, hostLattice, cube);
    }

    blocks.reserve(blocks.size() + 8);
    for (ZelColorConverter& cube : cubes) {
        blocks.push_back(std::move(cube));
    }
    appendNeutralTail(sizes, blocks);
}
