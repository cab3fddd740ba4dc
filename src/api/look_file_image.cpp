#include "api/look_file_image.h"

#include <cstddef>

namespace zel {

namespace {

// The standard look file is the `zel` record itself: its header part, then the body.
constexpr std::size_t kStandardHeaderPart = 2752;
static_assert(sizeof(Zel) == 121200, "the standard look-file image must have no padding");

}  // namespace

bool takeLookFile(const ZelGenOutput& output, std::vector<std::uint8_t>& file) {
    if (output.binarySize > sizeof(Zel) - kStandardHeaderPart) {
        return false;
    }
    const auto* image = reinterpret_cast<const std::uint8_t*>(&output.zel);
    file.assign(image, image + kStandardHeaderPart + output.binarySize);
    return true;
}

bool takeLookFile(const ZelGenOutputExtended& output, std::vector<std::uint8_t>& file) {
    if (output.headerSize > sizeof output.headerBytes ||
        output.entryTableSize > sizeof output.entryTable ||
        output.lutDataSize > output.lutData.size()) {
        return false;
    }
    file.clear();
    file.insert(file.end(), output.headerBytes, output.headerBytes + output.headerSize);
    file.insert(file.end(), output.binaryHead, output.binaryHead + sizeof output.binaryHead);
    file.insert(file.end(), output.entryTable, output.entryTable + output.entryTableSize);
    file.insert(file.end(), output.lutData.begin(), output.lutData.begin() + output.lutDataSize);
    return true;
}

}  // namespace zel
