#include "io/body_chunk_writer.h"
#include "io/register_record_writer.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "io/byte_order.h"
#include "platform/job_error.h"
#include "regmaps/register_tables.h"
#include "support/register_image_fill.h"
#include "zel/enums.h"

namespace {

using zel::io::getU32le;
using zel::io::getU64le;

struct Entry {
    std::uint32_t count;
    std::uint64_t offset;
};

Entry entryAt(const std::uint8_t* table, int index) {
    const std::uint8_t* entry = table + 32 * index;
    return {getU32le(entry + 20), getU64le(entry + 24)};
}

// One pass table with no reuse, `passes` passes over block numbers 0 to 18.
PassTable noReuse(int passes) {
    return PassTable(static_cast<std::size_t>(passes),
                     std::vector<std::vector<std::int32_t>>(19, std::vector<std::int32_t>{0}));
}

template <typename Write>
void expectOutputError(Write write) {
    try {
        write();
        FAIL() << "expected the output error";
    } catch (const zel::JobError& e) {
        EXPECT_EQ(e.code(), ZelEnum::ZEL_EXCEPTION_OUTPUT);
    }
}

// A fresh standard and extended body, a first-generation block store and a context.
class BodyWriter : public ::testing::Test {
  protected:
    std::uint32_t writeStandard(std::int32_t tag, const std::vector<std::int32_t>& blocks,
                                const PassTable& passes = noReuse(2)) {
        setupOutputContext(context, 0);
        return writeOutputStandard(context, tag, blocks, passes, iniBuf, *binary);
    }
    std::uint32_t writeExtended(const ZelSharedIniBuf& store, std::int32_t mode,
                                const std::vector<std::int32_t>& blocks) {
        setupOutputContext(context, mode);
        return writeOutputExtended(context, 1, blocks, noReuse(3), store, *body);
    }
    Entry entry(int index) const { return entryAt(&binary->entryTable[0][0], index); }

    std::unique_ptr<ZelBinary> binary = std::make_unique<ZelBinary>();
    std::unique_ptr<ExtendedBody> body = std::make_unique<ExtendedBody>();
    ZelSharedIniBuf iniBuf{"CAMB-001"};
    OutputContext context;
};

TEST_F(BodyWriter, RecordsAreMarkedAndPaddedTo16Bytes) {
    std::vector<std::uint8_t> bytes(4096, 0xCC);
    const zel::body::DataArea area{bytes.data(), bytes.size(), 8192};
    const RegisterEntry one("0A12", "7F");
    EXPECT_EQ(zel::body::writeRegisterRecord(&one, 1, area, 8192, false), 16);
    const std::vector<std::uint8_t> expected = {'S',  'A', 0x12, 0x0A, 'E', 'A', 'S', 'D',
                                                0x7F, 'E', 'D',  0,    0,   0,   0,   0};
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin(), bytes.begin() + 16), expected);

    const RegisterList values(2000, RegisterEntry("A000", "5C"));
    EXPECT_EQ(zel::body::writeRegisterRecord(values.data(), 2000, area, 8192 + 16, true), 2016);
    EXPECT_EQ(bytes[16], 'S');
    EXPECT_EQ(bytes[17], 'R');
    EXPECT_EQ(bytes[18], 0x5C);
    EXPECT_EQ(bytes[16 + 2002], 'E');
    EXPECT_EQ(bytes[16 + 2003], 'R');
    EXPECT_EQ(bytes[16 + 2015], 0);
    EXPECT_EQ(bytes[16 + 2016], 0xCC);

    EXPECT_EQ(zel::body::writeRegisterRecord(&one, 0, area, 8192, false), 0);
    expectOutputError([&] { zel::body::writeRegisterRecord(&one, 1, area, 8191, false); });
    // A record that would pass the end of the area is refused before any byte is written.
    expectOutputError(
        [&] { zel::body::writeRegisterRecord(values.data(), 2000, area, 8192 + 2100, true); });
    EXPECT_EQ(bytes[2100], 0xCC);
}

TEST_F(BodyWriter, EmptyBlockListGivesTheBareStandardBody) {
    EXPECT_EQ(writeStandard(1, {}), 8256u);
    EXPECT_EQ(getU32le(binary->headRest + 0), 64u);
    EXPECT_EQ(getU32le(binary->headRest + 8), 8192u);
    for (int i = 0; i < 256; ++i) {
        EXPECT_EQ(entry(i).count, 0u);
    }

    // The extended body keeps 512 slots in every mode.
    EXPECT_EQ(writeExtended(iniBuf, 0, {0, 2}), 0u);
    EXPECT_EQ(getU32le(body->head + 16), 16384u);
}

