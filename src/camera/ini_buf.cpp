#include "camera/ini_buf.h"
#include "camera/register_block.h"
#include "settings/camera_models.h"

#include <stdexcept>

namespace {

using Kind = ZelSharedIniBuf::BlockKind;

// Entry counts of one block for the three camera models; a group block has `lists`
// lists of the given entries each (lists 0 means the block is not a group).
struct BlockSize {
    Kind kind;
    int lists;
    int camb001;
    int camb002;
    int cama001;
};

constexpr BlockSize list(int b001, int b002, int a001) {
    return {Kind::List, 0, b001, b002, a001};
}
constexpr BlockSize same(int n) {
    return list(n, n, n);
}
constexpr BlockSize group(int lists, int b001, int b002, int a001) {
    return {Kind::Group, lists, b001, b002, a001};
}
constexpr BlockSize single(int b001, int b002, int a001) {
    return {Kind::Single, 0, b001, b002, a001};
}
constexpr BlockSize header() {
    return {Kind::Header, 0, 0, 0, 0};
}
constexpr BlockSize secondGenerationOnly(int n) {
    return list(0, n, 0);
}

// Blocks 0 to 75. The 37-entry blocks are matrix pages, the 70- and 88-entry blocks LUT
// control pages, the 1024- and 2048-entry blocks LUT memory images with their 3-entry
// heads and 2-entry tails; 42 to 56 are the three cubes' control pages and memories.
static_assert(ZelSharedIniBuf::kBlockCount == zel::block::kCount, "one size per register block");

constexpr BlockSize kBlocks[ZelSharedIniBuf::kBlockCount] = {
    same(18),  // 0: table 0086
    same(4),   // 1: table 0043
    same(37),
    same(37),
    same(37),
    same(37),  // 2-5
    same(37),
    same(37),
    same(37),
    same(37),  // 6-9
    list(37, 37, 0),
    list(37, 37, 0),
    list(37, 37, 0),
    list(37, 37, 0),         // 10-13
    list(70, 88, 70),        // 14: LUT control 0100
    list(1024, 2048, 1024),  // 15: LUT image data
    same(3),                 // 16: LUT image head
    same(2),                 // 17: LUT image tail
    secondGenerationOnly(88),
    secondGenerationOnly(2048),
    secondGenerationOnly(3),
    secondGenerationOnly(2),  // 18-21
    secondGenerationOnly(88),
    secondGenerationOnly(2048),
    secondGenerationOnly(3),
    secondGenerationOnly(2),     // 22-25
    same(70),                    // 26: LUT control 0180
    same(1024),                  // 27: LUT image 0183 data
    same(3),                     // 28
    same(2),                     // 29
    same(70),                    // 30: first 1D LUT control page
    group(3, 1024, 1024, 1024),  // 31: first 1D LUT memory data
    group(3, 3, 3, 3),           // 32: head
    group(3, 2, 2, 2),           // 33: tail
    header(),                    // 34: copy of the first 1D LUT header
    secondGenerationOnly(70),
    secondGenerationOnly(70),
    secondGenerationOnly(70),     // 35-37: LUT control 0A00
    group(3, 0, 1024, 0),         // 38
    group(3, 0, 3, 0),            // 39
    group(3, 0, 2, 0),            // 40
    header(),                     // 41
    list(108, 28, 108),           // 42: first cube control page
    single(1, 1, 1),              // 43: begin
    group(24, 1, 1, 1),           // 44: list selects
    group(24, 2000, 9826, 2000),  // 45: cube memory
    single(1, 1, 1),              // 46: end
    list(108, 28, 108),           // 47: second cube
    single(1, 1, 1),              // 48
    group(24, 1, 1, 1),           // 49
    group(24, 2000, 9826, 2000),  // 50
    single(1, 1, 1),              // 51
    secondGenerationOnly(28),     // 52: third cube
    single(0, 1, 0),              // 53
    group(24, 0, 1, 0),           // 54
    group(24, 0, 9826, 0),        // 55
    single(0, 1, 0),              // 56
    same(24),                     // 57: luma/chroma 00C0
    same(24),                     // 58
    secondGenerationOnly(24),     // 59
    same(37),
    same(37),
    same(37),
    same(37),                    // 60-63
    same(70),                    // 64: second 1D LUT control page
    group(3, 1024, 1024, 1024),  // 65
    group(3, 3, 3, 3),           // 66
    group(3, 2, 2, 2),           // 67
    same(70),                    // 68
    group(3, 1024, 1024, 1024),  // 69
    group(3, 3, 3, 3),           // 70
    group(3, 2, 2, 2),           // 71
    header(),                    // 72: copy of the second 1D LUT header, instance 0
    header(),                    // 73: instance 1
    same(24),                    // 74
    same(24),                    // 75
};

std::size_t checkedBlock(int block) {
    if (block < 0 || block >= ZelSharedIniBuf::kBlockCount) {
        throw std::out_of_range("register block number out of range");
    }
    return static_cast<std::size_t>(block);
}

std::size_t checkedBlock(int block, Kind wanted) {
    const std::size_t index = checkedBlock(block);
    const Kind kind = kBlocks[index].kind;
    const bool listLike = kind == Kind::List || kind == Kind::Single;
    const bool wantListLike = wanted == Kind::List || wanted == Kind::Single;
    if (kind != wanted && !(listLike && wantListLike)) {
        throw std::out_of_range("register block is of another kind");
    }
    return index;
}

}  // namespace

ZelSharedIniBuf::ZelSharedIniBuf(std::string model) {
    const zel::CameraModel* known = zel::findCameraModel(model);
    if (known == nullptr) {
        return;
    }
    const int column = known->registerColumn;
    for (std::size_t b = 0; b < kBlockCount; ++b) {
        const BlockSize& size = kBlocks[b];
        const int entries = column == 0 ? size.camb001 : column == 1 ? size.camb002 : size.cama001;
        if (entries <= 0) {
            continue;
        }
        const auto count = static_cast<std::size_t>(entries);
        switch (size.kind) {
            case Kind::List:
            case Kind::Single:
                lists_[b].resize(count);
                break;
            case Kind::Group:
                groups_[b].assign(static_cast<std::size_t>(size.lists), RegisterList(count));
                break;
            case Kind::Header:
                break;
        }
    }
}

ZelSharedIniBuf ZelSharedIniBuf::ofGeneration(std::int32_t mode) {
    for (std::size_t i = 0; zel::cameraModelAt(i) != nullptr; ++i) {
        if (zel::cameraModelAt(i)->generationMode == mode) {
            return ZelSharedIniBuf(zel::cameraModelAt(i)->info.name);
        }
    }
    return ZelSharedIniBuf("");
}

ZelSharedIniBuf::BlockKind ZelSharedIniBuf::kindOf(int block) {
    return kBlocks[checkedBlock(block)].kind;
}

RegisterList& ZelSharedIniBuf::list(int block) {
    return lists_[checkedBlock(block, Kind::List)];
}
const RegisterList& ZelSharedIniBuf::list(int block) const {
    return lists_[checkedBlock(block, Kind::List)];
}
RegisterGroup& ZelSharedIniBuf::group(int block) {
    return groups_[checkedBlock(block, Kind::Group)];
}
const RegisterGroup& ZelSharedIniBuf::group(int block) const {
    return groups_[checkedBlock(block, Kind::Group)];
}
std::vector<std::int32_t>& ZelSharedIniBuf::header(int block) {
    return headers_[checkedBlock(block, Kind::Header)];
}
const std::vector<std::int32_t>& ZelSharedIniBuf::header(int block) const {
    return headers_[checkedBlock(block, Kind::Header)];
}
