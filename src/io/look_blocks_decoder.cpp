#include "io/look_blocks_decoder.h"

#include <cstring>
#include <map>

#include "camera/cube_writer.h"
#include "io/body_records.h"
#include "io/byte_order.h"

namespace zel {

namespace {

constexpr std::size_t kFileHeaderLength = 256;
constexpr std::size_t kLookHeaderLength = 896;
constexpr std::size_t kChunkHeadLength = 64;
constexpr std::size_t kStandardSlots = 256;
constexpr std::size_t kExtendedSlots = 512;
constexpr std::uint16_t kStandardBlockLength = 256;
constexpr std::uint16_t kExtendedBlockLength = 1440;
constexpr int kCubeLists = 24;
constexpr int kCubeClose = 50;
constexpr std::uint32_t kColorMatrixBase = 0x0200;
constexpr std::uint32_t kGainMatrixBase = 0x0280;
constexpr std::uint32_t kSecondMatrixBase = 0x0700;

// Which part of the body an entry's (flag, category, subtype) names, as the output
// conversion lays the colour blocks out.
enum class Part : std::uint8_t { Other, Cube, SecondLut, FirstLut, ColorMatrix, Gain, Second };

Part partOf(std::uint8_t flag, std::uint8_t category, std::uint8_t subtype) {
    if (category == 4 && subtype == 0) {
        return Part::Cube;
    }
    if (category == 3 && subtype == 0 && flag == 1) {
        return Part::SecondLut;
    }
    if (category == 3 && subtype == 2) {
        return Part::FirstLut;
    }
    if (category == 2 && subtype == 0 && flag == 1) {
        return Part::ColorMatrix;
    }
    if (category == 2 && subtype == 2) {
        return Part::Gain;
    }
    if (category == 2 && subtype == 4) {
        return Part::Second;
    }
    return Part::Other;
}

const char* partName(Part part) {
    switch (part) {
        case Part::Cube:
            return "cube";
        case Part::SecondLut:
            return "second 1D LUT";
        case Part::FirstLut:
            return "first 1D LUT";
        case Part::ColorMatrix:
            return "colour matrix";
        case Part::Gain:
            return "gain matrix";
        case Part::Second:
            return "second matrix";
        case Part::Other:
            break;
    }
    return "block";
}

// The registers of the parts of one pass, gathered from their records.
struct PassParts {
    CubeRegisters cube;
    LutRegisters secondLut;
    LutRegisters firstLut;
    RegisterList colorMatrix;
    RegisterList gain;
    RegisterList second;
    std::map<Part, bool> seen;
};

class Reader {
  public:
    Reader(const std::uint8_t* bytes, std::size_t size) : bytes_(bytes), size_(size) {}

    void require(std::size_t at, std::size_t length, const char* what) const {
        if (at > size_ || length > size_ - at) {
            throw LookDecodeError(std::string("the file ends inside its ") + what);
        }
    }
    std::uint8_t u8(std::size_t at) const { return bytes_[at]; }
    std::uint16_t u16(std::size_t at) const { return io::getU16le(bytes_ + at); }
    std::uint32_t u32(std::size_t at) const { return io::getU32le(bytes_ + at); }
    bool is(std::size_t at, const char* text, std::size_t length) const {
        return at <= size_ && length <= size_ - at && std::memcmp(bytes_ + at, text, length) == 0;
    }
    std::string text(std::size_t at, std::size_t width) const {
        std::string out;
        for (std::size_t i = 0; i < width && bytes_[at + i] != 0; ++i) {
            out.push_back(static_cast<char>(bytes_[at + i]));
        }
        return out;
    }
    std::size_t size() const { return size_; }

