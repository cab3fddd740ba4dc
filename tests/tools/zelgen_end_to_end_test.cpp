// The built zelgen, run as a person runs it: exit codes, messages, the files it leaves.
// Whole outputs that the command-line cases (tests/cli) pin are not repeated here.

#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "cube/cube_file.h"
#include "support/zelgen_runner.h"

namespace {

namespace fs = std::filesystem;

const std::string kExamples = ZEL_EXAMPLES_DIR;

using Outcome = zeltest::ZelgenOutcome;
using Zelgen = zeltest::ZelgenTest;
using zeltest::slurp;

std::string firstLine(const std::string& text) {
    return text.substr(0, text.find('\n') + 1);
}

void expectSays(const Outcome& run, int exitCode, const std::string& words) {
    EXPECT_EQ(run.exitCode, exitCode) << run.err;
    EXPECT_NE(run.err.find(words), std::string::npos) << run.err;
}

}  // namespace

// The parser's reasons are its own tests'; here, that neither output is left behind.
TEST_F(Zelgen, UnusableCubeIsRefusedWithFileLineAndReasonAndLeavesNothing) {
    writeFile("short.cube", "LUT_3D_SIZE 2\n0 0 0\n");
    for (const auto& [input, words] :
         {std::pair{"short.cube", "short.cube, line 2: \"0 0 0\": the file ends after 1 of 8"},
          std::pair{"missing.cube", "missing.cube: cannot open the file"}}) {
        expectSays(zelgen({"make", input, "-o", "out.zel", "--cube-out", "out.cube", "--camera",
                           "CAMB-001"}),
                   1, words);
    }
    EXPECT_EQ(files(), std::vector<std::string>{"short.cube"});
}

TEST_F(Zelgen, UsageErrorsExitWithTwoAndSayWhatIsWrong) {
    const std::string look = kExamples + "/identity.cube";
    const struct {
        const char* camera;
        std::vector<std::string> options;
        const char* expected;
    } cases[] = {
        {"CAMB-001", {"--output", "rec2020"}, "rec2020"},
        {"CAMB-001", {"--source", "acescct", "--cube-out", "b.cube"}, "Q-Enc3 source"},
        {"CAMB-001", {"--second-name", std::string(29, 'n')}, "--second-name is 29"},
        {"CAMB-001", {"--grid", "256"}, "--grid"},
        {"CAMB-001", {look}, "--out-dir"},
        {"CAMB-002", {"--full-domain"}, "standard job only"},
        {"CAMB-002", {"--job", "standard"}, "use --job extended"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"make", look, "-o", "a.zel", "--camera", c.camera};
        args.insert(args.end(), c.options.begin(), c.options.end());
        expectSays(zelgen(args), 2, c.expected);
    }
    expectSays(zelgen({"make", look, "-o", "a.zel"}), 2, "--camera is required");
    expectSays(zelgen({"make", look, "-o", std::string(129, 'x'), "--camera", "CAMB-001"}), 2,
               "room for 128");
    EXPECT_TRUE(files().empty());
    writeFile("mine.cube", slurp(look));
    expectSays(zelgen({"make", "mine.cube", "-o", "mine.cube", "--camera", "CAMB-001"}), 2,
               "would overwrite the input");
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
    expectSays(run, 1, "broken.cube, line 3");
    EXPECT_NE(run.out.find("contrast.cube -> cards/contrast.zel"), std::string::npos) << run.out;
    EXPECT_EQ(files("cards"),
              (std::vector<std::string>{"contrast.zel", "identity.zel", "warm_teal.zel"}));
}

TEST_F(Zelgen, CtrlCCancelsCleanlyWithExitCode130) {
    // The look arrives through a pipe only after the interrupt, so the interrupt always
    // lands while the run is under way.
    const Outcome run = shell(
        "mkfifo look.cube && { \"$ZELGEN\" make look.cube -o out.zel --cube-out out.cube "
        "--camera CAMB-001 -q & pid=$!; exec 3>look.cube; kill -INT $pid; cat " +
        zeltest::shellQuoted(kExamples + "/contrast.cube") +
        " >&3; exec 3>&-; wait $pid; echo \"exit $?\"; }");
    EXPECT_NE(run.out.find("exit 130"), std::string::npos) << run.out << run.err;
    EXPECT_NE(run.err.find("cancelled"), std::string::npos) << run.err;
    EXPECT_EQ(files(), std::vector<std::string>{"look.cube"});
}

// With --json too, a refusal prints nothing on standard output.
TEST_F(Zelgen, InspectRefusesWhatIsNotALookFile) {
    writeFile("empty.zel", "");
    for (const char* name : {"empty.zel", "missing.zel"}) {
        const Outcome run = zelgen({"inspect", name, "--json"});
        expectSays(run, 1, name);
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
}

// The options of make, read back through inspect --json.
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
        const nlohmann::json expected = {
            {"layout", c.layout},
            {"fileSize", fs::file_size(path("Warm.zel"))},
            {"fileHeader", {{"model", c.camera}, {"lookFileName", "Warm.zel"}, {"tag", "tag"}}},
            {"lookHeader",
             {{"lookName", "Warm"},
              {"outputEncoding", "Rec.2100(PQ)"},
              {"rangeName", "Legal"},
              {"source", "Q-Enc3/Q-Prims3"},
              {"gridSize", 17},
              {"note", "Warm"}}},
            {"metadataHeaderList", {{"blockCount", c.blocks}}},
            {"body", {{"entrySlots", c.slots}, {"badRecords", 0}}},
            {"problems", nlohmann::json::array()}};
        nlohmann::json withExpected = json;
        withExpected.merge_patch(expected);  // unchanged when every expected field is there
        EXPECT_EQ(withExpected, json)
            << c.camera << ": " << nlohmann::json::diff(json, withExpected);
        EXPECT_NE(json["fileHeader"]["created"], "");
        EXPECT_EQ(json["metadataBlocks"].size(), static_cast<std::size_t>(c.blocks));
        EXPECT_GT(json["body"]["records"], 0);
    }
}

