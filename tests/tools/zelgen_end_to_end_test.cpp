// The built zelgen, run as a person runs it: exit codes, messages, the files it leaves.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "cube/cube_file.h"
#include "support/zelgen_runner.h"

namespace {

namespace fs = std::filesystem;

const std::string kExamples = ZEL_EXAMPLES_DIR;

using Outcome = zeltest::ZelgenOutcome;
using zeltest::slurp;

std::string quoted(const std::string& text) {
    return zeltest::shellQuoted(text);
}

using Zelgen = zeltest::ZelgenTest;

}  // namespace

TEST_F(Zelgen, MakesALookFileFromAnExample) {
    const Outcome run = zelgen({"make", kExamples + "/warm_teal.cube", "-o",
                                path("warm.zel").string(), "--camera", "CAMB-001", "--quiet"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(files(), std::vector<std::string>{"warm.zel"});
    EXPECT_GE(fs::file_size(path("warm.zel")), 2752u);
}

TEST_F(Zelgen, CubeOutWritesACompleteCubeFileBeside) {
    const Outcome run = zelgen({"make", kExamples + "/identity.cube", "-o", "id.zel", "--camera",
                                "CAMB-002", "--cube-out", "id_film.cube"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // The files written, then the look's fidelity line.
    EXPECT_EQ(run.out.substr(0, run.out.find('\n') + 1),
              kExamples + "/identity.cube -> id.zel, id_film.cube\n");
    EXPECT_EQ(run.out.find("\n  fidelity: "), run.out.find('\n')) << run.out;
    const zel::io::CubeLut lut = zelgen::readCubeLut(path("id_film.cube").string());
    EXPECT_EQ(lut.size, 17);
}

TEST_F(Zelgen, UnusableCubeIsRefusedWithFileLineAndReasonAndLeavesNothing) {
    writeFile("ramp.cube", "TITLE \"ramp\"\nLUT_1D_SIZE 2\n0 0 0\n1 1 1\n0 0 0\n");
    writeFile("short.cube", "LUT_3D_SIZE 2\n0 0 0\n");
    writeFile("comma.cube", "LUT_3D_SIZE 2\n0,5 0 0\n");
    const struct {
        const char* input;
        const char* expected;
    } cases[] = {
        {"ramp.cube",
         "ramp.cube, line 5: \"0 0 0\": a data line after the 2 rows of LUT_1D_SIZE, but no "
         "LUT_3D_SIZE line: a 1D LUT alone cannot be a look"},
        {"short.cube", "short.cube, line 2: \"0 0 0\": the file ends after 1 of 8 data lines"},
        {"comma.cube", "comma.cube, line 2: \"0,5 0 0\": '0,5' is not a number"},
        {"missing.cube", "missing.cube: cannot open the file"},
    };
    for (const auto& c : cases) {
        const Outcome run = zelgen({"make", c.input, "-o", "out.zel", "--camera", "CAMB-001"});
        EXPECT_EQ(run.exitCode, 1) << c.input;
        EXPECT_NE(run.err.find(c.expected), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(path("out.zel"))) << c.input;
    }
    EXPECT_EQ(files(), (std::vector<std::string>{"comma.cube", "ramp.cube", "short.cube"}));
}

TEST_F(Zelgen, UsageErrorsExitWithTwoAndSayWhatIsWrong) {
    const std::string look = kExamples + "/identity.cube";
    const struct {
        std::vector<std::string> args;
        const char* expected;
    } cases[] = {
        {{"make", look, "-o", "a.zel"}, "--camera is required"},
        {{"make", look, "-o", "a.zel", "--camera", "CAMB-009"}, "CAMB-009"},
        {{"make", look, "-o", "a.zel", "--camera", "CAMB-001", "--output", "rec2020"}, "rec2020"},
        {{"make", look, "--camera", "CAMB-001"}, "-o LOOK.zel"},
        {{"make", look, look, "-o", "a.zel", "--camera", "CAMB-001"}, "--out-dir"},
        {{"make", look, "-o", "a.zel", "--camera", "CAMB-001", "--source", "acescct", "--cube-out",
          "b.cube"},
         "Q-Enc3 source"},
        {{"make", look, "-o", "a.zel", "--camera", "CAMB-001", "--header-tag", "seventeen chars!!"},
         "--header-tag is 17 characters long; the look file has room for 16"},
        {{"make", look, "-o", "a.zel", "--camera", "CAMB-001", "--second-name",
          std::string(29, 'n')},
         "--second-name is 29"},
        {{"make", look, "-o", std::string(129, 'x'), "--camera", "CAMB-001"}, "room for 128"},
        {{"make", look, "-o", "a.zel", "--camera", "CAMB-002", "--full-domain"},
         "standard job only"},
        {{"make", look, "-o", "a.zel", "--camera", "CAMB-002", "--job", "standard"},
         "use --job extended"},
        {{"make", look, "-o", "a.zel", "--camera", "CAMB-001", "--grid", "256"}, "--grid"},
        {{"inspect"}, "LOOK.zel is required"},
        {{}, "subcommand"},
        {{"frobnicate"}, "'frobnicate' is not a zelgen command"},
    };
    for (const auto& c : cases) {
        const Outcome run = zelgen(c.args);
        EXPECT_EQ(run.exitCode, 2) << run.err;
        EXPECT_NE(run.err.find(c.expected), std::string::npos) << run.err;
    }
    EXPECT_TRUE(files().empty());
    writeFile("mine.cube", slurp(look));
    const Outcome clash = zelgen({"make", "mine.cube", "-o", "mine.cube", "--camera", "CAMB-001"});
    EXPECT_EQ(clash.exitCode, 2);
    EXPECT_NE(clash.err.find("would overwrite the input"), std::string::npos) << clash.err;
    EXPECT_EQ(slurp(path("mine.cube")), slurp(look));
    // A second name of 59 characters fits an extended CAMB-002 file.
    EXPECT_EQ(zelgen({"make", look, "-o", "a.zel", "--camera", "CAMB-002", "-q", "--second-name",
                      std::string(59, 'n')})
                  .exitCode,
              0);
}

TEST_F(Zelgen, HelpAndVersionExitWithZero) {
    const Outcome help = zelgen({"make", "--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.out.find("--camera"), std::string::npos);
    const Outcome version = zelgen({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("zelgen ", 0), 0u) << version.out;
}

TEST_F(Zelgen, SeveralInputsRunTogetherAndEachOutcomeIsReported) {
    fs::create_directory(path("cards"));
    writeFile("broken.cube", "LUT_3D_SIZE 2\n0 0 0\n1x 0 0\n");
    const Outcome run =
        zelgen({"make", kExamples + "/identity.cube", "broken.cube", kExamples + "/contrast.cube",
                kExamples + "/warm_teal.cube", "--out-dir", "cards", "--camera", "CAMA-001"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("broken.cube, line 3"), std::string::npos) << run.err;
    EXPECT_NE(run.out.find("contrast.cube -> cards/contrast.zel"), std::string::npos) << run.out;
    EXPECT_EQ(files("cards"),
              (std::vector<std::string>{"contrast.zel", "identity.zel", "warm_teal.zel"}));
}

TEST_F(Zelgen, CtrlCCancelsCleanlyWithExitCode130) {
    // The look arrives through a pipe only after the interrupt, so the interrupt always
    // lands while the run is under way.
    const Outcome run = shell(
        "mkfifo look.cube && { \"$ZELGEN\" make look.cube -o out.zel --cube-out out.cube "
        "--camera CAMB-001 -q & pid=$!; exec 3>look.cube; kill -INT $pid; "
        "cat " +
        quoted(kExamples + "/contrast.cube") +
        " >&3; exec 3>&-; wait $pid; "
        "echo \"exit $?\"; }");
    EXPECT_NE(run.out.find("exit 130"), std::string::npos) << run.out << run.err;
    EXPECT_NE(run.err.find("cancelled"), std::string::npos) << run.err;
    EXPECT_EQ(files(), std::vector<std::string>{"look.cube"});
}

TEST_F(Zelgen, InspectRefusesWhatIsNotALookFile) {
    writeFile("empty.zel", "");
    writeFile("text.zel", "LUT_3D_SIZE 2\n");
    for (const char* name : {"empty.zel", "text.zel", "missing.zel"}) {
        const Outcome run = zelgen({"inspect", name, "--json"});
        EXPECT_EQ(run.exitCode, 1) << name;
        EXPECT_NE(run.err.find(name), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
}

// The look files' contents, through inspect --json.
TEST_F(Zelgen, InspectShowsWhatMakeWrote) {
    const struct {
        const char* camera;
        const char* layout;
        int blocks;
        int slots;
    } cases[] = {{"CAMB-001", "standard", 6, 256},
                 {"CAMA-001", "standard", 6, 256},
                 {"CAMB-002", "extended", 9, 512}};
    for (const auto& c : cases) {
        const Outcome made = zelgen({"make", kExamples + "/warm_teal.cube", "-o", "Warm.zel",
                                     "--camera", c.camera, "--output", "pq", "--range", "legal",
                                     "--note", "Warm", "--header-tag", "tag", "-q"});
        ASSERT_EQ(made.exitCode, 0) << made.err;
        const Outcome shown = zelgen({"inspect", "Warm.zel", "--json"});
        ASSERT_EQ(shown.exitCode, 0) << shown.err;
        const nlohmann::json json = nlohmann::json::parse(shown.out);
        EXPECT_EQ(json["layout"], c.layout);
        EXPECT_EQ(json["fileSize"], fs::file_size(path("Warm.zel")));
        EXPECT_EQ(json["fileHeader"]["model"], c.camera);
        EXPECT_EQ(json["fileHeader"]["lookFileName"], "Warm.zel");
        EXPECT_EQ(json["fileHeader"]["tag"], "tag");
        EXPECT_NE(json["fileHeader"]["created"], "");
        EXPECT_EQ(json["lookHeader"]["lookName"], "Warm");
        EXPECT_EQ(json["lookHeader"]["outputEncoding"], "Rec.2100(PQ)");
        EXPECT_EQ(json["lookHeader"]["rangeName"], "Legal");
        EXPECT_EQ(json["lookHeader"]["source"], "Q-Enc3/Q-Prims3");
        EXPECT_EQ(json["lookHeader"]["gridSize"], 17);
        EXPECT_EQ(json["lookHeader"]["note"], "Warm");
        EXPECT_EQ(json["metadataHeaderList"]["blockCount"], c.blocks);
        EXPECT_EQ(json["metadataBlocks"].size(), static_cast<std::size_t>(c.blocks));
        if (c.blocks == 9) {  // the ACEScct class, its list tag shown escaped
            EXPECT_EQ(json["metadataHeaderList"]["entries"][8]["sourceTag"], "\\x12f");
            EXPECT_EQ(json["metadataBlocks"][6]["texts"]["classTransfer"], "aces-cct ");
        }
        EXPECT_EQ(json["body"]["entrySlots"], c.slots);
        EXPECT_GT(json["body"]["records"], 0);
        EXPECT_EQ(json["body"]["badRecords"], 0);
        EXPECT_TRUE(json["problems"].empty()) << json["problems"];
    }
}

#if !defined(_WIN32)
// Nothing but a regular file is replaced: a FIFO, a device or a dangling link is refused
// before any work and left as it was; a link to a file is written through, as cp does.
TEST_F(Zelgen, OutputThatIsNotARegularFileIsLeftAlone) {
    const std::string look = kExamples + "/identity.cube";
    const Outcome fifo = shell("{ mkfifo pipe.zel; \"$ZELGEN\" make " + quoted(look) +
                               " -o pipe.zel --camera CAMB-001 -q; echo \"exit $?\"; "
                               "test -p pipe.zel && echo still-a-fifo; }");
    EXPECT_NE(fifo.out.find("exit 1"), std::string::npos) << fifo.out;
    EXPECT_NE(fifo.out.find("still-a-fifo"), std::string::npos) << fifo.out;
    EXPECT_NE(fifo.err.find("pipe.zel: this is a FIFO"), std::string::npos) << fifo.err;

    const Outcome device = zelgen(
        {"make", look, "-o", "a.zel", "--cube-out", "/dev/null", "--camera", "CAMB-001", "-q"});
    EXPECT_EQ(device.exitCode, 1);
    EXPECT_NE(device.err.find("/dev/null: this is a device"), std::string::npos) << device.err;

    fs::create_directory(path("cards"));
    writeFile("cards/old.zel", "old");
    fs::create_symlink("cards/old.zel", path("link.zel"));
    fs::create_symlink("cards/gone.zel", path("dangling.zel"));
    EXPECT_EQ(zelgen({"make", look, "-o", "link.zel", "--camera", "CAMB-001", "-q"}).exitCode, 0);
    EXPECT_TRUE(fs::is_symlink(path("link.zel")));
    EXPECT_GT(fs::file_size(path("cards/old.zel")), 2752u);
    const Outcome dangling = zelgen({"make", look, "-o", "dangling.zel", "--camera", "CAMB-001"});
    EXPECT_EQ(dangling.exitCode, 1);
    EXPECT_NE(dangling.err.find("which does not exist"), std::string::npos) << dangling.err;
    EXPECT_EQ(files(), (std::vector<std::string>{"cards", "dangling.zel", "link.zel", "pipe.zel"}));
    EXPECT_EQ(files("cards"), std::vector<std::string>{"old.zel"});
}

TEST_F(Zelgen, EndlessInputIsRefusedAtOnce) {
    const Outcome run = zelgen({"make", "/dev/zero", "-o", "a.zel", "--camera", "CAMB-001"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("/dev/zero: this is a device"), std::string::npos) << run.err;
}
#endif

// The library's console lines show only with --verbose; warnings and words stand alone.
TEST_F(Zelgen, LibraryLinesShowOnlyWhenVerbose) {
    const std::string look = kExamples + "/warm_teal.cube";
    const Outcome quiet = zelgen({"make", look, "-o", "a.zel", "--camera", "CAMB-002", "-q"});
    EXPECT_EQ(quiet.exitCode, 0) << quiet.err;
    EXPECT_EQ(quiet.out, "");
    EXPECT_EQ(quiet.err, "");
    const Outcome plain = zelgen({"make", look, "-o", "a.zel", "--camera", "CAMB-002"});
    EXPECT_EQ(plain.out.substr(0, plain.out.find('\n') + 1), look + " -> a.zel\n");
    EXPECT_EQ(plain.out.find("ZelMetaGenerator"), std::string::npos) << plain.out;
    const Outcome verbose =
        zelgen({"make", look, "-o", "a.zel", "--camera", "CAMB-002", "-q", "--verbose"});
    EXPECT_NE(verbose.out.find("ZelMetaGenerator"), std::string::npos) << verbose.out;

    const Outcome empty =
        zelgen({"make", look, "-o", "b.zel", "--camera", "CAMA-001", "--job", "extended", "-q"});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_EQ(empty.out, "");
    EXPECT_NE(empty.err.find("warning: the extended look file of CAMA-001 carries no look data"),
              std::string::npos)
        << empty.err;
}

TEST_F(Zelgen, InspectSaysWhyADamagedFileFails) {
    ASSERT_EQ(
        zelgen({"make", kExamples + "/identity.cube", "-o", "a.zel", "--camera", "CAMB-001", "-q"})
            .exitCode,
        0);
    writeFile("damaged.zel", slurp(path("a.zel")) + std::string(2354, 'x'));
    const Outcome run = zelgen({"inspect", "damaged.zel"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("damaged.zel: the look file is damaged: 2354 bytes"), std::string::npos)
        << run.err;
}

// A grading application's log export: a 1D shaper, then the 3D table; --grid sets the
// lattice the look file gets.
TEST_F(Zelgen, ShaperAndCubeBecomeOneLook) {
    std::string text = "title \"log\"\nLUT_1D_SIZE 4\nLUT_1D_INPUT_RANGE 0 1\nlut_3d_size 2\n";
    text += "0 0 0\n0.4 0.4 0.4\n0.7 0.7 0.7\n1 1 1\n";
    for (int i = 0; i < 8; ++i) {
        text += std::to_string(i & 1) + " " + std::to_string((i >> 1) & 1) + " " +
                std::to_string(i >> 2) + "\n";
    }
    writeFile("log.cube", text);
    const Outcome made = zelgen({"make", "log.cube", "-o", "log.zel", "--camera", "CAMB-001",
                                 "--grid", "9", "--cube-out", "log_film.cube", "-q"});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    const Outcome shown = zelgen({"inspect", "log.zel", "--json"});
    EXPECT_EQ(nlohmann::json::parse(shown.out)["lookHeader"]["gridSize"], 9);
    EXPECT_EQ(zelgen::readCubeLut(path("log_film.cube").string()).size, 9);
}
