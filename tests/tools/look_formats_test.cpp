// Looks in every format OpenColorIO reads, baked onto the look's lattice and checked against
// an independent evaluation: 3D tables against the same table read as .cube by zelgen's own
// reader, 1D curves against their entries sampled directly, CDLs against the ASC formula.
// And the files that cannot become a look, refused with the file and the reason.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cube_reader/cube_parser.h"
#include "formats/look_reader.h"
#include "support/look_format_texts.h"
#include "support/zelgen_runner.h"

#if defined(ZELGEN_HAVE_OCIO)

namespace {

namespace fs = std::filesystem;
using zel::io::CubeParseError;
using zel::io::NodeTable;
using zelgen::LookRequest;
using zeltest::Rgb;

constexpr int kTableGrid = 9;

class LookFormats : public zeltest::ZelgenTest {
  protected:
    LookRequest request(std::vector<std::string> files, int grid = 0, std::string cdlId = "",
                        bool chain = false) const {
        LookRequest request;
        for (const std::string& file : files) {
            request.files.push_back(path(file).string());
        }
        request.gridSize = grid;
        request.cdlId = std::move(cdlId);
        request.chain = chain;
        return request;
    }

    NodeTable read(std::vector<std::string> files, int grid = 0, std::string cdlId = "",
                   bool chain = false) const {
        return zelgen::readLook(request(std::move(files), grid, std::move(cdlId), chain)).lattice;
    }

    static CubeParseError errorOf(const LookRequest& request) {
        try {
            zelgen::readLook(request);
        } catch (const CubeParseError& e) {
            return e;
        }
        ADD_FAILURE() << "the look was read";
        return CubeParseError("", 0, "", "");
    }
};

// Expects `lattice` within `tolerance` of `expected` (a function of the node's indices) at
// every node and channel, naming the node of the largest difference on failure, and records
// the measured agreement as `name` in the test report.
template <typename Expected>
void expectClose(const NodeTable& lattice, Expected expected, double tolerance,
                 const std::string& name) {
    const auto n = static_cast<std::size_t>(lattice.size());
    double largest = 0.0;
    std::string where;
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j < n; ++j) {
            for (std::size_t k = 0; k < n; ++k) {
                const Rgb want = expected(i, j, k);
                for (std::size_t c = 0; c < 3; ++c) {
                    const double got = lattice.data()[lattice.nodeIndex(i, j, k) * 4 + c];
                    // A NaN node counts as the largest difference there is.
                    const double difference = std::isnan(got) ? HUGE_VAL : std::fabs(got - want[c]);
                    if (difference > largest) {
                        largest = difference;
                        where = "node (" + std::to_string(i) + ", " + std::to_string(j) + ", " +
                                std::to_string(k) + ") channel " + std::to_string(c) + ": " +
                                std::to_string(got) + " against " + std::to_string(want[c]);
                    }
                }
            }
        }
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.3g", largest);
    testing::Test::RecordProperty(name, text);
    EXPECT_LE(largest, tolerance) << name << " at " << where;
}

// `colour` (a function of the input colour) at the nodes of a lattice of `grid` points.
template <typename Colour>
auto atNodes(int grid, Colour colour) {
    const double last = grid - 1;
    return [=](std::size_t i, std::size_t j, std::size_t k) {
        return colour(Rgb{i / last, j / last, k / last});
    };
}

// The ASC formula for `correction` at the nodes of a lattice of `grid` points.
auto graded(const zeltest::Correction& correction, int grid = zelgen::kDefaultLookGrid) {
    return atNodes(grid, [&correction](const Rgb& in) { return zeltest::ascCdl(correction, in); });
}

