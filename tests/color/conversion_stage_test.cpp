#include <gtest/gtest.h>

#include <memory>

#include "color/conversion_stage.h"
#include "color/cube_builder.h"
#include "color/curve_and_matrix.h"
#include "color/transfer_curves.h"
#include "test_lattices.h"
#include "zel/enums.h"

namespace {

using Rgb = std::array<double, 3>;

constexpr double kQEnc3Low = 0.09286412512218964;
constexpr double kQEnc3High = 0.8689981698283972;

ConversionSizes sizesFor(std::int32_t mode) {
    ConversionSizes sizes;
    setConversionSizes(sizes, mode);
    return sizes;
}

Rgb sampleAt(const ZelColorConverter& lattice, Rgb p) {
    std::vector<double> out;
    sampleTetrahedral(out, p, lattice);
    return {out[0], out[1], out[2]};
}

// A node's value worked out on its own, straight from the conversion's definition.
Rgb directNode(const ZelColorConverter& look, Rgb p, double (*decode)(double),
               const zel::Matrix3* matrix) {
    if (matrix != nullptr) {
        Rgb linear;
        zel::applyMatrix(decode(p[0]), decode(p[1]), decode(p[2]), linear[0], linear[1], linear[2],
                         *matrix);
        p = {zel::encodeQEnc3(linear[0]), zel::encodeQEnc3(linear[1]), zel::encodeQEnc3(linear[2])};
    }
    return sampleAt(look, p);
}

double clampUnit(double v) {
    return v > 1.0 ? 1.0 : (v < 0.0 ? 0.0 : v);
}

struct BlockShape {
    std::uint32_t code, instance;
    std::int32_t kind, rows, columns;
    std::uint8_t flagA, flagC, flagD;
};

void expectShapes(const std::vector<ZelColorConverter>& blocks,
                  const std::vector<BlockShape>& want) {
    ASSERT_EQ(blocks.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        const ZelColorConverter& b = blocks[i];
        const BlockShape& w = want[i];
        SCOPED_TRACE("block " + std::to_string(i));
        EXPECT_EQ(b.typeCode, w.code);
        EXPECT_EQ(b.instance, w.instance);
        EXPECT_EQ(b.kind, w.kind);
        EXPECT_EQ(b.rows, w.rows);
        EXPECT_EQ(b.columns, w.columns);
        EXPECT_EQ(b.flagA, w.flagA);
        EXPECT_EQ(b.flagB, 0);
        EXPECT_EQ(b.flagC, w.flagC);
        EXPECT_EQ(b.flagD, w.flagD);
        if (b.kind == zel::kKindMatrix && b.typeCode != zel::kCodeColorMatrix) {
            EXPECT_EQ(b.matrixTable, (std::vector<double>{1, 0, 0, 0, 1, 0, 0, 0, 1}));
        }
    }
}

TEST(BlockList, StandardJobHasElevenBlocksInCameraOrder) {
    const ZelColorConverter look = zel::test::swappedLattice(9);
    for (const bool fullDomain : {false, true}) {
        ConversionSizes sizes = sizesFor(zel::kFirstGeneration);
        std::vector<ZelColorConverter> blocks;
        buildBlockListStandard(sizes, {0, 0, 0}, look, blocks, fullDomain, true, true, 0xBu);
        const std::uint8_t d = fullDomain ? 1 : 0;
        expectShapes(blocks, {{9, 0, 2, 20, 3, 0, 0, d},
                              {9, 1, 2, 20, 3, 0, 0, d},
                              {14, 0, 1, 5280, 3, 0, 1, 0},
                              {14, 1, 1, 5280, 3, 0, 1, 0},
                              {12, 0, 3, 3, 1, 0, 0, 0},
                              {12, 1, 3, 3, 1, 0, 0, 0},
                              {8, 0, 1, 0, 3, 1, 0, 0},
                              {4, 0, 3, 3, 1, 0, 0, 0},
                              {4, 1, 3, 3, 1, 0, 0, 0},
                              {5, 0, 3, 3, 1, 0, 0, 0},
                              {5, 1, 3, 3, 1, 0, 0, 0}});
        EXPECT_EQ(sizes.spare, 0xB);
        EXPECT_EQ(blocks[2].inputFirst, 0);
        EXPECT_EQ(blocks[2].inputLast, 400);
        EXPECT_TRUE(blocks[6].table1d.empty());
        EXPECT_EQ(blocks[0].domainOffset, -kQEnc3Low);
        EXPECT_EQ(blocks[0].domainScale, 1.0 / (kQEnc3High - kQEnc3Low));
    }
}

TEST(BlockList, ExtendedJobHasThreeCubesAndTheNeutralTail) {
    const ZelColorConverter look = zel::test::swappedLattice(9);
    std::vector<ZelColorConverter> blocks;
    buildBlockListExtended(sizesFor(zel::kSecondGeneration), {1, 0, 0}, look, blocks);
    expectShapes(blocks, {{9, 0, 2, 34, 3, 0, 0, 0},
                          {9, 1, 2, 34, 3, 0, 0, 0},
                          {9, 2, 2, 34, 3, 0, 0, 0},
                          {8, 0, 1, 0, 3, 1, 0, 0},
                          {4, 0, 3, 3, 1, 0, 0, 0},
                          {4, 1, 3, 3, 1, 0, 0, 0},
                          {5, 0, 3, 3, 1, 0, 0, 0},
                          {5, 1, 3, 3, 1, 0, 0, 0}});
}

TEST(BlockList, UnknownSourceEncodingIsRejected) {
    const ZelColorConverter look = zel::test::swappedLattice(3);
    std::vector<ZelColorConverter> blocks;
    ConversionSizes sizes = sizesFor(zel::kFirstGeneration);
    EXPECT_THROW(buildBlockListStandard(sizes, {4, 0, 0}, look, blocks, false, false, false, 0),
                 ZelEnum::ZelException);
    EXPECT_THROW(buildBlockListExtended(sizes, {9, 0, 0}, look, blocks), ZelEnum::ZelException);
}

// Every cube node equals the lookup of its own point computed straight from the
// definition, bit for bit, whatever shortcuts the resampling takes.
TEST(CubeBuilders, NodesMatchTheDirectFormulaBitForBit) {
    const ZelColorConverter look = zel::test::randomLattice(7, 21);
    const ConversionSizes sizes = sizesFor(zel::kSecondGeneration);
    struct Case {
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
    for (const Case& c : cases) {
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
        for (int r = 0; r < n; r += 3) {
            for (int g = 0; g < n; ++g) {
                for (int b = 0; b < n; b += 2) {
                    Rgb p = {static_cast<double>(r) / (n - 1), static_cast<double>(g) / (n - 1),
                             static_cast<double>(b) / (n - 1)};
                    for (double& x : p) {
                        x = x * (range.high - range.low) + range.low;
                    }
                    Rgb want = directNode(look, p, c.decode, c.matrix);
                    const double* got = cube.node(r, g, b);
                    for (int ch = 0; ch < 3; ++ch) {
                        const double w = c.extended ? want[ch] : clampUnit(want[ch]);
                        ASSERT_EQ(got[ch], w) << r << "," << g << "," << b << " ch " << ch;
                    }
                }
            }
        }
    }
}

// With a look that swaps red and blue and needs no gamut move, a standard cube is the
// code-range ramp with red and blue swapped.
TEST(CubeBuilders, SameGamutCubeIsTheRampOfASwappedLook) {
    const ZelColorConverter look = zel::test::swappedLattice(9);
    const ConversionSizes sizes = sizesFor(zel::kFirstGeneration);
    ZelColorConverter cube;
    cube.initLattice(zel::kKindCube, sizes.cubeSize, 3);
    buildCubeStandard(sizes, 0, 1, look, cube, false);
    const auto ramp = [](int n) { return n / 19.0 * (kQEnc3High - kQEnc3Low) + kQEnc3Low; };
    for (const auto& [r, g, b] : {std::array<int, 3>{0, 5, 19}, {19, 2, 7}, {3, 11, 0}}) {
        const double* node = cube.node(r, g, b);
        EXPECT_NEAR(node[0], ramp(b), 1e-12);
        EXPECT_NEAR(node[1], ramp(g), 1e-12);
        EXPECT_NEAR(node[2], ramp(r), 1e-12);
    }
}

TEST(CubeBuilders, StandardCubesClampAndExtendedCubesDoNot) {
    const ZelColorConverter bright = zel::test::latticeOf(5, [](double, double, double) {
        return Rgb{1.5, -0.25, 1.5};
    });
    std::vector<ZelColorConverter> standard;
    ConversionSizes sizes = sizesFor(zel::kFirstGeneration);
    buildBlockListStandard(sizes, {0, 0, 0}, bright, standard, false, false, false, 0);
    std::vector<ZelColorConverter> extended;
    buildBlockListExtended(sizesFor(zel::kSecondGeneration), {0, 0, 0}, bright, extended);
    for (int i = 0; i < 2; ++i) {
        for (std::size_t v = 0; v < standard[i].cube.size(); v += 3) {
            ASSERT_EQ(standard[i].cube[v], 1.0);
            ASSERT_EQ(standard[i].cube[v + 1], 0.0);
        }
        EXPECT_EQ(standard[2 + i].table(0, 0), 1.0);
        EXPECT_EQ(standard[2 + i].table(5279, 1), 0.0);
    }
    for (int i = 0; i < 3; ++i) {
        for (std::size_t v = 0; v < extended[i].cube.size(); v += 3) {
            ASSERT_NEAR(extended[i].cube[v], 1.5, 1e-12);
            ASSERT_NEAR(extended[i].cube[v + 1], -0.25, 1e-12);
        }
    }
}

TEST(CubeBuilders, FullDomainSpansZeroToOne) {
    const ZelColorConverter identity = zel::test::latticeOf(9, [](double r, double g, double b) {
        return Rgb{r, g, b};
    });
    const ConversionSizes sizes = sizesFor(zel::kFirstGeneration);
    ZelColorConverter cube;
    cube.initLattice(zel::kKindCube, sizes.cubeSize, 3);
    buildCubeStandard(sizes, 1, 0, identity, cube, true);
    EXPECT_NEAR(cube.node(19, 19, 19)[0], 1.0, 1e-12);
    EXPECT_NEAR(cube.node(0, 0, 0)[2], 0.0, 1e-12);
    EXPECT_EQ(cube.domainOffset, -kQEnc3Low);  // still the look's range
    buildCubeStandard(sizes, 1, 0, identity, cube, false);
    EXPECT_NEAR(cube.node(19, 19, 19)[0], kQEnc3High, 1e-12);
}

TEST(CubeBuilders, AcesLooksGiveTwoEqualCubes) {
    const ZelColorConverter look = zel::test::randomLattice(5, 8);
    for (std::uint8_t encoding : {2, 3}) {
        std::vector<ZelColorConverter> blocks;
        ConversionSizes sizes = sizesFor(zel::kSecondGeneration);
        buildBlockListStandard(sizes, {encoding, 0, 0}, look, blocks, false, false, false, 0);
        EXPECT_EQ(blocks[0].cube, blocks[1].cube);
        EXPECT_EQ(blocks[0].domainOffset, encoding == 2 ? -0.0 : -0.0729055341958355);
    }
}

// An identity look leaves camera colours as they are, so the colour matrix of the
// Q-Prims3 input is the identity and that of the Film input the gamut move into Q-Prims3.
TEST(CurveAndMatrix, IdentityLookFitsTheGamutMove) {
    const ZelColorConverter identity = zel::test::latticeOf(17, [](double r, double g, double b) {
        return Rgb{r, g, b};
    });
    const ConversionSizes sizes = sizesFor(zel::kFirstGeneration);
    const zel::Matrix3* want[2] = {&zel::kFilmToPrims3, nullptr};
    for (std::uint32_t instance = 0; instance < 2; ++instance) {
        ZelColorConverter table;
        table.initLattice(zel::kKind1d, sizes.table1dRows, sizes.table1dColumns);
        ZelColorConverter matrix;
        matrix.initLattice(zel::kKindMatrix, 3, 1);
        buildCurveAndMatrix(sizes, 0, instance, identity, table, matrix);
        for (int r = 0; r < 3; ++r) {
            double sum = 0.0;
            for (int c = 0; c < 3; ++c) {
                const double expected =
                    want[instance] != nullptr ? (*want[instance])[r][c] : (r == c ? 1.0 : 0.0);
                EXPECT_NEAR(matrix.matrix(r, c), expected, 2e-3) << instance << ":" << r << c;
                sum += matrix.matrix(r, c);
            }
            EXPECT_NEAR(sum, 1.0, 1e-12);
        }
        // Row 0 is the look at the code value of linear 0; row s at linear s / 400.
        EXPECT_NEAR(table.table(0, 0), kQEnc3Low, 1e-12);
        EXPECT_NEAR(table.table(400, 2), zel::encodeQEnc3(1.0), 1e-12);
        EXPECT_NEAR(table.table(5279, 1), zel::encodeQEnc3(5279 / 400.0), 1e-12);
    }
}

TEST(CurveAndMatrix, EncodeSourceFollowsTheLooksCurve) {
    EXPECT_EQ(zel::encodeSource(0, 0.5), zel::encodeQEnc3(0.5));
    EXPECT_EQ(zel::encodeSource(1, 0.5), zel::encodeQEnc3(0.5));
    EXPECT_EQ(zel::encodeSource(2, 0.5), zel::encodeAcesCc(0.5));
    EXPECT_EQ(zel::encodeSource(3, 0.5), zel::encodeAcesCct(0.5));
    EXPECT_THROW(zel::encodeSource(4, 0.5), ZelEnum::ZelException);
}

class Reindex : public ::testing::Test {
  protected:
    static constexpr int kGrid = 9;
    static constexpr std::size_t kFloats = kGrid * kGrid * kGrid * 4;
    std::vector<float> prims3 = std::vector<float>(kFloats, 42.0f);
    std::vector<float> film = std::vector<float>(kFloats, 42.0f);
    ZelLookSettings settings;

    // Every node of `written` is the look at the node's point moved into the look's
    // gamut, narrowed to float, with a zero fourth float.
    void expectReindexed(const std::vector<float>& written, const ZelColorConverter& look,
                         const zel::Matrix3& matrix) {
        const double step = 1.0 / (kGrid - 1);
        for (int i = 0; i < kGrid; ++i) {
            for (int j = 0; j < kGrid; ++j) {
                for (int k = 0; k < kGrid; ++k) {
                    const Rgb want =
                        directNode(look, {i * step, j * step, k * step}, zel::decodeQEnc3, &matrix);
                    const float* node =
                        &written[static_cast<std::size_t>(((i * kGrid + j) * kGrid + k) * 4)];
                    for (int ch = 0; ch < 3; ++ch) {
                        ASSERT_EQ(node[ch], static_cast<float>(want[ch])) << i << j << k;
                    }
                    ASSERT_EQ(node[3], 0.0f);
                }
            }
        }
    }
};

TEST_F(Reindex, Prims3LookIsReturnedIndexedInFilmAndTheOtherWayRound) {
    const ZelColorConverter look = zel::test::swappedLattice(kGrid);
    ZelGenOutput output;
    output.floatLut = prims3.data();
    output.floatLutFilm = film.data();
    reindexSourceLattice(settings, 0, look, output);
    expectReindexed(prims3, look, zel::kFilmToPrims3);
    EXPECT_EQ(film, std::vector<float>(kFloats, 42.0f));

    auto extended = std::make_unique<ZelGenOutputExtended>();
    extended->floatLut = prims3.data();
    extended->floatLutFilm = film.data();
    reindexSourceLattice(settings, 1, look, *extended);
    expectReindexed(film, look, zel::kPrims3ToFilm);
}

TEST_F(Reindex, AcesLooksWriteNothing) {
    const ZelColorConverter look = zel::test::randomLattice(kGrid, 4);
    ZelGenOutput output;
    output.floatLut = prims3.data();
    output.floatLutFilm = film.data();
    reindexSourceLattice(settings, 2, look, output);
    reindexSourceLattice(settings, 3, look, output);
    EXPECT_EQ(prims3, std::vector<float>(kFloats, 42.0f));
    EXPECT_EQ(film, std::vector<float>(kFloats, 42.0f));
}

}  // namespace
