#ifndef ZEL_TESTS_SUPPORT_LOOK_FILE_BYTES_H
#define ZEL_TESTS_SUPPORT_LOOK_FILE_BYTES_H

// The bytes a host would write to disk from a finished job's output record.

#include <cstdint>
#include <cstring>
#include <vector>

#include "zel/records.h"

namespace zeltest {

inline std::vector<std::uint8_t> lookFileBytes(const ZelGenOutput& output) {
    const std::size_t headerPart = offsetof(Zel, binary);
    std::size_t length = headerPart + output.binarySize;
    if (length > sizeof(Zel)) {
        length = sizeof(Zel);
    }
    const auto* begin = reinterpret_cast<const std::uint8_t*>(&output.zel);
    return std::vector<std::uint8_t>(begin, begin + length);
}

inline std::vector<std::uint8_t> lookFileBytes(const ZelGenOutputExtended& output) {
    std::vector<std::uint8_t> bytes;
    const std::size_t headerSize = output.headerSize < sizeof output.headerBytes
                                       ? output.headerSize
                                       : sizeof output.headerBytes;
    bytes.insert(bytes.end(), output.headerBytes, output.headerBytes + headerSize);
    bytes.insert(bytes.end(), output.binaryHead, output.binaryHead + sizeof output.binaryHead);
    bytes.insert(bytes.end(), output.entryTable, output.entryTable + sizeof output.entryTable);
    const std::size_t dataSize =
        output.lutDataSize < output.lutData.size() ? output.lutDataSize : output.lutData.size();
    bytes.insert(bytes.end(), output.lutData.begin(),
                 output.lutData.begin() + static_cast<std::ptrdiff_t>(dataSize));
    return bytes;
}

}  // namespace zeltest

#endif  // ZEL_TESTS_SUPPORT_LOOK_FILE_BYTES_H
