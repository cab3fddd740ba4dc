// What the tool says when a job fails, and how it learns what the library said.

#include <gtest/gtest.h>

#include <iostream>
#include <string>
#include <thread>

#include "zelgen/job_errors.h"
#include "zelgen/library_error_tap.h"

namespace {

TEST(JobErrors, EveryJobErrorValueHasPlainWords) {
    EXPECT_NE(zelgen::describeJobError("0").find("look cannot be used"), std::string::npos);
    EXPECT_NE(zelgen::describeJobError("1").find("camera model"), std::string::npos);
    EXPECT_NE(zelgen::describeJobError("4").find("camera processing"), std::string::npos);
    EXPECT_NE(zelgen::describeJobError("5\r").find("exceed"), std::string::npos);
    EXPECT_EQ(zelgen::describeJobError("7"), "the job failed with error 7");
    EXPECT_EQ(zelgen::describeJobError("std::bad_alloc"),
              "there was not enough memory for the job");
    EXPECT_EQ(zelgen::describeJobError("Unexpected Error"), "the job failed (Unexpected Error)");
    EXPECT_EQ(zelgen::describeJobError(""), "the job failed");
}

TEST(LibraryErrorTap, KeepsEachThreadsLastLineAndStillPassesEverythingOn) {
    testing::internal::CaptureStderr();
    std::string first;
    std::string second;
    {
        zelgen::LibraryErrorTap tap;
        std::thread a([&] {
            std::cerr << "early" << std::endl << 5 << std::endl;
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
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "early\n5\nUnexpected Error\nafter\n");
    EXPECT_EQ(first, "5");
    EXPECT_EQ(second, "Unexpected Error");
}

}  // namespace
