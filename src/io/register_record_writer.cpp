#include "io/register_record_writer.h"

#include <algorithm>

#include "platform/job_error.h"
#include "zel/enums.h"

namespace zel::body {

namespace {

void putMarker(std::uint8_t*& at, char first, char second) {
    *at++ = static_cast<std::uint8_t>(first);
    *at++ = static_cast<std::uint8_t>(second);
}

[[noreturn]] void refuse() {
    zel::failOutput("the look's register records do not fit the look file's body");
}

}  // namespace

std::size_t registerCount(const RegisterList& list) {
    return list.empty() || list.front().addressEmpty() ? 0 : list.size();
}

std::int32_t writeRegisterRecord(const RegisterEntry* registers, std::size_t count,
                                 const DataArea& data, std::int32_t dataEnd, bool valuesOnly) {
    if (count == 0) {
        return 0;
    }
    if (dataEnd < data.start) {
        refuse();
    }
    const std::size_t length = valuesOnly ? 2 + count + 2 : 2 + 2 * count + 2 + 2 + count + 2;
    const std::size_t padded = (length + 15) / 16 * 16;
    const auto offset = static_cast<std::size_t>(dataEnd - data.start);
    if (offset > data.capacity || padded > data.capacity - offset) {
        refuse();
    }
    std::uint8_t* at = data.bytes + offset;
    std::uint8_t* const end = at + padded;
    if (valuesOnly) {
        putMarker(at, 'S', 'R');
        for (std::size_t i = 0; i < count; ++i) {
            *at++ = static_cast<std::uint8_t>(registers[i].valueNumber() & 0xFFu);
        }
        putMarker(at, 'E', 'R');
    } else {
        putMarker(at, 'S', 'A');
        for (std::size_t i = 0; i < count; ++i) {
            const std::uint32_t address = registers[i].addressNumber();
            *at++ = static_cast<std::uint8_t>(address % 256);
            *at++ = static_cast<std::uint8_t>((address / 256) & 0xFFu);
        }
        putMarker(at, 'E', 'A');
        putMarker(at, 'S', 'D');
        for (std::size_t i = 0; i < count; ++i) {
            *at++ = static_cast<std::uint8_t>(registers[i].valueNumber() & 0xFFu);
        }
        putMarker(at, 'E', 'D');
    }
    std::fill(at, end, std::uint8_t{0});
    return static_cast<std::int32_t>(padded);
}
}  // namespace zel::body
