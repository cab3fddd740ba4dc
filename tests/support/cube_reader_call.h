#ifndef ZEL_TESTS_SUPPORT_CUBE_READER_CALL_H
#define ZEL_TESTS_SUPPORT_CUBE_READER_CALL_H

// One call of the exported .cube reader and everything a host observes from it: the result
// or the exception with its message, what it writes to the standard error stream, the size,
// the row count and the table. The outputs start as a host's placeholders: -1, -1 and one
// row of nines.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "zel/read_files.h"

namespace zeltest {

struct CubeReaderCall {
    std::string outcome;  // "true", "false", or the exception's kind and message
    std::string err;
    int size = -1;
    int rowCount = -1;
    std::vector<std::vector<double>> table{{9.0, 9.0, 9.0}};
};

inline CubeReaderCall callCubeReader(const std::string& path) {
    CubeReaderCall call;
    testing::internal::CaptureStderr();
    try {
        call.outcome =
            ReadFiles::readCubeFile(path, call.table, call.rowCount, call.size) ? "true" : "false";
    } catch (const std::invalid_argument& e) {
        call.outcome = std::string("invalid_argument ") + e.what();
    } catch (const std::out_of_range& e) {
        call.outcome = std::string("out_of_range ") + e.what();
    } catch (const std::length_error& e) {
        call.outcome = std::string("length_error ") + e.what();
    }
    call.err = testing::internal::GetCapturedStderr();
    return call;
}

// The reader called on `text`, written to a file in the test's temporary folder that is
// removed afterwards.
inline CubeReaderCall readCubeText(const std::string& text) {
    const auto* test = testing::UnitTest::GetInstance()->current_test_info();
    const std::string path = testing::TempDir() + "cube_reader_" + test->test_suite_name() + "_" +
                             test->name() + ".cube";
    std::ofstream(path, std::ios::binary) << text;
    CubeReaderCall call = callCubeReader(path);
    std::remove(path.c_str());
    return call;
}

}  // namespace zeltest

#endif  // ZEL_TESTS_SUPPORT_CUBE_READER_CALL_H
