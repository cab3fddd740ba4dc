#ifndef ZEL_CAMERA_REGISTER_VALUE_H
#define ZEL_CAMERA_REGISTER_VALUE_H

// Register values as the camera image writes them: an integer as a fixed number of
// upper-case hexadecimal digits.

#include <cstdint>
#include <string>

// Formats `value` as exactly `digits` upper-case hexadecimal digits.
// Unsigned: the value is limited to 0 .. 2^bits - 1 (a negative value gives 0).
// Signed: a negative value is written in two's complement of `bits` bits (2^bits + value).
// A shorter text is padded with "0" on the left, a longer one keeps its last digits.
std::string formatRegisterValue(std::int64_t value, int digits, bool signedValue, int bits);

#endif  // ZEL_CAMERA_REGISTER_VALUE_H
