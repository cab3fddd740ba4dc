#include "io/body_entry_writer.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "io/byte_order.h"
#include "io/record_category.h"
#include "platform/job_error.h"
#include "zel/enums.h"
#include "zel/records.h"

namespace zel::body {

namespace {

constexpr std::size_t kEntrySize = ZelBinary::kEntrySize;

// The registers of one record: a view into a register block, or three composed
// registers for a cube's opening and closing records.
struct RecordData {
    const RegisterEntry* registers = nullptr;
    std::size_t count = 0;
    std::array<RegisterEntry, 3> composed;
};

void gatherRegisters(const SelectionRow& row, const Registers& source, std::int32_t pass,
                     std::size_t q, const ZelSharedIniBuf& iniBuf, RecordData& out) {
    const int number = source.byPass[static_cast<std::size_t>(std::min(pass, 2))];
    const RegisterList* list = nullptr;
    switch (source.source) {
        case Source::Block:
            list = &iniBuf.list(number);
            break;
        case Source::GroupList: {
            const RegisterGroup& lists = iniBuf.group(number);
            if (q < lists.size()) {
                list = &lists[q];
            }
            break;
        }
        case Source::CubeOpen:
        case Source::CubeClose: {
            // A cube the camera writers never began (its begin or end entry unwritten)
            // gets no opening or closing record.
            const RegisterList& single = iniBuf.list(number);
            if (registerCount(single) == 0) {
                return;
            }
            if (source.source == Source::CubeOpen) {
                out.composed = {RegisterEntry("0402", "00"), RegisterEntry("0403", "01"),
                                single.front()};
            } else {
                out.composed = {single.front(), RegisterEntry("0402", "07"),
                                RegisterEntry("0403", "00")};
            }
            out.registers = out.composed.data();
            out.count = out.composed.size();
            return;
        }
    }
    if (list == nullptr) {
        return;
    }
    out.registers = list->data();
    out.count = registerCount(*list);
    if (row.maxRegisters != 0) {
        out.count = std::min<std::size_t>(out.count, row.maxRegisters);
    }
}

// --- Entries ----------------------------------------------------------------------------

struct EntryFields {
    std::uint8_t secondPath;
    std::int32_t pass;
    std::int32_t entryTag;
    std::uint8_t type;
    bool valuesOnly;
    std::uint8_t category;
    std::uint8_t subtype;
    std::int32_t mode;
    OutputContext::Slot slot;
};

void writeEntry(std::uint8_t* entry, const EntryFields& fields) {
    std::memset(entry, 0, kEntrySize);
    io::putU8(entry + 0, fields.secondPath);
    io::putU8(entry + 2, 1);
    io::putU8(entry + 3, static_cast<std::uint32_t>(fields.pass));
    io::putU8(entry + 4, static_cast<std::uint32_t>(fields.entryTag));
    io::putU8(entry + 8, fields.type);
    io::putU8(entry + 9, fields.valuesOnly ? 1 : 0);
    io::putU8(entry + 10, fields.category);
    io::putU8(entry + 11, fields.subtype);
    io::putU8(entry + 16, 1);
    io::putU8(entry + 18, static_cast<std::uint32_t>(fields.mode));
    io::putU32le(entry + 20, static_cast<std::uint32_t>(fields.slot.count));
    io::putU64le(entry + 24,
                 static_cast<std::uint64_t>(static_cast<std::uint32_t>(fields.slot.offset)));
}

constexpr std::size_t kCategories = 20;
constexpr std::size_t kSubtypes = 5;
constexpr std::size_t kRepetitionSlots = 60;

[[noreturn]] void refuse() {
    zel::failOutput("the look's register image does not fit the look file's entry table");
}

bool reuseFlag(const PassTable& passTable, std::int32_t pass, std::int32_t blockNumber) {
    if (pass < 0 || static_cast<std::size_t>(pass) >= passTable.size() || blockNumber < 0) {
        return false;
    }
    const auto& blocks = passTable[static_cast<std::size_t>(pass)];
    const auto index = static_cast<std::size_t>(blockNumber);
    return index < blocks.size() && !blocks[index].empty() && blocks[index][0] != 0;
}

}  // namespace

std::int32_t writePasses(OutputContext& context, const BodyTarget& target, std::int32_t passes,
                         const std::vector<std::int32_t>& blockList, const PassTable& passTable) {
    for (std::int32_t pass = 0; pass < passes; ++pass) {
        context.passEntryIndex = 0;
        for (const std::int32_t blockNumber : blockList) {
            writeBlockEntries(context, target, pass, blockNumber,
                              reuseFlag(passTable, pass, blockNumber));
        }
    }
    return context.dataEnd;
}

void writeBlockEntries(OutputContext& context, const BodyTarget& target, std::int32_t pass,
                       std::int32_t blockNumber, bool reuse) {
    const BlockLayout* layout = blockLayout(target.kind, blockNumber);
    const std::int32_t count = layout != nullptr ? repetitions(context, *layout, target.iniBuf) : 0;
    const bool writes = target.kind == BodyKind::Standard ? context.mode == 0 || context.mode == 2
                                                          : context.mode == 2;
    for (std::int32_t r = 0; r < count; ++r) {
        if (writes) {
            context.dataEnd += writeRecordEntry(context, target, blockNumber, r, reuse, pass);
        }
        ++context.entryIndex;
        ++context.passEntryIndex;
    }
}

std::int32_t writeRecordEntry(OutputContext& context, const BodyTarget& target,
                              std::int32_t blockNumber, std::int32_t repetition, bool reuse,
                              std::int32_t pass) {
    const BlockLayout* layout = blockLayout(target.kind, blockNumber);
    if (layout == nullptr) {
        return 0;
    }
    const std::uint8_t category = layout->category;
    const std::uint8_t subtype = layout->subtype;
    // A 1D LUT of the fixed layouts has four parts and a cube 51; more repetitions than
    // that mean a broken register image or context.
    if (category == kLutRecord && (subtype == 1 || subtype == 2) && repetition > 3) {
        refuse();
    }
    if (category == kCubeRecord && repetition > 50) {
        refuse();
    }
    if (target.kind == BodyKind::Standard && category == kLutRecord && subtype > 2) {
        refuse();
    }
    // The entry and its remembered slots must lie inside their tables.
    if (repetition < 0 || static_cast<std::size_t>(repetition) >= kRepetitionSlots ||
        category >= kCategories || subtype >= kSubtypes || pass < 0 || context.entryIndex < 0 ||
        static_cast<std::size_t>(context.entryIndex) >= target.entries.slots ||
        context.passEntryIndex < 0 ||
        static_cast<std::size_t>(context.passEntryIndex) >= context.entrySlots.size() ||
        context.blockSlots.size() < kCategories * kSubtypes * kRepetitionSlots) {
        refuse();
    }

    std::size_t q = 0;
    const SelectionRow* row = findSelectionRow(target.kind, category, subtype, repetition, q);

    const std::int32_t oldEnd = context.dataEnd;
    std::int32_t added = 0;
    std::int32_t newCount = 0;
    if (row != nullptr && !reuse) {
        RecordData record;
        gatherRegisters(*row, layout->secondPath == 0 ? row->firstPath : row->secondPath, pass, q,
                        target.iniBuf, record);
        added = writeRegisterRecord(record.registers, record.count, target.data, oldEnd,
                                    row->valuesOnly);
        newCount = static_cast<std::int32_t>(record.count);
    }

    OutputContext::Slot& passSlot =
        context.entrySlots[static_cast<std::size_t>(context.passEntryIndex)];
    OutputContext::Slot& blockSlot =
        context.blockSlots[(category * kSubtypes + subtype) * kRepetitionSlots +
                           static_cast<std::size_t>(repetition)];
    const OutputContext::Slot fresh{newCount, oldEnd};
    OutputContext::Slot slot = fresh;
    if (pass > 0) {
        // A later pass either points at the pass-0 entry of the same position or at its
        // own new record.
        slot = reuse ? passSlot : fresh;
    } else if (layout->secondPath == 0) {
        passSlot = fresh;
        blockSlot = fresh;
    } else {
        // A second-path block that reuses takes the first path's record of the same
        // category, subtype and repetition.
        slot = reuse ? blockSlot : fresh;
        passSlot = slot;
    }

    const bool valuesOnly = row != nullptr && row->valuesOnly;
    const std::uint8_t type = row != nullptr ? row->type[layout->secondPath == 0 ? 0 : 1] : 0;
    writeEntry(target.entries.bytes + static_cast<std::size_t>(context.entryIndex) * kEntrySize,
               {layout->secondPath, pass, target.entryTag, type, valuesOnly, category, subtype,
                context.mode, slot});
    return added;
}

}  // namespace zel::body
