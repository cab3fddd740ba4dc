#include "io/look_blocks_decoder.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <set>

#include "camera/lut3d_writer.h"
#include "camera/register_block.h"
#include "io/body_block_tables.h"
#include "io/body_chunk_writer.h"
#include "io/body_records.h"
#include "io/byte_order.h"
#include "io/chunk_head.h"
#include "io/header_part_layout.h"
#include "io/metadata_blocks.h"

namespace zel {

namespace {

using io::kFileHeaderLength;
using io::kLookHeaderLength;
constexpr std::size_t kChunkHeadLength = io::kChunkHeadSize;
constexpr std::size_t kStandardSlots = ZelBinary::kEntryCount;
constexpr std::size_t kExtendedSlots = ExtendedBody::kEntryCount;
constexpr std::uint32_t kColorMatrixBase = 0x0200;
constexpr std::uint32_t kGainMatrixBase = 0x0280;
constexpr std::uint32_t kSecondMatrixBase = 0x0700;

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
    if (blockLength == io::kStandardBlockLength) {
        facts.layout = LookLayout::Standard;
    } else if (blockLength == io::kExtendedBlockLength) {
        facts.layout = LookLayout::Extended;
    } else {
        throw LookDecodeError("the metadata blocks are " + std::to_string(blockLength) +
                              " bytes long; a look file's are 256 or 1440");
    }
    return facts;
}

// What a record of this category holds, for messages.
const char* recordName(std::uint8_t category) {
    switch (category) {
        case 4:
            return "cube";
        case 3:
            return "1D LUT";
        case 2:
            return "matrix";
        default:
            return "register table";
    }
}

// The register image the body's records rebuild: each record's registers go back to the
// register block (or list of a block) that the body writer's selection table took them
// from.
class ImageBuilder {
  public:
    explicit ImageBuilder(body::BodyKind kind) : kind_(kind) {}

    // Puts the registers of repetition `r` of an entry back; false when the selection table
    // has no row for it.
    bool place(const BodyEntry& entry, int r, RegisterList registers) {
        std::size_t q = 0;
        const body::SelectionRow* row =
            body::findSelectionRow(kind_, entry.category, entry.subtype, r, q);
        if (row == nullptr) {
            return false;
        }
        const body::Registers& from = entry.flag == 0 ? row->firstPath : row->secondPath;
        const int number = from.byPass[entry.pass < 2 ? entry.pass : 2];
        switch (from.source) {
            case body::Source::Block:
                blocks_[number] = std::move(registers);
                break;
            case body::Source::GroupList: {
                RegisterGroup& group = groups_[number];
                if (group.size() <= q) {
                    group.resize(q + 1);
                }
                group[q] = std::move(registers);
                break;
            }
            case body::Source::CubeOpen:
                // ("0402", "00"), ("0403", "01"), then the begin entry.
                if (registers.size() == 3) {
                    blocks_[number] = {registers[2]};
                }
                break;
            case body::Source::CubeClose:
                // The end entry, then ("0402", "07"), ("0403", "00").
                if (!registers.empty()) {
                    blocks_[number] = {registers[0]};
                }
                break;
        }
        return true;
    }

    bool has(int block) const { return blocks_.count(block) != 0 || groups_.count(block) != 0; }
    RegisterList list(int block) const {
        const auto at = blocks_.find(block);
        return at == blocks_.end() ? RegisterList() : at->second;
    }
    RegisterGroup group(int block) const {
        const auto at = groups_.find(block);
        return at == groups_.end() ? RegisterGroup() : at->second;
    }

  private:
    body::BodyKind kind_;
    std::map<int, RegisterList> blocks_;
    std::map<int, RegisterGroup> groups_;
};

template <typename Decode>
void decodePart(const char* name, int pass, std::vector<std::string>& problems, Decode&& decode) {
    try {
        decode();
    } catch (const std::exception& e) {
        problems.push_back(std::string(name) + " of pass " + std::to_string(pass) + ": " +
                           e.what());
    }
}

}  // namespace

BodySpan locateBody(const std::uint8_t* bytes, std::size_t size) {
    const Reader file(bytes, size);
    BodySpan span;
    span.facts = readFacts(file, span.bodyAt);
    file.require(span.bodyAt, kChunkHeadLength, "body chunk");
    if (!file.is(span.bodyAt, "CHIP", 4)) {
        throw LookDecodeError("the body chunk does not begin with \"CHIP\"");
    }
    span.slots = span.facts.layout == LookLayout::Standard ? kStandardSlots : kExtendedSlots;
    span.tableAt = span.bodyAt + kChunkHeadLength;
    span.length = file.u32(span.bodyAt + 16);
    file.require(span.tableAt, span.slots * kBodyEntryLength, "body entry table");
    return span;
}

