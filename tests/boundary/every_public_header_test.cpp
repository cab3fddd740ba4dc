// A C++ host that includes every public header in one file: the C++ interface and the C
// interface side by side, each with its own words for its own codes.
#include <gtest/gtest.h>

#include <string>

#include "zel/camera_models.h"
#include "zel/enums.h"
#include "zel/errors.h"
#include "zel/export.h"
#include "zel/generator.h"
#include "zel/read_files.h"
#include "zel/records.h"
#include "zel/version.h"
#include "zel/zel.h"
#include "zel/zel_c.h"

#include "boundary/c_host_words.h"

namespace {

TEST(EveryPublicHeader, GivesEachCodeSetItsOwnWords) {
    // The same number means different things to the two interfaces.
    const std::string job = zel_job_error_text(ZelEnum::ZEL_EXCEPTION_SETTINGS);
    const std::string c = zel_error_text(ZEL_ERROR_ARGUMENT);
    EXPECT_NE(job, c);
    EXPECT_NE(job.find("camera model"), std::string::npos) << job;
    EXPECT_NE(c.find("argument"), std::string::npos) << c;
    EXPECT_STREQ(zel_version(), ZEL_VERSION_STRING);
}

TEST(EveryPublicHeader, CompilesInOneCFile) {
    // every_public_header.c includes each header a C compiler reads; its answers are the
    // library's.
    EXPECT_STREQ(zel_boundary_c_error_words(ZEL_ERROR_CUBE), zel_error_text(ZEL_ERROR_CUBE));
    EXPECT_STREQ(zel_boundary_c_version(), ZEL_VERSION_STRING);
}

}  // namespace
