// The C interface's .cube reading (zel_cube_read, zel_cube_read_into): the library's .cube
// reader, the one zelgen, the Python module and the browser page use, so a host gets the
// look zelgen makes of the same file. A 1D shaper and its input domain are applied as
// zelgen applies them (the look sampled onto a lattice of the 3D table's size); a file
// that cannot become a look is refused with the line and the reason, in the message only.

#include <cstdint>
#include <exception>
#include <fstream>
#include <memory>
#include <string>

#include "api/c_failure.h"
#include "cube_reader/cube_parser.h"
#include "cube_reader/cube_row_order.h"
#include "cube_reader/look_lattice.h"
#include "zel/zel_c.h"

namespace {

using zel::copyMessage;
using zel::fail;
using zel::Failure;
using zel::failureOf;

// The look of the file at `path` as zelgen makes it: the 3D table, through its shaper
// where it has one.
Failure readLook(const char* path, zel::io::NodeTable& look) {
    if (path == nullptr) {
        return fail(ZEL_ERROR_ARGUMENT, "no path");
    }
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
        return fail(ZEL_ERROR_FILE, std::string("cannot open ") + path);
    }
    try {
        look = zel::io::lookLattice(zel::io::parseCubeStream(in, path));
    } catch (const zel::io::CubeParseError& e) {
        // A folder opens but cannot be read.
        return fail(in.bad() ? ZEL_ERROR_FILE : ZEL_ERROR_CUBE, e.what());
    }
    return {};
}

std::uint64_t floatCount(const zel::io::NodeTable& look) {
    return static_cast<std::uint64_t>(look.nodeCount()) * 3;
}

// Runs one reader entry point: its failure, or the exception it throws, becomes the code and
// the host's message; success (ZEL_OK) clears the message.
template <typename Read>
std::int32_t answer(char* message, std::uint32_t capacity, const Read& read) {
    Failure failure;
    try {
        failure = read();
    } catch (...) {
        failure = failureOf(std::current_exception());
    }
    copyMessage(message, capacity, failure.message);
    return failure.code;
}

}  // namespace

extern "C" {

std::int32_t zel_cube_read(const char* path, float** rows, std::int32_t* grid_size, char* message,
                           std::uint32_t message_capacity) {
    return answer(message, message_capacity, [&]() -> Failure {
        if (rows == nullptr || grid_size == nullptr) {
            return fail(ZEL_ERROR_ARGUMENT, "no place for the rows or the grid size");
        }
        *rows = nullptr;
        zel::io::NodeTable look;
        const Failure failure = readLook(path, look);
        if (failure.code != ZEL_OK) {
            return failure;
        }
        auto owned = std::make_unique<float[]>(static_cast<std::size_t>(floatCount(look)));
        zel::io::copyRowsInCubeOrder(look, owned.get());
        *rows = owned.release();
        *grid_size = look.size();
        return {};
    });
}

std::int32_t zel_cube_read_into(const char* path, float* rows, std::uint32_t capacity,
                                std::int32_t* grid_size, char* message,
                                std::uint32_t message_capacity) {
    return answer(message, message_capacity, [&]() -> Failure {
        if (grid_size == nullptr || (rows == nullptr && capacity != 0)) {
            return fail(ZEL_ERROR_ARGUMENT, "no place for the rows or the grid size");
        }
        zel::io::NodeTable look;
        const Failure failure = readLook(path, look);
        if (failure.code != ZEL_OK) {
            return failure;
        }
        *grid_size = look.size();
        if (floatCount(look) > capacity) {
            return fail(ZEL_ERROR_BUFFER_TOO_SMALL,
                        "the rows need " + std::to_string(floatCount(look)) + " floats");
        }
        zel::io::copyRowsInCubeOrder(look, rows);
        return {};
    });
}

void zel_cube_free(float* rows) {
    delete[] rows;
}

}  // extern "C"
