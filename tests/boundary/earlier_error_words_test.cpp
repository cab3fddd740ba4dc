// A host built against the earlier zel/errors.h, which named the job's words
// zel_error_text: the library still exports that function, with the same words.
#include <gtest/gtest.h>

#include "zel/enums.h"
#include "zel/errors.h"

ZEL_API const char* zel_error_text(int code) noexcept;

namespace {

TEST(EarlierErrorWords, StayTheJobsWords) {
    for (const int code : {-1, 0, 1, 4, 5, 100, 101, 102, 103, 42}) {
        EXPECT_STREQ(zel_error_text(code), zel_job_error_text(code)) << code;
    }
}

}  // namespace