TEST_F(LookFormats, ThreeDTablesGiveTheSameLatticeAsTheTableReadAsCube) {
    writeFile("look.cube", zeltest::cubeTable(kTableGrid));
    const NodeTable native = read({"look.cube"});
    const auto nativeNode = [&](std::size_t i, std::size_t j, std::size_t k) {
        const float* node = native.data() + native.nodeIndex(i, j, k) * 4;
        return Rgb{node[0], node[1], node[2]};
    };
    const struct {
        const char* file;
        std::string text;
    } formats[] = {
        {"look.3dl", zeltest::threeDlTable(kTableGrid)},
        {"look.clf", zeltest::clfTable(kTableGrid)},
        {"look.csp", zeltest::cspTable(kTableGrid)},
        {"look.spi3d", zeltest::spi3dTable(kTableGrid)},
    };
    for (const auto& format : formats) {
        writeFile(format.file, format.text);
        const NodeTable lattice = read({format.file});
        ASSERT_EQ(lattice.size(), kTableGrid) << format.file << ": the file's own grid";
        expectClose(lattice, nativeNode, 1e-6, format.file);
    }
    // The .cube file itself through OpenColorIO (a chain of one): the same lattice.
    expectClose(read({"look.cube"}, 0, "", true), nativeNode, 1e-6,
                "look.cube through OpenColorIO");
}

TEST_F(LookFormats, OneDimensionalLooksFollowTheirCurvesAtTheGridAskedFor) {
    constexpr int kEntries = 1024;
    const std::vector<Rgb> entries = zeltest::curveEntries(kEntries);
    // Linear between the entries, as a 1D LUT reads.
    const auto curves = [&](const Rgb& in) {
        Rgb out{};
        for (std::size_t c = 0; c < 3; ++c) {
            const double position = in[c] * (kEntries - 1);
            const auto below = static_cast<std::size_t>(std::min(position, kEntries - 2.0));
            const double weight = position - static_cast<double>(below);
            out[c] = entries[below][c] + (entries[below + 1][c] - entries[below][c]) * weight;
        }
        return out;
    };
    writeFile("curves.cube", zeltest::cubeCurves(kEntries));
    writeFile("curves.spi1d", zeltest::spi1dCurves(kEntries));
    writeFile("curves.clf", zeltest::clfCurves(kEntries));
    for (const char* file : {"curves.cube", "curves.spi1d", "curves.clf"}) {
        for (const int grid : {0, 17}) {
            const NodeTable lattice = read({file}, grid);
            const int expectedGrid = grid == 0 ? zelgen::kDefaultLookGrid : grid;
            ASSERT_EQ(lattice.size(), expectedGrid) << file;
            expectClose(lattice, atNodes(expectedGrid, curves), 1e-6,
                        std::string(file) + " grid " + std::to_string(expectedGrid));
        }
    }
}

TEST_F(LookFormats, CdlsFollowTheAscFormulaAndACollectionSaysWhichCorrection) {
    const auto& corrections = zeltest::sampleCorrections();
    writeFile("grade.cc", zeltest::ccText(corrections[0]));
    writeFile("grades.ccc", zeltest::cccText());
    writeFile("grades.cdl", zeltest::cdlText());
    const struct {
        const char* file;
        const char* id;
        std::size_t correction;
    } cases[] = {
        {"grade.cc", "", 0},   {"grades.ccc", "", 0},  {"grades.ccc", "shot_b", 1},
        {"grades.cdl", "", 0}, {"grades.cdl", "1", 1},
    };
    for (const auto& c : cases) {
        const zelgen::LookRead look = zelgen::readLook(request({c.file}, 0, c.id));
        ASSERT_EQ(look.lattice.size(), zelgen::kDefaultLookGrid);
        expectClose(look.lattice, graded(corrections[c.correction]), 2e-5,
                    std::string(c.file) + " " + c.id);
        // Only a collection read without an id names the correction it took.
        const bool named = std::string(c.file) != "grade.cc" && std::string(c.id).empty();
        EXPECT_EQ(look.remark.find("first correction") != std::string::npos, named) << look.remark;
        if (named) {
            EXPECT_NE(look.remark.find("'shot_a'"), std::string::npos) << look.remark;
        }
    }
    const CubeParseError unknown = errorOf(request({"grades.ccc"}, 0, "shot_z"));
    EXPECT_NE(unknown.reason().find("shot_z"), std::string::npos) << unknown.what();
}