TEST_F(BodyWriter, UnwrittenBlocksGiveEmptyEntriesAtTheCurrentOffset) {
    zel::regmaps::loadMatrixPage(zel::regmaps::kMatrix0200Identity, iniBuf.list(6));
    // Block 2 of pass 0 reads register block 2 (never written), pass 1 reads block 6.
    EXPECT_EQ(writeStandard(7, {2}), 8256u + 128u);
    const Entry pass0 = entry(0), pass1 = entry(1);
    EXPECT_EQ(pass0.count, 0u);
    EXPECT_EQ(pass0.offset, 8192u);
    EXPECT_EQ(pass1.count, 37u);
    EXPECT_EQ(pass1.offset, 8192u);
    const std::uint8_t* matrixEntry = binary->entryTable[1];
    EXPECT_EQ(matrixEntry[3], 1);      // pass
    EXPECT_EQ(matrixEntry[4], 7);      // entry tag
    EXPECT_EQ(matrixEntry[8], 4);      // matrix record type
    EXPECT_EQ(matrixEntry[10], 2);     // category
    EXPECT_EQ(binary->data[2], 0x00);  // first address 0200, low byte first
    EXPECT_EQ(binary->data[3], 0x02);
}

TEST_F(BodyWriter, ReusedBlocksPointAtTheRecordTheyReuse) {
    zel::regmaps::loadRegisterPage(zel::regmaps::kTable0086, iniBuf.list(0));
    // Pass 1 reuses pass 0's records.
    PassTable passTable = noReuse(2);
    passTable[1][0][0] = 1;
    EXPECT_EQ(writeStandard(1, {0, 0}, passTable), 8256u + 128u);
    EXPECT_EQ(entry(2).count, entry(0).count);
    EXPECT_EQ(entry(2).offset, entry(0).offset);
    EXPECT_EQ(entry(3).offset, entry(1).offset);
    EXPECT_EQ(entry(1).offset, 8192u + 64u);

    // Within pass 0, block 11 (flag 1, category 0) takes block 0's record.
    binary = std::make_unique<ZelBinary>();
    passTable = noReuse(2);
    passTable[0][11][0] = 1;
    writeStandard(1, {0, 11}, passTable);
    EXPECT_EQ(binary->entryTable[1][0], 1);   // flag
    EXPECT_EQ(binary->entryTable[1][8], 20);  // flag-1 type code
    EXPECT_EQ(entry(1).count, 18u);
    EXPECT_EQ(entry(1).offset, entry(0).offset);
}

TEST_F(BodyWriter, ThreeChannelFirstLutThrowsAtItsFifthRepetition) {
    iniBuf.header(34) = {1024, 3, 0, 1023, 0, 0, 1};
    expectOutputError([&] { writeStandard(1, {8}); });
    EXPECT_EQ(context.entryIndex, 4);
}

TEST_F(BodyWriter, ShortGroupsAndEmptyCubeEntriesGiveNoRecord) {
    zel::testing::fillUnwrittenBlocks(iniBuf);
    iniBuf.group(66).resize(1);  // the second path's LUT heads of channels G and B are gone
    iniBuf.list(46)[0] = RegisterEntry();  // the first cube's end entry was never written
    writeStandard(1, {14, 9});
    EXPECT_EQ(entry(1).count, 3u);  // channel R head
    EXPECT_EQ(entry(4).count, 0u);  // channel G head
    EXPECT_EQ(entry(5).count, 1024u);
    EXPECT_EQ(entry(10 + 1).count, 3u);  // cube opening record
    EXPECT_EQ(entry(10 + 3).count, 2000u);
    EXPECT_EQ(entry(10 + 50).count, 0u);  // no closing record
}

TEST_F(BodyWriter, ExtendedPassesReadTheirOwnBlocks) {
    ZelSharedIniBuf second("CAMB-002");
    zel::regmaps::loadMatrixPage(zel::regmaps::kMatrix0200M1, second.list(2));
    zel::regmaps::loadMatrixPage(zel::regmaps::kGain0240Legal, second.list(6));
    zel::regmaps::loadMatrixPage(zel::regmaps::kGain0280For1102371, second.list(10));
    EXPECT_EQ(writeExtended(second, 2, {2, 17}), 3u * 128u);
    EXPECT_EQ(getU32le(body->head + 16), 16384u + 384u);
    // Pass p's matrix record starts at 128 p with the page's first address, 0200, 0240 or
    // 0280 (low byte first); block 17's entries carry type 15 and no record.
    const std::uint8_t pageBase[] = {0x00, 0x40, 0x80};
    for (std::size_t pass = 0; pass < 3; ++pass) {
        EXPECT_EQ(entryAt(body->entryTable.data(), static_cast<int>(2 * pass)).offset,
                  16384u + 128u * pass);
        EXPECT_EQ(body->data[128 * pass + 2], pageBase[pass]);
        EXPECT_EQ(body->entryTable[32 * (2 * pass + 1) + 8], 15);
    }
}

TEST_F(BodyWriter, RoomGuardsRefuseOversizedImagesAndSecondGenerationStandardJobs) {
    zel::testing::fillList(iniBuf.list(0) = RegisterList(40000), 0);  // 120008 bytes
    expectOutputError([&] { writeStandard(1, {0}); });

    zel::testing::fillList(iniBuf.list(0) = RegisterList(260000), 0);  // 780008 bytes
    expectOutputError([&] { writeExtended(iniBuf, 2, {0}); });
    EXPECT_EQ(body->data[763775], 0);

    ZelSharedIniBuf second("CAMB-002");
    expectOutputError([&] { writeOutputStandard(context, 1, {}, noReuse(2), second, *binary); });
}

}  // namespace
