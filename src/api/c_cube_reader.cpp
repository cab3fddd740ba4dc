// The C interface's .cube reading (zel_cube_read, zel_cube_read_into): the library's row
// reader, its rows kept as floats that the library owns until the host frees them.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <limits>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "api/c_failure.h"
#include "api/c_look_rows.h"
#include "io/cube_rows.h"
#include "zel/zel_c.h"

namespace {

using zel::copyMessage;
using zel::fail;
using zel::Failure;
using zel::failureOf;
using zel::kLargestGridSize;
using zel::kSmallestGridSize;

}  // namespace

namespace {

// The rows as floats, kept as they arrive: a file that promises a large grid costs
// memory only for the rows it holds. The first value beyond the float range is noted (a
// conversion of it would be undefined) and reported once the file has been read whole.
class FloatRows : public zel::io::CubeRowReceiver {
  public:
    explicit FloatRows(std::vector<float>& rows) : rows_(rows) {}
    void size(int size, std::int64_t expectedRows) override {
        rows_.clear();
        // Untouched pages of the reservation cost nothing; a size the C interface refuses
        // reserves nothing.
        if (size >= kSmallestGridSize && size <= kLargestGridSize) {
            rows_.reserve(static_cast<std::size_t>(expectedRows) * 3);
        }
    }
    void value(std::int64_t row, int column, double value) override {
        const std::size_t at = static_cast<std::size_t>(row) * 3 + static_cast<std::size_t>(column);
        if (rows_.size() <= at) {
            rows_.resize(at + 1, 0.0f);
        }
        if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max()) {
            if (firstBadRow_ < 0) {
                firstBadRow_ = row;
            }
            return;
        }
        rows_[at] = static_cast<float>(value);
    }
    std::int64_t firstBadRow() const { return firstBadRow_; }

  private:
    std::vector<float>& rows_;
    std::int64_t firstBadRow_ = -1;
};

Failure readCube(const char* path, std::vector<float>& rows, std::int32_t& gridSize) {
    if (path == nullptr) {
        return fail(ZEL_ERROR_ARGUMENT, "no path");
    }
    FloatRows receiver(rows);
    int rowCount = -1;
    int size = -1;
    bool whole = false;
    try {
        whole = zel::io::readCubeRows(path, receiver, rowCount, size);
    } catch (const std::invalid_argument&) {
        return fail(ZEL_ERROR_CUBE,
                    "a line after LUT_3D_SIZE is not three numbers separated by single spaces");
    } catch (const std::out_of_range&) {
        return fail(ZEL_ERROR_CUBE, "a number is out of range");
    } catch (const std::length_error&) {
        return fail(ZEL_ERROR_CUBE, "the grid size is outside 2 to 255");
    }
    if (rowCount < 0) {
        return fail(ZEL_ERROR_FILE, std::string("cannot open ") + path);
    }
    if (size < 0 && rowCount == 0) {
        return fail(ZEL_ERROR_CUBE, "the file has no LUT_3D_SIZE line");
    }
    if (size < kSmallestGridSize || size > kLargestGridSize) {
        return fail(ZEL_ERROR_CUBE,
                    "the grid size " + std::to_string(size) + " is outside 2 to 255");
    }
    const std::int64_t expected = static_cast<std::int64_t>(size) * size * size;
    if (!whole) {
        return fail(ZEL_ERROR_CUBE, "the file holds " + std::to_string(rowCount) +
                                        " rows; a grid of " + std::to_string(size) + " needs " +
                                        std::to_string(expected));
    }
    if (receiver.firstBadRow() >= 0) {
        return fail(ZEL_ERROR_CUBE, "row " + std::to_string(receiver.firstBadRow() + 1) +
                                        " holds a value that is not a finite number");
    }
    gridSize = size;
    rows.resize(static_cast<std::size_t>(expected) * 3, 0.0f);
    return {};
}

}  // namespace

extern "C" {

std::int32_t zel_cube_read(const char* path, float** rows, std::int32_t* grid_size, char* message,
                           std::uint32_t message_capacity) {
    try {
        if (rows == nullptr || grid_size == nullptr) {
            copyMessage(message, message_capacity, "no place for the rows or the grid size");
            return ZEL_ERROR_ARGUMENT;
        }
        *rows = nullptr;
        std::vector<float> read;
        std::int32_t size = 0;
        const Failure failure = readCube(path, read, size);
        if (failure.code != ZEL_OK) {
            copyMessage(message, message_capacity, failure.message);
            return failure.code;
        }
        auto owned = std::make_unique<float[]>(read.size());
        std::copy(read.begin(), read.end(), owned.get());
        *rows = owned.release();
        *grid_size = size;
        copyMessage(message, message_capacity, "");
        return ZEL_OK;
    } catch (...) {
        const Failure failure = failureOf(std::current_exception());
        copyMessage(message, message_capacity, failure.message);
        return failure.code;
    }
}

std::int32_t zel_cube_read_into(const char* path, float* rows, std::uint32_t capacity,
                                std::int32_t* grid_size, char* message,
                                std::uint32_t message_capacity) {
    try {
        if (grid_size == nullptr || (rows == nullptr && capacity != 0)) {
            copyMessage(message, message_capacity, "no place for the rows or the grid size");
            return ZEL_ERROR_ARGUMENT;
        }
        std::vector<float> read;
        std::int32_t size = 0;
        const Failure failure = readCube(path, read, size);
        if (failure.code != ZEL_OK) {
            copyMessage(message, message_capacity, failure.message);
            return failure.code;
        }
        *grid_size = size;
        if (read.size() > capacity) {
            copyMessage(message, message_capacity,
                        "the rows need " + std::to_string(read.size()) + " floats");
            return ZEL_ERROR_BUFFER_TOO_SMALL;
        }
        std::copy(read.begin(), read.end(), rows);
        copyMessage(message, message_capacity, "");
        return ZEL_OK;
    } catch (...) {
        const Failure failure = failureOf(std::current_exception());
        copyMessage(message, message_capacity, failure.message);
        return failure.code;
    }
}

void zel_cube_free(float* rows) {
    delete[] rows;
}

}  // extern "C"
