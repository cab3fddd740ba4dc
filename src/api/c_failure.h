#ifndef ZEL_API_C_FAILURE_H
#define ZEL_API_C_FAILURE_H

// How the C interface answers a failure: a code of zel/zel_c.h and the reason in words.

#include <cstdint>
#include <exception>
#include <string>

namespace zel {

// A code and the reason behind it.
struct Failure {
    std::int32_t code = 0;
    std::string message;
};

Failure fail(std::int32_t code, std::string message);

// The answer for an exception caught at the boundary.
Failure failureOf(std::exception_ptr caught);

// Copies `text` into the host's buffer, cut to `capacity` bytes with its NUL; nothing for a
// null buffer.
void copyMessage(char* message, std::uint32_t capacity, const std::string& text);

}  // namespace zel

#endif  // ZEL_API_C_FAILURE_H