DecodedLook decodeLookBlocks(const std::uint8_t* bytes, std::size_t size) {
    const Reader file(bytes, size);
    DecodedLook look;
    const BodySpan span = locateBody(bytes, size);
    look.facts = span.facts;
    const std::size_t slots = span.slots;
    const std::size_t tableAt = span.tableAt;
    const std::size_t bodyLength = span.length;
    if (span.statedEnd() != size) {
        look.problems.push_back("the body states " + std::to_string(bodyLength) +
                                " bytes after its entry table, so " + "the file should be " +
                                std::to_string(span.statedEnd()) + " bytes long; it is " +
                                std::to_string(size) +
                                (size < span.statedEnd() ? " (cut short)" : " (bytes appended)"));
    }
    const std::size_t end =
        tableAt + std::min(bodyLength, file.size() - tableAt);  // records lie before here

    ImageBuilder image(look.facts.layout == LookLayout::Standard ? body::BodyKind::Standard
                                                                 : body::BodyKind::Extended);
    std::set<int> passes;
    int lastPass = -1;
    std::uint32_t lastKey = 0xFFFFFFFFu;
    int repetition = 0;
    for (const BodyEntry& entry : readBodyEntries(bytes, size, tableAt, slots)) {
        // An entry continues its block's run while pass, path, category and subtype stay.
        const std::uint32_t key = (std::uint32_t{entry.flag} << 16) |
                                  (std::uint32_t{entry.category} << 8) | entry.subtype;
        repetition = entry.pass == lastPass && key == lastKey ? repetition + 1 : 0;
        lastPass = entry.pass;
        lastKey = key;
        passes.insert(entry.pass);
        if (entry.registerCount == 0) {
            continue;
        }
        RegisterList registers;
        if (entry.offset < slots * kBodyEntryLength || entry.offset > bodyLength ||
            !readBodyRecord(bytes, end, tableAt + entry.offset, entry.registerCount,
                            entry.valuesOnly, &registers)) {
            look.problems.push_back(std::string(recordName(entry.category)) + " of pass " +
                                    std::to_string(entry.pass) + ": entry " +
                                    std::to_string(entry.slot) + " points at offset " +
                                    std::to_string(entry.offset) + " where no sound record of " +
                                    std::to_string(entry.registerCount) + " registers lies");
            continue;
        }
        image.place(entry, repetition, std::move(registers));
    }

    if (passes.empty()) {
        look.noColourBlocks = true;
        look.problems.push_back(
            "the body carries no colour blocks: no register records for the cube, the 1D LUTs "
            "or the matrices" +
            std::string(look.facts.layout == LookLayout::Extended && look.facts.generation == 0
                            ? " (an extended look file of a first-generation camera has none)"
                            : ""));
        return look;
    }
    const bool standard = look.facts.layout == LookLayout::Standard;
    const int grid = look.facts.generation == 2 ? kSecondGenerationGrid : kFirstGenerationGrid;
    std::vector<std::string>& problems = look.problems;
    for (const int number : passes) {
        LookPass pass;
        pass.pass = number;
        // Pass p carries cube instance p, and in the standard layout colour matrix p.
        const int cube = block::kCubeControl + block::kCubeBlocksPerInstance * std::min(number, 2);
        const int colorMatrix = block::kSecondPathColorMatrix + std::min(number, 1);
        const int gain = block::matrixPage(std::min(number, 2), block::kMatrixSlotGain);
        const int second = block::matrixPage(std::min(number, 2), block::kMatrixSlotSecond);
        auto present = [&](const char* name, int at) {
            if (!image.has(at)) {
                problems.push_back(std::string(name) + " of pass " + std::to_string(number) +
                                   ": missing");
                return false;
            }
            return true;
        };
        if (present("cube", cube)) {
            decodePart("cube", number, problems, [&] {
                pass.cube =
                    decodeCubeMemory({image.list(cube), image.list(cube + 1), image.group(cube + 2),
                                      image.group(cube + 3), image.list(cube + 4)},
                                     grid);
            });
        }
        if (standard && present("colour matrix", colorMatrix)) {
            decodePart("colour matrix", number, problems, [&] {
                pass.colorMatrix = decodeMatrixPage(image.list(colorMatrix), kColorMatrixBase);
            });
        }
        if (standard && present("second 1D LUT", block::kSecondLutControl)) {
            decodePart("second 1D LUT", number, problems, [&] {
                pass.secondLut = decodeLutMemory(
                    kCodeSecondLut,
                    {image.list(block::kSecondLutControl), image.group(block::kSecondLutHead),
                     image.group(block::kSecondLutData), image.group(block::kSecondLutTail)});
            });
        }
        if (present("first 1D LUT", block::kFirstLutControl)) {
            decodePart("first 1D LUT", number, problems, [&] {
                pass.firstLut = decodeLutMemory(
                    kCodeFirstLut,
                    {image.list(block::kFirstLutControl), image.group(block::kFirstLutHead),
                     image.group(block::kFirstLutData), image.group(block::kFirstLutTail)});
            });
        }
        if (present("gain matrix", gain)) {
            decodePart("gain matrix", number, problems, [&] {
                pass.gainMatrix = decodeMatrixPage(image.list(gain), kGainMatrixBase);
            });
        }
        if (present("second matrix", second)) {
            decodePart("second matrix", number, problems, [&] {
                pass.secondMatrix = decodeMatrixPage(image.list(second), kSecondMatrixBase);
            });
        }
        look.passes.push_back(std::move(pass));
    }
    return look;
}

}  // namespace zel
