// The exported .cube reader. It keeps the behaviour hosts rely on: a header pass that
// looks only for the "LUT_3D_SIZE" line, then a data pass that splits each line at single
// spaces and converts the first three tokens with the standard string-to-double
// conversion. Conversion errors reach the caller as the standard exceptions.

#include "zel/read_files.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <limits>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

namespace {

constexpr char kSizeKeyword[] = "LUT_3D_SIZE";
constexpr std::size_t kSizeKeywordLength = sizeof kSizeKeyword - 1;

// A size above this would ask for billions of rows from a one-line file; a negative size
// has no table at all.
constexpr int kLargestSize = 256;

// Reads one line; a carriage return before the line feed is dropped, so CR LF files read
// as LF files do on every platform.
bool readLine(std::istream& in, std::string& line) {
    if (!std::getline(in, line)) {
        return false;
    }
    if (!line.empty() && line.back() == '\r') {
        line.pop_back();
    }
    return true;
}

// The standard string-to-double conversion, with the messages hosts see on every
// platform: "invalid stod argument" and "stod argument out of range".
double toDouble(const std::string& text) {
    try {
        return std::stod(text);
    } catch (const std::invalid_argument&) {
        throw std::invalid_argument("invalid stod argument");
    } catch (const std::out_of_range&) {
        throw std::out_of_range("stod argument out of range");
    }
}

// The size line's number truncated toward zero. A value beyond the int range stands as
// the nearest int (it is refused as a size right after); a NaN is not a number at all.
int truncateSize(double value) {
    if (value != value) {
        throw std::invalid_argument("invalid stod argument");
    }
    if (value >= 2147483648.0) {
        return std::numeric_limits<int>::max();
    }
    if (value <= -2147483649.0) {
        return std::numeric_limits<int>::min();
    }
    return static_cast<int>(value);
}

// Converts the first up to three space-separated tokens of `line` into `row` (or into
// nothing when `row` is null). Only byte 32 separates; a leading space or two adjacent
// spaces make an empty token, which the conversion rejects. A space that ends the line
// separates nothing: grading tools often leave one, and the line reads as without it.
void readDataLine(const std::string& line, std::vector<double>* row) {
    std::size_t start = 0;
    for (std::size_t column = 0; column < 3; ++column) {
        const std::size_t space = line.find(' ', start);
        const std::size_t end = space == std::string::npos ? line.size() : space;
        const double value = toDouble(line.substr(start, end - start));
        if (row != nullptr) {
            (*row)[column] = value;
        }
        if (space == std::string::npos || space + 1 == line.size()) {
            return;
        }
        start = space + 1;
    }
}

}  // namespace

bool ReadFiles::readCubeFile(std::string path, std::vector<std::vector<double>>& table,
                             int& rowCount, int& size) {
    // A folder opens as a stream on some systems, yet holds no lines: it cannot be read
    // as a file, and is refused as such rather than read as an empty one.
    std::error_code folderCheck;
    std::ifstream file(path);
    if (!file.is_open() || std::filesystem::is_directory(path, folderCheck)) {
        std::cerr << "Failed to open file." << std::endl;
        return false;
    }

    std::string line;
    std::int64_t expected = 0;
    while (readLine(file, line)) {
        if (line.empty()) {
            continue;
        }
        if (line.compare(0, kSizeKeywordLength, kSizeKeyword) != 0) {
            continue;
        }
        const int newSize = truncateSize(toDouble(line.substr(kSizeKeywordLength)));
        size = newSize;
        if (newSize < 0 || newSize > kLargestSize) {
            throw std::length_error("LUT_3D_SIZE out of range");
        }
        expected = static_cast<std::int64_t>(newSize) * newSize * newSize;
        table = std::vector<std::vector<double>>(static_cast<std::size_t>(expected),
                                                 std::vector<double>(3, 0.0));
        break;
    }

    // The data pass consumes at least one non-empty line (a size of 0 expects none) and
    // stops once the expected count is reached.
    std::int64_t count = 0;
    while ((count < expected || count == 0) && readLine(file, line)) {
        if (line.empty()) {
            continue;
        }
        std::vector<double>* row =
            count < expected ? &table[static_cast<std::size_t>(count)] : nullptr;
        readDataLine(line, row);
        ++count;
    }

    rowCount = static_cast<int>(count);
    return count == expected;
}
