// Every command's files in and out: what it writes appears whole through the pending file
// or not at all, never over an input or a file that is not a regular one; what it reads
// cannot make it wait forever or read without end; a report it cannot deliver fails.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/zelgen_runner.h"

#if !defined(_WIN32)

namespace {

namespace fs = std::filesystem;

const std::string kLook = std::string(ZEL_EXAMPLES_DIR) + "/contrast.cube";

using Outcome = zeltest::ZelgenOutcome;

class SafeFiles : public zeltest::ZelgenTest {
  protected:
    void SetUp() override {
        zeltest::ZelgenTest::SetUp();
        fs::copy_file(kLook, path("look.cube"));
        ASSERT_EQ(
            zelgen({"make", "look.cube", "-o", "look.zel", "--camera", "CAMB-001", "-q"}).exitCode,
            0);
        cube_ = zeltest::slurp(path("look.cube"));
        look_ = zeltest::slurp(path("look.zel"));
    }

    // The inputs as they were.
    void expectInputsKept() const {
        EXPECT_EQ(zeltest::slurp(path("look.cube")), cube_);
        EXPECT_EQ(zeltest::slurp(path("look.zel")), look_);
    }

    std::string cube_;
    std::string look_;
};

void expectRefused(const Outcome& run, const std::string& words, int exitCode = 1) {
    EXPECT_EQ(run.exitCode, exitCode) << run.err;
    EXPECT_NE(run.err.find(words), std::string::npos) << run.err;
}

}  // namespace

TEST_F(SafeFiles, PreviewNeverWritesOverItsInputsNorAnythingButARegularFile) {
    fs::create_symlink("look.cube", path("link.png"));
    fs::create_symlink("gone/far.png", path("dangling.png"));
    fs::create_directory(path("folder.png"));
    const struct {
        std::string target;
        std::string words;
    } cases[] = {
        {"look.zel", "look.zel: this is the input look.zel"},
        {"look.cube", "look.cube: this is the input look.cube"},
        {"link.png", "link.png: this is the input look.cube"},
        {"dangling.png", "which does not exist"},
        {"/dev/null", "/dev/null: this is a device"},
        {"folder.png", "folder.png: this is a folder"},
    };
    for (const auto& c : cases) {
        expectRefused(zelgen({"preview", "look.zel", "--look", "look.cube", "-o", c.target}),
                      c.words);
    }
    // A FIFO would block the write forever.
    const Outcome fifo = shell(
        "mkfifo pipe.png; timeout 10 \"$ZELGEN\" preview look.zel --look look.cube -o pipe.png");
    expectRefused(fifo, "pipe.png: this is a FIFO");
    expectInputsKept();
    EXPECT_FALSE(fs::exists(path("gone")));
    EXPECT_TRUE(fs::is_directory(path("folder.png")));
}

TEST_F(SafeFiles, PreviewThatCannotWriteLeavesTheOldPictureWholeAndSaysWhy) {
    writeFile("chart.png", "an older picture");
    // A file size limit stands in for a full disk: the write fails part way.
    const Outcome run = shell(
        "trap '' XFSZ; ulimit -f 4; \"$ZELGEN\" preview look.zel --look look.cube -o chart.png");
    expectRefused(run, "chart.png: cannot write the output file (File too large)");
    EXPECT_EQ(zeltest::slurp(path("chart.png")), "an older picture");
    EXPECT_EQ(files(), (std::vector<std::string>{"chart.png", "look.cube", "look.zel"}));
}

TEST_F(SafeFiles, InputsThatAreNotRegularFilesAreRefusedAtOnce) {
    // Each would otherwise block in open() or read without end; `timeout` turns a hang
    // into exit 124.
    shell("mkfifo pipe");
    const struct {
        std::string command;
        std::string words;
    } cases[] = {
        {"inspect /dev/zero", "/dev/zero: this is a device, not a look file"},
        {"check pipe", "pipe: this is a FIFO (named pipe), not a look file"},
        {"preview look.zel --look look.cube -o a.png --image /dev/zero",
         "/dev/zero: this is a device, not a PNG picture"},
        {"preview look.zel --look look.cube -o a.png --image /dev/urandom",
         "/dev/urandom: this is a device"},
        {"preview look.zel --look look.cube -o a.png --image pipe", "pipe: this is a FIFO"},
        {"make /dev/zero -o a.zel --camera CAMB-001", "/dev/zero: this is a device"},
    };
    for (const auto& c : cases) {
        expectRefused(shell("timeout 10 \"$ZELGEN\" " + c.command + " </dev/null"), c.words);
    }
    // A file far larger than a look file is refused by its length, which is named.
    shell("truncate -s 2G huge.zel");
    expectRefused(zelgen({"inspect", "huge.zel"}), "huge.zel: the file has 2048 MB");
    expectRefused(zelgen({"check", "huge.zel"}), "huge.zel: the file has 2048 MB");
    EXPECT_FALSE(fs::exists(path("a.png")));
}

