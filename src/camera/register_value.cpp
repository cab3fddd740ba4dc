#include "camera/register_value.h"

std::string formatRegisterValue(std::int64_t value, int digits, bool signedValue, int bits) {
    // Widths beyond 62 bits cannot occur in a camera register; keeping 2^bits inside the
    // signed 64-bit range keeps the arithmetic below exact.
    const int width = bits < 0 ? 0 : (bits > 62 ? 62 : bits);
    const std::int64_t range = std::int64_t{1} << width;
    std::uint64_t number = 0;
    if (signedValue) {
        // A value below -2^bits has no two's-complement form of that width; it then wraps
        // in 64 bits and only its last digits remain.
        const std::int64_t wrapped = value < 0 ? range + value : value;
        number = static_cast<std::uint64_t>(wrapped);
    } else if (value > 0) {
        number = static_cast<std::uint64_t>(value < range - 1 ? value : range - 1);
    }

    static constexpr char kDigits[] = "0123456789ABCDEF";
    const std::size_t count = digits > 0 ? static_cast<std::size_t>(digits) : 0;
    std::string text(count, '0');
    for (std::size_t i = 0; i < count && number != 0; ++i) {
        text[count - 1 - i] = kDigits[number & 0xFu];
        number >>= 4;
    }
    return text;
}
