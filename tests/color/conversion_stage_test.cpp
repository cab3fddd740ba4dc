#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "color/conversion_stage.h"
#include "color/cube_builder.h"
#include "color/curve_and_matrix.h"
#include "color/transfer_curves.h"
#include "platform/job_error.h"
#include "test_lattices.h"
#include "zel/enums.h"

namespace {

using zel::test::Rgb;

constexpr double kQEnc3Low = 0.09286412512218964;
constexpr double kQEnc3High = 0.8689981698283972;

ConversionSizes sizesFor(std::int32_t mode) {
    ConversionSizes sizes;
    setConversionSizes(sizes, mode);
    return sizes;
}

// A node worked out on its own, straight from the definition: decode, matrix, encode,
// lookup.
Rgb directNode(const ZelColorConverter& look, Rgb p, double (*decode)(double),
               const zel::Matrix3* m) {
    if (m != nullptr) {
        Rgb x;
        zel::applyMatrix(decode(p[0]), decode(p[1]), decode(p[2]), x[0], x[1], x[2], *m);
        p = {zel::encodeQEnc3(x[0]), zel::encodeQEnc3(x[1]), zel::encodeQEnc3(x[2])};
    }
    return zel::test::sampleAt(look, p);
}

// (type code, instance, kind, rows, useFixedTable, writeToMemory, fullCodeRange) of every block.
using Shape = std::array<int, 7>;
std::vector<Shape> shapesOf(const std::vector<ZelColorConverter>& blocks) {
    std::vector<Shape> shapes;
    for (const ZelColorConverter& b : blocks) {
        EXPECT_EQ(b.headerOnly, 0);
        if (b.kind == zel::kKindMatrix && b.typeCode != zel::kCodeColorMatrix) {
            EXPECT_EQ(b.matrixTable, (std::vector<double>{1, 0, 0, 0, 1, 0, 0, 0, 1}));
        }
        shapes.push_back({static_cast<int>(b.typeCode), static_cast<int>(b.instance), b.kind,
                          b.rows, b.useFixedTable, b.writeToMemory, b.fullCodeRange});
    }
    return shapes;
}

TEST(BlockList, StandardAndExtendedBlocksInCameraOrder) {
    const ZelColorConverter look = zel::test::swappedLattice(9);
    for (const int d : {0, 1}) {
        ConversionSizes sizes = sizesFor(zel::kFirstGeneration);
        std::vector<ZelColorConverter> blocks;
        buildBlockListStandard(sizes, {0, 0, 0}, look, blocks, d == 1);
        EXPECT_EQ(shapesOf(blocks), (std::vector<Shape>{{9, 0, 2, 20, 0, 0, d},
                                                        {9, 1, 2, 20, 0, 0, d},
                                                        {14, 0, 1, 5280, 0, 1, 0},
                                                        {14, 1, 1, 5280, 0, 1, 0},
                                                        {12, 0, 3, 3, 0, 0, 0},
                                                        {12, 1, 3, 3, 0, 0, 0},
                                                        {8, 0, 1, 0, 1, 0, 0},
                                                        {4, 0, 3, 3, 0, 0, 0},
                                                        {4, 1, 3, 3, 0, 0, 0},
                                                        {5, 0, 3, 3, 0, 0, 0},
                                                        {5, 1, 3, 3, 0, 0, 0}}));
        EXPECT_EQ(blocks[3].inputLast - blocks[3].inputFirst, 400);
        EXPECT_EQ(blocks[1].domainOffset, -kQEnc3Low);  // the look's range, also full-domain
        EXPECT_EQ(blocks[1].domainScale, 1.0 / (kQEnc3High - kQEnc3Low));
    }
    std::vector<ZelColorConverter> blocks;
    buildBlockListExtended(sizesFor(zel::kSecondGeneration), {1, 0, 0}, look, blocks);
    EXPECT_EQ(shapesOf(blocks), (std::vector<Shape>{{9, 0, 2, 34, 0, 0, 0},
                                                    {9, 1, 2, 34, 0, 0, 0},
                                                    {9, 2, 2, 34, 0, 0, 0},
                                                    {8, 0, 1, 0, 1, 0, 0},
                                                    {4, 0, 3, 3, 0, 0, 0},
                                                    {4, 1, 3, 3, 0, 0, 0},
                                                    {5, 0, 3, 3, 0, 0, 0},
                                                    {5, 1, 3, 3, 0, 0, 0}}));
    EXPECT_THROW(buildBlockListExtended(sizesFor(2), {4, 0, 0}, look, blocks), zel::JobError);
}

// Every cube node is the lookup of its own point computed straight from the definition,
// bit for bit, whatever shortcuts the resampling takes; standard cubes are clamped.
TEST(CubeBuilders, NodesMatchTheDirectFormulaBitForBit) {
    const ZelColorConverter look = zel::test::randomLattice(7, 21);
    const ConversionSizes sizes = sizesFor(zel::kSecondGeneration);
    const struct {
        std::uint8_t encoding;
        std::uint32_t instance;
        bool extended;
        double (*decode)(double);
        const zel::Matrix3* matrix;
    } cases[] = {
        {0, 0, false, zel::decodeQEnc3, &zel::kFilmToPrims3},
        {0, 1, false, nullptr, nullptr},
        {1, 1, false, zel::decodeQEnc3, &zel::kPrims3ToFilm},
        {3, 0, false, nullptr, nullptr},
        {0, 2, true, zel::decodeAcesCct, &zel::kAp1ToPrims3},
        {1, 2, true, zel::decodeAcesCct, &zel::kAp1ToFilm},
        {1, 1, true, zel::decodeQEnc3, &zel::kPrims3ToFilm},
        {2, 2, true, nullptr, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.encoding) + "/" + std::to_string(c.instance));
        ZelColorConverter cube;
        cube.initLattice(zel::kKindCube, sizes.cubeSize, 3);
        const zel::CodeRange range = c.extended ? zel::extendedCodeRange(c.encoding, c.instance)
                                                : zel::standardCodeRange(c.encoding);
        if (c.extended) {
            buildCubeExtended(sizes, c.encoding, c.instance, look, cube);
        } else {
            buildCubeStandard(sizes, c.encoding, c.instance, look, cube, false);
        }
        const int n = sizes.cubeSize;
        for (int node = 0; node < n * n * n; node += 7) {
            Rgb p = {static_cast<double>(node / (n * n)) / (n - 1),
                     static_cast<double>(node / n % n) / (n - 1),
                     static_cast<double>(node % n) / (n - 1)};
            for (double& x : p) {
                x = x * (range.high - range.low) + range.low;
            }
            const Rgb want = directNode(look, p, c.decode, c.matrix);
            for (int ch = 0; ch < 3; ++ch) {
                const double w = c.extended ? want[ch] : std::clamp(want[ch], 0.0, 1.0);
                ASSERT_EQ(cube.cube[static_cast<std::size_t>(node * 3 + ch)], w) << node;
            }
        }
    }
}