TEST_F(SafeFiles, CtrlCStopsAMakeWaitingForAFifoWithoutAWriter) {
    // Alone and among other inputs: the FIFO's writer never comes, the other looks are
    // made, and the interrupt ends the run.
    const struct {
        std::string inputs;
        std::string waitFor;  // a shell condition that holds once the run is under way
    } cases[] = {{"never.cube", "sleep 1"},
                 {"look.cube never.cube",
                  "for i in $(seq 600); do [ -e cards/look.zel ] && "
                  "break; sleep 0.1; done"}};
    for (const auto& c : cases) {
        const Outcome run = shell(
            "rm -f never.cube; mkfifo never.cube; mkdir -p cards; "
            "\"$ZELGEN\" make " +
            c.inputs + " --out-dir cards --camera CAMB-001 -q & pid=$!; " + c.waitFor +
            "; start=$(date +%s%N); kill -INT $pid; wait $pid; "
            "echo \"exit $? after $((($(date +%s%N) - start) / "
            "1000000)) ms\"");
        ASSERT_EQ(run.out.find("exit 130 after "), 0u) << c.inputs << ": " << run.out << run.err;
        const long ms = std::stol(run.out.substr(std::string("exit 130 after ").size()));
        EXPECT_LT(ms, 1000) << c.inputs << ": generous beside the 100 ms aimed at";
    }
    EXPECT_EQ(files("cards"), std::vector<std::string>{"look.zel"});
}

TEST_F(SafeFiles, AReportThatCannotBeWrittenFailsAndSaysSo) {
    for (const std::string command :
         {"inspect look.zel", "inspect --json look.zel", "check look.zel --look look.cube",
          "make look.cube -o again.zel --camera CAMB-001", "--help", "make --help"}) {
        const Outcome run = shell("{ \"$ZELGEN\" " + command + " >/dev/full; echo \"exit $?\"; }");
        EXPECT_EQ(run.out, "exit 1\n") << command;
        EXPECT_NE(run.err.find("cannot write the report to standard output"), std::string::npos)
            << command << ": " << run.err;
    }
}

TEST_F(SafeFiles, AReplacedFileKeepsItsModeAndANewOneFollowsTheUmask) {
    const Outcome run = shell(
        "cp look.zel private.zel; chmod 600 private.zel; cp look.zel kept.zel; chmod 444 kept.zel; "
        "umask 027; for f in private kept fresh; do \"$ZELGEN\" make look.cube -o $f.zel "
        "--camera CAMB-002 -q || echo failed; done; stat -c '%n %a' private.zel kept.zel "
        "fresh.zel");
    EXPECT_EQ(run.out, "private.zel 600\nkept.zel 444\nfresh.zel 640\n") << run.err;
    EXPECT_NE(zeltest::slurp(path("kept.zel")), look_) << "replaced despite its mode";
}

TEST_F(SafeFiles, ANameAsLongAsTheFolderAllowsCanBeWritten) {
    const std::string name = std::string(236, 'c') + ".cube";
    ASSERT_EQ(name.size(), 241u);
    const Outcome run = zelgen(
        {"make", "look.cube", "-o", "a.zel", "--cube-out", name, "--camera", "CAMB-001", "-q"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(fs::exists(path(name)));
}

TEST_F(SafeFiles, ProblemsNameThePathAndTheReason) {
    writeFile("cards", "a file, not a folder");
    expectRefused(zelgen({"make", "look.cube", "--out-dir", "cards", "--camera", "CAMB-001"}),
                  "cards: --out-dir names a file that is not a folder", 2);
    writeFile("text.zel", "LUT_3D_SIZE 2\n");
    // The decoder's words for a damaged header, with the file they are about.
    expectRefused(zelgen({"check", "text.zel"}), "zelgen: text.zel: ");
    expectRefused(zelgen({"preview", "text.zel", "--look", "look.cube", "-o", "a.png"}),
                  "zelgen: text.zel: ");
}

#endif