#if !defined(_WIN32)
// Nothing but a regular file is replaced: a FIFO, a device or a dangling link is refused
// before any work and left as it was; a link to a file is written through, as cp does.
TEST_F(Zelgen, OutputThatIsNotARegularFileIsLeftAlone) {
    const std::string look = kExamples + "/identity.cube";
    const Outcome fifo = shell("{ mkfifo pipe.zel; \"$ZELGEN\" make " + zeltest::shellQuoted(look) +
                               " -o pipe.zel --camera CAMB-001 -q; echo \"exit $?\"; "
                               "test -p pipe.zel && echo still-a-fifo; }");
    EXPECT_NE(fifo.out.find("exit 1\nstill-a-fifo"), std::string::npos) << fifo.out;
    EXPECT_NE(fifo.err.find("pipe.zel: this is a FIFO"), std::string::npos) << fifo.err;

    expectSays(zelgen({"make", look, "-o", "a.zel", "--cube-out", "/dev/null", "--camera",
                       "CAMB-001", "-q"}),
               1, "/dev/null: this is a device");

    fs::create_directory(path("cards"));
    writeFile("cards/old.zel", "old");
    fs::create_symlink("cards/old.zel", path("link.zel"));
    fs::create_symlink("cards/gone.zel", path("dangling.zel"));
    EXPECT_EQ(zelgen({"make", look, "-o", "link.zel", "--camera", "CAMB-001", "-q"}).exitCode, 0);
    EXPECT_TRUE(fs::is_symlink(path("link.zel")));
    EXPECT_GT(fs::file_size(path("cards/old.zel")), 2752u);
    expectSays(zelgen({"make", look, "-o", "dangling.zel", "--camera", "CAMB-001"}), 1,
               "which does not exist");
    EXPECT_EQ(files(), (std::vector<std::string>{"cards", "dangling.zel", "link.zel", "pipe.zel"}));
    EXPECT_EQ(files("cards"), std::vector<std::string>{"old.zel"});
}
#endif

// The library's console lines show only with --verbose (without it, the command-line
// cases pin the whole output).
TEST_F(Zelgen, LibraryLinesShowOnlyWhenVerbose) {
    const std::string look = kExamples + "/warm_teal.cube";
    const Outcome quiet = zelgen({"make", look, "-o", "a.zel", "--camera", "CAMB-002", "--quiet"});
    EXPECT_EQ(quiet.exitCode, 0) << quiet.err;
    EXPECT_EQ(quiet.out + quiet.err, "");
    const Outcome verbose =
        zelgen({"make", look, "-o", "a.zel", "--camera", "CAMB-002", "-q", "--verbose"});
    EXPECT_NE(verbose.out.find("ZelMetaGenerator"), std::string::npos) << verbose.out;
}

TEST_F(Zelgen, InspectSaysWhyADamagedFileFails) {
    ASSERT_EQ(
        zelgen({"make", kExamples + "/identity.cube", "-o", "a.zel", "--camera", "CAMB-001", "-q"})
            .exitCode,
        0);
    writeFile("damaged.zel", slurp(path("a.zel")) + std::string(2354, 'x'));
    expectSays(zelgen({"inspect", "damaged.zel"}), 1,
               "damaged.zel: the look file is damaged: 2354 bytes");
}

// A grading application's log export: a 1D shaper, then the 3D table, keywords in lower
// case; --grid sets the lattice the look file and the cube file beside it get.
TEST_F(Zelgen, ShaperAndCubeBecomeOneLook) {
    writeFile("log.cube",
              "title \"log\"\nLUT_1D_SIZE 4\nLUT_1D_INPUT_RANGE 0 1\nlut_3d_size 2\n"
              "0 0 0\n0.4 0.4 0.4\n0.7 0.7 0.7\n1 1 1\n"
              "0 0 0\n1 0 0\n0 1 0\n1 1 0\n0 0 1\n1 0 1\n0 1 1\n1 1 1\n");
    const Outcome made = zelgen({"make", "log.cube", "-o", "log.zel", "--camera", "CAMB-002",
                                 "--grid", "9", "--cube-out", "log_film.cube"});
    ASSERT_EQ(made.exitCode, 0) << made.err;
    // The files written, then the look's fidelity line.
    EXPECT_EQ(firstLine(made.out), "log.cube -> log.zel, log_film.cube\n");
    EXPECT_EQ(made.out.find("\n  fidelity: "), made.out.find('\n')) << made.out;
    const Outcome shown = zelgen({"inspect", "log.zel", "--json"});
    EXPECT_EQ(nlohmann::json::parse(shown.out)["lookHeader"]["gridSize"], 9);
    EXPECT_EQ(zelgen::readCubeLut(path("log_film.cube").string()).size, 9);
}
