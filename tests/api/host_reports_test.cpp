// What a host learns of a job besides its records: the final callback of a failed job,
// the last error in words, the console lines and the words tables.

#include <gtest/gtest.h>

#include <cstring>
#include <iostream>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "support/test_jobs.h"
#include "zel/camera_models.h"
#include "zel/errors.h"
#include "zel/zel.h"

namespace {

std::mutex callsMutex;
std::vector<std::pair<int, ZelEnum::ZEL_STATUS>> finalCalls;

void recordCall(int progress, ZelEnum::ZEL_STATUS status) {
    std::lock_guard<std::mutex> guard(callsMutex);
    finalCalls.emplace_back(progress, status);
}

struct ConsoleLines {
    std::vector<std::pair<int, std::string>> lines;
};

void collectLine(void* user, int stream, const char* text, std::size_t length) {
    static_cast<ConsoleLines*>(user)->lines.emplace_back(stream, std::string(text, length));
}

}  // namespace

TEST(HostReports, AnUnknownModelEndsWithOneErrorCallAndSaysWhy) {
    finalCalls.clear();
    std::vector<float> lattice = zeltest::identityLattice(3);
    ZelGenInput input = zeltest::makeInput("CAMB-009", 3, lattice.data(), 2);
    auto output = std::make_unique<ZelGenOutput>();
    ZelGenerator generator;
    generator.zel_initialize();
    generator.zel_set_callback(recordCall);
    zeltest::StreamCapture err(std::cerr);
    generator.zel_exec_async(input, *output);
    generator.zel_finalize();

    EXPECT_EQ(err.text(), "1\n");
    EXPECT_EQ(finalCalls,
              (std::vector<std::pair<int, ZelEnum::ZEL_STATUS>>{{0, ZelEnum::ZEL_STATUS_ERROR}}));
    char message[128];
    EXPECT_EQ(generator.zel_get_last_error(message, sizeof message),
              ZelEnum::ZEL_EXCEPTION_SETTINGS);
    EXPECT_STREQ(message, "the camera model is not one the library knows");
    // A short buffer gets the start of the sentence, terminated.
    char shortMessage[8];
    std::memset(shortMessage, 'x', sizeof shortMessage);
    generator.zel_get_last_error(shortMessage, sizeof shortMessage);
    EXPECT_STREQ(shortMessage, "the cam");

    // A later job that succeeds clears the error.
    std::memcpy(input.modelName, "CAMB-001", 9);
    generator.zel_exec(input, *output);
    EXPECT_EQ(generator.zel_get_last_error(message, sizeof message), ZelEnum::ZEL_ERROR_NONE);
    EXPECT_STREQ(message, "");
}

TEST(HostReports, ConsoleLinesGoToTheHostsSinkOrNowhere) {
    // An extended first-generation job prints its announcement and section lengths; a
    // failed job prints its error value.
    std::vector<float> lattice = zeltest::identityLattice(3);
    ZelGenInput good = zeltest::makeInput("CAMB-001", 3, lattice.data(), 2);
    ZelGenInput bad = zeltest::makeInput("CAMB-009", 3, lattice.data(), 2);
    auto output = std::make_unique<ZelGenOutputExtended>();
    ZelGenerator generator;
    generator.zel_initialize();

    zeltest::StreamCapture out(std::cout);
    zeltest::StreamCapture err(std::cerr);
    generator.zel_exec(good, *output);
    const std::string standardOut = out.text();
    ASSERT_EQ(standardOut.rfind("ZelMetaGenerator\nzelFileHeader", 0), 0u) << standardOut;

    ConsoleLines sink;
    generator.zel_set_console(collectLine, &sink);
    generator.zel_exec(good, *output);
    generator.zel_exec(bad, *output);
    std::string sunk;
    for (const auto& [stream, text] : sink.lines) {
        EXPECT_EQ(stream, text == "1\n" ? 2 : 1) << text;
        sunk += text;
    }
    EXPECT_EQ(sunk, standardOut + "1\n");

    generator.zel_set_console(nullptr, nullptr);
    generator.zel_exec(good, *output);
    generator.zel_exec(bad, *output);
    EXPECT_EQ(out.text(), standardOut);
    EXPECT_EQ(err.text(), "");

    generator.zel_use_standard_console();
    generator.zel_exec(bad, *output);
    EXPECT_EQ(err.text(), "1\n");
}

TEST(HostReports, EveryStatusAndErrorHasWordsAndTheModelTableAnswersHosts) {
    for (int status = 0; status <= 5; ++status) {
        EXPECT_STRNE(zel_status_text(static_cast<ZelEnum::ZEL_STATUS>(status)),
                     zel_status_text(static_cast<ZelEnum::ZEL_STATUS>(99)));
    }
    for (int code : {-1, 0, 1, 4, 5, 100, 101, 102, 103}) {
        EXPECT_STRNE(zel_job_error_text(code), zel_job_error_text(42)) << code;
    }

    const ZelCameraModelInfo* second = zel_find_camera_model("CAMB-002");
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(second->standardLayoutFits);
    EXPECT_TRUE(second->extendedIsDefault);
    EXPECT_EQ(zel_find_camera_model("camb-002"), nullptr);
    EXPECT_EQ(zel_find_camera_model(nullptr), nullptr);
    int count = 0;
    while (const ZelCameraModelInfo* model = zel_camera_model_at(count)) {
        EXPECT_EQ(zel_find_camera_model(model->name), model);
        ++count;
    }
    EXPECT_EQ(count, 3);
}