// A look that swaps red and blue, seen without a gamut move, gives the code-range ramp
// with red and blue swapped; the full-domain grid reaches code value 1.
TEST(CubeBuilders, SameGamutCubeIsTheRampOfTheLook) {
    const ZelColorConverter look = zel::test::swappedLattice(9);
    const ConversionSizes sizes = sizesFor(zel::kFirstGeneration);
    ZelColorConverter cube;
    cube.initLattice(zel::kKindCube, sizes.cubeSize, 3);
    buildCubeStandard(sizes, 0, 1, look, cube, false);
    const auto ramp = [](int n) { return n / 19.0 * (kQEnc3High - kQEnc3Low) + kQEnc3Low; };
    EXPECT_NEAR(cube.node(3, 11, 19)[0], ramp(19), 1e-12);
    EXPECT_NEAR(cube.node(3, 11, 19)[1], ramp(11), 1e-12);
    EXPECT_NEAR(cube.node(3, 11, 19)[2], ramp(3), 1e-12);
    buildCubeStandard(sizes, 0, 1, look, cube, true);
    EXPECT_NEAR(cube.node(19, 0, 0)[2], 1.0, 1e-12);
}

// Standard 1D tables clamp (the cubes' clamping is checked node by node above).
TEST(CubeBuilders, StandardCurveTablesClampToZeroAndOne) {
    const ZelColorConverter bright = zel::test::latticeOf(5, [](double, double, double) {
        return Rgb{1.5, -0.25, 1.5};
    });
    ConversionSizes sizes = sizesFor(zel::kFirstGeneration);
    std::vector<ZelColorConverter> standard;
    buildBlockListStandard(sizes, {0, 0, 0}, bright, standard, false);
    EXPECT_EQ(standard[2].table(0, 0), 1.0);
    EXPECT_EQ(standard[3].table(5279, 1), 0.0);
}

