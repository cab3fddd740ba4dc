#include <cstring>
#include <utility>

#include "io/chunk_head.h"
#include "zel/records.h"

ZelGenInput::ZelGenInput() = default;
ZelGenInput& ZelGenInput::operator=(const ZelGenInput&) = default;
ZelGenInput::~ZelGenInput() = default;

ZelMetadataHeaderList::ZelMetadataHeaderList() = default;
ZelMetadataHeaderList& ZelMetadataHeaderList::operator=(const ZelMetadataHeaderList&) = default;
ZelMetadataHeaderList::~ZelMetadataHeaderList() = default;

void ZelMetadataHeaderList::initiarizeBuffer() {
    *this = ZelMetadataHeaderList();
}

ZelBinary::ZelBinary() {
    // An empty body: the head names the chunk, nothing is written behind it yet.
    zel::io::writeChunkHead(*this, 0, 0);
}
ZelBinary& ZelBinary::operator=(const ZelBinary&) = default;
ZelBinary::~ZelBinary() = default;

Zel::Zel() = default;
Zel& Zel::operator=(const Zel&) = default;
Zel& Zel::operator=(Zel&&) = default;
Zel::~Zel() = default;

ZelHeaderExtended6Data::ZelHeaderExtended6Data() = default;
ZelHeaderExtended6Data& ZelHeaderExtended6Data::operator=(const ZelHeaderExtended6Data&) = default;
ZelHeaderExtended6Data::~ZelHeaderExtended6Data() = default;

ZelGenOutput::ZelGenOutput() = default;
ZelGenOutput& ZelGenOutput::operator=(const ZelGenOutput&) = default;
ZelGenOutput& ZelGenOutput::operator=(ZelGenOutput&&) = default;
ZelGenOutput::~ZelGenOutput() = default;

ZelGenOutputExtended::ZelGenOutputExtended() : lutData(kLutDataCapacity, 0) {
    zel::io::writeChunkHead(binaryHead, 0, 0);
}

ZelGenOutputExtended::ZelGenOutputExtended(const ZelGenOutputExtended& other)
    : lutData(other.lutData) {
    copyFixedMembers(other);
}

ZelGenOutputExtended::ZelGenOutputExtended(ZelGenOutputExtended&& other) noexcept
    : lutData(std::move(other.lutData)) {
    other.lutData.clear();
    copyFixedMembers(other);
}

ZelGenOutputExtended& ZelGenOutputExtended::operator=(const ZelGenOutputExtended& other) {
    if (this != &other) {
        lutData = other.lutData;
        copyFixedMembers(other);
    }
    return *this;
}

ZelGenOutputExtended& ZelGenOutputExtended::operator=(ZelGenOutputExtended&& other) noexcept {
    if (this != &other) {
        lutData = std::move(other.lutData);
        other.lutData.clear();
        copyFixedMembers(other);
    }
    return *this;
}

ZelGenOutputExtended::~ZelGenOutputExtended() = default;

void ZelGenOutputExtended::copyFixedMembers(const ZelGenOutputExtended& other) {
    std::memcpy(headerBytes, other.headerBytes, sizeof headerBytes);
    std::memcpy(binaryHead, other.binaryHead, sizeof binaryHead);
    std::memcpy(entryTable, other.entryTable, sizeof entryTable);
    floatLutFilm = other.floatLutFilm;
    floatLut = other.floatLut;
    headerSize = other.headerSize;
    entryTableSize = other.entryTableSize;
    lutDataSize = other.lutDataSize;
    std::memcpy(cubeHeader, other.cubeHeader, sizeof cubeHeader);
}

ZelGenOutputExtendedUnion::ZelGenOutputExtendedUnion() = default;
ZelGenOutputExtendedUnion::~ZelGenOutputExtendedUnion() = default;

// The sizes the look-file layout fixes.
static_assert(sizeof(ZelMetadataHeaderList) == 64, "metadata header list is 64 bytes");
static_assert(sizeof(ZelBinary) == 118448, "standard body chunk is 118448 bytes");
static_assert(sizeof(Zel) == 121200, "standard look-file image is 121200 bytes");
static_assert(sizeof(ZelHeaderExtended6Data) == 9920, "extended six-block head is 9920 bytes");
static_assert(sizeof(ZelGenOutputExtendedUnion) == 800000, "raw area is 800000 bytes");
