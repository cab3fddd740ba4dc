// Jobs with a camera model or selectors the camera chain cannot serve stop in their first
// stage, before anything is reported or written.

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <memory>
#include <mutex>
#include <vector>

#include "support/test_jobs.h"
#include "zel/zel.h"

namespace {

std::mutex callMutex;
int callCount = 0;
ZelEnum::ZEL_STATUS lastCallStatus = ZelEnum::ZEL_STATUS_NONE;
void countCalls(int, ZelEnum::ZEL_STATUS status) {
    std::lock_guard<std::mutex> guard(callMutex);
    ++callCount;
    lastCallStatus = status;
}

struct BadJob {
    const char* model;
    int source;
    int curve;
    int range;
};

}  // namespace

TEST(JobValidation, UnknownModelsAndSelectorsStopInStageOneWithValueOne) {
    const std::vector<BadJob> jobs = {
        {"Q7", 0, 0, 0},        {"camb-001", 0, 0, 0}, {"CAMB-001 ", 0, 0, 0},
        {"CAMB-0011", 0, 0, 0}, {"", 0, 0, 0},         {"CAMB-001", 4, 0, 0},
        {"CAMB-001", 7, 3, 0},  {"CAMB-002", 0, 3, 0}, {"CAMA-001", 0, 0, 2},
        {"CAMB-002", 1, 0, 5},
    };
    const std::vector<float> lattice = zeltest::identityLattice(3);
    std::vector<float> buffer(3 * 3 * 3 * 4, -1.0f);
    for (const BadJob& job : jobs) {
        for (const bool extended : {false, true}) {
            callCount = 0;
            ZelGenerator generator;
            generator.zel_initialize();
            generator.zel_set_callback(countCalls);
            ZelGenInput input =
                zeltest::makeInput(job.model, 3, lattice.data(), job.source, job.curve, job.range);
            zeltest::StreamCapture err(std::cerr);
            if (extended) {
                auto output = std::make_unique<ZelGenOutputExtended>();
                output->floatLut = output->floatLutFilm = buffer.data();
                const auto fresh = std::make_unique<ZelGenOutputExtended>();
                generator.zel_exec_async(input, *output);
                generator.zel_finalize();
                EXPECT_EQ(
                    std::memcmp(output->headerBytes, fresh->headerBytes, sizeof fresh->headerBytes),
                    0);
                EXPECT_EQ(output->lutDataSize, 0u);
                EXPECT_EQ(output->cubeHeader[0], '\0');
            } else {
                auto output = std::make_unique<ZelGenOutput>();
                output->floatLut = output->floatLutFilm = buffer.data();
                const auto fresh = std::make_unique<ZelGenOutput>();
                generator.zel_exec_async(input, *output);
                generator.zel_finalize();
                EXPECT_EQ(std::memcmp(&output->zel, &fresh->zel, sizeof(Zel)), 0);
                EXPECT_EQ(output->cubeHeader[0], '\0');
                EXPECT_EQ(output->binarySize, 0u);
            }
            EXPECT_EQ(generator.zel_get_status(), ZelEnum::ZEL_STATUS_ERROR)
                << job.model << " " << job.source << job.curve << job.range;
            EXPECT_EQ(err.text(), "1\n") << job.model;
            // The only call is the final one, with the error status.
            EXPECT_EQ(callCount, 1) << job.model;
            EXPECT_EQ(lastCallStatus, ZelEnum::ZEL_STATUS_ERROR) << job.model;
            EXPECT_EQ(buffer, std::vector<float>(buffer.size(), -1.0f))
                << "float buffer written for " << job.model;
        }
    }
}

TEST(JobValidation, UnusableLooksStopInStageTwoWithValueZero) {
    const std::vector<float> lattice = zeltest::identityLattice(3);
    std::vector<float> withNaN = lattice;
    withNaN[13 * 4 + 1] = std::numeric_limits<float>::quiet_NaN();
    std::vector<float> withInf = lattice;
    withInf[26 * 4 + 2] = std::numeric_limits<float>::infinity();
    std::vector<float> fourthFloatJunk = lattice;
    fourthFloatJunk[5 * 4 + 3] = std::numeric_limits<float>::quiet_NaN();
    std::vector<float> buffer(27 * 4, 0.0f);

    struct Case {
        int gridSize;
        const float* nodes;
        int source;
        bool giveBuffer;
        bool fails;
    };
    const std::vector<Case> cases = {
        {3, lattice.data(), 0, true, false},          // fine
        {3, fourthFloatJunk.data(), 0, true, false},  // the fourth float is never read
        {1, lattice.data(), 0, true, true},           // one node an axis
        {0, lattice.data(), 2, false, true},          // no lattice
        {3, nullptr, 2, false, true},                 // no node table
        {3, lattice.data(), 0, false, true},          // Q-Enc3 source without its float buffer
        {3, lattice.data(), 1, false, true},
        {3, lattice.data(), 2, false, false},  // ACES sources need no float buffer
        {3, withNaN.data(), 2, false, true},
        {3, withInf.data(), 2, false, true},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        ZelGenerator generator;
        generator.zel_initialize();
        ZelGenInput input = zeltest::makeInput("CAMB-001", c.gridSize, c.nodes, c.source);
        auto output = std::make_unique<ZelGenOutput>();
        if (c.giveBuffer) {
            output->floatLut = output->floatLutFilm = buffer.data();
        }
        zeltest::StreamCapture err(std::cerr);
        generator.zel_exec(input, *output);
        EXPECT_EQ(generator.zel_get_status(),
                  c.fails ? ZelEnum::ZEL_STATUS_ERROR : ZelEnum::ZEL_STATUS_DONE)
            << "case " << i;
        EXPECT_EQ(err.text(), c.fails ? "0\n" : "") << "case " << i;
    }
}
