#ifndef ZEL_IO_LOOK_FILE_LAYOUT_H
#define ZEL_IO_LOOK_FILE_LAYOUT_H

// The fields of a look file's fixed sections, each named once: the file header, the look
// header, the metadata header list and the body chunk's head. A field is its offset from
// the start of its section and its width. The writers write by these tables and both
// readers (the library's look decoder and `zelgen inspect`) read by them, so a change to
// the layout is made here and nowhere else.

#include <cstddef>

namespace zel::io {

struct FieldSpan {
    std::size_t offset;
    std::size_t width;
};

// The file header that opens every look file.
namespace file_header {
constexpr char kMagic[] = "QKDF";
constexpr std::size_t kLength = 256;
constexpr FieldSpan kMagicField{0, 4};
constexpr FieldSpan kOwnLength{4, 4};
constexpr FieldSpan kFormatBytes{8, 4};  // four single bytes
constexpr FieldSpan kLookHeaderAt{12, 4};
constexpr FieldSpan kHeaderPartLength{16, 4};  // also where the body chunk begins
constexpr FieldSpan kModelName{20, 32};
constexpr FieldSpan kLookFileName{52, 128};
// The creation time: year (two bytes), month, day, hour, minute, second and a zero byte.
constexpr FieldSpan kCreated{180, 8};
constexpr FieldSpan kCreatedYear{180, 2};
constexpr FieldSpan kCreatedMonth{182, 1};
constexpr FieldSpan kCreatedDay{183, 1};
constexpr FieldSpan kCreatedHour{184, 1};
constexpr FieldSpan kCreatedMinute{185, 1};
constexpr FieldSpan kCreatedSecond{186, 1};
constexpr FieldSpan kCreatedEnd{187, 1};
constexpr FieldSpan kText{188, 32};
constexpr FieldSpan kTag{220, 16};
}  // namespace file_header

// The look header: the output the look is for, its name and texts, its source.
namespace look_header {
constexpr char kMagic[] = "LOOK";
constexpr std::size_t kLength = 896;
constexpr FieldSpan kMagicField{0, 4};
constexpr FieldSpan kOwnLength{4, 4};
constexpr FieldSpan kOutputClass{8, 1};   // a character: '1' SDR, '2' HDR
constexpr FieldSpan kOutputCurve{9, 1};   // a character per output curve
constexpr FieldSpan kRangeCode{10, 1};    // rangeCodeFor
constexpr FieldSpan kPeak{14, 2};         // the output's peak value
constexpr FieldSpan kLengthAgain{16, 4};  // the header's length once more
constexpr FieldSpan kEncodingName{84, 32};
constexpr FieldSpan kRangeName{116, 16};
constexpr FieldSpan kLookName{132, 64};
constexpr FieldSpan kVersion{196, 4};
constexpr FieldSpan kText{204, 512};
constexpr FieldSpan kNote{716, 128};
constexpr FieldSpan kSourceTag{844, 2};  // sourceTagFor
constexpr FieldSpan kGridSize{846, 1};
constexpr FieldSpan kReserved{856, 4};
}  // namespace look_header

// The metadata header list ("MDHL") and its entries of eight bytes.
namespace metadata_list {
constexpr char kMagic[] = "MDHL";
constexpr std::size_t kHeadLength = 12;
constexpr FieldSpan kMagicField{0, 4};
constexpr FieldSpan kListLength{4, 4};  // also the offset of block 0 from the list start
constexpr FieldSpan kBlockLength{8, 2};
constexpr FieldSpan kBlockCount{10, 2};
constexpr std::size_t kEntryLength = 8;
// Fields of an entry, from the entry's start.
constexpr FieldSpan kEntryTag{0, 2};  // the class tag
constexpr FieldSpan kEntryIndex{2, 2};
constexpr FieldSpan kEntryOffset{4, 4};  // of the block, from the list start
}  // namespace metadata_list

// The head of the body chunk; the table offset and data end count from the head's end.
namespace chunk_head {
constexpr char kMagic[] = "CHIP";
constexpr std::size_t kLength = 64;
constexpr FieldSpan kMagicField{0, 4};
constexpr FieldSpan kOwnLength{4, 4};
constexpr FieldSpan kTableOffset{8, 4};
constexpr FieldSpan kDataEnd{16, 4};
}  // namespace chunk_head

}  // namespace zel::io

#endif  // ZEL_IO_LOOK_FILE_LAYOUT_H
