// What the tool says when a job fails.

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "zelgen/job_errors.h"

namespace {

// Words stand alone: no value may reach the user as a bare number.
void expectPlainWords(const std::string& words) {
    EXPECT_GT(words.size(), 12u) << words;
    EXPECT_EQ(words.find_first_not_of("0123456789 \r"), 0u) << words;
    EXPECT_EQ(words.find("not one the library knows"), std::string::npos) << words;
}

TEST(JobErrors, EveryStatusAndErrorCodeHasPlainWords) {
    for (int status = ZelEnum::ZEL_STATUS_NONE; status <= ZelEnum::ZEL_STATUS_DONE; ++status) {
        expectPlainWords(zelgen::describeJobStatus(static_cast<ZelEnum::ZEL_STATUS>(status)));
    }
    for (const int code : std::initializer_list<int>{
             ZelEnum::ZEL_EXCEPTION_LATTICE, ZelEnum::ZEL_EXCEPTION_SETTINGS,
             ZelEnum::ZEL_EXCEPTION_ENGINE, ZelEnum::ZEL_EXCEPTION_OUTPUT,
             ZelEnum::ZEL_ERROR_OUT_OF_MEMORY, ZelEnum::ZEL_ERROR_OUT_OF_RANGE,
             ZelEnum::ZEL_ERROR_LENGTH, ZelEnum::ZEL_ERROR_UNEXPECTED}) {
        expectPlainWords(zelgen::describeJobError(code));
    }
    EXPECT_NE(zelgen::describeJobError(ZelEnum::ZEL_EXCEPTION_LATTICE).find("complete 3D LUT"),
              std::string::npos);
    EXPECT_NE(zelgen::describeJobError(7).find("not one the library knows"), std::string::npos);
}

TEST(JobErrors, LongChainIsNamedOnlyWhenItWasAskedFor) {
    EXPECT_EQ(zelgen::describeJobError(ZelEnum::ZEL_EXCEPTION_OUTPUT).find("--long-chain"),
              std::string::npos);
    EXPECT_NE(zelgen::describeJobError(ZelEnum::ZEL_EXCEPTION_OUTPUT, true)
                  .find("try without --long-chain"),
              std::string::npos);
}

}  // namespace
