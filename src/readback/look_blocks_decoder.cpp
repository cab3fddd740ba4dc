#include "readback/look_blocks_decoder.h"

#include <algorithm>
#include <map>
#include <set>

#include "camera/lut3d_writer.h"
#include "camera/register_block.h"
#include "io/body_block_tables.h"
#include "io/body_chunk_writer.h"
#include "io/look_header.h"
#include "io/metadata_blocks.h"
#include "io/metadata_catalogue.h"
#include "io/record_category.h"
#include "readback/body_records.h"
#include "readback/byte_reader.h"
#include "settings/camera_models.h"

namespace zel {

namespace {

constexpr std::size_t kStandardSlots = ZelBinary::kEntryCount;
constexpr std::size_t kExtendedSlots = ExtendedBody::kEntryCount;

LookFacts readFacts(const io::ByteReader& file, std::size_t& bodyAt) {
    using namespace io;
    if (!file.opensWith(0, file_header::kMagicField, file_header::kMagic, "file header")) {
        throw DecodeError("", "this is not a look file: it does not begin with \"QKDF\"");
    }
    file.require(0, file_header::kLength, "file header");
    LookFacts facts;
    facts.model = file.text(0, file_header::kModelName, "file header");
    const CameraModel* model = findCameraModel(facts.model);
    facts.generation = model != nullptr ? model->generationMode : kFirstGeneration;
    bodyAt = file.number(0, file_header::kHeaderPartLength, "file header");

    const std::size_t look = file.number(0, file_header::kLookHeaderAt, "file header");
    if (!file.opensWith(look, look_header::kMagicField, look_header::kMagic, "look header")) {
        throw DecodeError("look header", "it does not begin with \"LOOK\"");
    }
    file.require(look, look_header::kLength, "look header");
    facts.outputCurve =
        outputCurveOf(file.u8(look + look_header::kOutputCurve.offset, "look header"));
    facts.outputRange =
        outputRangeOf(file.u8(look + look_header::kRangeCode.offset, "look header"));
    const std::uint8_t* tag = file.at(look + look_header::kSourceTag.offset,
                                      look_header::kSourceTag.width, "look header");
    facts.sourceEncoding = sourceEncodingOf({tag[0], tag[1]});
    facts.gridSize = file.u8(look + look_header::kGridSize.offset, "look header");

    const std::size_t list = look + look_header::kLength;
    const char* listName = "metadata header list";
    if (!file.opensWith(list, metadata_list::kMagicField, metadata_list::kMagic, listName)) {
        throw DecodeError(listName, "it does not begin with \"MDHL\"");
    }
    const std::uint32_t blockLength = file.number(list, metadata_list::kBlockLength, listName);
    if (blockLength == kStandardBlockLength) {
        facts.layout = LookLayout::Standard;
    } else if (blockLength == kExtendedBlockLength) {
        facts.layout = LookLayout::Extended;
    } else {
        throw DecodeError(listName, "the metadata blocks are " + std::to_string(blockLength) +
                                        " bytes long; a look file's are 256 or 1440");
    }
    return facts;
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

// Decodes one part of a pass when its blocks are there; a part that is missing or cannot be
// read is named in `problems` instead.
class PassReader {
  public:
    PassReader(const ImageBuilder& image, int pass, std::vector<std::string>& problems)
        : image_(image), pass_(pass), problems_(problems) {}

    template <typename Part, typename Decode>
    void read(const char* name, int block, std::optional<Part>& part, Decode&& decode) {
        try {
            if (!image_.has(block)) {
                throw DecodeError("", "missing");
            }
            part = decode();
        } catch (const std::exception& e) {
            problems_.push_back(std::string(name) + " of pass " + std::to_string(pass_) + ": " +
                                e.what());
        }
    }

  private:
    const ImageBuilder& image_;
    int pass_;
    std::vector<std::string>& problems_;
};

LookPass decodePass(const ImageBuilder& image, const LookFacts& facts, int number,
                    std::vector<std::string>& problems) {
    LookPass pass;
    pass.pass = number;
    PassReader reader(image, number, problems);
    // Pass p carries cube instance p, and in the standard layout colour matrix p.
    const int cube = block::kCubeControl + block::kCubeBlocksPerInstance * std::min(number, 2);
    const int grid =
        facts.generation == kSecondGeneration ? kSecondGenerationGrid : kFirstGenerationGrid;
    reader.read("cube", cube, pass.cube, [&] {
        return decodeCubeMemory({image.list(cube), image.list(cube + 1), image.group(cube + 2),
                                 image.group(cube + 3), image.list(cube + 4)},
                                grid);
    });
    if (facts.layout == LookLayout::Standard) {
        const int colorMatrix = block::kSecondPathColorMatrix + std::min(number, 1);
        reader.read("colour matrix", colorMatrix, pass.colorMatrix,
                    [&] { return decodeMatrixPage(image.list(colorMatrix), kColorMatrixBase); });
        reader.read("second 1D LUT", block::kSecondLutControl, pass.secondLut, [&] {
            return decodeLutMemory(
                kCodeSecondLut,
                {image.list(block::kSecondLutControl), image.group(block::kSecondLutHead),
                 image.group(block::kSecondLutData), image.group(block::kSecondLutTail)});
        });
    }
    reader.read("first 1D LUT", block::kFirstLutControl, pass.firstLut, [&] {
        return decodeLutMemory(
            kCodeFirstLut, {image.list(block::kFirstLutControl), image.group(block::kFirstLutHead),
                            image.group(block::kFirstLutData), image.group(block::kFirstLutTail)});
    });
    const int gain = block::matrixPage(std::min(number, 2), block::kMatrixSlotGain);
    reader.read("gain matrix", gain, pass.gainMatrix,
                [&] { return decodeMatrixPage(image.list(gain), kGainMatrixBase); });
    const int second = block::matrixPage(std::min(number, 2), block::kMatrixSlotSecond);
    reader.read("second matrix", second, pass.secondMatrix,
                [&] { return decodeMatrixPage(image.list(second), kSecondMatrixBase); });
    return pass;
}

// Puts every register record of the body back into `image` and returns the passes the
// entries name; a record that does not lie where its entry says is named in `problems`.
std::set<int> placeRecords(const std::uint8_t* bytes, std::size_t size, const BodySpan& span,
                           ImageBuilder& image, std::vector<std::string>& problems) {
    // Records lie before the body's stated end, or the file's end when it is cut short.
    const std::size_t end = span.tableAt + std::min(span.length, size - span.tableAt);
    std::set<int> passes;
    int lastPass = -1;
    std::uint32_t lastKey = 0xFFFFFFFFu;
    int repetition = 0;
    for (const BodyEntry& entry : readBodyEntries(bytes, size, span.tableAt, span.slots)) {
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
        if (entry.offset < span.slots * kBodyEntryLength || entry.offset > span.length ||
            !readBodyRecord(bytes, end, span.tableAt + entry.offset, entry.registerCount,
                            entry.valuesOnly, &registers)) {
            problems.push_back(std::string(recordName(entry.category)) + " of pass " +
                               std::to_string(entry.pass) + ": entry " +
                               std::to_string(entry.slot) + " points at offset " +
                               std::to_string(entry.offset) + " where no sound record of " +
                               std::to_string(entry.registerCount) + " registers lies");
            continue;
        }
        image.place(entry, repetition, std::move(registers));
    }
    return passes;
}

std::string lengthProblem(const BodySpan& span, std::size_t size) {
    return "the body states " + std::to_string(span.length) +
           " bytes after its entry table, so the file should be " +
           std::to_string(span.statedEnd()) + " bytes long; it is " + std::to_string(size) +
           (size < span.statedEnd() ? " (cut short)" : " (bytes appended)");
}

}  // namespace

BodySpan locateBody(const std::uint8_t* bytes, std::size_t size) {
    const io::ByteReader file(bytes, size);
    BodySpan span;
    span.facts = readFacts(file, span.bodyAt);
    const char* name = "body chunk";
    if (!file.opensWith(span.bodyAt, io::chunk_head::kMagicField, io::chunk_head::kMagic, name)) {
        throw DecodeError(name, "it does not begin with \"CHIP\"");
    }
    file.require(span.bodyAt, io::chunk_head::kLength, name);
    span.slots = span.facts.layout == LookLayout::Standard ? kStandardSlots : kExtendedSlots;
    span.tableAt = span.bodyAt + io::chunk_head::kLength;
    span.length = file.number(span.bodyAt, io::chunk_head::kDataEnd, name);
    file.require(span.tableAt, span.slots * kBodyEntryLength, "body entry table");
    return span;
}

DecodedLook decodeLookBlocks(const std::uint8_t* bytes, std::size_t size) {
    const BodySpan span = locateBody(bytes, size);
    DecodedLook look;
    look.facts = span.facts;
    if (span.statedEnd() != size) {
        look.problems.push_back(lengthProblem(span, size));
    }
    ImageBuilder image(look.facts.layout == LookLayout::Standard ? body::BodyKind::Standard
                                                                 : body::BodyKind::Extended);
    const std::set<int> passes = placeRecords(bytes, size, span, image, look.problems);
    if (passes.empty()) {
        look.noColourBlocks = true;
        look.problems.push_back(
            "the body carries no colour blocks: no register records for the cube, the 1D LUTs "
            "or the matrices" +
            std::string(look.facts.layout == LookLayout::Extended &&
                                look.facts.generation == kFirstGeneration
                            ? " (an extended look file of a first-generation camera has none)"
                            : ""));
        return look;
    }
    for (const int number : passes) {
        look.passes.push_back(decodePass(image, look.facts, number, look.problems));
    }
    return look;
}

}  // namespace zel
