#ifndef ZEL_RECORDS_H
#define ZEL_RECORDS_H

// The records that cross the library boundary. The host allocates them, fills the
// input, hands both to ZelGenerator and reads the output when the job has ended.
// Their layout is part of the library's binary interface: members stand in the
// order given, with the widths given, under the platform's natural alignment.

#include <cstdint>
#include <vector>

#include "zel/export.h"

// Job input. The library only reads it.
struct ZelGenInput {
    // The bits of `flags`.
    static constexpr std::uint32_t kLongChainFlag = 1u << 4;   // the long processing chain
    static constexpr std::uint32_t kFullDomainFlag = 1u << 8;  // cubes span the full code range

    ZEL_API ZelGenInput();
    ZelGenInput(const ZelGenInput&) = default;
    ZEL_API ZelGenInput& operator=(const ZelGenInput&);
    ZEL_API ~ZelGenInput();

    std::uint8_t
        sourceEncoding{};        // 0 Q-Enc3/Q-Prims3, 1 Q-Enc3/Q-Prims3.Film, 2 ACEScc, 3 ACEScct
    std::uint8_t outputCurve{};  // 0 Rec.709, 1 Rec.2100 PQ, 2 Rec.2100 HLG
    std::uint8_t outputRange{};  // 0 full, 1 legal
    char modelName[34]{};        // "CAMB-001", "CAMB-002" or "CAMA-001"
    char lookFileName[128]{};    // look name = this name without its ".zel"
    char fileHeaderText[34]{};
    char fileHeaderTag[18]{};
    char lookHeaderText[514]{};
    char lookHeaderNote[130]{};
    std::uint8_t gridSize{};  // N: the look has N x N x N nodes
    // N^3 nodes of four floats, node (i, j, k) at ((i * N + j) * N + k) * 4, i red,
    // blue fastest; the fourth float of a node is never read. The job reads the table in
    // place, without a copy: it must stay unchanged until the job has ended.
    const float* nodeValues{};
    char metadataName[30]{};
    char metadataNameLong[61]{};
    // kLongChainFlag, and kFullDomainFlag (standard job only).
    std::uint32_t flags{};
};

// Metadata header list of the standard look file (64 bytes).
struct ZelMetadataHeaderList {
    struct Entry {
        std::uint8_t sourceTag[2];
        std::uint16_t index;
        std::uint32_t offset;
    };

    ZEL_API ZelMetadataHeaderList();
    ZelMetadataHeaderList(const ZelMetadataHeaderList&) = default;
    ZEL_API ZelMetadataHeaderList& operator=(const ZelMetadataHeaderList&);
    ZEL_API ~ZelMetadataHeaderList();

    // Sets every byte of the list to zero again.
    ZEL_API void initiarizeBuffer();

    char magic[4]{};
    std::uint32_t listLength{};
    std::uint16_t blockLength{};
    std::uint16_t blockCount{};
    Entry entries[6]{};
    std::uint32_t trailing{};
};

// Binary body ("CHIP" chunk) of the standard look file.
struct ZelBinary {
    static constexpr int kEntryCount = 256;
    static constexpr int kEntrySize = 32;
    static constexpr int kDataSize = 110192;

    ZEL_API ZelBinary();
    ZelBinary(const ZelBinary&) = default;
    ZEL_API ZelBinary& operator=(const ZelBinary&);
    ZEL_API ~ZelBinary();

    std::uint32_t magic{};       // "CHIP" in file order
    std::uint32_t headLength{};  // 64
    std::uint8_t headRest[56]{};
    std::uint8_t entryTable[kEntryCount][kEntrySize]{};
    std::uint8_t data[kDataSize]{};
};

// The standard job's look-file image: the whole file laid out in memory.
struct Zel {
    ZEL_API Zel();
    Zel(const Zel&) = default;
    Zel(Zel&&) = default;
    ZEL_API Zel& operator=(const Zel&);
    ZEL_API Zel& operator=(Zel&&);
    ZEL_API ~Zel();

    std::uint8_t fileHeader[256]{};
    std::uint8_t lookHeader[896]{};
    ZelMetadataHeaderList metadataHeaderList;
    std::uint8_t metadataData[6][256]{};
    ZelBinary binary;
};

// Head of the extended look file when it carries six metadata records.
struct ZelHeaderExtended6Data {
    ZEL_API ZelHeaderExtended6Data();
    ZelHeaderExtended6Data(const ZelHeaderExtended6Data&) = default;
    ZEL_API ZelHeaderExtended6Data& operator=(const ZelHeaderExtended6Data&);
    ZEL_API ~ZelHeaderExtended6Data();

    std::uint8_t fileHeader[256]{};
    std::uint8_t lookHeader[896]{};
    std::uint8_t metadataHeaderList[128]{};
    std::uint8_t metadataData[6][1440]{};
};

// Standard job output.
struct ZelGenOutput {
    ZEL_API ZelGenOutput();
    ZelGenOutput(const ZelGenOutput&) = default;
    ZelGenOutput(ZelGenOutput&&) = default;
    ZEL_API ZelGenOutput& operator=(const ZelGenOutput&);
    ZEL_API ZelGenOutput& operator=(ZelGenOutput&&);
    ZEL_API ~ZelGenOutput();

    Zel zel;                     // file to write: the first 2752 + binarySize bytes
    float* floatLutFilm{};       // N^3 x 4 floats, written for sourceEncoding 1
    float* floatLut{};           // N^3 x 4 floats, written for sourceEncoding 0
    std::uint32_t binarySize{};  // length of the body chunk inside zel
    char cubeHeader[514]{};      // the three header lines of a .cube text
};

// Extended job output.
struct ZelGenOutputExtended {
    static constexpr std::uint32_t kLutDataCapacity = 763776;

    ZEL_API ZelGenOutputExtended();
    ZEL_API ZelGenOutputExtended(const ZelGenOutputExtended&);
    ZEL_API ZelGenOutputExtended(ZelGenOutputExtended&&) noexcept;
    ZEL_API ZelGenOutputExtended& operator=(const ZelGenOutputExtended&);
    ZEL_API ZelGenOutputExtended& operator=(ZelGenOutputExtended&&) noexcept;
    ZEL_API ~ZelGenOutputExtended();

    std::uint8_t headerBytes[20000]{};  // file header, look header, list, metadata
    std::uint8_t binaryHead[64]{};      // body chunk head
    std::uint8_t entryTable[16384]{};   // 512 entries of 32 bytes
    std::vector<std::uint8_t> lutData;  // body data; the first lutDataSize bytes are valid
    float* floatLutFilm{};
    float* floatLut{};
    std::uint32_t headerSize{};
    std::uint32_t entryTableSize{};
    std::uint32_t lutDataSize{};
    char cubeHeader[514]{};

  private:
    void copyFixedMembers(const ZelGenOutputExtended& other);
};

// A raw 800000-byte area; no job reads or writes it.
struct ZelGenOutputExtendedUnion {
    ZEL_API ZelGenOutputExtendedUnion();
    ZEL_API ~ZelGenOutputExtendedUnion();

  private:
    std::uint8_t raw_[800000]{};
};

#endif  // ZEL_RECORDS_H
