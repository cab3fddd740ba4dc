// The check of the C interface (zel/zel_c.h): zel_check and its report's accessors. Every
// entry point catches everything: no exception leaves the library.

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "api/c_failure.h"
#include "api/c_look_rows.h"
#include "api/check_look.h"
#include "readback/look_blocks_decoder.h"
#include "zel/zel_c.h"

struct zel_check_result {
    bool sound = false;
    bool damaged = false;
    std::string verdict;
    std::string json;
};

namespace {

zel::Failure runCheck(const std::uint8_t* file, std::uint32_t size, const float* rows,
                      std::int32_t gridSize, std::int32_t order, zel_check_result& result) {
    zel::LookNodes look;
    if (rows != nullptr) {
        if (order != ZEL_ORDER_RED_FASTEST && order != ZEL_ORDER_BLUE_FASTEST) {
            return zel::fail(ZEL_ERROR_ARGUMENT,
                             "order " + std::to_string(order) + " is not known");
        }
        const int fileGrid = zel::locateBody(file, size).facts.gridSize;
        if (gridSize != fileGrid) {
            return zel::fail(ZEL_ERROR_ARGUMENT,
                             "the look has " + std::to_string(gridSize) +
                                 " nodes an axis where the look file names a look grid of " +
                                 std::to_string(fileGrid));
        }
        look.size = gridSize;
        const zel::Failure converted = zel::nodesFromRows(rows, gridSize, order, look.values);
        if (converted.code != ZEL_OK) {
            return converted;
        }
    }
    const zel::CheckOutcome outcome = zel::checkLook(file, size, rows != nullptr ? &look : nullptr);
    result.sound = outcome.sound;
    result.damaged = outcome.report.damaged();
    result.verdict = outcome.verdict;
    result.json = zel::checkJson(outcome);
    return {};
}

}  // namespace

extern "C" {

std::int32_t zel_check(const std::uint8_t* look_file, std::uint32_t size, const float* look_rows,
                       std::int32_t grid_size, std::int32_t order, zel_check_result** result,
                       char* message, std::uint32_t message_capacity) {
    zel::copyMessage(message, message_capacity, "");
    if (result == nullptr) {
        zel::copyMessage(message, message_capacity, "no result pointer");
        return ZEL_ERROR_ARGUMENT;
    }
    *result = nullptr;
    zel::Failure failure;
    try {
        if (look_file == nullptr) {
            failure = zel::fail(ZEL_ERROR_ARGUMENT, "no look file");
        } else {
            auto report = std::make_unique<zel_check_result>();
            failure = runCheck(look_file, size, look_rows, grid_size, order, *report);
            if (failure.code == ZEL_OK) {
                *result = report.release();
            }
        }
    } catch (const zel::DecodeError& e) {
        failure = zel::fail(ZEL_ERROR_NOT_LOOK_FILE, e.what());
    } catch (...) {
        failure = zel::failureOf(std::current_exception());
    }
    zel::copyMessage(message, message_capacity, failure.message);
    return failure.code;
}

std::int32_t zel_check_sound(const zel_check_result* result) {
    return result != nullptr && result->sound ? 1 : 0;
}

std::int32_t zel_check_damaged(const zel_check_result* result) {
    return result != nullptr && result->damaged ? 1 : 0;
}

const char* zel_check_verdict(const zel_check_result* result) {
    return result != nullptr ? result->verdict.c_str() : "";
}

const char* zel_check_json(const zel_check_result* result) {
    return result != nullptr ? result->json.c_str() : "";
}

void zel_check_result_free(zel_check_result* result) {
    delete result;
}

}  // extern "C"
