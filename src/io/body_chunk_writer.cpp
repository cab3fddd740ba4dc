#include "io/body_chunk_writer.h"

#include <algorithm>
#include <cstring>

#include "io/body_entry_writer.h"
#include "platform/job_error.h"
#include "zel/enums.h"

using zel::body::BodyKind;
using zel::body::BodyTarget;

namespace {

constexpr std::size_t kEntrySize = ZelBinary::kEntrySize;
constexpr auto kTableOffset = static_cast<std::uint32_t>(zel::io::kChunkHeadSize);

}  // namespace

ExtendedBody::ExtendedBody() : entryTable(kEntryCount * kEntrySize, 0), data(kDataSize, 0) {
    zel::io::writeChunkHead(head, 0, 0);
}

std::uint32_t writeOutputStandard(OutputContext& context, std::int32_t entryTag,
                                  const std::vector<std::int32_t>& blockList,
                                  const PassTable& passTable, const ZelSharedIniBuf& iniBuf,
                                  ZelBinary& body) {
    // A context of more entries than the record has slots (a second-generation model) would
    // run past the record; that job is served by the extended body.
    if (context.entryCount < 0 || context.entryCount > ZelBinary::kEntryCount) {
        zel::failOutput("the camera generation needs more entries than the standard look file has");
    }
    std::memset(body.entryTable, 0, static_cast<std::size_t>(context.entryCount) * kEntrySize);
    context.entryIndex = 0;
    context.dataEnd = context.entryCount * static_cast<std::int32_t>(kEntrySize);

    constexpr auto kTableLength = static_cast<std::int32_t>(ZelBinary::kEntryCount * kEntrySize);
    const BodyTarget target{BodyKind::Standard,
                            entryTag,
                            iniBuf,
                            {&body.entryTable[0][0], ZelBinary::kEntryCount},
                            {body.data, ZelBinary::kDataSize, kTableLength}};
    const std::int32_t dataEnd = zel::body::writePasses(context, target, 2, blockList, passTable);

    zel::io::writeChunkHead(body, kTableOffset, static_cast<std::uint32_t>(dataEnd));
    return static_cast<std::uint32_t>(dataEnd) + kTableOffset;
}

std::uint32_t writeOutputExtended(OutputContext& context, std::int32_t entryTag,
                                  const std::vector<std::int32_t>& blockList,
                                  const PassTable& passTable, const ZelSharedIniBuf& iniBuf,
                                  ExtendedBody& body) {
    // The extended body always has 512 entry slots, whatever the context's entry count,
    // so its data area starts at chunk offset 16448 in every mode.
    std::fill(body.entryTable.begin(), body.entryTable.end(), std::uint8_t{0});
    const auto tableLength = static_cast<std::int32_t>(body.entryTable.size());
    context.entryIndex = 0;
    context.dataEnd = tableLength;

    const std::size_t room =
        std::min<std::size_t>(body.data.size(), ZelGenOutputExtended::kLutDataCapacity);
    const BodyTarget target{BodyKind::Extended,
                            entryTag,
                            iniBuf,
                            {body.entryTable.data(), body.entryTable.size() / kEntrySize},
                            {body.data.data(), room, tableLength}};
    const std::int32_t dataEnd =
        zel::body::writePasses(context, target, context.passCount, blockList, passTable);

    zel::io::writeChunkHead(body.head, kTableOffset, static_cast<std::uint32_t>(dataEnd));
    return static_cast<std::uint32_t>(dataEnd - tableLength);
}