  private:
    const std::uint8_t* bytes_;
    std::size_t size_;
};

LookFacts readFacts(const Reader& file, std::size_t& bodyAt) {
    file.require(0, kFileHeaderLength, "file header");
    if (!file.is(0, "QKDF", 4)) {
        throw LookDecodeError("this is not a look file: it does not begin with \"QKDF\"");
    }
    LookFacts facts;
    facts.model = file.text(20, 32);
    facts.generation = facts.model == "CAMB-002" ? 2 : 0;
    bodyAt = file.u32(16);
    const std::size_t look = file.u32(12);
    file.require(look, kLookHeaderLength, "look header");
    if (!file.is(look, "LOOK", 4)) {
        throw LookDecodeError("the look header does not begin with \"LOOK\"");
    }
    switch (file.u8(look + 9)) {
        case '5':
            facts.outputCurve = 0;
            break;
        case 'W':
            facts.outputCurve = 1;
            break;
        case 'X':
            facts.outputCurve = 2;
            break;
        default:
            break;
    }
    const std::uint8_t range = file.u8(look + 10);
    facts.outputRange = range == 2 ? 0 : range == 6 ? 1 : -1;
    const std::uint8_t first = file.u8(look + 844);
    const std::uint8_t second = file.u8(look + 845);
    if (first == '4' && second == 'T') {
        facts.sourceEncoding = 0;
    } else if (first == '5' && second == 'T') {
        facts.sourceEncoding = 1;
    } else if (first == 0x12 && second == 'Y') {
        facts.sourceEncoding = 2;
    } else if (first == 0x12 && second == 'f') {
        facts.sourceEncoding = 3;
    }
    facts.gridSize = file.u8(look + 846);
    const std::size_t list = look + kLookHeaderLength;
    file.require(list, 12, "metadata header list");
    if (!file.is(list, "MDHL", 4)) {
        throw LookDecodeError("the metadata header list does not begin with \"MDHL\"");
    }
    const std::uint16_t blockLength = file.u16(list + 8);
    if (blockLength == kStandardBlockLength) {
        facts.layout = LookLayout::Standard;
    } else if (blockLength == kExtendedBlockLength) {
        facts.layout = LookLayout::Extended;
    } else {
        throw LookDecodeError("the metadata blocks are " + std::to_string(blockLength) +
                              " bytes long; a look file's are 256 or 1440");
    }
    return facts;
}

void placeList(RegisterGroup& group, std::size_t index, RegisterList list) {
    if (group.size() <= index) {
        group.resize(index + 1);
    }
    group[index] = std::move(list);
}

// Puts repetition r of a part's record where the block's decoder expects it.
void place(PassParts& parts, Part part, int r, RegisterList registers) {
    switch (part) {
        case Part::Cube:
            if (r == 0) {
                parts.cube.control = std::move(registers);
            } else if (r == 1 && registers.size() == 3) {
                parts.cube.begin = {registers[2]};
            } else if (r == kCubeClose && !registers.empty()) {
                parts.cube.end = {registers[0]};
            } else if (r >= 2 && r < 2 + 2 * kCubeLists) {
                placeList(r % 2 == 0 ? parts.cube.select : parts.cube.data,
                          static_cast<std::size_t>((r - 2) / 2), std::move(registers));
            }
            break;
        case Part::SecondLut:
        case Part::FirstLut: {
            LutRegisters& lut = part == Part::SecondLut ? parts.secondLut : parts.firstLut;
            if (r == 0) {
                lut.control = std::move(registers);
                break;
            }
            const auto q = static_cast<std::size_t>((r - 1) / 3);
            RegisterGroup& group = r % 3 == 1 ? lut.head : r % 3 == 2 ? lut.data : lut.tail;
            placeList(group, q, std::move(registers));
            break;
        }
        case Part::ColorMatrix:
            parts.colorMatrix = std::move(registers);
            break;
        case Part::Gain:
            parts.gain = std::move(registers);
            break;
        case Part::Second:
            parts.second = std::move(registers);
            break;
        case Part::Other:
            break;
    }
}

template <typename Decode>
void decodePart(const PassParts& parts, Part part, int pass, std::vector<std::string>& problems,
                Decode&& decode) {
    const std::string where = std::string(partName(part)) + " of pass " + std::to_string(pass);
    const auto seen = parts.seen.find(part);
    if (seen == parts.seen.end()) {
        return;
    }
    try {
        decode();
    } catch (const std::exception& e) {
        problems.push_back(where + ": " + e.what());
    }
}

// The parts a sound look file of this layout carries in every pass.
std::vector<Part> expectedParts(const LookFacts& facts) {
    if (facts.layout == LookLayout::Standard) {
        return {Part::Cube,     Part::ColorMatrix, Part::SecondLut,
                Part::FirstLut, Part::Gain,        Part::Second};
    }
    return {Part::Cube, Part::FirstLut, Part::Gain, Part::Second};
}

}  // namespace

DecodedLook decodeLookBlocks(const std::uint8_t* bytes, std::size_t size) {
    const Reader file(bytes, size);
    DecodedLook look;
    std::size_t bodyAt = 0;
    look.facts = readFacts(file, bodyAt);

    file.require(bodyAt, kChunkHeadLength, "body chunk");
    if (!file.is(bodyAt, "CHIP", 4)) {
        throw LookDecodeError("the body chunk does not begin with \"CHIP\"");
    }
    const std::size_t slots =
        look.facts.layout == LookLayout::Standard ? kStandardSlots : kExtendedSlots;
    const std::size_t tableAt = bodyAt + kChunkHeadLength;
    const std::size_t bodyLength = file.u32(bodyAt + 16);
    file.require(tableAt, slots * kBodyEntryLength, "body entry table");
    const std::size_t end =
        tableAt + std::min(bodyLength, file.size() - tableAt);  // records lie before here

    std::map<int, PassParts> passes;
    int lastPass = -1;
    std::uint32_t lastKey = 0xFFFFFFFFu;
    int repetition = 0;
    for (const BodyEntry& entry : readBodyEntries(bytes, size, tableAt, slots)) {
        // An entry continues its block's run while pass, flag, category and subtype stay.
        const std::uint32_t key = (std::uint32_t{entry.flag} << 16) |
                                  (std::uint32_t{entry.category} << 8) | entry.subtype;
        repetition = entry.pass == lastPass && key == lastKey ? repetition + 1 : 0;
        lastPass = entry.pass;
        lastKey = key;

        const Part part = partOf(entry.flag, entry.category, entry.subtype);
        if (part == Part::Other) {
            continue;
        }
        PassParts& parts = passes[entry.pass];
        parts.seen[part] = true;
        if (entry.registerCount == 0) {
            continue;
        }
        RegisterList registers;
        if (entry.offset < slots * kBodyEntryLength || entry.offset > bodyLength ||
            !readBodyRecord(bytes, end, tableAt + entry.offset, entry.registerCount,
                            entry.valuesOnly, &registers)) {
            look.problems.push_back(std::string(partName(part)) + " of pass " +
                                    std::to_string(entry.pass) + ": entry " +
                                    std::to_string(entry.slot) + " points at offset " +
                                    std::to_string(entry.offset) + " where no sound record of " +
                                    std::to_string(entry.registerCount) + " registers lies");
            continue;
        }
        place(parts, part, repetition, std::move(registers));
    }

    if (passes.empty()) {
        look.problems.push_back(
            "the body carries no colour blocks: no register records for the cube, the 1D LUTs "
            "or the matrices" +
            std::string(look.facts.layout == LookLayout::Extended && look.facts.generation == 0
                            ? " (an extended look file of a first-generation camera has none)"
                            : ""));
        return look;
    }
    const int grid = look.facts.generation == 2 ? kSecondGenerationGrid : kFirstGenerationGrid;
    for (auto& entry : passes) {
        // Named references: the decoding lambdas below capture them.
        const int number = entry.first;
        const PassParts& parts = entry.second;
        LookPass pass;
        pass.pass = number;
        for (const Part part : expectedParts(look.facts)) {
            if (parts.seen.count(part) == 0) {
                look.problems.push_back(std::string(partName(part)) + " of pass " +
                                        std::to_string(number) + ": missing");
            }
        }
        std::vector<std::string>& problems = look.problems;
        decodePart(parts, Part::Cube, number, problems,
                   [&] { pass.cube = decodeCubeMemory(parts.cube, grid); });
        decodePart(parts, Part::ColorMatrix, number, problems, [&] {
            pass.colorMatrix = decodeMatrixPage(parts.colorMatrix, kColorMatrixBase);
        });
        decodePart(parts, Part::SecondLut, number, problems,
                   [&] { pass.secondLut = decodeLutMemory(kCodeSecondLut, parts.secondLut); });
        decodePart(parts, Part::FirstLut, number, problems,
                   [&] { pass.firstLut = decodeLutMemory(kCodeFirstLut, parts.firstLut); });
        decodePart(parts, Part::Gain, number, problems,
                   [&] { pass.gainMatrix = decodeMatrixPage(parts.gain, kGainMatrixBase); });
        decodePart(parts, Part::Second, number, problems,
                   [&] { pass.secondMatrix = decodeMatrixPage(parts.second, kSecondMatrixBase); });
        look.passes.push_back(std::move(pass));
    }
    return look;
}

}  // namespace zel
