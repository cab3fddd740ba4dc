// The time stamp zelgen gives its look files: SOURCE_DATE_EPOCH (in UTC, whatever TZ says;
// the zones are POSIX rules, which need no time-zone data) and --created make the same job
// give the same bytes.

#include <gtest/gtest.h>

#include <string>

#include "support/zelgen_runner.h"

namespace {

const std::string kLook = std::string(ZEL_EXAMPLES_DIR) + "/warm_teal.cube";

// One look made in folder `dir` with the environment and options given.
std::string makeIn(const std::string& dir, const std::string& environment,
                   const std::string& options = "") {
    return "mkdir -p " + dir + " && (cd " + dir + " && " + environment + " \"$ZELGEN\" make " +
           zeltest::shellQuoted(kLook) + " -o Look.zel --camera CAMB-001 -q " + options + ")";
}

using ZelgenCreated = zeltest::ZelgenTest;

TEST_F(ZelgenCreated, SourceDateEpochMakesTheSameBytesInEveryTimeZone) {
    const zeltest::ZelgenOutcome run =
        shell(makeIn("utc", "SOURCE_DATE_EPOCH=1700000000 TZ=UTC") + " && " +
              makeIn("tokyo", "SOURCE_DATE_EPOCH=1700000000 TZ=JST-9") + " && " +
              makeIn("samoa", "SOURCE_DATE_EPOCH=1700000000 TZ=SST11") +
              " && cmp utc/Look.zel tokyo/Look.zel && cmp utc/Look.zel samoa/Look.zel && "
              "\"$ZELGEN\" inspect utc/Look.zel");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("2023-11-14 22:13:20"), std::string::npos) << run.out;
}

TEST_F(ZelgenCreated, CreatedWinsOverSourceDateEpoch) {
    const zeltest::ZelgenOutcome run =
        shell(makeIn("a", "SOURCE_DATE_EPOCH=1700000000", "--created '2024-02-29 06:07:08'") +
              " && " + makeIn("b", "TZ=JST-9", "--created '2024-02-29 06:07:08'") +
              " && cmp a/Look.zel b/Look.zel && \"$ZELGEN\" inspect a/Look.zel");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("2024-02-29 06:07:08"), std::string::npos) << run.out;
}

TEST_F(ZelgenCreated, RefusesTimesThatDoNotExistAsUsageErrors) {
    for (const std::string& attempt :
         {makeIn("x", "", "--created '2023-02-29 06:07:08'"),
          makeIn("x", "", "--created 2024-02-28"), makeIn("x", "SOURCE_DATE_EPOCH=-5"),
          makeIn("x", "SOURCE_DATE_EPOCH=1.5e9"), makeIn("x", "SOURCE_DATE_EPOCH=999999999999")}) {
        const zeltest::ZelgenOutcome run = shell(attempt);
        EXPECT_EQ(run.exitCode, 2) << attempt;
        EXPECT_NE(run.err.find("zelgen: "), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(path("x/Look.zel"))) << attempt;
    }
}

}  // namespace
