// What the tool says when a job fails, and how it learns what the library said.

#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <thread>

#include "zelgen/job_errors.h"
#include "zelgen/library_error_tap.h"

namespace {

// Words stand alone: no value may reach the user as a bare number.
void expectPlainWords(const std::string& words) {
    EXPECT_GT(words.size(), 12u) << words;
    EXPECT_EQ(words.find_first_not_of("0123456789 \r"), 0u) << words;
}

TEST(JobErrors, EveryStatusAndErrorValueHasPlainWords) {
    for (int status = ZelEnum::ZEL_STATUS_NONE; status <= ZelEnum::ZEL_STATUS_DONE; ++status) {
        const std::string words =
            zelgen::describeJobStatus(static_cast<ZelEnum::ZEL_STATUS>(status));
        expectPlainWords(words);
        EXPECT_EQ(words.find("know"), std::string::npos) << words;
    }
    for (const int value : {ZelEnum::ZEL_EXCEPTION_LATTICE, ZelEnum::ZEL_EXCEPTION_SETTINGS,
                            ZelEnum::ZEL_EXCEPTION_ENGINE, ZelEnum::ZEL_EXCEPTION_OUTPUT}) {
        const std::string words = zelgen::describeJobError(std::to_string(value) + "\r");
        expectPlainWords(words);
        EXPECT_EQ(words.find("know"), std::string::npos) << words;
    }
    EXPECT_NE(zelgen::describeJobError("0").find("look cannot be used"), std::string::npos);
    EXPECT_NE(zelgen::describeJobError("7").find("does not know (error value 7)"),
              std::string::npos);
    EXPECT_NE(zelgen::describeJobError("std::bad_alloc").find("not enough memory"),
              std::string::npos);
    EXPECT_NE(zelgen::describeJobError("Unexpected Error").find("does not name"),
              std::string::npos);
    EXPECT_NE(zelgen::describeJobError("").find("without saying why"), std::string::npos);
}

TEST(JobErrors, LongChainIsNamedOnlyWhenItWasAskedFor) {
    EXPECT_EQ(zelgen::describeJobError("5").find("--long-chain"), std::string::npos);
    EXPECT_NE(zelgen::describeJobError("5", true).find("try without --long-chain"),
              std::string::npos);
}

TEST(LibraryErrorTap, KeepsEachThreadsLastLineAndPassesOnlyWhenAsked) {
    for (const bool passOn : {false, true}) {
        testing::internal::CaptureStderr();
        testing::internal::CaptureStdout();
        std::string first;
        std::string second;
        {
            zelgen::LibraryErrorTap tap(passOn);
            std::thread a([&] {
                std::cerr << "early" << std::endl << 5 << std::endl;
                std::cout << "ZelMetaGenerator" << std::endl;
                first = tap.takeLastLine(std::this_thread::get_id());
            });
            a.join();
            std::thread b([&] {
                std::cerr << "Unexpected Error" << std::endl;
                second = tap.takeLastLine(std::this_thread::get_id());
            });
            b.join();
            EXPECT_EQ(tap.takeLastLine(std::this_thread::get_id()), "");
            EXPECT_EQ(tap.takeLastLine(), "Unexpected Error");
            EXPECT_EQ(tap.takeLastLine(), "");
        }
        std::cerr << "after" << std::endl;
        std::cout << "tool" << std::endl;
        EXPECT_EQ(testing::internal::GetCapturedStdout(),
                  passOn ? "ZelMetaGenerator\ntool\n" : "tool\n");
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  passOn ? "early\n5\nUnexpected Error\nafter\n" : "after\n");
        EXPECT_EQ(first, "5");
        EXPECT_EQ(second, "Unexpected Error");
    }
}

}  // namespace