TEST_F(LookFormats, AChainAppliesTheGradeThenTheTableAtTheTablesGrid) {
    // An identity table of 9 points after the grade: the lattice is the table's, and its
    // nodes hold the grade (trilinear reading of an identity table is exact).
    std::string identity = "LUT_3D_SIZE 9\n";
    zeltest::forEachNode(9, true, [&](int r, int g, int b) {
        identity += zeltest::triple({r / 8.0, g / 8.0, b / 8.0}) + "\n";
    });
    writeFile("show.cube", identity);
    writeFile("grade.cc", zeltest::ccText(zeltest::sampleCorrections()[1]));
    const NodeTable lattice = read({"grade.cc", "show.cube"}, 0, "", true);
    ASSERT_EQ(lattice.size(), 9);
    expectClose(lattice, graded(zeltest::sampleCorrections()[1], 9), 2e-5, "grade then table");
}

TEST_F(LookFormats, AConfigsLookAndViewAreBakedFromTheNamedColourSpace) {
    writeFile("grade.cc", zeltest::ccText(zeltest::sampleCorrections()[0]));
    writeFile("config.ocio",
              "ocio_profile_version: 2\n"
              "search_path: .\n"
              "roles:\n  default: camera log\n"
              "file_rules:\n  - !<Rule> {name: Default, colorspace: default}\n"
              "displays:\n  Monitor:\n    - !<View> {name: Graded, colorspace: graded}\n"
              "looks:\n  - !<Look> {name: Warm, process_space: camera log, transform: "
              "!<FileTransform> {src: grade.cc, cdl_style: asc}}\n"
              "colorspaces:\n"
              "  - !<ColorSpace> {name: camera log}\n"
              "  - !<ColorSpace> {name: graded, from_scene_reference: !<FileTransform> "
              "{src: grade.cc, cdl_style: asc}}\n");
    const std::string config = path("config.ocio").string();
    LookRequest look;
    look.config = {config, "camera log", "Warm", "", ""};
    LookRequest view;
    view.config = {config, "camera log", "", "Monitor", "Graded"};
    expectClose(zelgen::readLook(look).lattice, graded(zeltest::sampleCorrections()[0]), 2e-5,
                "config look");
    expectClose(zelgen::readLook(view).lattice, graded(zeltest::sampleCorrections()[0]), 2e-5,
                "config view");
    LookRequest unknown;
    unknown.config = {config, "camera lin", "Warm", "", ""};
    EXPECT_NE(std::string(errorOf(unknown).what()).find("no colour space 'camera lin'"),
              std::string::npos);
}

TEST_F(LookFormats, BadFilesAreRefusedWithFileLineAndReasonAndNothingIsWritten) {
    // Cut in the middle of a line: OpenColorIO names the line.
    const std::string table = zeltest::threeDlTable(kTableGrid);
    const std::string cut = table.substr(0, table.size() / 2);
    const auto cutLine = static_cast<std::size_t>(std::count(cut.begin(), cut.end(), '\n') + 1);
    ASSERT_NE(cut.back(), '\n');
    writeFile("cut.3dl", cut);
    writeFile("unknown.clf",
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<ProcessList id=\"a\" compCLFversion=\"3\">\n"
              "  <Sparkle/>\n"
              "  <Matrix inBitDepth=\"32f\" outBitDepth=\"32f\">\n"
              "    <Array dim=\"3 3\">1 0 0 0 1 0 0 0 1</Array>\n"
              "  </Matrix>\n"
              "</ProcessList>\n");
    writeFile("noslope.cc",
              "<ColorCorrection id=\"x\">\n  <SOPNode>\n    <Offset>0 0 0</Offset>\n"
              "    <Power>1 1 1</Power>\n  </SOPNode>\n</ColorCorrection>\n");
    fs::create_directory(path("folder.clf"));
    fs::resize_file((std::ofstream(path("huge.3dl")), path("huge.3dl")), std::uintmax_t{2} << 30);
    writeFile("look.lut3d", "0 0 0\n");  // no known kind, and not .cube text either
    const struct {
        const char* file;
        std::size_t line;
        const char* reason;
    } cases[] = {
        {"cut.3dl", cutLine, "Invalid line with less than 3 values"},
        {"unknown.clf", 3, "Unrecognized element 'Sparkle'"},
        {"noslope.cc", 2, "'Slope' is missing"},
        {"folder.clf", 0, "folder"},
        {"huge.3dl", 0, "the file is 2048 MB"},
        {"look.lut3d", 1, "it reads .cube .3dl .clf .ctf .csp .spi3d .spi1d .cc .ccc .cdl"},
        {"missing.clf", 0, "does not exist"},
    };
    for (const auto& c : cases) {
        const CubeParseError e = errorOf(request({c.file}));
        EXPECT_EQ(e.lineNumber(), c.line) << e.what();
        EXPECT_NE(e.reason().find(c.reason), std::string::npos) << e.what();
        const zeltest::ZelgenOutcome run =
            zelgen({"make", c.file, "-o", "out.zel", "--camera", "CAMB-001"});
        EXPECT_EQ(run.exitCode, 1) << c.file;
        EXPECT_EQ(run.err.rfind(std::string("zelgen: cannot use ") + c.file, 0), 0u) << run.err;
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(path("out.zel"))) << c.file;
    }
}

