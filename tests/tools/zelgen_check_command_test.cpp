// zelgen make, check and preview run as a person runs them: the fidelity line, the exit
// codes, the messages and the JSON report.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "support/zelgen_runner.h"

namespace {

namespace fs = std::filesystem;

using Outcome = zeltest::ZelgenOutcome;
using zeltest::slurp;

class ZelgenCheck : public zeltest::ZelgenTest {
  protected:
    // zelgen with an argument text as a shell reads it.
    Outcome zelgen(const std::string& args) const { return shell("\"$ZELGEN\" " + args); }
};

const std::string kLook = std::string(ZEL_EXAMPLES_DIR) + "/contrast.cube";

TEST_F(ZelgenCheck, MakeReportsFidelityAndCheckAgreesInJson) {
    const Outcome make = zelgen("make '" + kLook + "' -o look.zel --camera CAMB-001");
    ASSERT_EQ(make.exitCode, 0) << make.err;
    EXPECT_NE(make.out.find("fidelity: 0.0% of cube nodes at black or full scale"),
              std::string::npos)
        << make.out;
    EXPECT_EQ(zelgen("make '" + kLook + "' -o quiet.zel --camera CAMB-001 -q").out, "");

    const Outcome check = zelgen("check look.zel --look '" + kLook + "' --json");
    ASSERT_EQ(check.exitCode, 0) << check.err;
    const nlohmann::json report = nlohmann::json::parse(check.out);
    EXPECT_EQ(report["layout"], "standard");
    EXPECT_FALSE(report["damaged"].get<bool>());
    ASSERT_EQ(report["fidelity"]["passes"].size(), 2u);
    EXPECT_TRUE(report["fidelity"]["withinLimits"].get<bool>());
    EXPECT_GE(report["fidelity"]["passes"][1]["cube"]["samples"].get<int>(), 100000);
    // make's line ends in check's verdict.
    EXPECT_NE(make.out.find("; " + report["verdict"].get<std::string>() + "\n"), std::string::npos)
        << make.out;
}

TEST_F(ZelgenCheck, DamagedOrEmptyLookFilesExitWithOneAndSayWhy) {
    ASSERT_EQ(zelgen("make '" + kLook + "' -o look.zel --camera CAMB-001 -q").exitCode, 0);
    // The last register record of the body loses its end marker.
    std::string bytes = slurp(dir_ / "look.zel");
    const std::size_t end = bytes.rfind("ED");
    ASSERT_NE(end, std::string::npos);
    bytes[end] = 'X';
    std::ofstream(dir_ / "bad.zel", std::ios::binary) << bytes;
    const Outcome damaged = zelgen("check bad.zel");
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_NE(damaged.err.find("where no sound record"), std::string::npos) << damaged.err;
    EXPECT_NE(damaged.err.find("DAMAGED"), std::string::npos) << damaged.err;

    ASSERT_EQ(
        zelgen("make '" + kLook + "' -o ext.zel --camera CAMB-001 --job extended -q").exitCode, 0);
    const Outcome empty = zelgen("check ext.zel");
    EXPECT_EQ(empty.exitCode, 1);
    EXPECT_NE(empty.err.find("no colour blocks"), std::string::npos) << empty.err;

    EXPECT_EQ(zelgen("check missing.zel").exitCode, 1);
    EXPECT_EQ(zelgen("preview look.zel --look missing.cube -o p.png").exitCode, 1);
}

// The report's last line is the one verdict, and the exit status agrees with it.
std::string lastLine(const std::string& text) {
    const std::size_t end = text.find_last_not_of('\n');
    const std::size_t start = text.rfind('\n', end);
    return text.substr(start == std::string::npos ? 0 : start + 1, end - start);
}

TEST_F(ZelgenCheck, CutOrLengthenedFilesAreDamagedAndTheVerdictComesLast) {
    ASSERT_EQ(zelgen("make '" + kLook + "' -o look.zel --camera CAMB-001 -q").exitCode, 0);
    const Outcome sound = zelgen("check look.zel --look '" + kLook + "'");
    EXPECT_EQ(sound.exitCode, 0) << sound.err;
    EXPECT_EQ(lastLine(sound.out).rfind("verdict: the look file is sound", 0), 0u) << sound.out;
    const Outcome alone = zelgen("check look.zel");
    EXPECT_EQ(alone.exitCode, 0) << alone.err;
    EXPECT_NE(lastLine(alone.out).find("cannot be told from damaged ones"), std::string::npos);

    const std::string bytes = slurp(dir_ / "look.zel");
    std::ofstream(dir_ / "short.zel", std::ios::binary) << bytes.substr(0, bytes.size() - 3);
    std::ofstream(dir_ / "long.zel", std::ios::binary) << bytes << std::string(1 << 20, '\0');
    for (const char* file : {"short.zel", "long.zel"}) {
        for (const std::string& look : {std::string(), " --look '" + kLook + "'"}) {
            const Outcome damaged = zelgen(std::string("check ") + file + look);
            EXPECT_EQ(damaged.exitCode, 1) << file << look;
            EXPECT_EQ(lastLine(damaged.out).rfind("verdict: the look file is DAMAGED", 0), 0u)
                << file << look << "\n"
                << damaged.out;
        }
    }
}

}  // namespace