// An identity look leaves camera colours as they are: the colour matrix of the Q-Prims3
// input is the identity and that of the Film input the move into Q-Prims3.
TEST(CurveAndMatrix, IdentityLookFitsTheGamutMove) {
    const ZelColorConverter identity = zel::test::latticeOf(17, [](double r, double g, double b) {
        return Rgb{r, g, b};
    });
    const ConversionSizes sizes = sizesFor(zel::kFirstGeneration);
    const zel::Matrix3 unit = {{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}};
    for (std::uint32_t instance = 0; instance < 2; ++instance) {
        ZelColorConverter table, matrix;
        table.initLattice(zel::kKind1d, sizes.table1dRows, sizes.table1dColumns);
        matrix.initLattice(zel::kKindMatrix, 3, 1);
        buildCurveAndMatrix(sizes, 0, instance, identity, table, matrix);
        const zel::Matrix3& want = instance == 0 ? zel::kFilmToPrims3 : unit;
        for (int r = 0; r < 3; ++r) {
            for (int c = 0; c < 3; ++c) {
                EXPECT_NEAR(matrix.matrix(r, c), want[r][c], 2e-3) << instance << r << c;
            }
            EXPECT_NEAR(matrix.matrix(r, 0) + matrix.matrix(r, 1) + matrix.matrix(r, 2), 1, 1e-12);
        }
        // Row s is the look at the code value of linear s / 400.
        EXPECT_NEAR(table.table(0, 0), kQEnc3Low, 1e-12);
        EXPECT_NEAR(table.table(5279, 2), zel::encodeQEnc3(5279 / 400.0), 1e-12);
    }
}

// The float copy holds, node by node, the look at the node moved into the look's gamut,
// narrowed to float, fourth float 0; only the buffer of the other gamut is written.
TEST(Reindex, EachQEnc3LookIsReturnedForTheOtherGamut) {
    const int n = 9;
    const ZelColorConverter look = zel::test::swappedLattice(n);
    const std::vector<float> untouched(n * n * n * 4, 42.0f);
    const ZelLookSettings settings;
    auto output = std::make_unique<ZelGenOutputExtended>();
    for (const std::uint8_t encoding : {0, 1, 2, 3}) {
        std::vector<float> prims3 = untouched, film = untouched;
        output->floatLut = prims3.data();
        output->floatLutFilm = film.data();
        reindexSourceLattice(settings, encoding, look, *output);
        if (encoding > 1) {
            EXPECT_TRUE(prims3 == untouched && film == untouched);
            continue;
        }
        EXPECT_EQ(encoding == 0 ? film : prims3, untouched);
        const std::vector<float>& written = encoding == 0 ? prims3 : film;
        const zel::Matrix3& m = encoding == 0 ? zel::kFilmToPrims3 : zel::kPrims3ToFilm;
        const double step = 1.0 / (n - 1);
        for (int node = 0; node < n * n * n; ++node) {
            const Rgb want =
                directNode(look, {node / (n * n) * step, node / n % n * step, node % n * step},
                           zel::decodeQEnc3, &m);
            const float* got = &written[static_cast<std::size_t>(node * 4)];
            ASSERT_EQ(got[0], static_cast<float>(want[0])) << node;
            ASSERT_EQ(got[1], static_cast<float>(want[1])) << node;
            ASSERT_EQ(got[2], static_cast<float>(want[2])) << node;
            ASSERT_EQ(got[3], 0.0f) << node;
        }
    }
}

}  // namespace