TEST_F(LookFormats, ChainAndConfigOptionsThatCannotWorkAreUsageErrors) {
    writeFile("grade.cc", zeltest::ccText(zeltest::sampleCorrections()[0]));
    const std::vector<std::string> camera{"--camera", "CAMB-001"};
    const struct {
        std::vector<std::string> args;
        const char* expected;
    } cases[] = {
        {{"grade.cc", "grade.cc", "--chain", "--out-dir", "."}, "--chain makes one look"},
        {{"grade.cc", "-o", "a.zel", "--look", "Warm"}, "give it with --ocio-config"},
        {{"--ocio-config", "c.ocio", "--look", "Warm", "-o", "a.zel"}, "needs --colorspace"},
        {{"--ocio-config", "c.ocio", "--colorspace", "log", "-o", "a.zel"}, "--look NAME"},
        {{"--ocio-config", "c.ocio", "--colorspace", "log", "--display", "D", "-o", "a.zel"},
         "--display and --view come together"},
        {{"grade.cc", "--ocio-config", "c.ocio", "--colorspace", "log", "--look", "W", "-o",
          "a.zel"},
         "name no look files"},
        {{"-o", "a.zel"}, "name at least one look file"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"make"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        args.insert(args.end(), camera.begin(), camera.end());
        const zeltest::ZelgenOutcome run = zelgen(args);
        EXPECT_EQ(run.exitCode, 2) << run.err;
        EXPECT_NE(run.err.find(c.expected), std::string::npos) << run.err;
    }
    EXPECT_EQ(files(), std::vector<std::string>{"grade.cc"});
}

TEST_F(LookFormats, CubeReadBothWaysMakesTheSameLookFile) {
    writeFile("look.cube", zeltest::cubeTable(kTableGrid));
    const auto make = [&](const std::string& folder, bool chain) {
        fs::create_directory(path(folder));
        std::vector<std::string> args{"make",     "look.cube", "-o", folder + "/look.zel",
                                      "--camera", "CAMB-001",  "-q"};
        if (chain) {
            args.push_back("--chain");
        }
        const zeltest::ZelgenOutcome run = zelgen(args);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        std::string bytes = zeltest::slurp(path(folder + "/look.zel"));
        if (bytes.size() > 188) {
            bytes.replace(180, 8, 8, '\0');  // the creation time
        }
        return bytes;
    };
    const std::string native = make("native", false);
    const std::string throughOcio = make("ocio", true);
    ASSERT_FALSE(native.empty());
    ASSERT_EQ(throughOcio.size(), native.size());
    const auto differ = std::mismatch(native.begin(), native.end(), throughOcio.begin());
    EXPECT_TRUE(differ.first == native.end())
        << "first difference at byte " << (differ.first - native.begin());
}

}  // namespace

#endif  // ZELGEN_HAVE_OCIO
